#include "windows/preferences_form.h"
#include "windows/windows_fixture.h"

using SettingsStoreTest = WindowsTest;

TEST_F(SettingsStoreTest, NumbersReadAsDecimalOrHexadecimalAndAnythingElseAsTheDefault) {
    for (const QStringList& c : DataCases("setting_numbers"))
        EXPECT_EQ(ParseSettingInt(c[0], 7), c.value(1).toInt()) << c[0].toStdString();
    Put("S/Text=abc|S/Hex=0xFFFFFFFF|S/Empty=|S/Zero=0");
    EXPECT_EQ(std::tuple(ReadIntSetting("S", "Missing", 5), ReadIntSetting("S", "Text", 5),
                         ReadIntSetting("S", "Hex", 5), ReadIntSettingInRange("S", "Zero", 0, 0, 3)),
              std::tuple(5, 5, -1, 0)); // both ends are in the range
    EXPECT_EQ(ReadStringSetting("S", "Missing", "d"), QStringLiteral("d"));
    const QString empty = ReadStringSetting("S", "Empty", "d"); // present but empty
    EXPECT_TRUE(!empty.isNull() && empty.isEmpty());
    // Flags: any number but zero is on; a damaged flag is its default.
    EXPECT_TRUE(ReadFlagSetting("S", "Hex", false) && !ReadFlagSetting("S", "Text", false));

    // A hand-edited file with commas reads; a file that is no settings file reads as defaults.
    const QString fileName = OpenSettingsStore()->fileName();
    for (const auto& [bytes, name, day] :
         {std::tuple{QByteArray("[Author]\nName=Smith, John\nDay=0x1F\n"), "Smith, John", 31},
          {QByteArray("\x00\xff[[[\n=\n\x01", 9), "x", 1}}) {
        QFile file(fileName);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) &&
                    file.flush());
        EXPECT_EQ(std::pair(ReadStringSetting("Author", "Name", "x"), ReadIntSetting("Author", "Day", 1)),
                  std::pair(QString(name), day));
    }
}

// A store format that keeps each value's type, so a test can see how it was written.
static QSettings::Format TypedFormat() {
    static const QSettings::Format format = QSettings::registerFormat(
        QStringLiteral("typed"),
        [](QIODevice& device, QSettings::SettingsMap& map) {
            QDataStream in(&device);
            in >> map;
            return in.status() == QDataStream::Ok;
        },
        [](QIODevice& device, const QSettings::SettingsMap& map) {
            QDataStream out(&device);
            out << map;
            return out.status() == QDataStream::Ok;
        });
    return format;
}

TEST_F(SettingsStoreTest, EveryValueIsWrittenAsAString) {
    SetSettingsStoreFormat(TypedFormat());
    OpenSettingsStore()->clear();
    WriteIntSetting(QStringLiteral("Windows/ToolBox"), QStringLiteral("Left"), -12);
    WriteFlagSetting(QStringLiteral("Windows/ToolBox"), QStringLiteral("Visible"), true);
    TPreferencesForm().SaveSettings();
    Preferences().GridVisible = true;
    SaveGridSetting();
    const auto settings = OpenSettingsStore();
    EXPECT_EQ(settings->allKeys().size(), 13);
    for (const QString& key : settings->allKeys())
        EXPECT_EQ(settings->value(key).typeId(), QMetaType::QString) << key.toStdString();
    EXPECT_EQ(Stored("Windows/ToolBox/Left Preferences/Grid"), "-12|1");
    ResetPreferences();
    LoadGridSetting();
    EXPECT_TRUE(Preferences().GridVisible);
    Preferences().GridVisible = false;
    SaveGridSetting();
    Preferences().GridVisible = true;
    LoadGridSetting();
    EXPECT_FALSE(Preferences().GridVisible);
}
