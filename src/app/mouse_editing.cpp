// Mouse editing on the main window's drawing surface: painting, picking up and
// carrying, erasing and rotating blocks, with the hint and pointer of each state.
#include "app/main_form.h"

#include "widgets/bmp_wnd.h"
#include "library/block_list.h"
#include "model/model.h"
#include "windows/box_links.h"
#include "windows/hint_line.h"
#include "windows/sounds_and_pointers.h"

#include <QGuiApplication>
#include <algorithm>

namespace {

// The cell a pixel position lies in, rounding towards minus infinity.
int FloorDivCell(int v) {
    return v >= 0 ? v / kCellSize : -((-v + kCellSize - 1) / kCellSize);
}

// The program-wide pointer while a block is carried.
void SetScreenPointer(int number) {
    if (QGuiApplication::overrideCursor())
        QGuiApplication::changeOverrideCursor(PointerCursor(number));
    else
        QGuiApplication::setOverrideCursor(PointerCursor(number));
}

} // namespace

std::pair<int32_t, int32_t> TMainForm::CellAt(int x, int y) const {
    // Division truncating towards zero, negative results clamped to 0.
    return {std::max(0, x / kCellSize), std::max(0, y / kCellSize)};
}

bool TMainForm::EditModeOn(bool shift) const { return shift || ToolBox().ModeChecked(); }

bool TMainForm::OverFloatingBox(int x, int y) const {
    const QWidget* boxes[] = {ToolBox().Window(), BlockBox().Window()};
    for (const QWidget* box : boxes) {
        if (box && box->isVisible() && PointOverWindow(x, y, box, BaseBmp))
            return true;
    }
    return false;
}

void TMainForm::BmpWndMouseDown(Qt::MouseButton, Qt::MouseButtons held, bool shift, int x, int y) {
    std::tie(CurCol, CurRow) = CellAt(x, y);
    // A press is the user's own: after Open it brings editing back at once,
    // whether or not a release has reached the surface since.
    EditingEnabled = true;
    // The pressed cell counts as entered, so that an erase stroke takes one
    // block from it even when no move over it came before the press.
    LastCol = CurCol;
    LastRow = CurRow;
    const bool edit = EditModeOn(shift);
    // The release acts only on a gesture that a press began.
    m_gestureBegun = held.testAnyFlags(Qt::LeftButton | Qt::RightButton);
    if (held & Qt::LeftButton) {
        if (!edit) {
            EditState = esPaint;
            if (Model->ApplyTool(BaseBmp->Canvas, tlPlace, CurCol, CurRow))
                RedrawCell(CurCol, CurRow, kSoundClick);
            Dragging = true;
        } else {
            EditState = esMove;
            PickUp(x, y);
        }
    } else if (held & Qt::RightButton) {
        if (!edit) {
            EditState = esErase;
            if (Model->ApplyTool(BaseBmp->Canvas, tlErase, CurCol, CurRow))
                RedrawCell(CurCol, CurRow, kSoundUnclick);
        } else {
            EditState = esRotate;
            PlaySoundEffect(kSoundOpenBucket);
        }
    }
    ShowEditHint(EditState);
}

void TMainForm::PickUp(int x, int y) {
    const int32_t index = Model->GetTopBlock(CurCol, CurRow);
    if (index == -1)
        return;
    if (m_library)
        m_library->SelectIndex(index);
    if (Model->ApplyTool(BaseBmp->Canvas, tlErase, CurCol, CurRow))
        RedrawCell(CurCol, CurRow, kSoundUnclick);
    if (m_library)
        DragImage.StartDrag(m_library, BaseBmp, index, x, y);
    DragOffsetX = x - CurCol * kCellSize - kCellSize / 2;
    DragOffsetY = y - CurRow * kCellSize - kCellSize / 2;
    Dragging = true;
    BlockBox().RedrawBlockBox();
}

void TMainForm::BmpWndMouseMove(Qt::MouseButtons held, bool shift, int x, int y) {
    std::tie(CurCol, CurRow) = CellAt(x, y);
    if (held & (Qt::LeftButton | Qt::RightButton | Qt::MiddleButton))
        ShowEditHint(EditState);
    else
        ShowEditHint(EditModeOn(shift) ? esMove : esPaint);
    if (EditingEnabled && PointOverWindow(x, y, this, BaseBmp) && !OverFloatingBox(x, y)) {
        switch (EditState) {
        case esPaint:
            if ((held & Qt::LeftButton) && Model->ApplyTool(BaseBmp->Canvas, tlPlace, CurCol, CurRow)) {
                DragImage.DragShow(false);
                RedrawCell(CurCol, CurRow, kSoundClick);
                DragImage.DragShow(true);
            }
            break;
        case esMove:
            if (DragImage.Active)
                DragImage.DragMove(x, y);
            break;
        case esErase:
            if ((held & Qt::RightButton) && (CurCol != LastCol || CurRow != LastRow) &&
                Model->ApplyTool(BaseBmp->Canvas, tlErase, CurCol, CurRow))
                RedrawCell(CurCol, CurRow, kSoundUnclick);
            break;
        default:
            break;
        }
    }
    LastCol = CurCol;
    LastRow = CurRow;
}

