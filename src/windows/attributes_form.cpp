#include "windows/attributes_form.h"

#include "common/ansi_text.h"
#include "common/io_error.h"
#include "common/messages.h"
#include "imaging/canvas.h"
#include "library/background.h"
#include "model/model.h"
#include "windows/color_choice.h"
#include "windows/countries.h"
#include "windows/form_font.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr TColor Hex(uint32_t rrggbb) {
    return RGBColor(static_cast<int>(rrggbb >> 16), static_cast<int>(rrggbb >> 8), static_cast<int>(rrggbb));
}

constexpr std::array<TColor, TAttributesForm::SwatchCount> kBackgroundSwatches{
    Hex(0x000000), Hex(0x202020), Hex(0x404040), Hex(0x606060), Hex(0x808080), Hex(0xA0A0A0),
    Hex(0xC0C0C0), Hex(0xFFFFFF), Hex(0x800000), Hex(0x804000), Hex(0x808000), Hex(0x008000),
    Hex(0x008080), Hex(0x404080), Hex(0x000080), Hex(0x800080), Hex(0x400000), Hex(0x402000),
    Hex(0x404000), Hex(0x004000), Hex(0x004040), Hex(0x404060), Hex(0x000040), Hex(0x400040),
};

constexpr std::array<TColor, TAttributesForm::SwatchCount> kTextSwatches{
    Hex(0x000000), Hex(0x202020), Hex(0x404040), Hex(0x606060), Hex(0x808080), Hex(0xA0A0A0),
    Hex(0xC0C0C0), Hex(0xFFFFFF), Hex(0xFF0000), Hex(0xFF7F00), Hex(0xFFFF00), Hex(0x00FF00),
    Hex(0x00FFFF), Hex(0x8080FF), Hex(0x0000FF), Hex(0xFF00FF), Hex(0x800000), Hex(0x804000),
    Hex(0x808000), Hex(0x008000), Hex(0x008080), Hex(0x404080), Hex(0x000080), Hex(0x800080),
};

constexpr int kSwatchSize = 16;
constexpr int kMaxAuthorName = 64;
constexpr int kMaxAge = 200;

// The list shows each entry's name; the code and layout fields stay in the
// entry's text.
class FirstFieldDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant& value, const QLocale& locale) const override {
        return QStyledItemDelegate::displayText(value.toString().section(QLatin1Char('\t'), 0, 0), locale);
    }
};

