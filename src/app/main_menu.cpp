// The main window's menu and its commands.
#include "app/main_menu.h"

#include "app/file_commands.h"
#include "app/help_viewer.h"
#include "app/main_form.h"
#include "app/printing.h"
#include "widgets/bmp_wnd.h"
#include "model/model.h"
#include "windows/about_form.h"
#include "windows/attributes_form.h"
#include "windows/box_links.h"
#include "windows/custom_form.h"
#include "windows/focus_target.h"
#include "windows/preference_values.h"
#include "windows/preferences_form.h"
#include "windows/sounds_and_pointers.h"
#include "windows/toolbox_form.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <vector>

const char* const kUndoHint = "Undo the last change (Ctrl+Z)";
const char* const kRedoHint = "Redo the last undone change (Shift+Ctrl+Z)";

namespace {

// One line of the main menu: a menu, an item of the menu above it, or a
// separator in that menu.
struct MenuRow {
    enum Kind { Menu, Item, Separator } kind;
    const char* name;
    const char* caption = nullptr;
    QKeySequence key;
    void (TMainForm::*handler)() = nullptr; // none: an item kept only for its key
    const char* hint = nullptr;
    QMenu* TMainMenu::*menu = nullptr;
    QAction* TMainMenu::*action = nullptr;
};

MenuRow Menu(QMenu* TMainMenu::*menu, const char* name, const char* caption, const char* hint = nullptr) {
    return {MenuRow::Menu, name, caption, QKeySequence(), nullptr, hint, menu, nullptr};
}

MenuRow Item(QAction* TMainMenu::*action, const char* name, const char* caption, QKeySequence key,
             void (TMainForm::*handler)(), const char* hint = nullptr) {
    return {MenuRow::Item, name, caption, key, handler, hint, nullptr, action};
}

MenuRow Separator(const char* name) {
    return {MenuRow::Separator, name, nullptr, QKeySequence(), nullptr, nullptr, nullptr, nullptr};
}

std::vector<MenuRow> MainMenuRows() {
    using M = TMainMenu;
    using F = TMainForm;
    const QKeySequence none;
    return {
        Menu(&M::FileMenu1, "FileMenu1", "&File"),
        Item(&M::Undo1, "Undo1", "&Undo", Qt::CTRL | Qt::Key_Z, &F::Undo1Click, kUndoHint),
        Item(&M::Redo1, "Redo1", "&Redo", Qt::SHIFT | Qt::CTRL | Qt::Key_Z, &F::Redo1Click, kRedoHint),
        Separator("N15"),
        Item(&M::SaveAs1, "SaveAs1", "Save &As...", Qt::SHIFT | Qt::CTRL | Qt::Key_S, &F::SaveAs1Click,
             "Save model as another file (Shift+Ctrl+S)"),
        Item(&M::Revert1, "Revert1", "&Revert", none, &F::Revert1Click,
             "Restore model to last saved version"),
        Separator("N12"),
        Item(&M::SetAsWallpaper1, "SetAsWallpaper1", "Set as &Wallpaper", none, &F::SetAsWallpaper1Click,
             "Set model image as Windows wallpaper"),
        Item(&M::ExportasBitmap1, "ExportasBitmap1", "Export as Bit&map...", none, &F::ExportasBitmap1Click,
             "Export image as a Windows bitmap"),

        Menu(&M::DisplayMenu1, "DisplayMenu1", "&Display"),
        Item(&M::ShowToolBox1, "ShowToolBox1", "Show/hide &Toolbox", Qt::Key_Space, &F::ShowToolBox1Click,
             "Show/hide toolbox (Spacebar)"),
        Item(&M::DockBoxes1, "DockBoxes1", "&Dock Boxes", none, &F::DockBoxes1Click,
             "Reset block box and toolbox to default position"),
        Item(&M::Minimize1, "Minimize1", "Minimi&ze", Qt::SHIFT | Qt::Key_Escape, &F::Minimize1Click,
             "Shrink main window to a button on the taskbar (Shift+Esc)"),

        Menu(&M::HelpMenu1, "HelpMenu1", "&Help"),
        Item(&M::Contents1, "Contents1", "&Contents", none, &F::Contents1Click, "Help contents"),
        Item(&M::HelpSearch1, "HelpSearch1", "&Search for Help on...", none, &F::HelpSearch1Click,
             "Browse help topics"),
        Item(&M::HowtouseHelp1, "HowtouseHelp1", "&How to use Help", none, &F::HowtouseHelp1Click,
             "How to use Help"),
        Separator("N2"),
        Item(&M::About1, "About1", "&About...", none, &F::About1Click),

        Menu(&M::ButtonsMenu1, "ButtonsMenu1", "Buttons (nd)"),
        Item(&M::New1, "New1", "&New", Qt::CTRL | Qt::Key_N, &F::New1Click),
        Item(&M::Open1, "Open1", "&Open...", Qt::CTRL | Qt::Key_O, &F::Open1Click),
        Item(&M::Save1, "Save1", "&Save", Qt::CTRL | Qt::Key_S, &F::Save1Click),
        Item(&M::Print1, "Print1", "&Print", Qt::CTRL | Qt::Key_P, &F::Print1Click),
        Separator("N4"),
        Item(&M::ShowBlockSets1, "ShowBlockSets1", "Show/hide &Block Box", Qt::CTRL | Qt::Key_B,
             &F::ShowBlockSets1Click),
        Item(&M::ShowGrid1, "ShowGrid1", "Show/hide &Grid", Qt::CTRL | Qt::Key_G, &F::ShowGrid1Click),
        // Two items that do nothing, kept for their keys.
        Item(&M::Refresh1, "Refresh1", "&Refresh Screen", Qt::SHIFT | Qt::CTRL | Qt::Key_R, nullptr),
        Item(&M::Information1, "Information1", "&Information...", Qt::SHIFT | Qt::CTRL | Qt::Key_I, nullptr),
        Separator("N3"),
        Item(&M::Exit1, "Exit1", "E&xit", none, &F::Exit1Click),

        Menu(&M::EditMenu1, "EditMenu1", "Edit (nd)"),
        Item(&M::Mode1, "Mode1", "&Mode", Qt::Key_Tab, &F::Mode1Click),
        Separator("N1"),
        Item(&M::Right1, "Right1", "Scroll &Right", Qt::Key_Right, &F::Right1Click),
        Item(&M::Left1, "Left1", "Scroll &Left", Qt::Key_Left, &F::Left1Click),
        Item(&M::Up1, "Up1", "Scroll &Up", Qt::Key_Up, &F::Up1Click),
        Item(&M::Down1, "Down1", "Scroll &Down", Qt::Key_Down, &F::Down1Click),
        Separator("N14"),
        Item(&M::Attributes1, "Attributes1", "Model &Attributes...", Qt::CTRL | Qt::Key_T,
             &F::Attributes1Click),
        Item(&M::Preferences1, "Preferences1", "&Preferences...", Qt::CTRL | Qt::Key_J,
             &F::Preferences1Click),

        // The Space key belongs to ShowToolBox1, which comes first; this entry
        // only carries F10 for the same command.
        Menu(&M::ToggleToolbox1, "ToggleToolbox1", "More (nd)", "Show/hide toolbox (Spacebar)"),
        Item(&M::ToggleToolbox2, "ToggleToolbox2", "Show/hide &Toolbox", Qt::Key_F10, &F::ShowToolBox1Click),
    };
}

} // namespace