void TMainForm::BmpWndMouseUp(Qt::MouseButton, Qt::MouseButtons held, bool shift, int x, int y) {
    TBlockList* library = m_library;
    // A release whose press did nothing (a middle button, the end of the double
    // click that closed a dialog) finishes no gesture.
    const bool gesture = m_gestureBegun;
    m_gestureBegun = false;
    if (gesture && library && library->GetSelectedIndex() != -1) {
        if (EditState == esMove) {
            // The cell under the carried picture's centre, kept inside the grid
            // so that a block dropped at the far edge is not lost.
            CurCol = std::clamp(FloorDivCell(x - DragOffsetX), 0, std::max(0, Model->Cols - 1));
            CurRow = std::clamp(FloorDivCell(y - DragOffsetY), 0, std::max(0, Model->Rows - 1));
        } else {
            std::tie(CurCol, CurRow) = CellAt(x, y);
        }
        switch (EditState) {
        case esPaint:
            Dragging = false;
            break;
        case esMove:
            if (Dragging) {
                DragImage.StopDrag();
                if (PointOverWindow(x, y, this, BaseBmp) &&
                    Model->ApplyTool(BaseBmp->Canvas, tlPlace, CurCol, CurRow))
                    RedrawCell(CurCol, CurRow, kSoundClick);
                Dragging = false;
            }
            break;
        case esRotate:
            if (Model->ApplyTool(BaseBmp->Canvas, tlRotate, CurCol, CurRow)) {
                RedrawCell(CurCol, CurRow, kSoundRotate);
                if (library)
                    library->SelectIndex(Model->GetTopBlock(CurCol, CurRow));
                BlockBox().RedrawBlockBox();
            } else if (Model->IsOccupied(CurCol, CurRow)) {
                PlaySoundEffect(kSoundOpenBucket);
            }
            break;
        default:
            break;
        }
    } else if (gesture && Dragging && library) {
        // Nothing to drop: the carried picture still goes away.
        DragImage.StopDrag();
        Dragging = false;
    }
    if (held & (Qt::LeftButton | Qt::RightButton | Qt::MiddleButton))
        ShowEditHint(EditState);
    else
        ShowEditHint(EditModeOn(shift) ? esMove : esPaint);
    // The whole gesture, from its press to this release, is one step.
    static const char* const kStepNames[] = {"paint", "move", "erase", "rotate"};
    if (EditState <= esRotate)
        CommitStep(QString::fromLatin1(kStepNames[EditState]));
    ToolBox().UpdateScrollButtons(sbByEdges);
    RefreshModelView();
    EditingEnabled = true;
}

void TMainForm::RedrawCell(int32_t col, int32_t row, uint8_t sound) {
    Model->DrawCell(BaseBmp->Canvas, col, row);
    BaseBmp->RepaintRect(QRect(col * kCellSize, row * kCellSize, kCellSize, kCellSize));
    PlaySoundEffect(sound);
}

void TMainForm::ShowEditHint(uint8_t state) {
    const int32_t col = CurCol;
    const int32_t row = CurRow;
    QString hint;
    int pointer = kPointerDefault;
    bool screenPointer = false;
    switch (state) {
    case esPaint:
        pointer = kPointerPaint;
        if (Dragging)
            hint = QStringLiteral("Drag the mouse cursor to paint");
        else if (Model->IsOccupied(col, row))
            hint = QStringLiteral("Click to paint; Right-click to erase; Use shift to move/rotate");
        else
            hint = QStringLiteral("Click or drag the mouse cursor to paint");
        break;
    case esMove:
        if (Dragging) {
            screenPointer = true;
            pointer = kPointerGrab;
            hint = Model->CanApplyTool(tlPlace, col, row) ? QStringLiteral("Release button to drop block")
                                                          : QStringLiteral("This block is the same as the existing block");
        } else if (Model->IsOccupied(col, row)) {
            pointer = kPointerOpen;
            hint = Model->CanApplyTool(tlRotate, col, row)
                       ? QStringLiteral("Click to select; Drag to move; Right-click to rotate")
                       : QStringLiteral("Click to select; Drag to move");
        } else {
            hint = QStringLiteral("Move cursor over a block");
        }
        break;
    case esErase:
        pointer = kPointerErase;
        hint = QStringLiteral("Drag the mouse cursor to erase blocks");
        break;
    case esRotate:
        if (Model->CanApplyTool(tlRotate, col, row)) {
            pointer = kPointerRotate;
            hint = QStringLiteral("Release button to complete rotation");
        } else {
            hint = QStringLiteral("Move cursor over a block");
        }
        break;
    default:
        return;
    }
    m_editPointer = pointer;
    if (screenPointer) {
        if (DragImage.Active)
            SetScreenPointer(pointer);
    } else {
        BaseBmp->setCursor(PointerCursor(pointer));
    }
    BaseBmp->setStatusTip(hint);
    SetCurrentHint(hint);
}

QString TMainForm::EditHint() const { return BaseBmp->statusTip(); }

void TMainForm::ShowDragImage() {
    const TBlockList* library = m_library;
    const TDragImage& drag = DragImage;
    if (!library || !drag.Active || drag.Index < 0 ||
        drag.Index >= static_cast<int32_t>(library->ImageList.size())) {
        BaseBmp->ClearOverlay();
        return;
    }
    const QImage& picture = library->ImageList[static_cast<size_t>(drag.Index)];
    const QPoint topLeft = drag.Position - drag.HotSpot;
    if (!BaseBmp->OverlayShown() && drag.Shown)
        BaseBmp->SetOverlay(picture, topLeft);
    else
        BaseBmp->MoveOverlay(topLeft);
    BaseBmp->ShowOverlay(drag.Shown);
}
