#pragma once

#include <QPoint>
#include <cstdint>
#include <functional>

class TBlockList;

// The drag image: one block picture carried over a window, held at its hot
// spot, from a pick-up until the drop. The window shows it whenever it changes.
class TDragImage {
public:
    // Starts carrying block index over window at (x, y), the window's own
    // coordinates; -1 takes the library's selected block. The hot spot is
    // where the pointer is inside its 32 x 32 cell: (|x| mod 32, |y| mod 32).
    void StartDrag(const TBlockList* library, const void* window, int32_t index, int32_t x, int32_t y);
    // Ends the drag and hands every pointer back: the program-wide pointer
    // override is cleared, so that every window shows its own pointer again.
    void StopDrag();
    void DragMove(int32_t x, int32_t y);
    void DragShow(bool shown); // hidden while the window repaints underneath

    int32_t Index = -1;  // the block shown; -1: no picture
    QPoint HotSpot;      // where in the picture the pointer holds it
    QPoint Position;     // pointer position in the window's coordinates
    bool Active = false; // between StartDrag and StopDrag
    bool Shown = false;
    const void* Window = nullptr; // the window the drag was started over

    // Called whenever the drag image changes, so that the window shows it.
    std::function<void()> OnDragChanged;

private:
    void Changed() const {
        if (OnDragChanged)
            OnDragChanged();
    }
};
