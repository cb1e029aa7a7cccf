#include "windows/block_box_form.h"

#include "common/ansi_text.h"
#include "common/messages.h"
#include "imaging/bitmap.h"
#include "imaging/bitmap_draw.h"
#include "imaging/canvas.h"
#include "widgets/bmp_wnd.h"
#include "widgets/flat_button.h"
#include "library/block_list.h"
#include "resources/program_resources.h"
#include "windows/focus_target.h"
#include "windows/sounds_and_pointers.h"

#include <QCursor>
#include <QGuiApplication>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>
#include <algorithm>

namespace {

constexpr QSize kBlockBoxSize(112, 416);
constexpr QRect kSelectAreaPlace(0, 42, 112, 349);
constexpr int kDockOffset = 112; // the box docks this far left of the main window's right edge

const char* const kNextVariationHint = "Click here to select next block variation";
const char* const kNoVariationsHint = "This block has no variations";
const char* const kSelectBlockHint = "Click to select this block";

// A picture of the program's artwork; an empty one when it is missing.
QImage LoadArt(const QString& path) {
    QImage image(path);
    return image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32);
}

// Whether the point (x, y) of origin lies strictly inside target's outer
// rectangle: the window's own left column and top row count as outside.
bool PointOverWindow(int x, int y, const QWidget* target, const QWidget* origin) {
    const QPoint p = origin->mapToGlobal(QPoint(x, y));
    const QRect r = target->frameGeometry();
    return r.left() < p.x() && p.x() < r.left() + r.width() && r.top() < p.y() &&
           p.y() < r.top() + r.height();
}

// A row number safe to index the selection tables with.
int RowIndex(int row) {
    return std::clamp(row, 0, kMaxRows - 1);
}

int SetIndex(int set) {
    return std::clamp(set, 0, kMaxSets - 1);
}

} // namespace

