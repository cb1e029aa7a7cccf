#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QCheckBox;
class QComboBox;
class QFileDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QWidget;

// The file dialog that picks the start-up model: "Select Model File", model
// files or all files, an existing file, starting in the Models folder.
QFileDialog* CreateChooseModelDialog(QWidget* parent);

// The preferences dialog: author data for new models, what to load at
// start-up, messages and sounds. It shows the stored settings each time it
// opens; OK puts them in force and stores them, Cancel leaves both alone.
//
// Its controls hold the settings in force between two showings: Cancel puts
// back the stored ones, so that SaveSettings at the program's end stores the
// values in force (and the most recently opened model).
class TPreferencesForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 40;

    explicit TPreferencesForm(QWidget* parent = nullptr);
    ~TPreferencesForm() override;

    // The stored settings into the controls (all but "Grid"); sounds are
    // switched on or off at once.
    void LoadSettings();
    // The controls into the values in force (Preferences(), the messages switch).
    void ApplySettings();
    // The controls into the store. With "Load most recently opened model"
    // chosen, the start-up path first becomes the current model's path.
    void SaveSettings();

    // Where SaveSettings learns the current model's file path (empty while it
    // is untitled). Without a source the model counts as untitled.
    void SetCurrentModelPathSource(std::function<QString()> source);

    // The dialog that browsing runs; by default one of the form's own. A dialog
    // set here (the main window's) is not owned.
    QFileDialog* ChooseModelDialog() const { return m_chooseModelDialog; }
    void SetChooseModelDialog(QFileDialog* dialog);
    // How a file dialog is run: returns QDialog::Accepted or Rejected. Tests answer it.
    void SetDialogRunner(std::function<int(QDialog&)> runner);

    // The age last worked out from the birth date (0 while the year is 0).
    int BirthAge() const { return m_birthAge; }

    // The field that takes the keyboard when the dialog opens: the first of the
    // open page (the name on the author page, the chosen button elsewhere).
    QWidget* FirstField() const;

    // Cancel, Escape or closing the window: the controls go back to the stored
    // settings, so that the program's end stores nothing of what was cancelled.
    void reject() override;

    // Handlers.
    void StartupModelBrowse();
    void DateChange();
    void OKBtnClick();

    // Controls, as laid out.
    QTabWidget* PageControl1 = nullptr;
    QWidget* AuthorSheet = nullptr;
    QWidget* StartupSheet = nullptr;
    QWidget* SystemSheet = nullptr;
    QLineEdit* NameEdit = nullptr;
    QComboBox* CountryCombo = nullptr;
    QComboBox* CountryCodeCombo = nullptr; // hidden
    QSpinBox* Year = nullptr;
    QComboBox* Month = nullptr;
    QSpinBox* Day = nullptr;
    QRadioButton* ModelBlankRadio = nullptr;
    QRadioButton* ModelLastRadio = nullptr;
    QRadioButton* ModelSpecificRadio = nullptr;
    QLabel* StartupModelFilePath = nullptr; // hidden: the full path
    QLabel* StartupModelFileName = nullptr; // its name without extension
    QPushButton* BrowseBtn = nullptr;
    QCheckBox* LoadDisplayCheck = nullptr;
    QRadioButton* MessagesCheck = nullptr;
    QRadioButton* AutoSaveCheck = nullptr;
    QCheckBox* SoundsCheck = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* HelpBtn = nullptr;

signals:
    // Help button or F1: open the help at this context.
    void HelpRequested(int context);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The pages, each with its controls.
    void CreateAuthorSheet();
    void CreateStartupSheet();
    void CreateSystemSheet();
    int CheckedStartupModel() const;
    void SetStartupModelPath(const QString& path);

    int m_birthAge = 0;
    std::function<QString()> m_currentModelPath;
    QFileDialog* m_ownChooseModelDialog = nullptr;
    QFileDialog* m_chooseModelDialog = nullptr;
    std::function<int(QDialog&)> m_runDialog;
};
