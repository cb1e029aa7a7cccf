#include "common/program_folder.h"
#include "windows/preferences_form.h"
#include "windows/windows_fixture.h"

class PreferencesFormTest : public WindowsTest {
protected:
    void SetUp() override {
        WindowsTest::SetUp();
        SetProgramFolder(folder.path());
    }
    static void ClickPage(TPreferencesForm& form, int index) {
        QTabBar* bar = form.PageControl1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        QWidget* page = form.PageControl1->widget(index);
        ASSERT_TRUE(QTest::qWaitFor([page] { return page->isVisible() && !page->size().isEmpty(); }));
        QApplication::processEvents();
    }
    static void Retype(QWidget* field, const QString& text) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, text);
    }
    static std::tuple<int, int, int> Date(const TPreferencesForm& form) {
        return {form.Day->value(), form.Month->currentIndex(), form.Year->value()};
    }
    QString Welcome() const { return folder.path() + QStringLiteral("Models/Welcome.cst"); }
    TempProgramFolder folder;
};

TEST_F(PreferencesFormTest, AFreshStoreGivesTheDefaultsAndDamagedValuesReadAsTheirDefaults) {
    TPreferencesForm form;
    form.NameEdit->setText(QStringLiteral("left over"));
    form.ModelBlankRadio->setChecked(true);
    form.LoadSettings();
    form.ApplySettings();
    LoadGridSetting();
    EXPECT_EQ(QStringList({form.NameEdit->text(), form.CountryCombo->currentText(), form.Day->text(),
                           form.Month->currentText(), QString::number(form.BirthAge()),
                           form.StartupModelFileName->text()}),
              QStringList({"", "(none specified)", "1", "January", "0", "Welcome"}));
    EXPECT_TRUE(form.ModelSpecificRadio->isChecked() && form.LoadDisplayCheck->isChecked() &&
                form.MessagesCheck->isChecked());
    const TPreferenceValues& values = Preferences();
    EXPECT_EQ(std::tuple(values.SoundsEnabled, values.GridVisible, values.StartupModel, values.LoadDisplay,
                         MessagesEnabled(), StartupModelPathToLoad()),
              std::tuple(true, false, int(kStartupChosenModel), true, true, Welcome()));
    EXPECT_TRUE(OpenSettingsStore()->allKeys().isEmpty());

    form.ModelLastRadio->setChecked(true); // damaged values read as their defaults
    form.CountryCombo->setCurrentIndex(
        5); // an unknown country or startup choice leaves the selection as it was
    Put("Author/Name=" + QString(100, 'x') +
        "|Author/Country=XX|Author/Day=0|Author/Month=13|Author/Year=abc|"
        "Preferences/StartupModel=7|Preferences/Messages=|Preferences/Sounds=0x0");
    form.LoadSettings();
    EXPECT_EQ(std::tuple(form.NameEdit->text().size(), form.CountryCodeCombo->currentIndex(), Date(form)),
              std::tuple(64, 5, std::tuple(1, 0, 0)));
    EXPECT_TRUE(form.ModelLastRadio->isChecked() && form.MessagesCheck->isChecked());
    EXPECT_FALSE(form.SoundsCheck->isChecked() || Preferences().SoundsEnabled);
    Put("Author/Day=32|Author/Month=0|Author/Year=3001|Preferences/StartupModel=0x0|Preferences/Messages=0");
    form.LoadSettings();
    EXPECT_EQ(Date(form), std::tuple(1, 0, 0));
    EXPECT_TRUE(form.ModelBlankRadio->isChecked() && form.AutoSaveCheck->isChecked());
    Put("Author/Day=0x1F|Author/Month=12|Author/Year=3000"); // the range edges
    form.LoadSettings();
    EXPECT_EQ(Date(form), std::tuple(31, 11, 3000));
}

