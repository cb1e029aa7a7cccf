#pragma once

#include <QDate>
#include <QString>

// The preferences in force while the program runs. The preferences dialog's
// ApplySettings fills them; the start-up and the sounds read them. The author
// data and the grid flag that the model reads live in ModelDefaults()
// (model/model_defaults.h): ApplySettings copies the author data there too, and
// the "Grid" setting is read into and stored from ModelDefaults().GridVisible.
struct TPreferenceValues {
    QString AuthorName;    // given to every new model
    QString AuthorCountry; // the country code, empty for none
    int AuthorAge = 0;     // whole years
    bool SoundsEnabled = false;
    int StartupModel = 0; // kStartupBlank, kStartupLastModel or kStartupChosenModel
    QString StartupModelFile;
    bool LoadDisplay = false; // restore the boxes' last layout at start-up
};

enum StartupModelChoice : int { kStartupBlank = 0, kStartupLastModel = 1, kStartupChosenModel = 2 };

TPreferenceValues& Preferences();
// Everything back to how the program starts (before any settings are read).
// ModelDefaults() has its own reset.
void ResetPreferences();

// Setting names and sections.
inline const QString kAuthorSection = QStringLiteral("Author");
inline const QString kPreferencesSection = QStringLiteral("Preferences");

// ProgramFolder + "models/Welcome.cst" (the models folder as it is on disk).
QString DefaultStartupModelFile();

// The file the start-up loads: StartupModelFile when StartupModel asks for a
// model and the path is neither empty nor "(Untitled)"; otherwise empty.
QString StartupModelPathToLoad();

// "Grid" of the "Preferences" section to and from ModelDefaults().GridVisible.
void LoadGridSetting();
void SaveGridSetting();

// Whole years from a birth date to today. A date in the future gives a
// negative number; the date itself is not checked (31 February counts as a
// day after 28 February).
int AgeFromBirthDate(int year, int month, int day, const QDate& today = QDate::currentDate());
