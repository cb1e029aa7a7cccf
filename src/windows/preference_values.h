#pragma once

#include "model/model_context.h"

#include <QDate>
#include <QString>

// The preferences in force while the program runs. The preferences dialog's
// ApplySettings fills them; the start-up, the sounds and the main window read
// them, and the main window hands the model what it needs of them
// (PreferredModelDefaults). The grid flag is the "Grid" setting, read and
// stored by LoadGridSetting and SaveGridSetting and switched by the grid command.
struct TPreferenceValues {
    QString AuthorName;    // given to every new model
    QString AuthorCountry; // the country code, empty for none
    int AuthorAge = 0;     // whole years
    bool SoundsEnabled = false;
    int StartupModel = 0; // kStartupBlank, kStartupLastModel or kStartupChosenModel
    QString StartupModelFile;
    bool LoadDisplay = false; // restore the boxes' last layout at start-up
    bool GridVisible = false; // off until the settings are read
};

enum StartupModelChoice : int { kStartupBlank = 0, kStartupLastModel = 1, kStartupChosenModel = 2 };

TPreferenceValues& Preferences();
// Everything back to how the program starts (before any settings are read).
void ResetPreferences();

// What the preferences give the model: the author data (as ANSI bytes) and the grid flag.
TModelDefaults PreferredModelDefaults();

// Setting names and sections.
inline const QString kAuthorSection = QStringLiteral("Author");
inline const QString kPreferencesSection = QStringLiteral("Preferences");

// ProgramFolder + "models/Welcome.cst" (the models folder as it is on disk).
QString DefaultStartupModelFile();

// The file the start-up loads: StartupModelFile when StartupModel asks for a
// model and the path is neither empty nor "(Untitled)"; otherwise empty.
QString StartupModelPathToLoad();

// "Grid" of the "Preferences" section to and from Preferences().GridVisible.
void LoadGridSetting();
void SaveGridSetting();

// Whole years from a birth date to today. A date in the future gives a
// negative number; the date itself is not checked (31 February counts as a
// day after 28 February).
int AgeFromBirthDate(int year, int month, int day, const QDate& today = QDate::currentDate());
