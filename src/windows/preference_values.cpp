#include "windows/preference_values.h"

#include "common/ansi_text.h"
#include "common/program_folder.h"
#include "windows/settings_store.h"

TPreferenceValues& Preferences() {
    static TPreferenceValues values;
    return values;
}

void ResetPreferences() {
    Preferences() = TPreferenceValues();
}

TModelDefaults PreferredModelDefaults() {
    const TPreferenceValues& values = Preferences();
    TModelDefaults defaults;
    defaults.GridVisible = values.GridVisible;
    defaults.AuthorName = QStringToAnsi(values.AuthorName);
    defaults.AuthorCountry = QStringToAnsi(values.AuthorCountry);
    defaults.AuthorAge = values.AuthorAge;
    return defaults;
}

QString DefaultStartupModelFile() {
    return DataFolder(QStringLiteral("models")) + QStringLiteral("Welcome.cst");
}

QString StartupModelPathToLoad() {
    const TPreferenceValues& values = Preferences();
    if (values.StartupModel != kStartupLastModel && values.StartupModel != kStartupChosenModel)
        return QString();
    if (values.StartupModelFile.isEmpty() || values.StartupModelFile == QLatin1String("(Untitled)"))
        return QString();
    return values.StartupModelFile;
}

void LoadGridSetting() {
    Preferences().GridVisible = ReadFlagSetting(kPreferencesSection, QStringLiteral("Grid"), false);
}

void SaveGridSetting() {
    WriteFlagSetting(kPreferencesSection, QStringLiteral("Grid"), Preferences().GridVisible);
}

int AgeFromBirthDate(int year, int month, int day, const QDate& today) {
    int age = today.year() - year;
    int months = 0;
    if (today.month() < month) {
        --age;
        months = today.month() + 12 - month;
    } else {
        months = today.month() - month;
    }
    if (today.day() < day && months <= 0)
        --age;
    return age;
}
