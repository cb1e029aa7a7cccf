#include "app/file_commands.h"

#include "app/main_form.h"
#include "common/io_error.h"
#include "common/messages.h"
#include "common/program_folder.h"
#include "imaging/bitmap_file.h"
#include "imaging/wallpaper_changer.h"
#include "imaging/widgets/bmp_wnd.h"
#include "model/model.h"
#include "windows/box_links.h"
#include "windows/focus_target.h"

#include <QFileDialog>
#include <QFileInfo>

namespace {

const QString kUntitled = QStringLiteral("(Untitled)");

struct FileCommandState {
    QString modelFileName;
    QString modelName;
    TFileDialogs dialogs;
    FileDialogRunner runner;
};

FileCommandState& State() {
    static FileCommandState state;
    return state;
}

QString FolderOf(const QString& path) {
    QString folder = QFileInfo(path).absolutePath();
    if (!folder.endsWith('/'))
        folder += '/';
    return folder;
}

bool IsUntitled() { return State().modelName == kUntitled || State().modelName.isEmpty(); }

bool RealFileDialog(TFileDialogSettings& settings, QWidget* parent) {
    const bool saving = !settings.MustExist;
    QFileDialog dialog(parent, settings.Title, settings.InitialDir);
    dialog.setNameFilters(QtNameFilters(settings.Filter));
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!settings.DefaultExt.isEmpty())
        dialog.setDefaultSuffix(settings.DefaultExt);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !settings.OverwritePrompt);
    if (!settings.FileName.isEmpty())
        dialog.selectFile(settings.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    settings.FileName = dialog.selectedFiles().constFirst();
    return true;
}

// Loads into the model; an input/output error ends in the error box.
bool LoadModel(TMainForm& form, const QString& fileName) {
    try {
        return form.Model->LoadFromFile(fileName);
    } catch (const IoError& error) {
        ShowErrorBox(error);
        return false;
    }
}

bool SaveModel(TMainForm& form, const QString& fileName) {
    try {
        form.Model->SaveToFile(fileName);
        return true;
    } catch (const IoError& error) {
        ShowErrorBox(error);
        return false;
    }
}

void ClearModel(TMainForm& form) {
    form.Model->Clear(true);
    UpdateModelName(form, QString());
}

} // namespace

QString ModelFileName() { return State().modelFileName; }

QString ModelName() { return State().modelName; }

QString DisplayNameOf(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf('.');
    return dot >= 0 ? name.left(dot) : name;
}

void UpdateModelName(TMainForm& form, const QString& path) {
    State().modelFileName = path;
    State().modelName = path.isEmpty() ? kUntitled : DisplayNameOf(path);
    form.ToolBox().SetFileLabel(State().modelName + (form.Model->Modified ? QStringLiteral("*") : QString()));
}

TFileDialogs& FileDialogs() { return State().dialogs; }

void SetFileDialogRunner(FileDialogRunner runner) { State().runner = std::move(runner); }

bool RunFileDialog(TFileDialogSettings& dialog, QWidget* parent) {
    const bool chosen = State().runner ? State().runner(dialog, parent) : RealFileDialog(dialog, parent);
    ReturnFocus();
    return chosen;
}

QStringList QtNameFilters(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        // Qt reads the patterns from the brackets of the name; give it the real ones.
        const qsizetype bracket = name.indexOf('(');
        if (bracket >= 0)
            name = name.left(bracket).trimmed();
        filters << QStringLiteral("%1 (%2)").arg(name, QString(parts[i + 1]).replace(';', ' '));
    }
    return filters;
}

void InitFileCommands(TMainForm&) {
    TFileDialogs& d = State().dialogs;
    const QString models = DataFolder(QStringLiteral("Models"));
    const QString modelFilter = QStringLiteral("Cubestacks Files (*.cst)|*.cst|All files (*.*)|*.*");
    d.OpenModelDialog = {QStringLiteral("Open Model File"), modelFilter, QString(), models, QString(), true, false};
    d.SaveModelDialog = {QStringLiteral("Save Model As"),
                         QStringLiteral("Cubestacks Files (*.cst)|*.cst|Any file (*.*)|*.*"),
                         QStringLiteral("cst"),
                         models,
                         QString(),
                         false,
                         true};
    d.ExportBitmapDialog = {QStringLiteral("Export As Bitmap"),
                            QStringLiteral("Bitmap Files (*.bmp)|*.bmp|DIB files (*.dib)|*.dib|Any file (*.*)|*.*"),
                            QStringLiteral("bmp"),
                            DataFolder(QStringLiteral("Images")),
                            QString(),
                            false,
                            true};
    d.ChooseModelDialog = {QStringLiteral("Select Model File"), modelFilter, QString(), models, QString(), true, false};
    State().modelFileName.clear();
    State().modelName.clear();
}

