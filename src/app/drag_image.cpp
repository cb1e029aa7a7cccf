#include "app/drag_image.h"

#include "library/block_list.h"

#include <QGuiApplication>
#include <cstdlib>

void TDragImage::StartDrag(const TBlockList* library, const void* window, int32_t index, int32_t x,
                           int32_t y) {
    if (index == -1)
        index = library ? library->GetSelectedIndex() : -1;
    if (!library || index < 0 || index >= library->Count)
        index = -1;
    Index = index;
    HotSpot = QPoint(static_cast<int>(std::abs(static_cast<int64_t>(x)) % kCellSize),
                     static_cast<int>(std::abs(static_cast<int64_t>(y)) % kCellSize));
    Position = QPoint(x, y);
    Window = window;
    Active = true;
    Shown = true;
    Changed();
}

void TDragImage::StopDrag() {
    const bool wasActive = Active;
    Index = -1;
    HotSpot = QPoint();
    Position = QPoint();
    Window = nullptr;
    Active = false;
    Shown = false;
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
    if (wasActive)
        Changed();
}

void TDragImage::DragMove(int32_t x, int32_t y) {
    if (!Active || Position == QPoint(x, y))
        return;
    Position = QPoint(x, y);
    Changed();
}

void TDragImage::DragShow(bool shown) {
    if (!Active || Shown == shown)
        return;
    Shown = shown;
    Changed();
}