QLabel* Heading(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFont(FormFont(true));
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* Explanation(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* BuddyLabel(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

// Memos hold lines with line feeds; the model keeps them with CR LF, as the
// model files do.
std::string MemoToAnsi(const QPlainTextEdit* memo) {
    QString text = memo->toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return QStringToAnsi(text);
}

QString AnsiToMemo(const std::string& bytes) {
    QString text = AnsiToQString(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

} // namespace

const std::array<TColor, TAttributesForm::SwatchCount>& TAttributesForm::BackgroundSwatchColors() {
    return kBackgroundSwatches;
}

const std::array<TColor, TAttributesForm::SwatchCount>& TAttributesForm::TextSwatchColors() {
    return kTextSwatches;
}

TAttributesForm::TAttributesForm(TModel* model, QWidget* parent) : QDialog(parent), m_model(model) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(QStringLiteral("Attributes"));
    // Modal to the main window and its boxes only: the help it opens stays usable.
    setWindowModality(Qt::WindowModal);
    setFont(FormFont());

    auto* root = new QVBoxLayout(this);
    BuildDescription();
    auto* top = new QHBoxLayout;
    auto* description = new QVBoxLayout;
    description->addWidget(Heading(QStringLiteral("Provide a description"), this));
    description->addWidget(
        Explanation(QStringLiteral("The description below will saved with the model file and "
                                   "will not \nappear on the workplace."),
                    this));
    description->addWidget(DescriptionMemo);
    top->addLayout(description, 1);
    top->addWidget(ThumbnailFrame, 0, Qt::AlignBottom);
    root->addLayout(top);

    PageControl1 = new QTabWidget(this);
    BackgroundSheet = BuildBackgroundSheet();
    TextSheet = BuildTextSheet();
    AuthorSheet = BuildAuthorSheet();
    PageControl1->addTab(BackgroundSheet, QStringLiteral("Background"));
    PageControl1->addTab(TextSheet, QStringLiteral("Text"));
    PageControl1->addTab(AuthorSheet, QStringLiteral("Author Data"));
    connect(PageControl1, &QTabWidget::currentChanged, this, &TAttributesForm::PageControl1Change);
    root->addWidget(PageControl1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    HelpBtn = new QPushButton(QStringLiteral("&Help"), this);
    HelpBtn->setAutoDefault(false);
    CancelBtn->setAutoDefault(false);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    buttons->addWidget(HelpBtn);
    root->addLayout(buttons);
    connect(OKBtn, &QPushButton::clicked, this, &TAttributesForm::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpBtn, &QPushButton::clicked, this, &TAttributesForm::HelpBtnClick);
    // F1 while the dialog has the keyboard: the main window cannot see it then.
    setProperty("HelpContext", HelpContext);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &TAttributesForm::HelpBtnClick);

    layout()->setSizeConstraint(QLayout::SetFixedSize);
    FormCreate();
}

TAttributesForm::~TAttributesForm() = default; // FormDestroy: WorkModel goes with the dialog

void TAttributesForm::BuildDescription() {
    DescriptionMemo = new QPlainTextEdit(this);
    DescriptionMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DescriptionMemo->setTabChangesFocus(true);
    DescriptionMemo->setFixedHeight(PreviewHeight - 40);

    ThumbnailFrame = new QFrame(this);
    ThumbnailFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ThumbnailFrame->setLineWidth(1);
    ThumbnailFrame->setAutoFillBackground(true);
    QPalette black = ThumbnailFrame->palette();
    black.setColor(QPalette::Window, Qt::black);
    ThumbnailFrame->setPalette(black);
    auto* frameLayout = new QVBoxLayout(ThumbnailFrame);
    frameLayout->setContentsMargins(1, 1, 1, 1);
    Thumbnail = new QWidget(ThumbnailFrame);
    Thumbnail->setFixedSize(PreviewWidth, PreviewHeight);
    Thumbnail->setAttribute(Qt::WA_OpaquePaintEvent);
    Thumbnail->installEventFilter(this);
    frameLayout->addWidget(Thumbnail);
}

QWidget* TAttributesForm::BuildSwatches(std::array<QFrame*, SwatchCount>& swatches,
                                        const std::array<TColor, SwatchCount>& colors) {
    auto* holder = new QWidget;
    auto* grid = new QGridLayout(holder);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(3);
    for (int i = 0; i < SwatchCount; ++i) {
        auto* panel = new QFrame(holder);
        panel->setFixedSize(kSwatchSize, kSwatchSize);
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        panel->setLineWidth(1);
        panel->setAutoFillBackground(true);
        QPalette pal = panel->palette();
        pal.setColor(QPalette::Window, ColorToQColor(colors[static_cast<size_t>(i)]));
        panel->setPalette(pal);
        panel->installEventFilter(this);
        grid->addWidget(panel, i / 8, i % 8);
        swatches[static_cast<size_t>(i)] = panel;
    }
    return holder;
}

QWidget* TAttributesForm::BuildBackgroundSheet() {
    auto* sheet = new QWidget;
    auto* layout = new QVBoxLayout(sheet);
    layout->addWidget(Heading(QStringLiteral("Specify a background"), sheet));
    layout->addWidget(Explanation(
        QStringLiteral("You can select a flat color, a gradient color or an image to use as background."),
        sheet));

    auto* row = new QHBoxLayout;
    auto* colorGroup = new QGroupBox(QStringLiteral("Background color"), sheet);
    auto* colorLayout = new QVBoxLayout(colorGroup);
    colorLayout->addWidget(BuildSwatches(BkgndColors, kBackgroundSwatches));
    auto* colorButtons = new QHBoxLayout;
    GradientCheck = new QCheckBox(QStringLiteral("&Gradient"), colorGroup);
    MoreBkgndColors = new QPushButton(QStringLiteral("&More..."), colorGroup);
    MoreBkgndColors->setAutoDefault(false);
    colorButtons->addWidget(GradientCheck);
    colorButtons->addStretch(1);
    colorButtons->addWidget(MoreBkgndColors);
    colorLayout->addLayout(colorButtons);
    colorLayout->addStretch(1);
    row->addWidget(colorGroup);

    auto* imageGroup = new QGroupBox(QStringLiteral("Background image"), sheet);
    auto* imageLayout = new QVBoxLayout(imageGroup);
    BkgndNameList = new QListWidget(imageGroup);
    BkgndNameList->setItemDelegate(new FirstFieldDelegate(BkgndNameList));
    for (int i = 0; i < kBackgroundCatalogueSize; ++i)
        BkgndNameList->addItem(BackgroundCatalogueItem(i));
    BkgndNameList->setFixedHeight(110);
    imageLayout->addWidget(BkgndNameList);
    row->addWidget(imageGroup, 1);
    layout->addLayout(row);
    layout->addStretch(1);

    connect(GradientCheck, &QCheckBox::toggled, this, &TAttributesForm::GradientCheckClick);
    connect(MoreBkgndColors, &QPushButton::clicked, this, &TAttributesForm::MoreBkgndColorsClick);
    // The user's choice by mouse or keyboard runs the handler once, also a
    // click on the entry already selected; the dialog's own selections do not.
    BkgndNameList->viewport()->installEventFilter(this);
    connect(BkgndNameList, &QListWidget::currentRowChanged, this, &TAttributesForm::BkgndNameListClick);
    connect(BkgndNameList, &QListWidget::itemClicked, this, [this] {
        if (BkgndNameList->currentRow() == m_listRowAtPress)
            BkgndNameListClick();
    });
    return sheet;
}

QWidget* TAttributesForm::BuildTextSheet() {
    auto* sheet = new QWidget;
    auto* layout = new QVBoxLayout(sheet);
    layout->addWidget(Heading(QStringLiteral("Type some text you want displayed"), sheet));
    layout->addWidget(
        Explanation(QStringLiteral("You can type or paste some text to be displayed. Position it "
                                   "using the \nsliders. Text can also be colored and shadowed."),
                    sheet));

    auto* row = new QHBoxLayout;
    auto* textColumn = new QVBoxLayout;
    UserText = new QPlainTextEdit(sheet);
    UserText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    UserText->setTabChangesFocus(false);
    UserText->setFixedHeight(90);
    textColumn->addWidget(UserText);
    auto* textButtons = new QHBoxLayout;
    PasteBtn = new QPushButton(QStringLiteral("&Paste"), sheet);
    PasteBtn->setAutoDefault(false);
    ShadowCheck = new QCheckBox(QStringLiteral("&Shadow"), sheet);
    textButtons->addWidget(PasteBtn);
    textButtons->addStretch(1);
    textButtons->addWidget(ShadowCheck);
    textColumn->addLayout(textButtons);
    auto* colors = new QHBoxLayout;
    colors->addWidget(BuildSwatches(TextColors, kTextSwatches));
    MoreTextColors = new QPushButton(QStringLiteral("&More..."), sheet);
    MoreTextColors->setAutoDefault(false);
    colors->addWidget(MoreTextColors, 0, Qt::AlignBottom);
    colors->addStretch(1);
    textColumn->addLayout(colors);
    row->addLayout(textColumn, 1);

    auto* position = new QGridLayout;
    position->addWidget(new QLabel(QStringLiteral("Position:"), sheet), 0, 0, 1, 2);
    xCell = new QSlider(Qt::Horizontal, sheet);
    yCell = new QSlider(Qt::Vertical, sheet);
    yCell->setInvertedAppearance(true); // row 1 at the top
    for (QSlider* slider : {xCell, yCell}) {
        slider->setMinimum(1);
        slider->setTickInterval(2);
        slider->setPageStep(2);
    }
    xCell->setTickPosition(QSlider::TicksBelow);
    yCell->setTickPosition(QSlider::TicksRight);
    xCell->setFixedWidth(140);
    yCell->setFixedHeight(110);
    Cells = new QLabel(sheet);
    Cells->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Cells->setAlignment(Qt::AlignCenter);
    Cells->setMinimumWidth(60);
    auto* cellsColumn = new QVBoxLayout;
    cellsColumn->addStretch(1);
    cellsColumn->addWidget(Cells, 0, Qt::AlignHCenter);
    cellsColumn->addWidget(new QLabel(QStringLiteral("cell units"), sheet), 0, Qt::AlignHCenter);
    cellsColumn->addStretch(1);
    position->addWidget(xCell, 1, 0);
    position->addLayout(cellsColumn, 2, 0);
    position->addWidget(yCell, 1, 1, 2, 1);
    row->addLayout(position);
    layout->addLayout(row);

    connect(UserText, &QPlainTextEdit::textChanged, this, &TAttributesForm::UserTextChange);
    connect(PasteBtn, &QPushButton::clicked, this, &TAttributesForm::Paste1Click);
    connect(ShadowCheck, &QCheckBox::toggled, this, &TAttributesForm::ShadowCheckClick);
    connect(MoreTextColors, &QPushButton::clicked, this, &TAttributesForm::MoreTextColorsClick);
    connect(xCell, &QSlider::valueChanged, this, &TAttributesForm::xCellChange);
    connect(yCell, &QSlider::valueChanged, this, &TAttributesForm::yCellChange);
    return sheet;
}

QWidget* TAttributesForm::BuildAuthorSheet() {
    auto* sheet = new QWidget;
    auto* layout = new QVBoxLayout(sheet);
    layout->addWidget(Heading(QStringLiteral("Change the author data"), sheet));
    layout->addWidget(
        Explanation(QStringLiteral("You can change the data below if the author of this model is "
                                   "not the same as the one specified in \nthe Preferences dialog "
                                   "box."),
                    sheet));
    AuthorEdit = new QLineEdit(sheet);
    AuthorEdit->setMaxLength(kMaxAuthorName);
    CountryCombo = new QComboBox(sheet);
    CountryCodeCombo = new QComboBox(sheet);
    CountryCodeCombo->hide();
    FillCountryCombos(CountryCombo, CountryCodeCombo);
    AgeEdit = new QSpinBox(sheet);
    AgeEdit->setRange(0, kMaxAge);
    AgeEdit->setFixedWidth(60);

    auto* fields = new QGridLayout;
    fields->addWidget(BuddyLabel(QStringLiteral("&Name:"), AuthorEdit, sheet), 0, 0);
    fields->addWidget(AuthorEdit, 0, 1);
    fields->addWidget(BuddyLabel(QStringLiteral("&Country:"), CountryCombo, sheet), 1, 0);
    fields->addWidget(CountryCombo, 1, 1);
    fields->addWidget(BuddyLabel(QStringLiteral("&Age:"), AgeEdit, sheet), 2, 0);
    fields->addWidget(AgeEdit, 2, 1, Qt::AlignLeft);
    fields->setColumnStretch(1, 1);
    layout->addLayout(fields);
    layout->addStretch(1);

    connect(CountryCombo, &QComboBox::activated, this, &TAttributesForm::CountryComboChange);
    return sheet;
}

int TAttributesForm::ShowModal() {
    return exec();
}

void TAttributesForm::FormCreate() {
    // The preview shows the background at the size of the thumbnail.
    WorkModel = std::make_unique<TModel>(TModelContext());
    WorkModel->SetBackgroundSize(Thumbnail->width(), Thumbnail->height());
    PageControl1->setCurrentIndex(0);
}

void TAttributesForm::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TAttributesForm::FormShow() {
    if (!m_model)
        return;
    TModel& work = *WorkModel;
    work.SetContext(m_model->Context());
    try {
        work.Assign(*m_model);
    } catch (const IoError& error) {
        ShowErrorBox(error);
    }

    {
        const QSignalBlocker blockX(xCell);
        const QSignalBlocker blockY(yCell);
        xCell->setMaximum(std::max(1, work.Cols));
        yCell->setMaximum(std::max(1, work.Rows));
        xCell->setValue(work.TextOverlay.TextCol + 1);
        yCell->setValue(work.TextOverlay.TextRow + 1);
    }
    ShowCellPositions();

    const TBackgroundSettings& background = work.Background;
    if (TBackground::IsColorKind(background.Kind)) {
        GradientCheck->setChecked(background.Kind == TBackground::ColorKind(true));
        SelectListEntry(0);
    } else if (TBackground::IsPictureKind(background.Kind)) {
        {
            // Unticking the box must not turn the picture into a colour.
            const QSignalBlocker detached(GradientCheck);
            GradientCheck->setChecked(false);
        }
        const QString code = AnsiToQString(background.Code);
        for (int row = 1; row < BkgndNameList->count(); ++row) {
            if (BkgndNameList->item(row)->text().section(QLatin1Char('\t'), 1, 1) == code) {
                SelectListEntry(row);
                break;
            }
        }
    }

    UserText->setPlainText(AnsiToMemo(work.TextOverlay.Text));
    ShadowCheck->setChecked(work.TextOverlay.Shadow != 0);
    DescriptionMemo->setPlainText(AnsiToMemo(work.Description.DescriptionText));

    // A longer name from a model file is shown whole rather than cut.
    const QString name = AnsiToQString(work.Author.AuthorName);
    AuthorEdit->setMaxLength(std::max<int>(kMaxAuthorName, static_cast<int>(name.size())));
    AuthorEdit->setText(name);
    AgeEdit->setValue(std::clamp(work.Author.Age, 0, kMaxAge));
    m_unlistedCountry.reset();
    if (!SelectCountryCode(CountryCombo, CountryCodeCombo, AnsiToQString(work.Author.Country)))
        m_unlistedCountry = work.Author.Country;
    RepaintPreview();
    // The description has the keyboard when the dialog opens.
    DescriptionMemo->setFocus(Qt::OtherFocusReason);
}

void TAttributesForm::OKBtnClick() {
    if (m_model) {
        TModel& work = *WorkModel;
        work.Description.DescriptionText = MemoToAnsi(DescriptionMemo);
        work.Author.AuthorName = QStringToAnsi(AuthorEdit->text());
        work.Author.Age = AgeEdit->value();
        work.Author.Country =
            m_unlistedCountry ? *m_unlistedCountry : QStringToAnsi(CountryCodeCombo->currentText());
        work.TextOverlay.Shadow = ShadowCheck->isChecked() ? 1 : 0;
        try {
            m_model->Assign(work);
        } catch (const IoError& error) {
            ShowErrorBox(error);
        }
        emit ModelApplied();
    }
    accept();
}

void TAttributesForm::PageControl1Change(int index) {
    if (PageControl1->widget(index) == TextSheet)
        UserText->setFocus();
}

void TAttributesForm::ThumbnailPaint() {
    QImage preview(Thumbnail->width(), Thumbnail->height(), QImage::Format_RGB32);
    preview.fill(Qt::black);
    TCanvas canvas(&preview);
    canvas.Font = FormFont();
    canvas.Font.setStyleStrategy(QFont::NoAntialias);
    WorkModel->DrawPreview(canvas);
    QPainter painter(Thumbnail);
    painter.drawImage(0, 0, preview);
}

void TAttributesForm::UserTextChange() {
    std::string text = MemoToAnsi(UserText);
    if (text.size() > MaxTextLength)
        text.resize(MaxTextLength);
    WorkModel->TextOverlay.Text = std::move(text);
}

void TAttributesForm::PanelMouseDown(QFrame* panel) {
    panel->setFrameShadow(QFrame::Sunken);
}

void TAttributesForm::PanelMouseUp(QFrame* panel) {
    panel->setFrameShadow(QFrame::Raised);
}

void TAttributesForm::HelpBtnClick() {
    emit HelpRequested(HelpContext);
}

void TAttributesForm::BkgndColorClick(int swatch) {
    TBackgroundSettings& background = WorkModel->Background;
    background.Color = kBackgroundSwatches[static_cast<size_t>(swatch)];
    background.Code.clear();
    background.Kind = TBackground::ColorKind(GradientCheck->isChecked());
    SelectListEntry(0);
    BkgndNameListClick();
}

void TAttributesForm::BkgndNameListClick() {
    TBackgroundSettings& background = WorkModel->Background;
    const int row = BkgndNameList->currentRow();
    if (row > 0) {
        const QString entry = BkgndNameList->item(row)->text();
        background.Code = QStringToAnsi(entry.section(QLatin1Char('\t'), 1, 1));
        const int kind = KindFromLayout(entry.section(QLatin1Char('\t'), 2, 2));
        SetBackgroundKind(kind >= 0 ? static_cast<uint8_t>(kind) : background.Kind);
    } else {
        background.Code.clear();
        SetBackgroundKind(TBackground::ColorKind(GradientCheck->isChecked()));
    }
    RepaintPreview();
}

void TAttributesForm::MoreBkgndColorsClick() {
    TColor color = WorkModel->Background.Color;
    if (!ChooseColor(this, color))
        return;
    WorkModel->Background.Color = color;
    SelectListEntry(0);
    BkgndNameListClick();
}

void TAttributesForm::GradientCheckClick() {
    WorkModel->Background.Kind = TBackground::ColorKind(GradientCheck->isChecked());
    SelectListEntry(0);
    BkgndNameListClick();
}

void TAttributesForm::MoreTextColorsClick() {
    TColor color = WorkModel->TextOverlay.Font.FontColor;
    if (ChooseColor(this, color))
        WorkModel->TextOverlay.Font.FontColor = color;
    RepaintPreview();
}

void TAttributesForm::ShadowCheckClick() {
    WorkModel->TextOverlay.Shadow = ShadowCheck->isChecked() ? 1 : 0;
    RepaintPreview();
}

void TAttributesForm::xCellChange() {
    ShowCellPositions();
    WorkModel->TextOverlay.TextCol = xCell->value() - 1;
}

void TAttributesForm::yCellChange() {
    ShowCellPositions();
    WorkModel->TextOverlay.TextRow = yCell->value() - 1;
}

void TAttributesForm::Paste1Click() {
    UserText->paste();
}

void TAttributesForm::TextColorClick(int swatch) {
    WorkModel->TextOverlay.Font.FontColor = kTextSwatches[static_cast<size_t>(swatch)];
    RepaintPreview();
}

void TAttributesForm::CountryComboChange(int index) {
    CountryCodeCombo->setCurrentIndex(index);
    m_unlistedCountry.reset();
}

void TAttributesForm::SelectListEntry(int row) {
    const QSignalBlocker blocker(BkgndNameList);
    BkgndNameList->setCurrentRow(row);
}

void TAttributesForm::SetBackgroundKind(uint8_t kind) {
    try {
        WorkModel->SetBackgroundKind(kind);
    } catch (const IoError& error) {
        ShowErrorBox(error);
    }
}

void TAttributesForm::ShowCellPositions() {
    Cells->setText(QString::asprintf("%d : %d", xCell->value(), yCell->value()));
}

void TAttributesForm::RepaintPreview() {
    Thumbnail->update();
}

bool TAttributesForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Thumbnail && event->type() == QEvent::Paint) {
        ThumbnailPaint();
        return true;
    }
    if (watched == BkgndNameList->viewport() && event->type() == QEvent::MouseButtonPress)
        m_listRowAtPress = BkgndNameList->currentRow();
    auto* panel = qobject_cast<QFrame*>(watched);
    if (!panel || (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease))
        return QDialog::eventFilter(watched, event);
    const auto background = std::find(BkgndColors.begin(), BkgndColors.end(), panel);
    const auto text = std::find(TextColors.begin(), TextColors.end(), panel);
    if (background == BkgndColors.end() && text == TextColors.end())
        return QDialog::eventFilter(watched, event);
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (event->type() == QEvent::MouseButtonPress) {
        PanelMouseDown(panel);
        return true;
    }
    PanelMouseUp(panel);
    if (mouse->button() == Qt::LeftButton && panel->rect().contains(mouse->position().toPoint())) {
        if (background != BkgndColors.end())
            BkgndColorClick(static_cast<int>(background - BkgndColors.begin()));
        else
            TextColorClick(static_cast<int>(text - TextColors.begin()));
    }
    return true;
}