TEST_F(PreferencesFormTest, OkPutsTheChoicesInForceAndStoresThem) {
    TPreferencesForm form;
    ASSERT_TRUE(ShowExposed(form));
    QTest::keyClicks(form.NameEdit, QStringLiteral("Zo"));
    QTest::sendKeyEvent(QTest::Click, form.NameEdit, Qt::Key_unknown, QString(QChar(0xEB)), Qt::NoModifier);
    QTest::keyClicks(form.NameEdit, QStringLiteral(" Smith"));
    form.CountryCombo->setFocus();
    QTest::keyClicks(form.CountryCombo, QStringLiteral("Germany"));
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
    EXPECT_TRUE(MessagesEnabled() && OpenSettingsStore()->allKeys().isEmpty()); // nothing done before OK

    Click(form.OKBtn);
    const TPreferenceValues& values = Preferences();
    EXPECT_EQ(std::tuple(form.result(), values.AuthorName, values.AuthorAge, values.SoundsEnabled,
                         values.LoadDisplay, values.StartupModel, MessagesEnabled(),
                         StartupModelPathToLoad()),
              std::tuple(int(QDialog::Accepted), QString::fromUtf8("Zo\u00EB Smith"), 30, false, false,
                         int(kStartupBlank), false, QString()));
    const TModelDefaults defaults = PreferredModelDefaults(); // ANSI bytes for the model
    EXPECT_EQ(std::tuple(defaults.AuthorName, defaults.AuthorCountry, defaults.AuthorAge),
              std::tuple(std::string("Zo\xEB Smith"), std::string("DE"), 30));
    EXPECT_EQ(Stored("Name Country Year Month Day", "Author/") + '|' +
                  Stored("StartupModel StartupModelFile LoadDisplay Messages Sounds", "Preferences/"),
              QString::fromUtf8("Zo\u00EB Smith|DE|%1|0|%2|0|0|0")
                  .arg(QString::number(today.year() - 30) + today.toString("|M|d"), Welcome()));
    // Showing it again reads back what was stored.
    form.NameEdit->setText(QStringLiteral("changed behind its back"));
    form.show();
    EXPECT_EQ(std::tuple(form.NameEdit->text(), form.ModelBlankRadio->isChecked(), form.BirthAge()),
              std::tuple(QString::fromUtf8("Zo\u00EB Smith"), true, 30));
}

