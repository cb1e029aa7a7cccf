// The preferences dialog on real widgets: what it shows, what OK and Cancel
// put in force and in the store, the start-up model choice and the ages.
#include "common/program_folder.h"
#include "support/test_support.h"
#include "support/widget_helpers.h"
#include "windows/countries.h"
#include "windows/preference_values.h"
#include "windows/preferences_form.h"
#include "windows/qt_printers.h"
#include "windows/settings_store.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace {

class PreferencesFormTest : public CubestacksTest {
protected:
    void SetUp() override {
        CubestacksTest::SetUp();
        SetProgramFolder(m_folder.path());
        SetSettingsStoreFormat(QSettings::NativeFormat);
        OpenSettingsStore()->clear();
        ResetPreferences();
    }

    static QString Stored(const char* key) {
        return OpenSettingsStore()->value(QLatin1String(key)).toString();
    }
    static void Put(const char* key, const QString& value) {
        OpenSettingsStore()->setValue(QLatin1String(key), value);
    }

    // Switches pages the way the user does, by clicking the tab.
    static void ClickPage(TPreferencesForm& form, int index) {
        QTabBar* bar = form.PageControl1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
        ASSERT_EQ(form.PageControl1->currentIndex(), index);
        QWidget* page = form.PageControl1->widget(index);
        ASSERT_TRUE(QTest::qWaitFor([page] { return page->isVisible() && !page->size().isEmpty(); }));
        QApplication::processEvents(); // lets the page lay out its controls
    }
    // Near the left edge: check boxes and radio buttons take clicks on their box and text only.
    static void Click(QWidget* widget) {
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier,
                          QPoint(qMin(8, widget->width() / 2), widget->height() / 2));
    }
    static void Retype(QWidget* field, const QString& text) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }

    TempProgramFolder m_folder;
};

QStringList TextsOn(QWidget* page) {
    QStringList texts;
    for (auto* label : page->findChildren<QLabel*>())
        texts << label->text();
    for (auto* button : page->findChildren<QAbstractButton*>())
        texts << button->text();
    for (auto* group : page->findChildren<QGroupBox*>())
        texts << group->title();
    return texts;
}

