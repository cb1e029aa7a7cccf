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

    using T = TToolBoxForm;
    NewBtn =
        AddButton("NewBtn", {18, 26, 22, 22}, "Create a new model (Ctrl+N)", "new", 1, false, &T::New1Click);
    OpenBtn = AddButton("OpenBtn", {42, 26, 22, 22}, "Open a model file (Ctrl+O)", "open", 1, false,
                        &T::Open1Click);
    SaveBtn = AddButton("SaveBtn", {66, 26, 22, 22}, "Save current model (Ctrl+S)", "save", 1, false,
                        &T::Save1Click);
    PrintBtn = AddButton("PrintBtn", {90, 26, 22, 22}, "Print current model (Ctrl+P)", "print", 1, false,
                         &T::Print1Click);
    FileBtn = AddButton("FileBtn", {114, 26, 22, 22}, "Save as, revert, wallpaper, export bitmap", "file", 1,
                        false, nullptr);
    GridBtn =
        AddButton("GridBtn", {146, 26, 22, 22}, "Show/hide grid (Ctrl+G)", "grid", 1, true, &T::GridBtnClick);
    BlockBoxBtn = AddButton("BlockBoxBtn", {170, 26, 22, 22}, "Show/hide block box (Ctrl+B)", "blockbox", 1,
                            true, &T::BlockBoxBtnClick);
    DisplayBtn = AddButton("DisplayBtn", {194, 26, 22, 22}, "Show/hide toolbox, dock boxes, minimize",
                           "display", 1, false, nullptr);
    AttributesBtn = AddButton("AttributesBtn", {225, 26, 22, 22}, "Model Attributes (Ctrl+T)", "attributes",
                              1, false, &T::AttributesBtnClick);
    PreferencesBtn = AddButton("PreferencesBtn", {249, 26, 22, 22}, "Preferences (Ctrl+J)", "preferences", 1,
                               false, &T::OptionsButtonClick);
    HelpBtn = AddButton("HelpBtn", {280, 26, 22, 22},
                        "Help contents, search for help, how to use help, about", "help", 1, false, nullptr);
    ExitBtn =
        AddButton("ExitBtn", {304, 26, 22, 22}, "Exit program (Alt+F4)", "exit", 1, false, &T::ExitBtnClick);
    ModeBtn =
        AddButton("ModeBtn", {345, 23, 34, 28}, "Show/hide paint/edit mode (Tab)", "mode", 4, true, nullptr);
    ScrollLeftBtn = AddButton("ScrollLeftBtn", {401, 28, 10, 17}, "Scroll model to the left (Left arrow)",
                              "left", 3, false, &T::ScrollLeftBtnClick);
    ScrollUpBtn = AddButton("ScrollUpBtn", {420, 26, 17, 10}, "Scroll model up (Up arrow)", "up", 3, false,
                            &T::ScrollUpBtnClick);
    ScrollDownBtn = AddButton("ScrollDownBtn", {420, 38, 17, 10}, "Scroll model down (Down arrow)", "down", 3,
                              false, &T::ScrollDownBtnClick);
    ScrollRightBtn = AddButton("ScrollRightBtn", {447, 28, 10, 17}, "Scroll model to the right (Right arrow)",
                               "right", 3, false, &T::ScrollRightBtnClick);
    // These draw their pressed picture in place.
    for (TFlatButton* button : {ModeBtn, ScrollLeftBtn, ScrollUpBtn, ScrollDownBtn, ScrollRightBtn}) {
        button->SetxOffset(0);
        button->SetyOffset(0);
    }

    FormCreate(mainWindow);
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
