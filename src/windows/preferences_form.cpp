#include "windows/preferences_form.h"

#include "common/ansi_text.h"
#include "common/messages.h"
#include "common/program_folder.h"
#include "windows/countries.h"
#include "windows/file_dialog_filters.h"
#include "windows/form_font.h"
#include "windows/preference_values.h"
#include "windows/settings_store.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QShowEvent>
#include <QSpinBox>
#include <QStringList>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString kName = QStringLiteral("Name");
const QString kCountry = QStringLiteral("Country");
const QString kDay = QStringLiteral("Day");
const QString kMonth = QStringLiteral("Month");
const QString kYear = QStringLiteral("Year");
const QString kStartupModel = QStringLiteral("StartupModel");
const QString kStartupModelFile = QStringLiteral("StartupModelFile");
const QString kMessages = QStringLiteral("Messages");
const QString kSounds = QStringLiteral("Sounds");
const QString kLoadDisplay = QStringLiteral("LoadDisplay");

// The name shown for a model path: the file name without its extension.
QString ModelNameOfPath(const QString& path) {
    return QFileInfo(path).completeBaseName();
}

// A page of the dialog: its heading and explanation above the controls that
// the caller adds.
QVBoxLayout* PageLayout(QWidget* sheet, const QString& heading, const QStringList& explanation) {
    auto* title = new QLabel(heading, sheet);
    title->setFont(FormFont(true));
    auto* text = new QLabel(explanation.join(QLatin1Char('\n')), sheet);
    text->setTextFormat(Qt::PlainText);
    auto* layout = new QVBoxLayout(sheet);
    layout->addWidget(title);
    layout->addWidget(text);
    return layout;
}