TEST_F(PreferencesFormTest, PagesShowTheirTextsWordForWord) {
    TPreferencesForm form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Preferences"));
    EXPECT_EQ(TPreferencesForm::HelpContext, 40);
    ASSERT_EQ(form.PageControl1->count(), 3);
    EXPECT_EQ(form.PageControl1->tabText(0), QStringLiteral("Author Data"));
    EXPECT_EQ(form.PageControl1->tabText(1), QStringLiteral("Startup"));
    EXPECT_EQ(form.PageControl1->tabText(2), QStringLiteral("System"));
    EXPECT_EQ(form.PageControl1->currentIndex(), 0);

    const QStringList author = TextsOn(form.AuthorSheet);
    for (const char* text :
         {"Enter information about the author",
          "You can provide data about yourself or the model author below. \nThis data will be assigned to "
          "all new "
          "models. The birth date entered \nis converted to age whenever a new model is created.",
          "Birth date", "&Year:", "&Month:", "&Day:", "&Name:", "&Country:"})
        EXPECT_TRUE(author.contains(QString::fromLatin1(text))) << text;

    const QStringList startup = TextsOn(form.StartupSheet);
    for (const char* text :
         {"Choose what to do upon startup",
          "You can choose to start Quadrantine Cubestacks with a blank \nscreen, the last model you worked "
          "on, or a "
          "specific model of your \nchoice. You may also preserve display settings between sessions.",
          "Initial display", "Leave &blank", "Load most &recently opened model",
          "Load &model:", "&Preserve last display layout", "Welcome"})
        EXPECT_TRUE(startup.contains(QString::fromLatin1(text))) << text;

    const QStringList system = TextsOn(form.SystemSheet);
    for (const char* text :
         {"Select system options",
          "Disabling warnings and messages will not prompt you to save files; \nfiles will be saved "
          "automatically "
          "instead. Use this option judiciously. \nYou can also disable sound effects. These settings will "
          "be "
          "active as \nsoon as you close this dialog box.",
          "Warnings and messages", "&Display all warning and confirmation messages",
          "Di&sable warnings and messages (save files automatically)", "Use sound &effects"})
        EXPECT_TRUE(system.contains(QString::fromLatin1(text))) << text;

    EXPECT_EQ(form.OKBtn->text(), QStringLiteral("OK"));
    EXPECT_TRUE(form.OKBtn->isDefault());
    EXPECT_EQ(form.CancelBtn->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(form.HelpBtn->text(), QStringLiteral("&Help"));
    EXPECT_EQ(form.Month->count(), 12);
    EXPECT_EQ(form.Month->itemText(0), QStringLiteral("January"));
    EXPECT_EQ(form.Month->itemText(11), QStringLiteral("December"));
    EXPECT_EQ(form.CountryCombo->count(), kCountryCount);

    // Help: the button and F1 both ask for context 40.
    ASSERT_TRUE(ShowExposed(form));
    QSignalSpy help(&form, &TPreferencesForm::HelpRequested);
    Click(form.HelpBtn);
    QTest::keyClick(form.NameEdit, Qt::Key_F1);
    ASSERT_EQ(help.count(), 2);
    EXPECT_EQ(help[0][0].toInt(), 40);
    EXPECT_EQ(help[1][0].toInt(), 40);
    EXPECT_TRUE(form.isVisible());
}

TEST_F(PreferencesFormTest, AFreshStoreGivesTheDefaults) {
    EXPECT_FALSE(Preferences().SoundsEnabled); // nothing plays before the settings are read
    TPreferencesForm form;
    form.NameEdit->setText(QStringLiteral("left over"));
    form.ModelBlankRadio->setChecked(true);
    form.LoadSettings();
    form.ApplySettings();
    LoadGridSetting();

    EXPECT_EQ(form.NameEdit->text(), QString());
    EXPECT_EQ(form.CountryCombo->currentText(), QStringLiteral("(none specified)"));
    EXPECT_EQ(form.CountryCodeCombo->currentText(), QString());
    EXPECT_EQ(form.Day->value(), 1);
    EXPECT_EQ(form.Month->currentText(), QStringLiteral("January"));
    EXPECT_EQ(form.Year->value(), 0);
    EXPECT_EQ(form.BirthAge(), 0);
    EXPECT_TRUE(form.ModelSpecificRadio->isChecked());
    EXPECT_EQ(form.StartupModelFilePath->text(), m_folder.path() + QStringLiteral("Models/Welcome.cst"));
    EXPECT_EQ(form.StartupModelFileName->text(), QStringLiteral("Welcome"));
    EXPECT_TRUE(form.LoadDisplayCheck->isChecked());
    EXPECT_TRUE(form.MessagesCheck->isChecked());
    EXPECT_TRUE(form.SoundsCheck->isChecked());

    const TPreferenceValues& values = Preferences();
    EXPECT_EQ(values.AuthorName, QString());
    EXPECT_EQ(values.AuthorCountry, QString());
    EXPECT_EQ(values.AuthorAge, 0);
    EXPECT_TRUE(values.SoundsEnabled);
    EXPECT_FALSE(PreferredModelDefaults().GridVisible);
    EXPECT_EQ(PreferredModelDefaults().AuthorName, std::string());
    EXPECT_EQ(PreferredModelDefaults().AuthorCountry, std::string());
    EXPECT_EQ(values.StartupModel, kStartupChosenModel);
    EXPECT_EQ(values.StartupModelFile, m_folder.path() + QStringLiteral("Models/Welcome.cst"));
    EXPECT_TRUE(values.LoadDisplay);
    EXPECT_TRUE(MessagesEnabled());
    EXPECT_EQ(StartupModelPathToLoad(), values.StartupModelFile);

    // Nothing was written by reading.
    EXPECT_TRUE(OpenSettingsStore()->allKeys().isEmpty());
}

TEST_F(PreferencesFormTest, DamagedValuesReadAsTheirDefaults) {
    TPreferencesForm form;
    form.ModelLastRadio->setChecked(true);
    form.CountryCombo->setCurrentIndex(5);
    Put("Author/Name", QStringLiteral("x").repeated(100));
    Put("Author/Country", QStringLiteral("XX")); // not in the list: the selection stays
    Put("Author/Day", QStringLiteral("0"));
    Put("Author/Month", QStringLiteral("13"));
    Put("Author/Year", QStringLiteral("abc"));
    Put("Preferences/StartupModel", QStringLiteral("7")); // unknown: the radio buttons stay
    Put("Preferences/Messages", QStringLiteral(""));
    Put("Preferences/Sounds", QStringLiteral("0x0"));
    Put("Preferences/LoadDisplay", QStringLiteral("0x1F"));
    form.LoadSettings();

    EXPECT_EQ(form.NameEdit->text().size(), 64);
    EXPECT_EQ(form.CountryCombo->currentIndex(), 5);
    EXPECT_EQ(form.CountryCodeCombo->currentIndex(), 5);
    EXPECT_EQ(form.Day->value(), 1);
    EXPECT_EQ(form.Month->currentIndex(), 0);
    EXPECT_EQ(form.Year->value(), 0);
    EXPECT_TRUE(form.ModelLastRadio->isChecked());
    EXPECT_TRUE(form.MessagesCheck->isChecked());
    EXPECT_FALSE(form.SoundsCheck->isChecked());
    EXPECT_FALSE(Preferences().SoundsEnabled);
    EXPECT_TRUE(form.LoadDisplayCheck->isChecked());

    Put("Author/Day", QStringLiteral("32"));
    Put("Author/Month", QStringLiteral("0"));
    Put("Author/Year", QStringLiteral("3001"));
    Put("Preferences/StartupModel", QStringLiteral("0x0"));
    Put("Preferences/Messages", QStringLiteral("0"));
    form.LoadSettings();
    EXPECT_EQ(form.Day->value(), 1);
    EXPECT_EQ(form.Month->currentIndex(), 0);
    EXPECT_EQ(form.Year->value(), 0);
    EXPECT_TRUE(form.ModelBlankRadio->isChecked());
    EXPECT_TRUE(form.AutoSaveCheck->isChecked());

    Put("Author/Day", QStringLiteral("0x1F"));
    Put("Author/Month", QStringLiteral("12"));
    Put("Author/Year", QStringLiteral("3000"));
    form.LoadSettings();
    EXPECT_EQ(form.Day->value(), 31);
    EXPECT_EQ(form.Month->currentText(), QStringLiteral("December"));
    EXPECT_EQ(form.Year->value(), 3000);
    EXPECT_LT(form.BirthAge(), 0); // a future birth date is not checked
}

TEST_F(PreferencesFormTest, OkPutsTheChoicesInForceAndStoresThem) {
    TPreferencesForm form;
    ASSERT_TRUE(ShowExposed(form));

    QTest::keyClicks(form.NameEdit, QStringLiteral("Zo"));
    QTest::sendKeyEvent(QTest::Click, form.NameEdit, Qt::Key_unknown, QString(QChar(0xEB)), Qt::NoModifier);
    QTest::keyClicks(form.NameEdit, QStringLiteral(" Smith"));
    form.CountryCombo->setFocus();
    QTest::keyClicks(form.CountryCombo, QStringLiteral("Germany"));
    ASSERT_EQ(form.CountryCombo->currentText(), QStringLiteral("Germany"));
    const QDate today = QDate::currentDate();
    Retype(form.Year, QString::number(today.year() - 30));
    form.Month->setFocus();
    for (int i = 1; i < today.month(); ++i)
        QTest::keyClick(form.Month, Qt::Key_Down);
    Retype(form.Day, QString::number(today.day()));
    EXPECT_EQ(form.BirthAge(), 30); // the birthday itself counts the full year

    ClickPage(form, 1);
    Click(form.ModelBlankRadio);
    Click(form.LoadDisplayCheck);
    ClickPage(form, 2);
    Click(form.AutoSaveCheck);
    Click(form.SoundsCheck);

    // Nothing is in force or stored before OK.
    EXPECT_TRUE(MessagesEnabled());
    EXPECT_EQ(Preferences().AuthorName, QString());
    EXPECT_FALSE(OpenSettingsStore()->contains(QStringLiteral("Author/Name")));

    Click(form.OKBtn);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);

    const TPreferenceValues& values = Preferences();
    EXPECT_EQ(values.AuthorName, QString::fromUtf8("Zo\u00EB Smith"));
    EXPECT_EQ(values.AuthorCountry, QStringLiteral("DE"));
    EXPECT_EQ(values.AuthorAge, 30);
    EXPECT_FALSE(values.SoundsEnabled);
    EXPECT_FALSE(values.LoadDisplay);
    EXPECT_EQ(values.StartupModel, kStartupBlank);
    EXPECT_FALSE(MessagesEnabled());
    EXPECT_EQ(StartupModelPathToLoad(), QString());

    // The model's author defaults (ANSI bytes); new models taking them is the model tests' business.
    EXPECT_EQ(PreferredModelDefaults().AuthorName, std::string("Zo\xEB Smith"));
    EXPECT_EQ(PreferredModelDefaults().AuthorCountry, std::string("DE"));
    EXPECT_EQ(PreferredModelDefaults().AuthorAge, 30);

    EXPECT_EQ(Stored("Author/Name"), QString::fromUtf8("Zo\u00EB Smith"));
    EXPECT_EQ(Stored("Author/Country"), QStringLiteral("DE"));
    EXPECT_EQ(Stored("Author/Year"), QString::number(today.year() - 30));
    EXPECT_EQ(Stored("Author/Month"), QString::number(today.month()));
    EXPECT_EQ(Stored("Author/Day"), QString::number(today.day()));
    EXPECT_EQ(Stored("Preferences/StartupModel"), QStringLiteral("0"));
    EXPECT_EQ(Stored("Preferences/StartupModelFile"), m_folder.path() + QStringLiteral("Models/Welcome.cst"));
    EXPECT_EQ(Stored("Preferences/LoadDisplay"), QStringLiteral("0"));
    EXPECT_EQ(Stored("Preferences/Messages"), QStringLiteral("0"));
    EXPECT_EQ(Stored("Preferences/Sounds"), QStringLiteral("0"));

    // Showing it again reads back what was stored.
    form.NameEdit->setText(QStringLiteral("changed behind its back"));
    form.show();
    EXPECT_EQ(form.NameEdit->text(), QString::fromUtf8("Zo\u00EB Smith"));
    EXPECT_EQ(form.CountryCombo->currentText(), QStringLiteral("Germany"));
    EXPECT_TRUE(form.ModelBlankRadio->isChecked());
    EXPECT_TRUE(form.AutoSaveCheck->isChecked());
    EXPECT_EQ(form.BirthAge(), 30);
}

