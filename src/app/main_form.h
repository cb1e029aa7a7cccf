#pragma once

#include "app/drag_image.h"
#include "app/main_menu.h"
#include "app/recovery.h"
#include "model/model_context.h"
#include "model/undo_history.h"

#include <QRect>
#include <QSize>
#include <QWidget>
#include <cstdint>
#include <memory>

class QAction;
class TBlockList;
class TBmpWnd;
class TModel;
class TToolBoxLink;
class TBlockBoxLink;
class TCustomForm;
class TPreferencesForm;
class TAboutForm;
class TAttributesForm;
class TWallPaperChanger;

// The main window's place on a screen with that area: at most 1024 x 768,
// centred on it, halves truncated towards zero.
QRect MainWindowGeometry(const QRect& screen);
inline QRect MainWindowGeometry(const QSize& screen) { return MainWindowGeometry(QRect(QPoint(0, 0), screen)); }

// The states of mouse editing, chosen by the last press.
enum TEditState : uint8_t { esPaint = 0, esMove = 1, esErase = 2, esRotate = 3 };

// The point (x, y) of origin's client area lies strictly inside target's
// outer rectangle: a window's own left column and top row count as outside.
bool PointOverWindow(int x, int y, const QWidget* target, const QWidget* origin);

// The borderless black main window. Its whole client area is the drawing
// surface BaseBmp, which shows the model image and on which the mouse edits
// the one current model.
class TMainForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int HelpContext = 10;

    // screen: the screen area to place the window on; empty means the primary screen's.
    explicit TMainForm(const QRect& screen = QRect(), QWidget* parent = nullptr);
    explicit TMainForm(const QSize& screen, QWidget* parent = nullptr)
        : TMainForm(QRect(QPoint(0, 0), screen), parent) {}
    ~TMainForm() override;
    // Shows the start-up layout's boxes once the window is on the screen.
    void setVisible(bool visible) override;

    // The windows the main window works with, made by the program entry after
    // it. Without them the main window keeps their state in stand-ins.
    void SetToolBox(TToolBoxLink* toolBox, TCustomForm* form);
    void SetBlockBox(TBlockBoxLink* blockBox, TCustomForm* form);
    void SetPreferencesForm(TPreferencesForm* form) { PreferencesForm = form; }
    void SetAboutForm(TAboutForm* form) { AboutForm = form; }
    void SetAttributesForm(TAttributesForm* form);
    // The block library the model looks names up in and draws with; the block
    // box makes it and hands it over (none until then).
    void SetLibrary(TBlockList* library);
    TBlockList* Library() const { return m_library; }
    // What the model works in: the library, this window's size and what the
    // preferences give it. UpdateModelContext hands it to the model; the
    // window does so before the model clears, loads or draws.
    TModelContext ModelContext() const;
    void UpdateModelContext();
    TToolBoxLink& ToolBox() const { return *m_toolBox; }
    TBlockBoxLink& BlockBox() const { return *m_blockBox; }
    TCustomForm* ToolBoxForm = nullptr;
    TCustomForm* BlockBoxForm = nullptr;
    TPreferencesForm* PreferencesForm = nullptr;
    TAboutForm* AboutForm = nullptr;
    TAttributesForm* AttributesForm = nullptr;

    // The menu: its items are the commands, reached by their keys.
    TMainMenu MainMenu;
    TBmpWnd* BaseBmp = nullptr;
    std::unique_ptr<TModel> Model;
    // The block carried by a pick-up, shown over the drawing surface.
    TDragImage DragImage;
    // Installs the model image as the desktop wallpaper: not active, not tiled.
    TWallPaperChanger* WallPaperChanger1 = nullptr;

    // The model file given on the command line, opened instead of the start-up
    // model when the window is first shown; empty for none.
    QString ArgumentFile;

    // The changes that Undo takes back and Redo does again.
    TUndoHistory History;
    // The recovery copy of unsaved changes; nullptr never.
    std::unique_ptr<TRecovery> Recovery;

    // Mouse editing state.
    uint8_t EditState = esPaint;
    bool Dragging = false;
    bool EditingEnabled = true;
    int32_t CurCol = 0;
    int32_t CurRow = 0;
    int32_t LastCol = -1;
    int32_t LastRow = -1;
    int32_t DragOffsetX = 0;
    int32_t DragOffsetY = 0;

    // Life cycle.
    void FormShow();
    bool FormCloseQuery();
    void FormClose();

    // The whole model redrawn and shown, the name label and the Revert item updated.
    void RefreshModelView();
    // The hint line shows the text.
    void ShowHintLine(const QString& text);

    // The history starts afresh from the model as it is now (a new, opened or
    // reverted model); an unmodified model is the saved point.
    void StartFreshHistory();
    // A gesture or command ended: a change of the model since the last step
    // becomes a step of that name ("paint"). True when there was one.
    bool CommitStep(const QString& name);
    // The model was saved: the history's saved point, and no recovery copy.
    void ModelSaved();
    // Enables Undo and Redo by the history.
    void UpdateUndoItems();
    // Offers the copies that runs which did not end normally left; true when
    // one became the current model.
    bool OfferRecovery();
    // Writes the recovery copy of the unsaved changes now.
    void WriteRecoveryCopy();

    // Mouse editing on the drawing surface. held: the buttons held after the
    // event; shift: whether the Shift key is held.
    void BmpWndMouseDown(Qt::MouseButton button, Qt::MouseButtons held, bool shift, int x, int y);
    void BmpWndMouseMove(Qt::MouseButtons held, bool shift, int x, int y);
    void BmpWndMouseUp(Qt::MouseButton button, Qt::MouseButtons held, bool shift, int x, int y);
    void RedrawCell(int32_t col, int32_t row, uint8_t sound);
    void ShowEditHint(uint8_t state);
    // Commands of the menu, toolbox buttons and keys.
    void Undo1Click();
    void Redo1Click();
    void New1Click();
    void Open1Click();
    void Save1Click();
    void SaveAs1Click();
    void Revert1Click();
    void Print1Click();
    void SetAsWallpaper1Click();
    void ExportasBitmap1Click();
    void Exit1Click();
    void Mode1Click();
    void Right1Click();
    void Left1Click();
    void Up1Click();
    void Down1Click();
    void Attributes1Click();
    void Preferences1Click();
    void ShowBlockSets1Click();
    void ShowToolBox1Click();
    void ShowGrid1Click();
    void DockBoxes1Click();
    void Minimize1Click();
    void Contents1Click();
    void HelpSearch1Click();
    void HowtouseHelp1Click();
    void About1Click();
    // The help of a context number (F1 in the main window: 10).
    void ShowHelp(int context);
    // Scrolls the model one cell that way, with its sound and scroll-button update.
    void ScrollModel(int direction);

    // The drawing surface's hint and pointer number as last set.
    QString EditHint() const;
    int EditPointer() const { return m_editPointer; }