TEST_F(PreferencesFormTest, CancelledChangesAreNeitherInForceNorStoredAtTheEnd) {
    Put("Author/Name=Stored Name|Preferences/Sounds=1");
    TPreferencesForm form;
    form.LoadSettings();
    form.ApplySettings();
    ASSERT_TRUE(ShowExposed(form));
    ASSERT_TRUE(ActivateAndWait(form));
    EXPECT_EQ(QApplication::focusWidget(), form.NameEdit); // the first field of its page
    QSignalSpy help(&form, &TPreferencesForm::HelpRequested);
    Click(form.HelpBtn);
    QTest::keyClick(form.NameEdit, Qt::Key_F1);
    EXPECT_EQ(help.count() == 2 ? help[1][0].toInt() : -1, 40);
    Retype(form.NameEdit, QStringLiteral("Cancelled Name"));
    ClickPage(form, 2);
    Click(form.SoundsCheck);
    Click(form.AutoSaveCheck);
    Click(form.CancelBtn);
    EXPECT_EQ(std::tuple(Preferences().AuthorName, Preferences().SoundsEnabled, MessagesEnabled()),
              std::tuple(QStringLiteral("Stored Name"), true, true));
    form.SaveSettings(); // the program's end stores the values in force
    EXPECT_EQ(Stored("Author/Name Preferences/Sounds Preferences/Messages"), "Stored Name|1|1");
    form.show(); // escape cancels too; the System page gives its chosen button the keyboard
    ASSERT_TRUE(ActivateAndWait(form));
    EXPECT_EQ(QApplication::focusWidget(), form.MessagesCheck);
    QTest::keyClick(form.MessagesCheck, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(PreferencesFormTest, TheStartupModelPathAndWhatLoads) {
    TPreferencesForm form;
    QString current = QStringLiteral("/home/ann/Models/Castle.cst");
    form.SetCurrentModelPathSource([&current] { return current; });
    form.LoadSettings();
    form.ModelLastRadio->setChecked(true); // most recently opened: the current model's path
    form.SaveSettings();
    EXPECT_EQ(Stored("Preferences/StartupModel"), QStringLiteral("1"));
    form.LoadSettings();
    form.ApplySettings();
    EXPECT_EQ(StartupModelPathToLoad() + '|' + form.StartupModelFileName->text(), current + "|Castle");
    current.clear(); // untitled at the end: nothing loads
    form.SaveSettings();
    EXPECT_TRUE(OpenSettingsStore()->contains(QStringLiteral("Preferences/StartupModelFile")));
    form.LoadSettings();
    form.ApplySettings();
    EXPECT_EQ(StartupModelPathToLoad(), QString());
    form.ModelSpecificRadio->setChecked(true); // a chosen model keeps its own path
    form.StartupModelFilePath->setText(QStringLiteral("/tmp/Chosen.cst"));
    form.SaveSettings();
    EXPECT_EQ(Stored("Preferences/StartupModelFile"), QStringLiteral("/tmp/Chosen.cst"));

    const auto load = [&](const char* kind, const char* file) {
        Put(QStringLiteral("Preferences/StartupModel=%1|Preferences/StartupModelFile=%2").arg(kind, file));
        form.LoadSettings();
        form.ApplySettings();
        return StartupModelPathToLoad() + '|' + form.StartupModelFileName->text();
    };
    for (const auto& [kind, file, path, name] :
         {std::tuple("2", "(Untitled)", "", "(Untitled)"), std::tuple("1", "(Untitled)", "", "(Untitled)"),
          std::tuple("1", "/m/Tower.v2.cst", "/m/Tower.v2.cst", "Tower.v2"),
          std::tuple("0", "/m/Tower.v2.cst", "", "Tower.v2")})
        EXPECT_EQ(load(kind, file), QString(path) + '|' + name) << kind;
}

TEST_F(PreferencesFormTest, BrowsingPicksTheStartupModel) {
    folder.write(QStringLiteral("Models/Welcome.cst"), QByteArray("x"));
    folder.write(QStringLiteral("Elsewhere/Harbour.cst"), QByteArray("x"));
    const QString chosen = folder.file(QStringLiteral("Elsewhere/Harbour.cst"));
    TPreferencesForm form;
    ASSERT_TRUE(ShowExposed(form));
    ClickPage(form, 1);
    Click(form.ModelBlankRadio);
    int runs = 0;
    form.SetDialogRunner([&](QDialog& shown) {
        auto* dialog = &dynamic_cast<QFileDialog&>(shown);
        if (++runs > 1) {
            dialog->selectFile(chosen);
            return int(QDialog::Accepted);
        }
        EXPECT_EQ(dialog->nameFilters(), QStringList({"Cubestacks Files (*.cst)", "All files (*.*)"}));
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(folder.file("Models")).canonicalPath());
        EXPECT_EQ(QFileInfo(dialog->selectedFiles().value(0)).fileName(), QStringLiteral("Welcome.cst"));
        return int(QDialog::Rejected);
    });
    Click(form.BrowseBtn); // cancelled: nothing changes
    EXPECT_TRUE(form.ModelBlankRadio->isChecked());
    Click(form.BrowseBtn);
    EXPECT_EQ(std::tuple(runs, form.StartupModelFileName->text(), form.ModelSpecificRadio->isChecked()),
              std::tuple(2, QStringLiteral("Harbour"), true));
    Click(form.OKBtn);
    EXPECT_EQ(Preferences().StartupModelFile + '|' + Stored("Preferences/StartupModelFile"),
              chosen + '|' + chosen);
}

TEST(AgeFromBirthDate, CountsWholeYears) {
    for (const QStringList& c : DataCases("birth_age")) {
        const QDate birth = QDate::fromString(c[0], Qt::ISODate);
        EXPECT_EQ(
            AgeFromBirthDate(birth.year(), birth.month(), birth.day(), QDate::fromString(c[1], Qt::ISODate)),
            c.value(2).toInt())
            << c.join(' ').toStdString();
    }
}