QLabel* BuddyLabel(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

QFileDialog* CreateChooseModelDialog(QWidget* parent) {
    auto* dialog =
        new QFileDialog(parent, QStringLiteral("Select Model File"), DataFolder(QStringLiteral("Models")));
    dialog->setNameFilters({QStringLiteral("Cubestacks Files (*.cst)"), QStringLiteral("All files (*.*)")});
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    MatchEveryFileWithStarDotStar(*dialog);
    return dialog;
}

TPreferencesForm::TPreferencesForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Preferences"));
    // Modal to the main window and its boxes only: the help it opens stays usable.
    setWindowModality(Qt::WindowModal);
    setFont(FormFont());
    setProperty("HelpContext", HelpContext);

    PageControl1 = new QTabWidget(this);
    CreateAuthorSheet();
    CreateStartupSheet();
    CreateSystemSheet();
    PageControl1->addTab(AuthorSheet, QStringLiteral("Author Data"));
    PageControl1->addTab(StartupSheet, QStringLiteral("Startup"));
    PageControl1->addTab(SystemSheet, QStringLiteral("System"));
    PageControl1->setCurrentIndex(0);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    HelpBtn = new QPushButton(QStringLiteral("&Help"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    buttons->addWidget(HelpBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(buttons);

    connect(OKBtn, &QPushButton::clicked, this, &TPreferencesForm::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpBtn, &QPushButton::clicked, this, [this] { emit HelpRequested(HelpContext); });
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { emit HelpRequested(HelpContext); });
    connect(BrowseBtn, &QPushButton::clicked, this, &TPreferencesForm::StartupModelBrowse);
    connect(Year, &QSpinBox::valueChanged, this, &TPreferencesForm::DateChange);
    connect(Month, &QComboBox::currentIndexChanged, this, &TPreferencesForm::DateChange);
    connect(Day, &QSpinBox::valueChanged, this, &TPreferencesForm::DateChange);

    m_ownChooseModelDialog = CreateChooseModelDialog(this);
    m_chooseModelDialog = m_ownChooseModelDialog;
    m_runDialog = [](QDialog& dialog) { return dialog.exec(); };
}

void TPreferencesForm::CreateAuthorSheet() {
    AuthorSheet = new QWidget;
    NameEdit = new QLineEdit(AuthorSheet);
    NameEdit->setMaxLength(64);
    CountryCombo = new QComboBox(AuthorSheet);
    CountryCodeCombo = new QComboBox(AuthorSheet);
    CountryCodeCombo->hide();
    FillCountryCombos(CountryCombo, CountryCodeCombo);
    Year = new QSpinBox(AuthorSheet);
    Year->setRange(0, 3000);
    Month = new QComboBox(AuthorSheet);
    Month->addItems({QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"),
                     QStringLiteral("April"), QStringLiteral("May"), QStringLiteral("June"),
                     QStringLiteral("July"), QStringLiteral("August"), QStringLiteral("September"),
                     QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December")});
    Day = new QSpinBox(AuthorSheet);
    Day->setRange(1, 31);

    auto* birthDate = new QGroupBox(QStringLiteral("Birth date"), AuthorSheet);
    auto* dateLayout = new QHBoxLayout(birthDate);
    dateLayout->addWidget(BuddyLabel(QStringLiteral("&Year:"), Year, birthDate));
    dateLayout->addWidget(Year);
    dateLayout->addWidget(BuddyLabel(QStringLiteral("&Month:"), Month, birthDate));
    dateLayout->addWidget(Month);
    dateLayout->addWidget(BuddyLabel(QStringLiteral("&Day:"), Day, birthDate));
    dateLayout->addWidget(Day);

    auto* fields = new QGridLayout;
    fields->addWidget(BuddyLabel(QStringLiteral("&Name:"), NameEdit, AuthorSheet), 0, 0);
    fields->addWidget(NameEdit, 0, 1);
    fields->addWidget(BuddyLabel(QStringLiteral("&Country:"), CountryCombo, AuthorSheet), 1, 0);
    fields->addWidget(CountryCombo, 1, 1);

    QVBoxLayout* layout =
        PageLayout(AuthorSheet, QStringLiteral("Enter information about the author"),
                   {QStringLiteral("You can provide data about yourself or the model author below. "),
                    QStringLiteral("This data will be assigned to all new models. The birth date entered "),
                    QStringLiteral("is converted to age whenever a new model is created.")});
    layout->addLayout(fields);
    layout->addWidget(birthDate);
    layout->addStretch(1);
}

void TPreferencesForm::CreateStartupSheet() {
    StartupSheet = new QWidget;
    auto* initial = new QGroupBox(QStringLiteral("Initial display"), StartupSheet);
    ModelBlankRadio = new QRadioButton(QStringLiteral("Leave &blank"), initial);
    ModelLastRadio = new QRadioButton(QStringLiteral("Load most &recently opened model"), initial);
    ModelSpecificRadio = new QRadioButton(QStringLiteral("Load &model:"), initial);
    ModelSpecificRadio->setChecked(true);
    StartupModelFilePath = new QLabel(initial);
    StartupModelFilePath->setTextFormat(Qt::PlainText);
    StartupModelFilePath->hide();
    StartupModelFileName = new QLabel(initial);
    StartupModelFileName->setTextFormat(Qt::PlainText);
    StartupModelFileName->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StartupModelFileName->setMinimumWidth(140);
    BrowseBtn = new QPushButton(QStringLiteral("Br&owse..."), initial);

    auto* modelRow = new QHBoxLayout;
    modelRow->addWidget(ModelSpecificRadio);
    modelRow->addWidget(StartupModelFileName, 1);
    modelRow->addWidget(BrowseBtn);
    auto* initialLayout = new QVBoxLayout(initial);
    initialLayout->addWidget(ModelBlankRadio);
    initialLayout->addWidget(ModelLastRadio);
    initialLayout->addLayout(modelRow);
    initialLayout->addWidget(StartupModelFilePath);

    LoadDisplayCheck = new QCheckBox(QStringLiteral("&Preserve last display layout"), StartupSheet);
    LoadDisplayCheck->setChecked(true);

    QVBoxLayout* layout =
        PageLayout(StartupSheet, QStringLiteral("Choose what to do upon startup"),
                   {QStringLiteral("You can choose to start Quadrantine Cubestacks with a blank "),
                    QStringLiteral("screen, the last model you worked on, or a specific model of your "),
                    QStringLiteral("choice. You may also preserve display settings between sessions.")});
    layout->addWidget(initial);
    layout->addWidget(LoadDisplayCheck);
    layout->addStretch(1);
    SetStartupModelPath(DefaultStartupModelFile());
}

void TPreferencesForm::CreateSystemSheet() {
    SystemSheet = new QWidget;
    auto* warnings = new QGroupBox(QStringLiteral("Warnings and messages"), SystemSheet);
    MessagesCheck =
        new QRadioButton(QStringLiteral("&Display all warning and confirmation messages"), warnings);
    AutoSaveCheck = new QRadioButton(
        QStringLiteral("Di&sable warnings and messages (save files automatically)"), warnings);
    MessagesCheck->setChecked(true);
    auto* warningsLayout = new QVBoxLayout(warnings);
    warningsLayout->addWidget(MessagesCheck);
    warningsLayout->addWidget(AutoSaveCheck);

    SoundsCheck = new QCheckBox(QStringLiteral("Use sound &effects"), SystemSheet);
    SoundsCheck->setChecked(true);

    QVBoxLayout* layout = PageLayout(
        SystemSheet, QStringLiteral("Select system options"),
        {QStringLiteral("Disabling warnings and messages will not prompt you to save files; "),
         QStringLiteral("files will be saved automatically instead. Use this option judiciously. "),
         QStringLiteral("You can also disable sound effects. These settings will be active as "),
         QStringLiteral("soon as you close this dialog box.")});
    layout->addWidget(warnings);
    layout->addWidget(SoundsCheck);
    layout->addStretch(1);
}

TPreferencesForm::~TPreferencesForm() = default;

void TPreferencesForm::SetCurrentModelPathSource(std::function<QString()> source) {
    m_currentModelPath = std::move(source);
}

void TPreferencesForm::SetChooseModelDialog(QFileDialog* dialog) {
    m_chooseModelDialog = dialog ? dialog : m_ownChooseModelDialog;
}

void TPreferencesForm::SetDialogRunner(std::function<int(QDialog&)> runner) {
    if (runner)
        m_runDialog = std::move(runner);
    else
        m_runDialog = [](QDialog& dialog) { return dialog.exec(); };
}

void TPreferencesForm::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        LoadSettings();
        if (QWidget* field = FirstField())
            field->setFocus(Qt::OtherFocusReason);
    }
    QDialog::showEvent(event);
}

QWidget* TPreferencesForm::FirstField() const {
    const QWidget* page = PageControl1->currentWidget();
    if (page == AuthorSheet)
        return NameEdit;
    if (page == StartupSheet) {
        for (QRadioButton* radio : {ModelBlankRadio, ModelLastRadio, ModelSpecificRadio})
            if (radio->isChecked())
                return radio;
        return ModelBlankRadio;
    }
    if (page == SystemSheet)
        return AutoSaveCheck->isChecked() ? AutoSaveCheck : MessagesCheck;
    return nullptr;
}

void TPreferencesForm::reject() {
    QDialog::reject();
    // What is in force is what is stored: OK always stores what it applies.
    LoadSettings();
}

void TPreferencesForm::LoadSettings() {
    NameEdit->setText(ReadStringSetting(kAuthorSection, kName));
    SelectCountryCode(CountryCombo, CountryCodeCombo, ReadStringSetting(kAuthorSection, kCountry));

    Day->setValue(ReadIntSettingInRange(kAuthorSection, kDay, 1, 31, 1));
    Month->setCurrentIndex(ReadIntSettingInRange(kAuthorSection, kMonth, 1, 12, 1) - 1);
    Year->setValue(ReadIntSettingInRange(kAuthorSection, kYear, 0, 3000, 0));
    DateChange(); // also when no field changed: today may have moved on

    switch (ReadIntSetting(kPreferencesSection, kStartupModel, kStartupChosenModel)) {
    case kStartupBlank:
        ModelBlankRadio->setChecked(true);
        break;
    case kStartupLastModel:
        ModelLastRadio->setChecked(true);
        break;
    case kStartupChosenModel:
        ModelSpecificRadio->setChecked(true);
        break;
    default:
        break; // an unknown choice leaves the buttons as they are
    }

    SetStartupModelPath(ReadStringSetting(kPreferencesSection, kStartupModelFile, DefaultStartupModelFile()));

    if (ReadFlagSetting(kPreferencesSection, kMessages, true))
        MessagesCheck->setChecked(true);
    else
        AutoSaveCheck->setChecked(true);

    SoundsCheck->setChecked(ReadFlagSetting(kPreferencesSection, kSounds, true));
    Preferences().SoundsEnabled = SoundsCheck->isChecked();

    LoadDisplayCheck->setChecked(ReadFlagSetting(kPreferencesSection, kLoadDisplay, true));
}

void TPreferencesForm::ApplySettings() {
    TPreferenceValues& values = Preferences();
    values.AuthorName = NameEdit->text();
    values.AuthorCountry = CountryCodeCombo->currentText();
    values.AuthorAge = m_birthAge;
    values.SoundsEnabled = SoundsCheck->isChecked();
    values.LoadDisplay = LoadDisplayCheck->isChecked();
    SetMessagesEnabled(MessagesCheck->isChecked());
    values.StartupModel = CheckedStartupModel();
    values.StartupModelFile = StartupModelFilePath->text();
}

void TPreferencesForm::SaveSettings() {
    WriteStringSetting(kAuthorSection, kName, NameEdit->text());
    WriteStringSetting(kAuthorSection, kCountry, CountryCodeCombo->currentText());
    WriteIntSetting(kAuthorSection, kDay, Day->value());
    WriteIntSetting(kAuthorSection, kMonth, Month->currentIndex() + 1);
    WriteIntSetting(kAuthorSection, kYear, Year->value());
    const int startupModel = CheckedStartupModel();
    WriteIntSetting(kPreferencesSection, kStartupModel, startupModel);
    if (startupModel == kStartupLastModel)
        StartupModelFilePath->setText(m_currentModelPath ? m_currentModelPath() : QString());
    WriteStringSetting(kPreferencesSection, kStartupModelFile, StartupModelFilePath->text());
    WriteFlagSetting(kPreferencesSection, kLoadDisplay, LoadDisplayCheck->isChecked());
    WriteFlagSetting(kPreferencesSection, kMessages, MessagesCheck->isChecked());
    WriteFlagSetting(kPreferencesSection, kSounds, SoundsCheck->isChecked());
}

void TPreferencesForm::DateChange() {
    const int year = Year->value();
    m_birthAge = year == 0 ? 0 : AgeFromBirthDate(year, Month->currentIndex() + 1, Day->value());
}

void TPreferencesForm::OKBtnClick() {
    ApplySettings();
    SaveSettings();
    accept();
}

void TPreferencesForm::StartupModelBrowse() {
    QFileDialog* dialog = m_chooseModelDialog;
    if (!dialog)
        return;
    dialog->selectFile(QFileInfo(StartupModelFilePath->text()).fileName());
    if (m_runDialog(*dialog) != QDialog::Accepted)
        return;
    const QString chosen = dialog->selectedFiles().value(0);
    if (chosen.isEmpty())
        return;
    SetStartupModelPath(chosen);
    dialog->setDirectory(QFileInfo(chosen).absolutePath());
    ModelSpecificRadio->setChecked(true);
}

int TPreferencesForm::CheckedStartupModel() const {
    if (ModelBlankRadio->isChecked())
        return kStartupBlank;
    if (ModelLastRadio->isChecked())
        return kStartupLastModel;
    return kStartupChosenModel;
}

void TPreferencesForm::SetStartupModelPath(const QString& path) {
    StartupModelFilePath->setText(path);
    StartupModelFileName->setText(ModelNameOfPath(path));
}