TBlockBoxForm::TBlockBoxForm(const QRect& mainWindow, TToolBoxLink* toolBox, QWidget* owner)
    : TCustomForm(QStringLiteral("BlockBoxForm"), owner), m_toolBox(toolBox) {
    InitProgramResources();
    setWindowTitle(QStringLiteral("Block Box"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);

    BkgndImage = new QLabel(this);
    BkgndImage->setObjectName(QStringLiteral("BkgndImage"));
    const QImage background = LoadArt(QStringLiteral(":/art/blockbox.png"));
    BkgndImage->setPixmap(QPixmap::fromImage(background));
    BkgndImage->setGeometry(QRect(QPoint(0, 0), background.isNull() ? kBlockBoxSize : background.size()));

    Label1 = new QLabel(QStringLiteral("BLOCK BOX"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(25, 7, 64, 12);
    QFont small(QStringLiteral("Small Fonts"));
    small.setPixelSize(9);
    small.setBold(true);
    Label1->setFont(small);
    Label1->setTextFormat(Qt::PlainText);
    QPalette labelPalette = Label1->palette();
    labelPalette.setColor(QPalette::WindowText, ColorToRgb(16764108));
    Label1->setPalette(labelPalette);
    Label1->setAutoFillBackground(false);

    const auto addButton = [this](const char* name, const QRect& place, const char* hint, const char* glyph) {
        auto* button = new TFlatButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->SetNumGlyphs(3);
        button->SetGlyph(LoadArt(QStringLiteral(":/art/buttons/%1.png").arg(QString::fromLatin1(glyph))));
        button->setGeometry(place);
        button->setStatusTip(QString::fromLatin1(hint));
        button->SetEnabled(false);
        connect(button, &TFlatButton::MouseUp, this, &TBlockBoxForm::CommonMouseUp);
        return button;
    };
    BlocksetUp = addButton("BlocksetUp", {7, 24, 36, 15}, "Scroll block sets up", "blocksetup");
    BlocksetDown = addButton("BlocksetDown", {7, 393, 36, 15}, "Scroll block sets down", "blocksetdown");
    RowUp = addButton("RowUp", {65, 24, 36, 15}, "Scroll blocks up", "rowup");
    RowDown = addButton("RowDown", {65, 393, 36, 15}, "Scroll blocks down", "rowdown");
    connect(BlocksetUp, &TFlatButton::Click, this, &TBlockBoxForm::BlocksetUpClick);
    connect(BlocksetDown, &TFlatButton::Click, this, &TBlockBoxForm::BlocksetDownClick);
    connect(RowUp, &TFlatButton::Click, this, &TBlockBoxForm::RowUpClick);
    connect(RowDown, &TFlatButton::Click, this, &TBlockBoxForm::RowDownClick);

    SelectArea = new TBmpWnd(this);
    SelectArea->setObjectName(QStringLiteral("SelectArea"));
    SelectArea->setGeometry(kSelectAreaPlace);
    connect(SelectArea, &TBmpWnd::MouseDown, this, [this](QMouseEvent* event) {
        const QPoint at = event->position().toPoint();
        SelectAreaMouseDown(event->button(), event->buttons(), at.x(), at.y());
    });
    connect(SelectArea, &TBmpWnd::MouseMove, this, [this](QMouseEvent* event) {
        const QPoint at = event->position().toPoint();
        SelectAreaMouseMove(event->buttons(), at.x(), at.y());
    });
    connect(SelectArea, &TBmpWnd::MouseUp, this, &TBlockBoxForm::CommonMouseUp);

    BackImage = LoadArt(QStringLiteral(":/art/blockbox_back.png"));
    Rot = LoadArt(QStringLiteral(":/art/rot.png"));
    LeftMarker = LoadArt(QStringLiteral(":/art/leftmarker.png"));
    RightMarker = LoadArt(QStringLiteral(":/art/rightmarker.png"));

    FormCreate(mainWindow);
    ReadPlacement();
    // What went wrong while loading, told once: a set file that ended it, sheets that end early.
    const QString told =
        QStringList({m_blockList->LoadError, m_blockList->LoadNotice}).join(QStringLiteral("\n\n"));
    if (!told.trimmed().isEmpty())
        ShowErrorBox(told.trimmed());
    RedrawBlockBox();
}

TBlockBoxForm::~TBlockBoxForm() {
    FormDestroy();
}

void TBlockBoxForm::FormCreate(const QRect& mainWindow) {
    DockTop = mainWindow.top();
    DockLeft = mainWindow.left() + mainWindow.width() - kDockOffset;
    DockWidth = BkgndImage->width();
    DockHeight = BkgndImage->height();
    resize(DockWidth, DockHeight);
    DragWidth = width() - CloseWidth;
    RowScroll.fill(0);
    {
        // The hourglass while every block set loads, taken away again on every path.
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        struct Restore {
            ~Restore() { QGuiApplication::restoreOverrideCursor(); }
        } restore;
        m_blockList = std::make_unique<TBlockList>();
    }
    WorkBitmap = NewBitmap(SelectArea->width(), SelectArea->height());
}

void TBlockBoxForm::FormDestroy() {
    WorkBitmap = QImage();
    m_blockList.reset();
}

int TBlockBoxForm::CurrentSetIndex() const {
    return SetIndex(m_blockList->Selection.CurrentSet);
}

void TBlockBoxForm::RedrawBlockBox() {
    const TBlockSelection& selection = m_blockList->Selection;
    const TBlockList* list = m_blockList.get();
    const int cs = CurrentSetIndex();
    TCanvas canvas(&WorkBitmap);

    WorkBitmap.fill(Qt::black);
    DrawBitmap(WorkBitmap, BackImage, 0, 0);

    // The set column: the block last chosen in each set.
    for (int i = 0; i < kSlots; ++i) {
        const int row = RowIndex(selection.SelectedRow[static_cast<size_t>(i)]);
        list->MappedBlockDraw(canvas, kSetBandLeft, i * kSlotPitch + kSlotTop, i, row,
                              selection.SelectedVariation[static_cast<size_t>(i)][static_cast<size_t>(row)]);
        if (list->LastVariation[static_cast<size_t>(i)][static_cast<size_t>(row)] > 0)
            DrawBitmap(WorkBitmap, Rot, 36, i * kSlotPitch + 32);
    }
    DrawTransparentBitmap(WorkBitmap, LeftMarker, 2, std::clamp(selection.CurrentSet, 0, 9) * kSlotPitch,
                          clMagenta);

    // The row column: ten rows of the current set from its scroll position.
    const int scroll = RowScroll[static_cast<size_t>(cs)];
    for (int i = 0; i < kSlots; ++i) {
        const int r = scroll + i;
        if (r >= kMaxRows)
            break;
        list->MappedBlockDraw(canvas, kRowBandLeft, i * kSlotPitch + kSlotTop, cs, r,
                              selection.SelectedVariation[static_cast<size_t>(cs)][static_cast<size_t>(r)]);
        if (list->LastVariation[static_cast<size_t>(cs)][static_cast<size_t>(r)] > 0)
            DrawBitmap(WorkBitmap, Rot, 94, i * kSlotPitch + 32);
    }

    RowUp->SetEnabled(scroll > 0);
    RowDown->SetEnabled(list->RowCount[static_cast<size_t>(cs)] > scroll + kSlots);

    // A selected row scrolled out of view keeps its frame at the first or last slot.
    const int y = std::clamp(selection.SelectedRow[static_cast<size_t>(cs)] - scroll, 0, 9) * kSlotPitch - 1;
    DrawTransparentBitmap(WorkBitmap, RightMarker, 53, y, clMagenta);

    SelectArea->Bitmap = WorkBitmap;
    SelectArea->repaint();
}

void TBlockBoxForm::SelectSet(int index) {
    TBlockSelection& selection = m_blockList->Selection;
    const int cs = std::max(std::min(index, m_blockList->SetCount - 1), 0);
    if (cs == selection.CurrentSet)
        return;
    selection.CurrentSet = cs;
    RedrawBlockBox();
    PlaySoundEffect(kSoundChangeLib);
}

void TBlockBoxForm::SelectRow(int slot) {
    TBlockSelection& selection = m_blockList->Selection;
    const int cs = CurrentSetIndex();
    const size_t set = static_cast<size_t>(cs);
    const int rows = m_blockList->RowCount[set];
    int32_t& scroll = RowScroll[set];
    const int row = std::max(std::min(scroll + slot, rows - 1), 0);
    if (row == selection.SelectedRow[set])
        return;
    selection.SelectedRow[set] = row;
    // A choice just above or below the visible rows scrolls the column by one.
    if (slot < 0)
        scroll = std::max(scroll - 1, 0);
    else if (slot > kSlots - 1)
        scroll = std::min(scroll + 1, std::max(rows - kSlots, 0));
    RedrawBlockBox();
    PlaySoundEffect(kSoundChangeLib);
}

void TBlockBoxForm::NextVariation() {
    TBlockSelection& selection = m_blockList->Selection;
    const size_t set = static_cast<size_t>(CurrentSetIndex());
    const size_t row = static_cast<size_t>(RowIndex(selection.SelectedRow[set]));
    const int last = m_blockList->LastVariation[set][row];
    if (last <= 0)
        return;
    int32_t& variation = selection.SelectedVariation[set][row];
    variation = variation >= last ? 0 : variation + 1;
    RedrawBlockBox();
    PlaySoundEffect(kSoundRotate);
}

void TBlockBoxForm::SelectAreaMouseDown(Qt::MouseButton, Qt::MouseButtons held, int x, int y) {
    if (held & Qt::LeftButton) {
        const TBlockSelection& selection = m_blockList->Selection;
        const int cs = CurrentSetIndex();
        const int slot = y > 0 ? (y - kSlotTop) / kSlotPitch : -1;
        if (x >= kSetBandLeft && x <= kSetBandRight) {
            if (slot == selection.CurrentSet)
                NextVariation();
            else if (m_blockList->SetCount > slot)
                SelectSet(slot);
        } else if (x >= kRowBandLeft && x <= kRowBandRight) {
            if (selection.SelectedRow[static_cast<size_t>(cs)] == RowScroll[static_cast<size_t>(cs)] + slot)
                NextVariation();
            else if (m_blockList->RowCount[static_cast<size_t>(cs)] > slot)
                SelectRow(slot);
        }
    }
    // Choosing in the block box means painting.
    if (m_toolBox && m_toolBox->ModeChecked())
        m_toolBox->SetModeChecked(false);
}

void TBlockBoxForm::SelectAreaMouseMove(Qt::MouseButtons held, int x, int y) {
    const TBlockSelection& selection = m_blockList->Selection;
    const int slot = y > kSlotTop ? (y - kSlotTop) / kSlotPitch : -1;
    const bool dragging = (held & Qt::LeftButton) && PointOverWindow(x, y, this, SelectArea);
    // Over the selected block a click brings its next variation, if it has one.
    const auto overSelectedBlock = [this](int lastVariation) {
        const bool more = lastVariation > 0;
        SetPointer(more ? kPointerNext : kPointerDefault);
        SetAreaHint(QString::fromLatin1(more ? kNextVariationHint : kNoVariationsHint));
    };

    if (x >= kSetBandLeft && x <= kSetBandRight) {
        const int sets = m_blockList->SetCount;
        if (dragging && slot >= 0 && sets > slot)
            SelectSet(slot);
        if (slot >= 0 && sets > slot) {
            const size_t s = static_cast<size_t>(slot);
            if (slot == selection.CurrentSet) {
                overSelectedBlock(
                    m_blockList->LastVariation[s][static_cast<size_t>(RowIndex(selection.SelectedRow[s]))]);
            } else {
                SetPointer(kPointerPoint);
                SetAreaHint(QStringLiteral("Blockset %1: %2")
                                .arg(QString::number(slot + 1), AnsiToQString(m_blockList->SetTitle[s])));
            }
        } else {
            SetPointer(kPointerDefault);
        }
    } else if (x >= kRowBandLeft && x <= kRowBandRight) {
        const size_t cs = static_cast<size_t>(CurrentSetIndex());
        const int rows = m_blockList->RowCount[cs];
        // Slot -1 and slot 10 count here: dragging past either end keeps scrolling.
        if (dragging && rows > slot)
            SelectRow(slot);
        if (slot >= 0 && rows > slot) {
            const int scroll = RowScroll[cs];
            if (selection.SelectedRow[cs] - scroll == slot) {
                overSelectedBlock(
                    m_blockList->LastVariation[cs][static_cast<size_t>(RowIndex(scroll + slot))]);
            } else {
                SetPointer(kPointerPoint);
                SetAreaHint(QString::fromLatin1(kSelectBlockHint));
            }
        } else {
            SetPointer(kPointerDefault);
        }
    } else {
        // A single space blanks the hint line.
        SetAreaHint(QStringLiteral(" "));
        SetPointer(kPointerDefault);
    }
}

void TBlockBoxForm::RowUpClick() {
    const size_t cs = static_cast<size_t>(CurrentSetIndex());
    const int scroll = std::max(RowScroll[cs] - 1, 0);
    if (scroll == RowScroll[cs])
        return;
    RowScroll[cs] = scroll;
    RedrawBlockBox();
}

void TBlockBoxForm::RowDownClick() {
    const size_t cs = static_cast<size_t>(CurrentSetIndex());
    // Never past the last full page of rows.
    const int scroll = std::min(RowScroll[cs] + 1, std::max(m_blockList->RowCount[cs] - kSlots, 0));
    if (scroll == RowScroll[cs])
        return;
    RowScroll[cs] = scroll;
    RedrawBlockBox();
}

// The set column does not scroll; its buttons stay disabled.
void TBlockBoxForm::BlocksetUpClick() {}

void TBlockBoxForm::BlocksetDownClick() {}

void TBlockBoxForm::CommonMouseUp() {
    ReturnFocus();
}

void TBlockBoxForm::FormKeyUp() {
    ReturnFocus();
}

void TBlockBoxForm::SetPointer(int number) {
    if (m_pointer == number && SelectArea->testAttribute(Qt::WA_SetCursor))
        return;
    m_pointer = number;
    SelectArea->setCursor(PointerCursor(number));
}

void TBlockBoxForm::SetAreaHint(const QString& hint) {
    if (SelectArea->statusTip() != hint)
        SelectArea->setStatusTip(hint);
}

void TBlockBoxForm::FormShow() {
    RedrawBlockBox();
}

void TBlockBoxForm::FormHide() {
    if (m_toolBox)
        m_toolBox->SetBlockBoxChecked(false);
}

void TBlockBoxForm::FormClose(TCloseAction& action) {
    if (m_toolBox)
        m_toolBox->SetBlockBoxChecked(false);
    action = caHide;
}

void TBlockBoxForm::showEvent(QShowEvent* event) {
    TCustomForm::showEvent(event);
    FormShow();
}

void TBlockBoxForm::hideEvent(QHideEvent* event) {
    TCustomForm::hideEvent(event);
    // Hidden by the program, not gone with the minimised main window.
    if (!event->spontaneous() && !HiddenWithOwner())
        FormHide();
}

void TBlockBoxForm::keyReleaseEvent(QKeyEvent* event) {
    TCustomForm::keyReleaseEvent(event);
    FormKeyUp();
}
