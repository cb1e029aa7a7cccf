#pragma once

#include <QString>
#include <array>

class QComboBox;

// The country list of the author data: a display name and a two-letter code
// each. Entry 0 is "(none specified)" with the empty code, entry 1 "(other)"
// with "--"; the rest are English names in the order of their character codes.
// Models and settings store the code. The preferences and the attributes
// dialog show the same list.
struct TCountry {
    const char* Name;
    const char* Code;
};

constexpr int kCountryCount = 248;

const std::array<TCountry, kCountryCount>& CountryList();

// The entry whose code is exactly code (case matters), or -1.
int CountryIndexOfCode(const QString& code);

// Fills the visible name list and the hidden code list with the same entries in
// the same order and keeps their selections together: choosing a name selects
// its code. Both lists are emptied first.
void FillCountryCombos(QComboBox* countryCombo, QComboBox* countryCodeCombo);

// Selects the entry whose code (the text before any tab) equals code in the code
// list, then the same entry in the name list. No match leaves both as they are.
// Returns whether an entry matched.
bool SelectCountryCode(QComboBox* countryCombo, QComboBox* countryCodeCombo, const QString& code);