signals:
    // Emitted when the model view was refreshed (tests and the boxes follow it).
    void ModelViewRefreshed();
    // Emitted once the window has agreed to close and stored the settings; the
    // program ends here.
    void Closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FormCreate(const QRect& screen);
    void CreateMainMenu();
    void FormDestroy();
    void BaseBmpResize();
    void ApplyStartupLayout();
    void LoadStartupModel();
    void ShowDragImage();
    bool EditModeOn(bool shift) const;
    bool OverFloatingBox(int x, int y) const;
    void PickUp(int x, int y);
    void ShowHistoryState(const TModelData* value);
    void UpdateRecovery();
    bool OfferLeftCopy(const TRecovery::TLeftCopy& copy);
    std::pair<int32_t, int32_t> CellAt(int x, int y) const;

    std::unique_ptr<TToolBoxLink> m_ownToolBox;
    std::unique_ptr<TBlockBoxLink> m_ownBlockBox;
    TToolBoxLink* m_toolBox = nullptr;
    TBlockBoxLink* m_blockBox = nullptr;
    TBlockList* m_library = nullptr;
    bool m_shown = false;
    bool m_closing = false;
    // The boxes go and come back with the window when it is minimised and restored.
    void BoxesFollowWindowState();
    // The shown boxes above the window.
    void RaiseBoxes();
    // The start-up layout's boxes, once the window is on the screen.
    void ShowStartupBoxes();
    bool m_boxesAway = false;
    // The start-up layout's boxes, shown once this window is on the screen.
    bool m_startupLayoutPending = false;
    bool m_startupToolBoxShown = false;
    bool m_startupBlockBoxShown = false;
    // A press began the gesture that the next release finishes.
    bool m_gestureBegun = false;
    int m_editPointer = 0;
    bool m_recoveryFailed = false; // the last recovery copy could not be written
};
