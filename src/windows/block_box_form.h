#pragma once

#include "windows/box_links.h"
#include "windows/custom_form.h"

#include <QImage>
#include <QRect>
#include <array>
#include <cstdint>
#include <memory>

class QLabel;
class QMouseEvent;
class TBlockList;
class TBmpWnd;
class TFlatButton;

// The floating block box, from which the user chooses the block to paint
// with. The left column of its picture area shows one block per block set
// (the one last chosen in it), the right column ten rows of the current set,
// each in the variation last chosen for it. The choice lives in the block
// library's selection memory. The block box creates the program's block
// library and destroys it.
class TBlockBoxForm : public TCustomForm, public TBlockBoxLink {
    Q_OBJECT
public:
    // Picture-area geometry: slot i of a column has its picture's top at
    // i * kSlotPitch + kSlotTop; the columns' click bands are
    // kSetBandLeft..kSetBandRight and kRowBandLeft..kRowBandRight.
    static constexpr int kSlots = 10;
    static constexpr int kSlotPitch = 34;
    static constexpr int kSlotTop = 5;
    static constexpr int kSetBandLeft = 9;
    static constexpr int kSetBandRight = 41;
    static constexpr int kRowBandLeft = 67;
    static constexpr int kRowBandRight = 99;

    // mainWindow: the main window's place on the screen; the box docks at its
    // top-right corner. toolBox: where the box releases the block box button
    // and leaves edit mode (may be set later, or stay missing).
    TBlockBoxForm(const QRect& mainWindow, TToolBoxLink* toolBox, QWidget* owner = nullptr);
    ~TBlockBoxForm() override;

    void SetToolBox(TToolBoxLink* toolBox) { m_toolBox = toolBox; }
    // The program's block library, made and owned by the box.
    TBlockList* Library() const { return m_blockList.get(); }

    // TBlockBoxLink
    void RedrawBlockBox() override;
    QWidget* Window() override { return this; }

    // The selection steps.
    void SelectSet(int index);
    void SelectRow(int slot);
    void NextVariation();

    // The picture area's mouse handlers, in its own pixels.
    void SelectAreaMouseDown(Qt::MouseButton button, Qt::MouseButtons held, int x, int y);
    void SelectAreaMouseMove(Qt::MouseButtons held, int x, int y);
    void RowUpClick();
    void RowDownClick();
    void BlocksetUpClick();
    void BlocksetDownClick();
    void CommonMouseUp();
    void FormKeyUp();

    // The pointer number the picture area shows (0 the standard arrow).
    int SelectAreaPointer() const { return m_pointer; }

    QLabel* BkgndImage = nullptr;
    QLabel* Label1 = nullptr;
    TFlatButton* BlocksetUp = nullptr;
    TFlatButton* BlocksetDown = nullptr;
    TFlatButton* RowUp = nullptr;
    TFlatButton* RowDown = nullptr;
    TBmpWnd* SelectArea = nullptr;

    // The picture stores: the empty picture area, the mark under a block with
    // variations, and the frames of the current set and the selected row
    // (magenta is their transparent colour).
    QImage BackImage;
    QImage Rot;
    QImage LeftMarker;
    QImage RightMarker;

    // The picture area as composed by the last redraw.
    QImage WorkBitmap;
    // The first visible row of each set's row column.
    std::array<int32_t, 10> RowScroll{};

protected:
    void FormClose(TCloseAction& action) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void FormCreate(const QRect& mainWindow);
    void FormDestroy();
    void FormShow();
    void FormHide();
    void SetPointer(int number);
    void SetAreaHint(const QString& hint);
    int CurrentSetIndex() const;

    TToolBoxLink* m_toolBox = nullptr;
    std::unique_ptr<TBlockList> m_blockList;
    int m_pointer = 0;
};
