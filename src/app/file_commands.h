#pragma once

#include <QString>
#include <functional>

class QWidget;
class TMainForm;

// The file commands on the one current model: new, open, save, save as,
// revert, export as bitmap, set as wallpaper, and the question before the
// program closes. Each returns true when it was carried out.

// The current model's file path (empty while untitled) and the name shown for it.
QString ModelFileName();
QString ModelName(); // "(Untitled)", or the file name without its last extension

// Sets both from the path (empty: untitled) and shows the name in the
// toolbox, with "*" while the model is modified.
void UpdateModelName(TMainForm& form, const QString& path);

// The name shown for a path: the file-name part without everything from its last ".".
QString DisplayNameOf(const QString& path);

// One of the main window's file dialogs, as it keeps its settings between uses.
struct TFileDialogSettings {
    QString Title;
    QString Filter;     // "Cubestacks Files (*.cst)|*.cst|All files (*.*)|*.*"
    QString DefaultExt; // without the dot; empty for none
    QString InitialDir; // with a trailing '/'
    QString FileName;   // proposed name in, chosen path out
    bool MustExist = false;
    bool OverwritePrompt = false;
    int FilterIndex = 0; // the filter chosen, out (0: the first)
};

struct TFileDialogs {
    TFileDialogSettings OpenModelDialog;
    TFileDialogSettings SaveModelDialog;
    TFileDialogSettings ExportBitmapDialog;
    TFileDialogSettings ChooseModelDialog;
};
TFileDialogs& FileDialogs();

// Runs a dialog: true with FileName set to the chosen path, false when
// cancelled. The program shows a QFileDialog; tests answer it themselves.
using FileDialogRunner = std::function<bool(TFileDialogSettings& dialog, QWidget* parent)>;
void SetFileDialogRunner(FileDialogRunner runner); // empty: the real dialog
bool RunFileDialog(TFileDialogSettings& dialog, QWidget* parent);

// "Name (*.x)|*.x|..." as Qt's name filters: "Name (*.x)"; "*.*" becomes "*",
// which is every file to Qt as "*.*" is to Windows.
QStringList QtNameFilters(const QString& filter);

// The dialogs' settings and folders as the main window sets them at creation;
// the names back to untitled.
void InitFileCommands(TMainForm& form);

// New, Open and closing ask to save a modified model first. When that save
// fails (the file could not be written) they stop and the changes stay; a
// declined or cancelled save gives the changes up.
bool FileNew(TMainForm& form);
bool FileOpen(TMainForm& form);
// Open with the file already chosen (the one given on the command line): the
// model loaded, named and its folder remembered; false with the loader's
// message when it is missing or damaged, the model and its name unchanged.
bool OpenModelFile(TMainForm& form, const QString& fileName);
bool FileSave(TMainForm& form);
bool FileSaveAs(TMainForm& form);
bool FileRevert(TMainForm& form);
// Writes a Windows bitmap, or a PNG when the name ends in ".png" or, for a
// name of no known extension, when the PNG filter was chosen.
bool FileExportBitmap(TMainForm& form);
// True when the desktop took the picture; otherwise a box says where the
// picture was written.
bool FileSetWallpaper(TMainForm& form);
bool FileQueryClose(TMainForm& form);
