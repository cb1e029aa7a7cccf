// The main window's menu and its commands.
#include "app/main_menu.h"

#include "app/file_commands.h"
#include "app/help_viewer.h"
#include "app/main_form.h"
#include "app/printing.h"
#include "widgets/bmp_wnd.h"
#include "model/model.h"
#include "model/model_defaults.h"
#include "windows/about_form.h"
#include "windows/attributes_form.h"
#include "windows/box_links.h"
#include "windows/custom_form.h"
#include "windows/focus_target.h"
#include "windows/preferences_form.h"
#include "windows/sounds_and_pointers.h"
#include "windows/toolbox_form.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QMenu>

namespace {

struct MenuItemText {
    const char* name;
    const char* caption;
    QKeySequence key;
    const char* hint;
};

} // namespace

void TMainForm::CreateMainMenu() {
    TMainMenu& m = MainMenu;
    auto menu = [this](const char* name, const char* caption) {
        auto* result = new QMenu(QString::fromLatin1(caption), this);
        result->setObjectName(QString::fromLatin1(name));
        return result;
    };
    auto item = [this](QMenu* owner, const MenuItemText& text, void (TMainForm::*handler)()) {
        auto* action = new QAction(QString::fromLatin1(text.caption), this);
        action->setObjectName(QString::fromLatin1(text.name));
        if (!text.key.isEmpty())
            action->setShortcut(text.key);
        action->setShortcutContext(Qt::WindowShortcut);
        if (text.hint)
            action->setStatusTip(QString::fromLatin1(text.hint));
        if (handler)
            connect(action, &QAction::triggered, this, handler);
        owner->addAction(action);
        // The window itself carries the items, so their keys work with no menu bar.
        addAction(action);
        return action;
    };
    const QKeySequence none;

    m.FileMenu1 = menu("FileMenu1", "&File");
    m.SaveAs1 = item(m.FileMenu1,
                     {"SaveAs1", "Save &As...", QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_S),
                      "Save model as another file (Shift+Ctrl+S)"},
                     &TMainForm::SaveAs1Click);
    m.Revert1 = item(m.FileMenu1, {"Revert1", "&Revert", none, "Restore model to last saved version"},
                     &TMainForm::Revert1Click);
    m.FileMenu1->addSeparator()->setObjectName(QStringLiteral("N12"));
    m.SetAsWallpaper1 = item(m.FileMenu1,
                             {"SetAsWallpaper1", "Set as &Wallpaper", none, "Set model image as Windows wallpaper"},
                             &TMainForm::SetAsWallpaper1Click);
    m.ExportasBitmap1 = item(m.FileMenu1,
                             {"ExportasBitmap1", "Export as Bit&map...", none, "Export image as a Windows bitmap"},
                             &TMainForm::ExportasBitmap1Click);

    m.DisplayMenu1 = menu("DisplayMenu1", "&Display");
    m.ShowToolBox1 = item(m.DisplayMenu1,
                          {"ShowToolBox1", "Show/hide &Toolbox", QKeySequence(Qt::Key_Space),
                           "Show/hide toolbox (Spacebar)"},
                          &TMainForm::ShowToolBox1Click);
    m.DockBoxes1 = item(m.DisplayMenu1,
                        {"DockBoxes1", "&Dock Boxes", none, "Reset block box and toolbox to default position"},
                        &TMainForm::DockBoxes1Click);
    m.Minimize1 = item(m.DisplayMenu1,
                       {"Minimize1", "Minimi&ze", QKeySequence(Qt::SHIFT | Qt::Key_Escape),
                        "Shrink main window to a button on the taskbar (Shift+Esc)"},
                       &TMainForm::Minimize1Click);

    m.HelpMenu1 = menu("HelpMenu1", "&Help");
    m.Contents1 = item(m.HelpMenu1, {"Contents1", "&Contents", none, "Help contents"}, &TMainForm::Contents1Click);
    m.HelpSearch1 = item(m.HelpMenu1, {"HelpSearch1", "&Search for Help on...", none, "Browse help topics"},
                         &TMainForm::HelpSearch1Click);
    m.HowtouseHelp1 = item(m.HelpMenu1, {"HowtouseHelp1", "&How to use Help", none, "How to use Help"},
                           &TMainForm::HowtouseHelp1Click);
    m.HelpMenu1->addSeparator()->setObjectName(QStringLiteral("N2"));
    m.About1 = item(m.HelpMenu1, {"About1", "&About...", none, nullptr}, &TMainForm::About1Click);

    m.ButtonsMenu1 = menu("ButtonsMenu1", "Buttons (nd)");
    m.New1 = item(m.ButtonsMenu1, {"New1", "&New", QKeySequence(Qt::CTRL | Qt::Key_N), nullptr}, &TMainForm::New1Click);
    m.Open1 = item(m.ButtonsMenu1, {"Open1", "&Open...", QKeySequence(Qt::CTRL | Qt::Key_O), nullptr},
                   &TMainForm::Open1Click);
    m.Save1 = item(m.ButtonsMenu1, {"Save1", "&Save", QKeySequence(Qt::CTRL | Qt::Key_S), nullptr},
                   &TMainForm::Save1Click);
    m.Print1 = item(m.ButtonsMenu1, {"Print1", "&Print", QKeySequence(Qt::CTRL | Qt::Key_P), nullptr},
                    &TMainForm::Print1Click);
    m.ButtonsMenu1->addSeparator()->setObjectName(QStringLiteral("N4"));
    m.ShowBlockSets1 = item(m.ButtonsMenu1,
                            {"ShowBlockSets1", "Show/hide &Block Box", QKeySequence(Qt::CTRL | Qt::Key_B), nullptr},
                            &TMainForm::ShowBlockSets1Click);
    m.ShowGrid1 = item(m.ButtonsMenu1, {"ShowGrid1", "Show/hide &Grid", QKeySequence(Qt::CTRL | Qt::Key_G), nullptr},
                       &TMainForm::ShowGrid1Click);
    // Two items that do nothing, kept for their keys.
    m.Refresh1 = item(m.ButtonsMenu1,
                      {"Refresh1", "&Refresh Screen", QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_R), nullptr}, nullptr);
    m.Information1 = item(m.ButtonsMenu1,
                          {"Information1", "&Information...", QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_I), nullptr},
                          nullptr);
    m.ButtonsMenu1->addSeparator()->setObjectName(QStringLiteral("N3"));
    m.Exit1 = item(m.ButtonsMenu1, {"Exit1", "E&xit", none, nullptr}, &TMainForm::Exit1Click);

    m.EditMenu1 = menu("EditMenu1", "Edit (nd)");
    m.Mode1 = item(m.EditMenu1, {"Mode1", "&Mode", QKeySequence(Qt::Key_Tab), nullptr}, &TMainForm::Mode1Click);
    m.EditMenu1->addSeparator()->setObjectName(QStringLiteral("N1"));
    m.Right1 = item(m.EditMenu1, {"Right1", "Scroll &Right", QKeySequence(Qt::Key_Right), nullptr},
                    &TMainForm::Right1Click);
    m.Left1 = item(m.EditMenu1, {"Left1", "Scroll &Left", QKeySequence(Qt::Key_Left), nullptr},
                   &TMainForm::Left1Click);
    m.Up1 = item(m.EditMenu1, {"Up1", "Scroll &Up", QKeySequence(Qt::Key_Up), nullptr}, &TMainForm::Up1Click);
    m.Down1 = item(m.EditMenu1, {"Down1", "Scroll &Down", QKeySequence(Qt::Key_Down), nullptr},
                   &TMainForm::Down1Click);
    m.EditMenu1->addSeparator()->setObjectName(QStringLiteral("N14"));
    m.Attributes1 = item(m.EditMenu1,
                         {"Attributes1", "Model &Attributes...", QKeySequence(Qt::CTRL | Qt::Key_T), nullptr},
                         &TMainForm::Attributes1Click);
    m.Preferences1 = item(m.EditMenu1,
                          {"Preferences1", "&Preferences...", QKeySequence(Qt::CTRL | Qt::Key_J), nullptr},
                          &TMainForm::Preferences1Click);

    // The Space key belongs to ShowToolBox1, which comes first; this entry
    // only carries F10 for the same command.
    m.ToggleToolbox1 = menu("ToggleToolbox1", "More (nd)");
    m.ToggleToolbox1->menuAction()->setStatusTip(QStringLiteral("Show/hide toolbox (Spacebar)"));
    m.ToggleToolbox2 = item(m.ToggleToolbox1, {"ToggleToolbox2", "Show/hide &Toolbox", QKeySequence(Qt::Key_F10), nullptr},
                            &TMainForm::ShowToolBox1Click);

    m.Help1 = new QAction(this);
    m.Help1->setShortcut(QKeySequence(Qt::Key_F1));
    m.Help1->setShortcutContext(Qt::WindowShortcut);
    connect(m.Help1, &QAction::triggered, this, [this] {
        // The toolbox hands the keyboard to the main window, so F1 over the
        // toolbox arrives here: it asks for the toolbox's help.
        const QWidget* toolBox = ToolBox().Window();
        const bool overToolBox = toolBox && toolBox->isVisible() && toolBox->frameGeometry().contains(QCursor::pos());
        ShowHelp(overToolBox ? TToolBoxForm::HelpContext : HelpContext);
    });
    addAction(m.Help1);
}

void TMainForm::SetAttributesForm(TAttributesForm* form) {
    AttributesForm = form;
    if (form) {
        connect(form, &TAttributesForm::ModelApplied, this, &TMainForm::RefreshModelView);
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
    ModelDefaults().GridVisible = !ModelDefaults().GridVisible;
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
    // All the program's windows give way to the one task-bar button; the boxes
    // come back with the main window.
    m_toolBoxBeforeMinimize = ToolBoxForm && ToolBoxForm->isVisible();
    m_blockBoxBeforeMinimize = BlockBoxForm && BlockBoxForm->isVisible();
    m_minimized = true;
    if (ToolBoxForm)
        ToolBoxForm->hide();
    if (BlockBoxForm)
        BlockBoxForm->hide();
    showMinimized();
}

void TMainForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !m_minimized || isMinimized())
        return;
    m_minimized = false;
    if (ToolBoxForm && m_toolBoxBeforeMinimize)
        ToolBoxForm->show();
    if (BlockBoxForm && m_blockBoxBeforeMinimize) {
        BlockBoxForm->show();
        ToolBox().SetBlockBoxChecked(true);
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