void TMainForm::CreateMainMenu() {
    QMenu* menu = nullptr;
    for (const MenuRow& row : MainMenuRows()) {
        switch (row.kind) {
        case MenuRow::Menu:
            menu = new QMenu(QString::fromLatin1(row.caption), this);
            menu->setObjectName(QString::fromLatin1(row.name));
            if (row.hint)
                menu->menuAction()->setStatusTip(QString::fromLatin1(row.hint));
            MainMenu.*row.menu = menu;
            break;
        case MenuRow::Separator:
            menu->addSeparator()->setObjectName(QString::fromLatin1(row.name));
            break;
        case MenuRow::Item: {
            auto* action = new QAction(QString::fromLatin1(row.caption), this);
            action->setObjectName(QString::fromLatin1(row.name));
            if (!row.key.isEmpty())
                action->setShortcut(row.key);
            action->setShortcutContext(Qt::WindowShortcut);
            if (row.hint)
                action->setStatusTip(QString::fromLatin1(row.hint));
            if (row.handler)
                connect(action, &QAction::triggered, this, row.handler);
            menu->addAction(action);
            // The window itself carries the items, so their keys work with no menu bar.
            addAction(action);
            MainMenu.*row.action = action;
            break;
        }
        }
    }

    // Redo has a second key.
    MainMenu.Redo1->setShortcuts(
        {QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});

    MainMenu.Help1 = new QAction(this);
    MainMenu.Help1->setShortcut(QKeySequence(Qt::Key_F1));
    MainMenu.Help1->setShortcutContext(Qt::WindowShortcut);
    connect(MainMenu.Help1, &QAction::triggered, this, [this] {
        // The toolbox hands the keyboard to the main window, so F1 over the
        // toolbox arrives here: it asks for the toolbox's help.
        const QWidget* toolBox = ToolBox().Window();
        const bool overToolBox = toolBox && toolBox->isVisible() && toolBox->frameGeometry().contains(QCursor::pos());
        ShowHelp(overToolBox ? TToolBoxForm::HelpContext : HelpContext);
    });
    addAction(MainMenu.Help1);
}

