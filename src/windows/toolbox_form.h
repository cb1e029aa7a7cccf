#pragma once

#include "windows/box_links.h"
#include "windows/custom_form.h"

#include <QPointer>
#include <QRect>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class TFlatButton;

// The main window's commands that the toolbox's buttons run, and the three
// menus its drop-down buttons show. Any of them may be missing: the button
// then does nothing beyond its own look.
struct TToolBoxCommands {
    QAction* New1 = nullptr;
    QAction* Open1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* SaveAs1 = nullptr;
    QAction* Print1 = nullptr;
    QAction* ShowGrid1 = nullptr;
    QAction* ShowBlockSets1 = nullptr;
    QAction* Attributes1 = nullptr;
    QAction* Preferences1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* Left1 = nullptr;
    QAction* Right1 = nullptr;
    QAction* Up1 = nullptr;
    QAction* Down1 = nullptr;
    QMenu* FileMenu1 = nullptr;
    QMenu* DisplayMenu1 = nullptr;
    QMenu* HelpMenu1 = nullptr;
};

// The floating toolbox: the command buttons over the background picture, the
// hint line, the model's name and the progress bar shown after a file is
// written. Every button forwards to a command of the main window; the box
// holds no model state of its own.
class TToolBoxForm : public TCustomForm, public TToolBoxLink {
    Q_OBJECT
public:
    static constexpr int HelpContext = 20;

    // mainWindow: the main window's place on the screen; the toolbox docks at
    // its top-left corner.
    explicit TToolBoxForm(const QRect& mainWindow, QWidget* owner = nullptr);
    ~TToolBoxForm() override;

    // Binds the buttons to the main window's commands and menus.
    void BindCommands(const TToolBoxCommands& commands);

    // Whether the model can move one cell that way (0 left, 1 right, 2 up,
    // 3 down). Without it every edge counts as free.
    std::function<bool(int direction)> EdgeIsFree;

    // How long one progress sweep lasts, in milliseconds (0: as fast as it paints).
    int SweepMilliseconds = 250;

    // TToolBoxLink
    bool ModeChecked() const override;
    void SetModeChecked(bool checked) override;
    bool BlockBoxChecked() const override;
    void SetBlockBoxChecked(bool checked) override;
    bool GridChecked() const override;
    void SetGridChecked(bool checked) override;
    void SetHintText(const QString& text) override;
    void SetFileLabel(const QString& caption) override;
    void UpdateScrollButtons(TScrollButtons mode) override;
    void ShowProgressSweep() override;
    QWidget* Window() override { return this; }

    // The button handlers.
    void New1Click();
    void Open1Click();
    void Save1Click();
    void SaveAs1Click();
    void Print1Click();
    void GridBtnClick();
    void BlockBoxBtnClick();
    void AttributesBtnClick();
    void OptionsButtonClick();
    void ExitBtnClick();
    void ScrollLeftBtnClick();
    void ScrollRightBtnClick();
    void ScrollUpBtnClick();
    void ScrollDownBtnClick();
    void CommonMouseUp();
    void FormKeyUp();

    QLabel* BkgndImage = nullptr;
    QLabel* Hint = nullptr;
    QProgressBar* Gauge = nullptr;
    QLabel* FileLabel = nullptr;
    TFlatButton* NewBtn = nullptr;
    TFlatButton* OpenBtn = nullptr;
    TFlatButton* SaveBtn = nullptr;
    TFlatButton* PrintBtn = nullptr;
    TFlatButton* FileBtn = nullptr;
    TFlatButton* GridBtn = nullptr;
    TFlatButton* BlockBoxBtn = nullptr;
    TFlatButton* DisplayBtn = nullptr;
    TFlatButton* AttributesBtn = nullptr;
    TFlatButton* PreferencesBtn = nullptr;
    TFlatButton* HelpBtn = nullptr;
    TFlatButton* ExitBtn = nullptr;
    TFlatButton* ModeBtn = nullptr;
    TFlatButton* ScrollLeftBtn = nullptr;
    TFlatButton* ScrollUpBtn = nullptr;
    TFlatButton* ScrollDownBtn = nullptr;
    TFlatButton* ScrollRightBtn = nullptr;

protected:
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void FormCreate(const QRect& mainWindow);
    void CreateLabels(); // the picture, the hint line, the progress bar and the name label
    TFlatButton* AddButton(const char* name, const QRect& place, const char* hint, const char* glyph,
                           int numGlyphs, bool latch, void (TToolBoxForm::*click)());

    struct TBound {
        QPointer<QAction> New1, Open1, Save1, SaveAs1, Print1, ShowGrid1, ShowBlockSets1, Attributes1,
            Preferences1, Exit1, Left1, Right1, Up1, Down1;
    } m_commands;
};