TEST_F(PreferencesFormTest, CancelledChangesAreNeitherInForceNorStoredAtTheProgramEnd) {
    Put("Author/Name", QStringLiteral("Stored Name"));
    Put("Preferences/Sounds", QStringLiteral("1"));
    TPreferencesForm form;
    form.LoadSettings();
    form.ApplySettings();

    // It opens with the keyboard in the first field of its page.
    ASSERT_TRUE(ShowExposed(form));
    ASSERT_TRUE(ActivateAndWait(form));
    EXPECT_EQ(QApplication::focusWidget(), form.NameEdit);
    Retype(form.NameEdit, QStringLiteral("Cancelled Name"));
    ClickPage(form, 2);
    Click(form.SoundsCheck);
    Click(form.AutoSaveCheck);
    Click(form.CancelBtn);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Rejected);

    EXPECT_EQ(Preferences().AuthorName, QStringLiteral("Stored Name"));
    EXPECT_TRUE(Preferences().SoundsEnabled);
    EXPECT_TRUE(MessagesEnabled());
    EXPECT_EQ(Stored("Author/Name"), QStringLiteral("Stored Name"));
    EXPECT_EQ(Stored("Preferences/Sounds"), QStringLiteral("1"));

    // The program's end stores the values in force, not the cancelled ones.
    form.SaveSettings();
    EXPECT_EQ(Stored("Author/Name"), QStringLiteral("Stored Name"));
    EXPECT_EQ(Stored("Preferences/Sounds"), QStringLiteral("1"));
    EXPECT_EQ(Stored("Preferences/Messages"), QStringLiteral("1"));

    // Escape cancels too; the System page, open again, gives its chosen button the keyboard.
    form.show();
    ASSERT_TRUE(ActivateAndWait(form));
    EXPECT_EQ(QApplication::focusWidget(), form.MessagesCheck);
    ClickPage(form, 0);
    Retype(form.NameEdit, QStringLiteral("Escaped"));
    QTest::keyClick(form.NameEdit, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    form.SaveSettings();
    EXPECT_EQ(Stored("Author/Name"), QStringLiteral("Stored Name"));
    EXPECT_EQ(Preferences().AuthorName, QStringLiteral("Stored Name"));
}

