#include "windows/preference_values.h"

#include "common/program_folder.h"
#include "model/model_defaults.h"
#include "windows/settings_store.h"

TPreferenceValues& Preferences() {
    static TPreferenceValues values;
    return values;
}

void ResetPreferences() {
    Preferences() = TPreferenceValues();
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
    ModelDefaults().GridVisible = ReadFlagSetting(kPreferencesSection, QStringLiteral("Grid"), false);
}

void SaveGridSetting() {
    WriteFlagSetting(kPreferencesSection, QStringLiteral("Grid"), ModelDefaults().GridVisible);
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
