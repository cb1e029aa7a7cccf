// The settings store: how stored texts read, what a fresh store gives, and that
// every value goes in as a string.
#include "support/test_support.h"
#include "windows/preference_values.h"
#include "windows/preferences_form.h"
#include "windows/qt_printers.h"
#include "windows/settings_store.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QVariant>

namespace {

class SettingsStoreTest : public CubestacksTest {
protected:
    void SetUp() override {
        CubestacksTest::SetUp();
        SetSettingsStoreFormat(QSettings::NativeFormat);
        OpenSettingsStore()->clear();
        ResetPreferences();
    }
    void TearDown() override {
        SetSettingsStoreFormat(QSettings::NativeFormat);
        CubestacksTest::TearDown();
    }
    static void Put(const QString& key, const QString& value) { OpenSettingsStore()->setValue(key, value); }
};

// A store format that keeps each value's type, so a test can see how it was written.
bool ReadTyped(QIODevice& device, QSettings::SettingsMap& map) {
    QDataStream in(&device);
    in >> map;
    return in.status() == QDataStream::Ok;
}
bool WriteTyped(QIODevice& device, const QSettings::SettingsMap& map) {
    QDataStream out(&device);
    out << map;
    return out.status() == QDataStream::Ok;
}
QSettings::Format TypedFormat() {
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("typed"), ReadTyped, WriteTyped);
    return format;
}

TEST_F(SettingsStoreTest, NumbersReadAsDecimalOrHexadecimalAndAnythingElseAsTheDefault) {
    EXPECT_EQ(ParseSettingInt(QStringLiteral("12"), 7), 12);
    EXPECT_EQ(ParseSettingInt(QStringLiteral("0"), 7), 0);
    EXPECT_EQ(ParseSettingInt(QStringLiteral("-3"), 7), -3);
    EXPECT_EQ(ParseSettingInt(QStringLiteral("+4"), 7), 4);
    EXPECT_EQ(ParseSettingInt(QStringLiteral("0x1F"), 7), 31);
    EXPECT_EQ(ParseSettingInt(QStringLiteral("0X1f"), 7), 31);
    EXPECT_EQ(ParseSettingInt(QStringLiteral("0xFFFFFFFF"), 7), -1);
    EXPECT_EQ(ParseSettingInt(QStringLiteral("2147483647"), 7), 2147483647);
    EXPECT_EQ(ParseSettingInt(QStringLiteral("-2147483648"), 7), -2147483647 - 1);

    for (const char* bad : {"", "abc", "0x", "0x1G", "0x-1", "0x100000000", "12a", " 12", "12 ", "1.5", "-",
                            "+", "2147483648", "99999999999", "$1F", "1e3"})
        EXPECT_EQ(ParseSettingInt(QString::fromLatin1(bad), 7), 7) << bad;
    EXPECT_EQ(ParseSettingInt(QString::fromUtf8("\u0663"), 7), 7); // an Arabic-Indic three is no number here
}

TEST_F(SettingsStoreTest, ReadersGiveTheDefaultForMissingOrDamagedValues) {
    EXPECT_EQ(ReadIntSetting(QStringLiteral("Author"), QStringLiteral("Day"), 1), 1);
    EXPECT_EQ(ReadStringSetting(QStringLiteral("Author"), QStringLiteral("Name"), QStringLiteral("none")),
              QStringLiteral("none"));
    EXPECT_TRUE(ReadFlagSetting(QStringLiteral("Preferences"), QStringLiteral("Sounds"), true));

    Put(QStringLiteral("S/Text"), QStringLiteral("abc"));
    Put(QStringLiteral("S/Hex"), QStringLiteral("0x1F"));
    Put(QStringLiteral("S/Empty"), QString());
    Put(QStringLiteral("S/Zero"), QStringLiteral("0"));
    Put(QStringLiteral("S/Big"), QStringLiteral("40"));
    EXPECT_EQ(ReadIntSetting(QStringLiteral("S"), QStringLiteral("Text"), 5), 5);
    EXPECT_EQ(ReadIntSetting(QStringLiteral("S"), QStringLiteral("Hex"), 5), 31);
    EXPECT_EQ(ReadIntSetting(QStringLiteral("S"), QStringLiteral("Empty"), 5), 5);
    // A present but empty text is empty, not the default.
    EXPECT_EQ(ReadStringSetting(QStringLiteral("S"), QStringLiteral("Empty"), QStringLiteral("d")),
              QString());
    EXPECT_FALSE(
        ReadStringSetting(QStringLiteral("S"), QStringLiteral("Empty"), QStringLiteral("d")).isNull());

    // Flags: any number but zero is on; a damaged flag is its default.
    EXPECT_TRUE(ReadFlagSetting(QStringLiteral("S"), QStringLiteral("Hex"), false));
    EXPECT_FALSE(ReadFlagSetting(QStringLiteral("S"), QStringLiteral("Zero"), true));
    EXPECT_TRUE(ReadFlagSetting(QStringLiteral("S"), QStringLiteral("Text"), true));
    EXPECT_FALSE(ReadFlagSetting(QStringLiteral("S"), QStringLiteral("Text"), false));

    // Out of range: the default, not a clamped value.
    EXPECT_EQ(ReadIntSettingInRange(QStringLiteral("S"), QStringLiteral("Big"), 1, 31, 1), 1);
    EXPECT_EQ(ReadIntSettingInRange(QStringLiteral("S"), QStringLiteral("Zero"), 1, 31, 1), 1);
    EXPECT_EQ(ReadIntSettingInRange(QStringLiteral("S"), QStringLiteral("Hex"), 1, 31, 1), 31);
}

