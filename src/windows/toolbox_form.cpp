#include "windows/toolbox_form.h"

#include "common/messages.h"
#include "imaging/color.h"
#include "model/model.h"
#include "resources/program_resources.h"
#include "widgets/flat_button.h"
#include "windows/focus_target.h"
#include "windows/form_font.h"

#include <QAction>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPalette>
#include <QPixmap>
#include <QProgressBar>
#include <QScopeGuard>
#include <QThread>

namespace {

constexpr QSize kToolBoxSize(464, 54);
const QColor kHintColor(0xCC, 0xCC, 0xFF);

// A picture of the program's artwork; an empty one when it is missing.
QImage LoadArt(const QString& path) {
    QImage image(path);
    return image.isNull() ? QImage() : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void SetTextColor(QWidget* widget, const QColor& text, bool blackBackground) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, text);
    pal.setColor(QPalette::Window, Qt::black);
    widget->setPalette(pal);
    widget->setAutoFillBackground(blackBackground);
}

void Trigger(QAction* action) {
    if (action)
        action->trigger();
}

// The buttons over the toolbox's picture, from left to right.
// kInPlace: the pressed picture is drawn where the released one is.
enum ButtonFlags { kPlain = 0, kLatch = 1, kInPlace = 2 };
struct ButtonRow {
    TFlatButton* TToolBoxForm::*field;
    const char* name;
    QRect place;
    const char* glyph; // the picture under art/buttons/
    int numGlyphs;     // its state columns
    int flags;
    void (TToolBoxForm::*click)();
    const char* hint;
};

using T = TToolBoxForm;
// clang-format off
const ButtonRow kButtons[] = {
    {&T::NewBtn, "NewBtn", {18, 26, 22, 22}, "new", 1, kPlain, &T::New1Click,
     "Create a new model (Ctrl+N)"},
    {&T::OpenBtn, "OpenBtn", {42, 26, 22, 22}, "open", 1, kPlain, &T::Open1Click,
     "Open a model file (Ctrl+O)"},
    {&T::SaveBtn, "SaveBtn", {66, 26, 22, 22}, "save", 1, kPlain, &T::Save1Click,
     "Save current model (Ctrl+S)"},
    {&T::PrintBtn, "PrintBtn", {90, 26, 22, 22}, "print", 1, kPlain, &T::Print1Click,
     "Print current model (Ctrl+P)"},
    {&T::FileBtn, "FileBtn", {114, 26, 22, 22}, "file", 1, kPlain, nullptr,
     "Undo, redo, save as, revert, wallpaper, export bitmap"},
    {&T::GridBtn, "GridBtn", {146, 26, 22, 22}, "grid", 1, kLatch, &T::GridBtnClick,
     "Show/hide grid (Ctrl+G)"},
    {&T::BlockBoxBtn, "BlockBoxBtn", {170, 26, 22, 22}, "blockbox", 1, kLatch, &T::BlockBoxBtnClick,
     "Show/hide block box (Ctrl+B)"},
    {&T::DisplayBtn, "DisplayBtn", {194, 26, 22, 22}, "display", 1, kPlain, nullptr,
     "Show/hide toolbox, dock boxes, minimize"},
    {&T::AttributesBtn, "AttributesBtn", {225, 26, 22, 22}, "attributes", 1, kPlain, &T::AttributesBtnClick,
     "Model Attributes (Ctrl+T)"},
    {&T::PreferencesBtn, "PreferencesBtn", {249, 26, 22, 22}, "preferences", 1, kPlain,
     &T::OptionsButtonClick, "Preferences (Ctrl+J)"},
    {&T::HelpBtn, "HelpBtn", {280, 26, 22, 22}, "help", 1, kPlain, nullptr,
     "Help contents, search for help, how to use help, about"},
    {&T::ExitBtn, "ExitBtn", {304, 26, 22, 22}, "exit", 1, kPlain, &T::ExitBtnClick,
     "Exit program (Alt+F4)"},
    {&T::ModeBtn, "ModeBtn", {345, 23, 34, 28}, "mode", 4, kLatch | kInPlace, nullptr,
     "Show/hide paint/edit mode (Tab)"},
    {&T::ScrollLeftBtn, "ScrollLeftBtn", {401, 28, 10, 17}, "left", 3, kInPlace, &T::ScrollLeftBtnClick,
     "Scroll model to the left (Left arrow)"},
    {&T::ScrollUpBtn, "ScrollUpBtn", {420, 26, 17, 10}, "up", 3, kInPlace, &T::ScrollUpBtnClick,
     "Scroll model up (Up arrow)"},
    {&T::ScrollDownBtn, "ScrollDownBtn", {420, 38, 17, 10}, "down", 3, kInPlace, &T::ScrollDownBtnClick,
     "Scroll model down (Down arrow)"},
    {&T::ScrollRightBtn, "ScrollRightBtn", {447, 28, 10, 17}, "right", 3, kInPlace, &T::ScrollRightBtnClick,
     "Scroll model to the right (Right arrow)"},
};
// clang-format on

} // namespace

