#pragma once

#include "imaging/color.h"

#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <QMenu>

// A flat picture button of our own. Its glyph is a strip of NumGlyphs pictures
// of equal width side by side: column 0 the up picture, 1 the disabled one,
// 2 the pressed one and 3 the latched one. While the button is not up its
// picture moves by (xOffset, yOffset). A latching button stays down after a
// click and comes up at the next. A button with a Menu drops a copy of the
// menu's items down below itself when pressed.
//
// Only the left mouse button acts, and only while the button's own Enabled
// flag is set (the widget itself stays enabled, so that its status tip still
// shows in the hint line). Hints are status tips; the button never takes the
// keyboard focus.
class TFlatButton : public QWidget {
    Q_OBJECT
public:
    // The button's own visual state.
    enum TState : int {
        bsUp = 0,
        bsPressed = 1,        // pressed, not latching
        bsPressedFromUp = 2,  // pressed while up, latching
        bsPressedLatched = 3, // pressed while latched
        bsLatched = 4,
    };

    explicit TFlatButton(QWidget* owner = nullptr);
    ~TFlatButton() override;

    // The picture strip. A non-empty glyph sizes the button to one column.
    const QImage& Glyph() const { return m_glyph; }
    void SetGlyph(const QImage& glyph);
    int NumGlyphs() const { return m_numGlyphs; }
    void SetNumGlyphs(int count); // 1 to 4; other values are brought into that range

    TColor BackColor() const { return m_backColor; }
    void SetBackColor(TColor color);
    int xOffset() const { return m_xOffset; }
    void SetxOffset(int offset);
    int yOffset() const { return m_yOffset; }
    void SetyOffset(int offset);
    bool Latch() const { return m_latch; }
    void SetLatch(bool latch);
    // Latched: a latching button in state 4.
    bool Checked() const { return m_latch && m_state == bsLatched; }
    void SetChecked(bool checked);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    // Not owned; the copy shown is rebuilt from it at each drop-down.
    QMenu* Menu() const { return m_menu; }
    void SetMenu(QMenu* menu);

    int State() const { return m_state; }
    // The picture of the last paint, exactly as it went to the screen.
    const QImage& WorkBitmap() const { return m_work; }
    // The menu copy of the last drop-down (owned by the button), or nullptr.
    QMenu* PopupCopy() const { return m_popup; }

    // Draws the whole button into WorkBitmap.
    void PaintWork();

    QSize sizeHint() const override;

signals:
    // Raised when the left button is released over the button after a press on it.
    void Click();
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint& pos);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint& pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Press(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint& pos);
    void Release(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint& pos);
    // Shows the menu copy below the button; returns the original item chosen, if any.
    QAction* DropDown();
    void FitToGlyph();
    void SetState(int state);

    QImage m_glyph;
    int m_numGlyphs = 1;
    int m_state = bsUp;
    TColor m_backColor = clBlack;
    int m_xOffset = 1;
    int m_yOffset = 1;
    bool m_latch = false;
    bool m_enabled = true;
    bool m_pressing = false; // a press on the button is under way
    bool m_droppingDown = false;
    QPointer<QMenu> m_menu;
    QMenu* m_popup = nullptr;
    QImage m_work;
};