TEST_F(PreferencesFormTest, MostRecentlyOpenedStoresTheCurrentModelPath) {
    TPreferencesForm form;
    QString current = QStringLiteral("/home/ann/Models/Castle.cst");
    form.SetCurrentModelPathSource([&current] { return current; });
    form.LoadSettings();
    form.ModelLastRadio->setChecked(true);
    form.SaveSettings();
    EXPECT_EQ(Stored("Preferences/StartupModel"), QStringLiteral("1"));
    EXPECT_EQ(Stored("Preferences/StartupModelFile"), current);

    ResetPreferences();
    form.LoadSettings();
    form.ApplySettings();
    EXPECT_EQ(form.StartupModelFileName->text(), QStringLiteral("Castle"));
    EXPECT_EQ(StartupModelPathToLoad(), current);

    // An untitled model at the end: the start-up path becomes empty and nothing loads.
    current.clear();
    form.SaveSettings();
    EXPECT_TRUE(OpenSettingsStore()->contains(QStringLiteral("Preferences/StartupModelFile")));
    EXPECT_EQ(Stored("Preferences/StartupModelFile"), QString());
    form.LoadSettings();
    form.ApplySettings();
    EXPECT_EQ(Preferences().StartupModelFile, QString());
    EXPECT_EQ(StartupModelPathToLoad(), QString());

    // A chosen model keeps its own path whatever is open.
    current = QStringLiteral("/tmp/Other.cst");
    form.ModelSpecificRadio->setChecked(true);
    form.StartupModelFilePath->setText(QStringLiteral("/tmp/Chosen.cst"));
    form.SaveSettings();
    EXPECT_EQ(Stored("Preferences/StartupModelFile"), QStringLiteral("/tmp/Chosen.cst"));
}

