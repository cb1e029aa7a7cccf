// The settings store: how stored texts read, and that every value goes in as a string.
#include "windows/preferences_form.h"
#include "windows/windows_fixture.h"

#include <QtTest>
#include <QtWidgets>

namespace {

using SettingsStoreTest = WindowsTest;

TEST_F(SettingsStoreTest, NumbersReadAsDecimalOrHexadecimalAndAnythingElseAsTheDefault) {
    for (const QString& good :
         QStringLiteral("12=12 0=0 -3=-3 +4=4 0X1f=31 0xFFFFFFFF=-1 2147483647=2147483647 "
                        "-2147483648=-2147483648")
             .split(' '))
        EXPECT_EQ(ParseSettingInt(good.section('=', 0, 0), 7), good.section('=', 1).toInt())
            << good.toStdString();
    for (const char* bad :
         {"", "abc", "0x", "0x1G", "0x-1", "0x100000000", "12a", " 12", "12 ", "1.5", "-", "+", "2147483648",
          "$1F", "1e3", "\xD9\xA3"}) // an Arabic-Indic three is no number here
        EXPECT_EQ(ParseSettingInt(QString::fromUtf8(bad), 7), 7) << bad;

    const auto put = [](const char* key, const char* value) {
        OpenSettingsStore()->setValue(QLatin1String(key), QString::fromLatin1(value));
    };
    const QString s = QStringLiteral("S");
    put("S/Text", "abc");
    put("S/Hex", "0xFFFFFFFF");
    put("S/Empty", "");
    put("S/Zero", "0");
    EXPECT_EQ(ReadIntSetting(s, QStringLiteral("Missing"), 5), 5);
    EXPECT_EQ(ReadIntSetting(s, QStringLiteral("Text"), 5), 5);
    EXPECT_EQ(ReadIntSetting(s, QStringLiteral("Hex"), 5), -1);
    EXPECT_EQ(ReadStringSetting(s, QStringLiteral("Missing"), QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_FALSE(
        ReadStringSetting(s, QStringLiteral("Empty"), QStringLiteral("d")).isNull()); // present but empty
    EXPECT_TRUE(ReadStringSetting(s, QStringLiteral("Empty"), QStringLiteral("d")).isEmpty());
    // Flags: any number but zero is on; a damaged flag is its default.
    EXPECT_TRUE(ReadFlagSetting(s, QStringLiteral("Hex"), false));
    EXPECT_FALSE(ReadFlagSetting(s, QStringLiteral("Text"), false));
    EXPECT_EQ(ReadIntSettingInRange(s, QStringLiteral("Zero"), 0, 0, 3), 0); // both ends are in the range
    put("Preferences/Grid", "on");
    LoadGridSetting();
    EXPECT_FALSE(Preferences().GridVisible);
    put("Preferences/Grid", "0x10");
    LoadGridSetting();
    EXPECT_TRUE(Preferences().GridVisible);

    // A hand-edited file with commas reads; a file that is no settings file reads as defaults.
    const QString fileName = OpenSettingsStore()->fileName();
    for (const auto& [bytes, name] :
         {std::pair{QByteArray("[Author]\nName=Smith, John\nDay=0x1F\n"), "Smith, John"},
          {QByteArray("\x00\xff[[[\n=\n\x01", 9), "x"}}) {
        QFile file(fileName);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        EXPECT_EQ(ReadStringSetting(QStringLiteral("Author"), QStringLiteral("Name"), QStringLiteral("x")),
                  QLatin1String(name));
        EXPECT_EQ(ReadIntSetting(QStringLiteral("Author"), QStringLiteral("Day"), 1),
                  name[0] == 'x' ? 1 : 31);
    }
}

// A store format that keeps each value's type, so a test can see how it was written.
QSettings::Format TypedFormat() {
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
    EXPECT_EQ(settings->value(QStringLiteral("Windows/ToolBox/Left")).toString(), QStringLiteral("-12"));
    EXPECT_EQ(settings->value(QStringLiteral("Preferences/Grid")).toString(), QStringLiteral("1"));
    ResetPreferences();
    LoadGridSetting();
    EXPECT_TRUE(Preferences().GridVisible);
    Preferences().GridVisible = false;
    SaveGridSetting();
    Preferences().GridVisible = true;
    LoadGridSetting();
    EXPECT_FALSE(Preferences().GridVisible);
}

} // namespace
