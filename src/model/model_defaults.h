#pragma once

#include <cstdint>
#include <string>

// The values of the preferences that the model reads: the grid flag that
// drawing consults and the author data every new model gets. The preferences
// write them; everything else only reads them.
struct TModelDefaults {
    bool GridVisible = false;  // off until the settings are read
    std::string AuthorName;    // ANSI bytes
    std::string AuthorCountry; // two-letter code, may be empty or "--"
    int32_t AuthorAge = 0;
};

TModelDefaults& ModelDefaults();

// Back to the values at program start (tests).
void ResetModelDefaults();