TEST_F(PreferencesFormTest, UntitledAsTheStartupPathLoadsNothing) {
    Put("Preferences/StartupModel", QStringLiteral("2"));
    Put("Preferences/StartupModelFile", QStringLiteral("(Untitled)"));
    TPreferencesForm form;
    form.LoadSettings();
    form.ApplySettings();
    EXPECT_EQ(form.StartupModelFileName->text(), QStringLiteral("(Untitled)"));
    EXPECT_EQ(Preferences().StartupModelFile, QStringLiteral("(Untitled)"));
    EXPECT_EQ(StartupModelPathToLoad(), QString());

    Put("Preferences/StartupModel", QStringLiteral("1"));
    form.LoadSettings();
    form.ApplySettings();
    EXPECT_EQ(StartupModelPathToLoad(), QString());

    Put("Preferences/StartupModelFile", QStringLiteral("/m/Tower.v2.cst"));
    form.LoadSettings();
    form.ApplySettings();
    EXPECT_EQ(form.StartupModelFileName->text(), QStringLiteral("Tower.v2"));
    EXPECT_EQ(StartupModelPathToLoad(), QStringLiteral("/m/Tower.v2.cst"));

    Put("Preferences/StartupModel", QStringLiteral("0"));
    form.LoadSettings();
    form.ApplySettings();
    EXPECT_EQ(StartupModelPathToLoad(), QString());
}

