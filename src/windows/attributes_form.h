#pragma once

#include "imaging/color.h"

#include <QDialog>
#include <array>
#include <memory>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class QWidget;
class TModel;

// The model attributes dialog: description, background (flat colour, gradient
// or picture), text overlay (text, cell position, colour, shadow) and author
// data of the current model. It edits a private copy, WorkModel, taken from
// the current model each time it shows, and previews background and text
// colour on it; OK copies the copy back into the current model (which marks
// it modified) and emits ModelApplied, after which the main window redraws the
// model. Cancel changes nothing.
class TAttributesForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 50;
    static constexpr int PreviewWidth = 160;
    static constexpr int PreviewHeight = 120;
    static constexpr std::size_t MaxTextLength = 1008; // characters of the overlay text kept
    static constexpr int SwatchCount = 24;

    // The swatches, left to right and top to bottom, as 0x00BBGGRR values.
    static const std::array<TColor, SwatchCount>& BackgroundSwatchColors();
    static const std::array<TColor, SwatchCount>& TextSwatchColors();

    // model: the current model, which OK changes; it outlives the dialog.
    explicit TAttributesForm(TModel* model, QWidget* parent = nullptr);
    ~TAttributesForm() override;

    void SetModel(TModel* model) { m_model = model; }
    // Shows the dialog modally: QDialog::Accepted after OK, else Rejected.
    int ShowModal();

    std::unique_ptr<TModel> WorkModel;

    QPlainTextEdit* DescriptionMemo = nullptr;
    QFrame* ThumbnailFrame = nullptr;
    QWidget* Thumbnail = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* BackgroundSheet = nullptr;
    QWidget* TextSheet = nullptr;
    QWidget* AuthorSheet = nullptr;

    std::array<QFrame*, SwatchCount> BkgndColors{};
    QCheckBox* GradientCheck = nullptr;
    QPushButton* MoreBkgndColors = nullptr;
    QListWidget* BkgndNameList = nullptr;

    QPlainTextEdit* UserText = nullptr;
    QPushButton* PasteBtn = nullptr;
    QSlider* xCell = nullptr;
    QSlider* yCell = nullptr;
    QLabel* Cells = nullptr;
    std::array<QFrame*, SwatchCount> TextColors{};
    QPushButton* MoreTextColors = nullptr;
    QCheckBox* ShadowCheck = nullptr;

    QLineEdit* AuthorEdit = nullptr;
    QComboBox* CountryCombo = nullptr;
    QComboBox* CountryCodeCombo = nullptr;
    QSpinBox* AgeEdit = nullptr;

    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* HelpBtn = nullptr;

signals:
    // OK has copied the dialog's model into the current model.
    void ModelApplied();
    // The Help button or F1: open the help at this context.
    void HelpRequested(int context);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildDescription();
    QWidget* BuildBackgroundSheet();
    QWidget* BuildTextSheet();
    QWidget* BuildAuthorSheet();
    QWidget* BuildSwatches(std::array<QFrame*, SwatchCount>& swatches,
                           const std::array<TColor, SwatchCount>& colors);

    void FormCreate();
    void FormShow();
    void OKBtnClick();
    void PageControl1Change(int index);
    void ThumbnailPaint();
    void UserTextChange();
    void PanelMouseDown(QFrame* panel);
    void PanelMouseUp(QFrame* panel);
    void HelpBtnClick();
    void BkgndColorClick(int swatch);
    void BkgndNameListClick();
    void MoreBkgndColorsClick();
    void GradientCheckClick();
    void MoreTextColorsClick();
    void ShadowCheckClick();
    void xCellChange();
    void yCellChange();
    void Paste1Click();
    void TextColorClick(int swatch);
    void CountryComboChange(int index);

    void SelectListEntry(int row); // without running the list's click handler
    void SetBackgroundKind(uint8_t kind);
    void ShowCellPositions();
    void RepaintPreview();

    TModel* m_model = nullptr;
    // The model's country code while the list has no entry for it and the
    // user has not picked a country: OK keeps it.
    std::optional<std::string> m_unlistedCountry;
    int m_listRowAtPress = -1; // the background list's entry when the mouse went down on it
};
