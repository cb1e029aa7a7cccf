#pragma once

#include <QString>

class QAction;
class QMenu;
class QWidget;

// The hints of the Undo and Redo items.
extern const char* const kUndoHint;
extern const char* const kRedoHint;

// The main window's menu. No menu bar shows: its items are reached by their
// keys, and the File, Display and Help menus pop up from toolbox buttons.
// Each item is a QAction named as the menu item, with its caption, key and hint.
struct TMainMenu {
    QMenu* FileMenu1 = nullptr;
    QAction* Undo1 = nullptr;
    QAction* Redo1 = nullptr;
    QAction* SaveAs1 = nullptr;
    QAction* Revert1 = nullptr;
    QAction* SetAsWallpaper1 = nullptr;
    QAction* ExportasBitmap1 = nullptr;

    QMenu* DisplayMenu1 = nullptr;
    QAction* ShowToolBox1 = nullptr;
    QAction* DockBoxes1 = nullptr;
    QAction* Minimize1 = nullptr;

    QMenu* HelpMenu1 = nullptr;
    QAction* Contents1 = nullptr;
    QAction* HelpSearch1 = nullptr;
    QAction* HowtouseHelp1 = nullptr;
    QAction* About1 = nullptr;

    QMenu* ButtonsMenu1 = nullptr;
    QAction* New1 = nullptr;
    QAction* Open1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* Print1 = nullptr;
    QAction* ShowBlockSets1 = nullptr;
    QAction* ShowGrid1 = nullptr;
    QAction* Refresh1 = nullptr;
    QAction* Information1 = nullptr;
    QAction* Exit1 = nullptr;

    QMenu* EditMenu1 = nullptr;
    QAction* Mode1 = nullptr;
    QAction* Right1 = nullptr;
    QAction* Left1 = nullptr;
    QAction* Up1 = nullptr;
    QAction* Down1 = nullptr;
    QAction* Attributes1 = nullptr;
    QAction* Preferences1 = nullptr;

    QMenu* ToggleToolbox1 = nullptr;
    QAction* ToggleToolbox2 = nullptr;

    QAction* Help1 = nullptr; // F1: the help of the main window
};