bool FileNew(TMainForm& form) {
    if (!form.Model->Modified) {
        ClearModel(form);
        return true;
    }
    switch (ShowAppMessage(5, {ModelName()})) {
    case IDYES:
        FileSave(form);
        ClearModel(form);
        return true;
    case IDNO:
        ClearModel(form);
        return true;
    default:
        return false;
    }
}

bool FileOpen(TMainForm& form) {
    TFileDialogSettings& dialog = State().dialogs.OpenModelDialog;
    dialog.FileName.clear();
    if (form.Model->Modified) {
        const int answer = ShowAppMessage(5, {ModelName()});
        if (answer == IDYES)
            FileSave(form);
        else if (answer != IDNO)
            return false;
    }
    if (!RunFileDialog(dialog, &form))
        return false;
    form.EditingEnabled = false;
    const QString chosen = dialog.FileName;
    if (!LoadModel(form, chosen))
        return false;
    UpdateModelName(form, chosen);
    State().dialogs.SaveModelDialog.InitialDir = FolderOf(chosen);
    dialog.InitialDir = FolderOf(chosen);
    return true;
}

bool FileSave(TMainForm& form) {
    if (IsUntitled())
        return FileSaveAs(form);
    if (form.Model->Truncated && ShowAppMessage(8) != IDYES)
        return false;
    if (!SaveModel(form, State().modelFileName))
        return false;
    form.ToolBox().ShowProgressSweep();
    return true;
}

bool FileSaveAs(TMainForm& form) {
    TFileDialogSettings& dialog = State().dialogs.SaveModelDialog;
    dialog.OverwritePrompt = MessagesEnabled();
    dialog.FileName = IsUntitled() ? QStringLiteral("Model01.cst") : QFileInfo(State().modelFileName).fileName();
    if (!RunFileDialog(dialog, &form))
        return false;
    if (form.Model->Truncated && ShowAppMessage(8) != IDYES)
        return false;
    const QString chosen = dialog.FileName;
    if (!SaveModel(form, chosen))
        return false;
    form.ToolBox().ShowProgressSweep();
    UpdateModelName(form, chosen);
    State().dialogs.OpenModelDialog.InitialDir = FolderOf(chosen);
    dialog.InitialDir = FolderOf(chosen);
    return true;
}

bool FileRevert(TMainForm& form) {
    if (IsUntitled() || !form.Model->Modified)
        return false;
    if (ShowAppMessage(6, {ModelName()}) != IDYES)
        return false;
    if (!LoadModel(form, State().modelFileName))
        return false;
    UpdateModelName(form, State().modelFileName);
    return true;
}

bool FileExportBitmap(TMainForm& form) {
    TFileDialogSettings& dialog = State().dialogs.ExportBitmapDialog;
    dialog.OverwritePrompt = MessagesEnabled();
    dialog.FileName = QStringLiteral("%1.%2").arg(ModelName(), dialog.DefaultExt);
    if (!RunFileDialog(dialog, &form))
        return false;
    try {
        SaveBitmapFile(form.BaseBmp->Bitmap, dialog.FileName);
    } catch (const IoError& error) {
        ShowErrorBox(error);
        return false;
    }
    dialog.InitialDir = FolderOf(dialog.FileName);
    form.ToolBox().ShowProgressSweep();
    return true;
}

bool FileSetWallpaper(TMainForm& form) {
    QString path;
    try {
        path = SaveWallpaperBitmap(form.BaseBmp->Bitmap);
    } catch (const IoError& error) {
        ShowErrorBox(error);
        return false;
    }
    form.ToolBox().ShowProgressSweep();
    form.WallPaperChanger1->SetFilename(path);
    const WallpaperResult result = form.WallPaperChanger1->Change();
    if (!result.Succeeded() && !result.message.isEmpty()) {
        // Not a question: the user learns where the picture is, whatever the messages switch says.
        ShowErrorBox(result.message);
    }
    return true;
}

bool FileQueryClose(TMainForm& form) {
    if (!form.Model->Modified)
        return true;
    switch (ShowAppMessage(5, {ModelName()})) {
    case IDYES:
        FileSave(form);
        return true;
    case IDNO:
        return true;
    default:
        return false;
    }
}