TEST_F(PreferencesFormTest, BrowsingPicksTheStartupModel) {
    m_folder.write(QStringLiteral("Models/Welcome.cst"), QByteArray("x"));
    m_folder.write(QStringLiteral("Elsewhere/Harbour.cst"), QByteArray("x"));
    const QString chosen = m_folder.file(QStringLiteral("Elsewhere/Harbour.cst"));

    TPreferencesForm form;
    ASSERT_TRUE(ShowExposed(form));
    ClickPage(form, 1);
    Click(form.ModelBlankRadio);

    int runs = 0;
    bool accept = false;
    form.SetDialogRunner([&](QDialog& shown) {
        ++runs;
        auto* dialog = qobject_cast<QFileDialog*>(&shown);
        EXPECT_NE(dialog, nullptr);
        if (!dialog)
            return int(QDialog::Rejected);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Select Model File"));
        EXPECT_EQ(dialog->nameFilters(), QStringList({QStringLiteral("Cubestacks Files (*.cst)"),
                                                      QStringLiteral("All files (*.*)")}));
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
        if (runs == 1) {
            EXPECT_EQ(QDir(dialog->directory()).canonicalPath(),
                      QDir(m_folder.file("Models")).canonicalPath());
            // Offered the current start-up file's name.
            EXPECT_EQ(QFileInfo(dialog->selectedFiles().value(0)).fileName(), QStringLiteral("Welcome.cst"));
        }
        if (!accept)
            return int(QDialog::Rejected);
        dialog->selectFile(chosen);
        return int(QDialog::Accepted);
    });

    Click(form.BrowseBtn); // cancelled: nothing changes
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(form.ModelBlankRadio->isChecked());
    EXPECT_EQ(form.StartupModelFileName->text(), QStringLiteral("Welcome"));

    accept = true;
    Click(form.BrowseBtn);
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(form.StartupModelFilePath->text(), chosen);
    EXPECT_EQ(form.StartupModelFileName->text(), QStringLiteral("Harbour"));
    EXPECT_TRUE(form.ModelSpecificRadio->isChecked());
    EXPECT_EQ(QDir(form.ChooseModelDialog()->directory()).canonicalPath(),
              QDir(m_folder.file("Elsewhere")).canonicalPath());

    Click(form.OKBtn);
    EXPECT_EQ(Preferences().StartupModel, kStartupChosenModel);
    EXPECT_EQ(Preferences().StartupModelFile, chosen);
    EXPECT_EQ(Stored("Preferences/StartupModelFile"), chosen);
}

TEST_F(PreferencesFormTest, TheRealFileDialogAnswersTheBrowseButton) {
    m_folder.write(QStringLiteral("Models/Mill.cst"), QByteArray("x"));
    TPreferencesForm form;
    ASSERT_TRUE(ShowExposed(form));
    ClickPage(form, 1);
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = dialog->windowTitle() == QStringLiteral("Select Model File");
        dialog->selectFile(m_folder.file(QStringLiteral("Models/Mill.cst")));
        static_cast<QDialog*>(dialog)->accept();
    });
    Click(form.BrowseBtn);
    EXPECT_TRUE(seen);
    EXPECT_EQ(form.StartupModelFileName->text(), QStringLiteral("Mill"));
}

TEST_F(PreferencesFormTest, AgesCountWholeYearsFromTheBirthDate) {
    const QDate day(2024, 6, 15);
    EXPECT_EQ(AgeFromBirthDate(1990, 6, 15, day), 34); // the birthday itself
    EXPECT_EQ(AgeFromBirthDate(1990, 6, 16, day), 33); // tomorrow
    EXPECT_EQ(AgeFromBirthDate(1990, 6, 14, day), 34); // yesterday
    EXPECT_EQ(AgeFromBirthDate(1990, 7, 1, day), 33);  // a later month
    EXPECT_EQ(AgeFromBirthDate(1990, 5, 31, day), 34); // an earlier month, later day
    EXPECT_EQ(AgeFromBirthDate(1990, 12, 31, day), 33);
    EXPECT_EQ(AgeFromBirthDate(2030, 1, 1, day), -6); // the future is not checked
    EXPECT_EQ(AgeFromBirthDate(2024, 6, 16, day), -1);
    // 29 February: a year older from 1 March in other years, on the day in leap years.
    EXPECT_EQ(AgeFromBirthDate(2000, 2, 29, QDate(2023, 2, 28)), 22);
    EXPECT_EQ(AgeFromBirthDate(2000, 2, 29, QDate(2023, 3, 1)), 23);
    EXPECT_EQ(AgeFromBirthDate(2000, 2, 29, QDate(2024, 2, 29)), 24);
    // Through the dialog: the OK test (the birthday itself) and the fresh and
    // damaged stores (year 0, a future year).
}

} // namespace