TToolBoxForm::TToolBoxForm(const QRect& mainWindow, QWidget* owner)
    : TCustomForm(QStringLiteral("ToolBoxForm"), owner) {
    InitProgramResources();
    setWindowTitle(QStringLiteral("Toolbox"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);
    resize(465, 55);

    CreateLabels();
    for (const ButtonRow& row : kButtons) {
        TFlatButton* button = AddButton(row.name, row.place, row.hint, row.glyph, row.numGlyphs,
                                        (row.flags & kLatch) != 0, row.click);
        if (row.flags & kInPlace) {
            button->SetxOffset(0);
            button->SetyOffset(0);
        }
        this->*row.field = button;
    }

    FormCreate(mainWindow);
}

void TToolBoxForm::CreateLabels() {
    BkgndImage = new QLabel(this);
    BkgndImage->setObjectName(QStringLiteral("BkgndImage"));
    const QImage background = LoadArt(QStringLiteral(":/art/toolbox.png"));
    BkgndImage->setPixmap(QPixmap::fromImage(background));
    BkgndImage->setGeometry(QRect(QPoint(0, 0), background.isNull() ? kToolBoxSize : background.size()));

    Hint = new QLabel(QString::fromLatin1(kProgramTitle), this);
    Hint->setObjectName(QStringLiteral("Hint"));
    Hint->setGeometry(20, 5, 303, 13);
    Hint->setFont(FormFont());
    Hint->setTextFormat(Qt::PlainText);
    Hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetTextColor(Hint, kHintColor, true);

    Gauge = new QProgressBar(this);
    Gauge->setObjectName(QStringLiteral("Gauge"));
    Gauge->setGeometry(19, 5, 304, 14);
    Gauge->setTextVisible(false);
    Gauge->setStyleSheet(QStringLiteral("QProgressBar { border: none; background: black; }"
                                        "QProgressBar::chunk { background: blue; }"));
    Gauge->hide();

    FileLabel = new QLabel(QStringLiteral("(Untitled)"), this);
    FileLabel->setObjectName(QStringLiteral("FileLabel"));
    FileLabel->setGeometry(329, 6, 118, 12);
    QFont small(QStringLiteral("Small Fonts"));
    small.setPixelSize(9);
    small.setBold(true);
    FileLabel->setFont(small);
    FileLabel->setTextFormat(Qt::PlainText);
    FileLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetTextColor(FileLabel, kHintColor, false);
}

TToolBoxForm::~TToolBoxForm() = default;

TFlatButton* TToolBoxForm::AddButton(const char* name, const QRect& place, const char* hint,
                                     const char* glyph, int numGlyphs, bool latch,
                                     void (TToolBoxForm::*click)()) {
    auto* button = new TFlatButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->SetNumGlyphs(numGlyphs);
    button->SetGlyph(LoadArt(QStringLiteral(":/art/buttons/%1.png").arg(QString::fromLatin1(glyph))));
    button->setGeometry(place);
    button->setStatusTip(QString::fromLatin1(hint));
    button->SetLatch(latch);
    if (click)
        connect(button, &TFlatButton::Click, this, click);
    connect(button, &TFlatButton::MouseUp, this, &TToolBoxForm::CommonMouseUp);
    return button;
}

void TToolBoxForm::FormCreate(const QRect& mainWindow) {
    const QSize size = BkgndImage->size();
    resize(size);
    DockLeft = mainWindow.left();
    DockTop = mainWindow.top();
    DockWidth = size.width();
    DockHeight = size.height();
    DragWidth = width() - CloseWidth;
    ReadPlacement();
}

void TToolBoxForm::BindCommands(const TToolBoxCommands& commands) {
    m_commands.New1 = commands.New1;
    m_commands.Open1 = commands.Open1;
    m_commands.Save1 = commands.Save1;
    m_commands.SaveAs1 = commands.SaveAs1;
    m_commands.Print1 = commands.Print1;
    m_commands.ShowGrid1 = commands.ShowGrid1;
    m_commands.ShowBlockSets1 = commands.ShowBlockSets1;
    m_commands.Attributes1 = commands.Attributes1;
    m_commands.Preferences1 = commands.Preferences1;
    m_commands.Exit1 = commands.Exit1;
    m_commands.Left1 = commands.Left1;
    m_commands.Right1 = commands.Right1;
    m_commands.Up1 = commands.Up1;
    m_commands.Down1 = commands.Down1;
    FileBtn->SetMenu(commands.FileMenu1);
    DisplayBtn->SetMenu(commands.DisplayMenu1);
    HelpBtn->SetMenu(commands.HelpMenu1);
}

bool TToolBoxForm::ModeChecked() const {
    return ModeBtn->Checked();
}

void TToolBoxForm::SetModeChecked(bool checked) {
    ModeBtn->SetChecked(checked);
}

bool TToolBoxForm::BlockBoxChecked() const {
    return BlockBoxBtn->Checked();
}

void TToolBoxForm::SetBlockBoxChecked(bool checked) {
    BlockBoxBtn->SetChecked(checked);
}

bool TToolBoxForm::GridChecked() const {
    return GridBtn->Checked();
}

void TToolBoxForm::SetGridChecked(bool checked) {
    GridBtn->SetChecked(checked);
}

void TToolBoxForm::SetHintText(const QString& text) {
    Hint->setText(text);
}

void TToolBoxForm::SetFileLabel(const QString& caption) {
    FileLabel->setText(caption);
    FileLabel->show();
}

void TToolBoxForm::UpdateScrollButtons(TScrollButtons mode) {
    const auto byEdge = [this](TFlatButton* button, int direction) {
        button->SetEnabled(EdgeIsFree ? EdgeIsFree(direction) : true);
    };
    switch (mode) {
    case sbByEdges:
        byEdge(ScrollLeftBtn, drLeft);
        byEdge(ScrollRightBtn, drRight);
        byEdge(ScrollUpBtn, drUp);
        byEdge(ScrollDownBtn, drDown);
        break;
    case sbLeftRight:
        byEdge(ScrollLeftBtn, drLeft);
        byEdge(ScrollRightBtn, drRight);
        break;
    case sbUpDown:
        byEdge(ScrollUpBtn, drUp);
        byEdge(ScrollDownBtn, drDown);
        break;
    case sbAllEnabled:
        for (TFlatButton* button : {ScrollLeftBtn, ScrollRightBtn, ScrollUpBtn, ScrollDownBtn})
            button->SetEnabled(true);
        break;
    default:
        break;
    }
}

void TToolBoxForm::ShowProgressSweep() {
    // The hourglass over the toolbox while the bar runs; the pointer it had before afterwards.
    const QCursor before = cursor();
    setCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([&] {
        Gauge->hide();
        setCursor(before);
    });

    const int width = Gauge->width();
    Gauge->setRange(0, width);
    Gauge->show();
    Gauge->raise();
    Gauge->setValue(0);
    Gauge->repaint();

    QElapsedTimer clock;
    clock.start();
    int shownPercent = 0;
    for (int value = 0; value <= width; ++value) {
        Gauge->setValue(value);
        const int percent = width > 0 ? value * 100 / width : 100;
        if (percent == shownPercent)
            continue;
        shownPercent = percent;
        Gauge->repaint();
        // Paced so that the eye sees the bar run; it never takes longer than SweepMilliseconds.
        const qint64 due = static_cast<qint64>(SweepMilliseconds) * percent / 100;
        const qint64 wait = due - clock.elapsed();
        if (wait > 0)
            QThread::msleep(static_cast<unsigned long>(wait));
    }
}

void TToolBoxForm::New1Click() {
    Trigger(m_commands.New1);
}
void TToolBoxForm::Open1Click() {
    Trigger(m_commands.Open1);
}
void TToolBoxForm::Save1Click() {
    Trigger(m_commands.Save1);
}
void TToolBoxForm::SaveAs1Click() {
    Trigger(m_commands.SaveAs1);
}
void TToolBoxForm::Print1Click() {
    Trigger(m_commands.Print1);
}
void TToolBoxForm::GridBtnClick() {
    Trigger(m_commands.ShowGrid1);
}
void TToolBoxForm::BlockBoxBtnClick() {
    Trigger(m_commands.ShowBlockSets1);
}
void TToolBoxForm::AttributesBtnClick() {
    Trigger(m_commands.Attributes1);
}
void TToolBoxForm::OptionsButtonClick() {
    Trigger(m_commands.Preferences1);
}
void TToolBoxForm::ExitBtnClick() {
    Trigger(m_commands.Exit1);
}
void TToolBoxForm::ScrollLeftBtnClick() {
    Trigger(m_commands.Left1);
}
void TToolBoxForm::ScrollRightBtnClick() {
    Trigger(m_commands.Right1);
}
void TToolBoxForm::ScrollUpBtnClick() {
    Trigger(m_commands.Up1);
}
void TToolBoxForm::ScrollDownBtnClick() {
    Trigger(m_commands.Down1);
}

void TToolBoxForm::CommonMouseUp() {
    ReturnFocus();
}

void TToolBoxForm::FormKeyUp() {
    ReturnFocus();
}

void TToolBoxForm::keyReleaseEvent(QKeyEvent* event) {
    TCustomForm::keyReleaseEvent(event);
    FormKeyUp();
}