TEST_F(SettingsStoreTest, AHandEditedFileWithListsAndQuotesStillReads) {
    const QString fileName = OpenSettingsStore()->fileName();
    QDir().mkpath(QFileInfo(fileName).path());
    {
        QFile file(fileName);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[Author]\nName=Smith, John\nCountry=DE\nDay=0x1F\nMonth=13\nYear=0x7D0\n"
                   "[Preferences]\nSounds=yes\nGrid=1\n");
    }
    EXPECT_EQ(ReadStringSetting(QStringLiteral("Author"), QStringLiteral("Name")),
              QStringLiteral("Smith, John"));
    EXPECT_EQ(ReadIntSetting(QStringLiteral("Author"), QStringLiteral("Day"), 1), 31);

    // A file that is no settings file at all reads as defaults.
    {
        QFile file(fileName);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray("\x00\xff[[[\n=\n\x01", 9));
    }
    EXPECT_EQ(ReadIntSetting(QStringLiteral("Author"), QStringLiteral("Day"), 1), 1);
    EXPECT_EQ(ReadStringSetting(QStringLiteral("Author"), QStringLiteral("Name"), QStringLiteral("x")),
              QStringLiteral("x"));
}

TEST_F(SettingsStoreTest, EveryValueIsWrittenAsAString) {
    SetSettingsStoreFormat(TypedFormat());
    OpenSettingsStore()->clear();
    WriteIntSetting(QStringLiteral("Windows/ToolBox"), QStringLiteral("Left"), -12);
    WriteFlagSetting(QStringLiteral("Windows/ToolBox"), QStringLiteral("Visible"), true);
    {
        TPreferencesForm form;
        form.NameEdit->setText(QStringLiteral("Ann"));
        form.Year->setValue(1990);
        form.Month->setCurrentIndex(4);
        form.Day->setValue(9);
        form.AutoSaveCheck->setChecked(true);
        form.SoundsCheck->setChecked(false);
        form.SaveSettings();
    }
    Preferences().GridVisible = true;
    SaveGridSetting();

    const auto settings = OpenSettingsStore();
    const QStringList keys = settings->allKeys();
    EXPECT_EQ(keys.size(), 13);
    for (const QString& key : keys) {
        const QVariant value = settings->value(key);
        EXPECT_EQ(value.typeId(), QMetaType::QString) << key.toStdString();
    }
    // What each value says is checked where it is written (placement, preferences, grid).
    EXPECT_EQ(settings->value(QStringLiteral("Windows/ToolBox/Left")).toString(), QStringLiteral("-12"));
    EXPECT_TRUE(settings->contains(QStringLiteral("Preferences/StartupModelFile")));
}

TEST_F(SettingsStoreTest, GridSettingRoundTripsAndStartsOff) {
    LoadGridSetting();
    EXPECT_FALSE(Preferences().GridVisible);

    Preferences().GridVisible = true;
    SaveGridSetting();
    EXPECT_EQ(OpenSettingsStore()->value(QStringLiteral("Preferences/Grid")).toString(), QStringLiteral("1"));
    ResetPreferences();
    LoadGridSetting();
    EXPECT_TRUE(Preferences().GridVisible);

    Preferences().GridVisible = false;
    SaveGridSetting();
    Preferences().GridVisible = true;
    LoadGridSetting();
    EXPECT_FALSE(Preferences().GridVisible);

    Put(QStringLiteral("Preferences/Grid"), QStringLiteral("on"));
    LoadGridSetting();
    EXPECT_FALSE(Preferences().GridVisible);
    Put(QStringLiteral("Preferences/Grid"), QStringLiteral("0x10"));
    LoadGridSetting();
    EXPECT_TRUE(Preferences().GridVisible);
}

} // namespace
