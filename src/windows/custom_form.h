#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

// What happens to a box asked to close.
enum TCloseAction { caNone, caHide, caFree, caMinimize };

// The base of the floating boxes: a frameless tool window owned by the main
// window. It stays above its owner only, not above other programs' windows,
// and goes and comes back with it when it is minimised. Its own title strip
// (drawn by the descendant in its background picture) moves it, the right end
// of the strip hides it, and a bottom strip sizes it when Sizeable. Each
// region names itself in the hint line. After every click and key release in
// the box, and whenever the pointer moves over it, the keyboard focus goes
// back to the main window (focus_target.h). The box's place and visibility
// are stored under "Windows/<name>" in the settings when it is destroyed and
// read back at creation.
//
// A descendant's constructor sets the box's size, DockLeft, DockTop,
// DockWidth, DockHeight and DragWidth, and then calls ReadPlacement().
//
// The regions are taken from every mouse event of the box and its children,
// so a child lying in the title strip moves the box like the strip itself.
class TCustomForm : public QWidget {
    Q_OBJECT
public:
    // Which part of the box a point lies in, numbered as the platform's hit-test answers.
    enum THitTest : int { HTCLIENT = 1, HTCAPTION = 2, HTSYSMENU = 3, HTBOTTOM = 15 };
    // What LoadPlacement restores besides the visibility.
    enum TPlacementPart : int { plPosition = 1, plSize = 2 };

    // name: the box's name, also its settings section ("ToolBoxForm", "BlockBoxForm").
    explicit TCustomForm(const QString& name, QWidget* owner = nullptr);
    // Stores the placement when RememberPlace.
    ~TCustomForm() override;

    bool Sizeable = false;     // the bottom strip sizes the box
    bool RememberPlace = true; // placement read at creation, written at destruction
    bool SavedVisible = true;  // the visibility read by the last LoadPlacement
    int DockLeft = 0;          // the default placement, in screen pixels
    int DockTop = 0;
    int DockWidth = 0;
    int DockHeight = 0;
    int TitleHeight = 20; // the title strip along the top
    int CloseWidth = 20;  // the hide area at the right end of the strip
    int GripHeight = 10;  // the sizing strip along the bottom
    int DragWidth = 100;  // the move area of the strip, from the left edge

    // "Windows/" + the box's name.
    QString PlacementKey() const;
    // Reads the section key ("Windows/ToolBoxForm"): the position when what has
    // plPosition, the size when it has plSize, each value missing or unreadable
    // taking the one of defaults; SavedVisible from "Visible" (default on). The
    // visibility is not applied here.
    void LoadPlacement(const QString& key, int what, const QRect& defaults);
    // Writes "Left", "Top", "Width", "Height" and "Visible" as text. A box
    // that went away with its owner is stored as it was before.
    void SavePlacement(const QString& key) const;

    // The owner was minimised: the box goes too, remembering whether it was shown.
    void HideWithOwner();
    // The owner is back: the box comes back if it was shown before.
    void ShowWithOwner();
    bool HiddenWithOwner() const { return m_hiddenWithOwner; }

    // The region under a point in box coordinates; sets Hint as the pointer
    // over that point sees it. A point in the strip between the move area and
    // the hide area is client area and leaves the hint as it was.
    int HitTest(const QPoint& pos);
    // The hint of the region last tested; also the box's status tip.
    QString Hint() const { return statusTip(); }

protected:
    // The end of the descendant's constructor: the stored position, or the dock
    // place when none is stored, if RememberPlace.
    void ReadPlacement();

    // The close handler. The base keeps the box and asks the main window to
    // close, which ends the program after its questions; a descendant may
    // replace it (the block box hides itself instead).
    virtual void FormClose(TCloseAction& action);

    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum TGrab { grNone, grMove, grSize, grHide };

    bool MouseEvent(QEvent* event);
    void SetHint(const QString& text);

    TGrab m_grab = grNone;
    // shown when the owner was minimised
    bool m_hiddenWithOwner = false;
    QPoint m_grabOffset; // pointer minus the box's corner (moving) or size (sizing)
};