void TMainForm::SetAttributesForm(TAttributesForm* form) {
    AttributesForm = form;
    if (form) {
        connect(form, &TAttributesForm::ModelApplied, this, [this] {
            CommitStep(QStringLiteral("attributes"));
            RefreshModelView();
        });
        connect(form, &TAttributesForm::HelpRequested, this, &TMainForm::ShowHelp);
    }
}

void TMainForm::New1Click() {
    if (FileNew(*this)) {
        RefreshModelView();
        ToolBox().UpdateScrollButtons(sbAllEnabled);
    }
}

void TMainForm::Open1Click() {
    if (FileOpen(*this)) {
        RefreshModelView();
        ToolBox().UpdateScrollButtons(sbByEdges);
    }
}

void TMainForm::Save1Click() {
    FileSave(*this);
    MainMenu.Revert1->setEnabled(Model->Modified);
    UpdateModelName(*this, ModelFileName());
}

void TMainForm::SaveAs1Click() {
    FileSaveAs(*this);
    MainMenu.Revert1->setEnabled(Model->Modified);
    UpdateModelName(*this, ModelFileName());
}

void TMainForm::Revert1Click() {
    if (FileRevert(*this)) {
        RefreshModelView();
        ToolBox().UpdateScrollButtons(sbByEdges);
    }
}

void TMainForm::Print1Click() {
    if (PrintImage(BaseBmp->Bitmap, this))
        ToolBox().ShowProgressSweep();
    ReturnFocusAfterDialog();
}

void TMainForm::SetAsWallpaper1Click() { FileSetWallpaper(*this); }

void TMainForm::ExportasBitmap1Click() { FileExportBitmap(*this); }

void TMainForm::Exit1Click() { close(); }

void TMainForm::Mode1Click() { ToolBox().SetModeChecked(!ToolBox().ModeChecked()); }

void TMainForm::ScrollModel(int direction) {
    const bool moved = Model->Shift(direction);
    PlaySoundEffect(moved ? kSoundRotate : kSoundCloseBucket);
    CommitStep(QStringLiteral("scroll"));
    RefreshModelView();
    ToolBox().UpdateScrollButtons(direction == drLeft || direction == drRight ? sbLeftRight : sbUpDown);
    ShowEditHint(EditState);
}

void TMainForm::Right1Click() { ScrollModel(drRight); }

void TMainForm::Left1Click() { ScrollModel(drLeft); }

void TMainForm::Up1Click() { ScrollModel(drUp); }

void TMainForm::Down1Click() { ScrollModel(drDown); }

void TMainForm::Attributes1Click() {
    if (AttributesForm) {
        AttributesForm->SetModel(Model.get());
        AttributesForm->ShowModal();
        ReturnFocusAfterDialog();
    }
}

void TMainForm::Preferences1Click() {
    if (PreferencesForm) {
        PreferencesForm->exec();
        ReturnFocusAfterDialog();
    }
}

void TMainForm::ShowBlockSets1Click() {
    QWidget* box = BlockBox().Window();
    const bool nowVisible = box ? !box->isVisible() : !ToolBox().BlockBoxChecked();
    if (box)
        box->setVisible(nowVisible);
    if (nowVisible && !ToolBox().BlockBoxChecked())
        ToolBox().SetBlockBoxChecked(true);
    else if (!nowVisible && ToolBox().BlockBoxChecked())
        ToolBox().SetBlockBoxChecked(false);
    ReturnFocus();
}

void TMainForm::ShowToolBox1Click() {
    if (QWidget* box = ToolBox().Window())
        box->setVisible(!box->isVisible());
    ReturnFocus();
}

void TMainForm::ShowGrid1Click() {
    Preferences().GridVisible = !Preferences().GridVisible;
    // The grid button shows whether the grid is on, however it was switched.
    ToolBox().SetGridChecked(Preferences().GridVisible);
    RefreshModelView();
}

void TMainForm::DockBoxes1Click() {
    if (ToolBoxForm) {
        ToolBoxForm->move(ToolBoxForm->DockLeft, ToolBoxForm->DockTop);
        ToolBoxForm->show();
    }
    if (BlockBoxForm) {
        BlockBoxForm->move(BlockBoxForm->DockLeft, BlockBoxForm->DockTop);
        BlockBoxForm->show();
    }
    ToolBox().SetBlockBoxChecked(true);
    ReturnFocus();
}

void TMainForm::Minimize1Click() {
    // The boxes give way with the window (changeEvent) and come back with it.
    showMinimized();
}

void TMainForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        BoxesFollowWindowState();
    else if (event->type() == QEvent::ActivationChange && isActiveWindow())
        RaiseBoxes();
}

void TMainForm::BoxesFollowWindowState() {
    // Minimised by the program (Shift+Esc) or by the window manager (the task
    // bar, a desktop key): the boxes go too, and come back on restoring. The
    // stored visibility stays the one from before.
    TCustomForm* boxes[] = {ToolBoxForm, BlockBoxForm};
    if (isMinimized() && !m_boxesAway) {
        m_boxesAway = true;
        for (TCustomForm* box : boxes)
            if (box)
                box->HideWithOwner();
    } else if (!isMinimized() && m_boxesAway) {
        m_boxesAway = false;
        for (TCustomForm* box : boxes)
            if (box)
                box->ShowWithOwner();
        if (BlockBoxForm && BlockBoxForm->isVisible())
            ToolBox().SetBlockBoxChecked(true);
        // The keys work at once after the restore.
        ReturnFocusAfterDialog();
    }
}

void TMainForm::Contents1Click() { THelpViewer::Instance()->ShowContents(); }

void TMainForm::HelpSearch1Click() { THelpViewer::Instance()->ShowSearch(); }

void TMainForm::HowtouseHelp1Click() { THelpViewer::Instance()->ShowHowToUseHelp(); }

void TMainForm::About1Click() {
    if (AboutForm) {
        AboutForm->ShowModal();
        ReturnFocusAfterDialog();
    }
}

void TMainForm::ShowHelp(int context) { THelpViewer::Instance()->ShowContext(context); }
