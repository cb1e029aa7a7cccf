#include "app/file_commands.h"

#include "app/main_form.h"
#include "common/io_error.h"
#include "common/messages.h"
#include "common/program_folder.h"
#include "imaging/bitmap_file.h"
#include "desktop/user_folders.h"
#include "desktop/wallpaper_changer.h"
#include "widgets/bmp_wnd.h"
#include "model/model.h"
#include "windows/box_links.h"
#include "windows/file_dialog_filters.h"
#include "windows/focus_target.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <algorithm>

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

bool IsUntitled() {
    return State().modelName == kUntitled || State().modelName.isEmpty();
}

// How a save ended. A declined question or a cancelled dialog is the user's
// choice; a failed write was not, and the commands that asked to save first
// stop there rather than drop the changes.
enum class SaveOutcome { Saved, NotSaved, Failed };

SaveOutcome SaveOrSaveAs(TMainForm& form);
SaveOutcome SaveAsOutcome(TMainForm& form);

// The extension of a filter's first pattern ("png" of "*.png"); empty when it
// names no one extension ("*").
QString FilterExtension(const QString& filter, int index) {
    const QStringList parts = filter.split('|');
    if (index < 0 || 2 * index + 1 >= parts.size())
        return QString();
    const QString pattern = parts[2 * index + 1].split(';').constFirst().trimmed();
    if (!pattern.startsWith(QLatin1String("*.")) || pattern.indexOf('*', 2) >= 0 || pattern.contains('?'))
        return QString();
    return pattern.mid(2).toLower();
}

bool RealFileDialog(TFileDialogSettings& settings, QWidget* parent) {
    const bool saving = !settings.MustExist;
    QFileDialog dialog(parent, settings.Title, settings.InitialDir);
    dialog.setNameFilters(QtNameFilters(settings.Filter));
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!settings.DefaultExt.isEmpty()) {
        dialog.setDefaultSuffix(settings.DefaultExt);
        // A name typed without an extension takes that of the filter chosen.
        const QStringList filters = QtNameFilters(settings.Filter);
        const auto takeExtension = [&dialog, &settings, filters](const QString& name) {
            const QString ext = FilterExtension(settings.Filter, int(filters.indexOf(name)));
            dialog.setDefaultSuffix(ext.isEmpty() ? settings.DefaultExt : ext);
        };
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, takeExtension);
    }
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !settings.OverwritePrompt);
    if (!settings.FileName.isEmpty())
        dialog.selectFile(settings.FileName);
    MatchEveryFileWithStarDotStar(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    settings.FileName = dialog.selectedFiles().constFirst();
    settings.FilterIndex =
        std::max(0, int(QtNameFilters(settings.Filter).indexOf(dialog.selectedNameFilter())));
    return true;
}

// The dialog, shown; true only with a file name chosen.
bool ChooseFile(TFileDialogSettings& dialog, TMainForm& form) {
    return RunFileDialog(dialog, &form) && !dialog.FileName.isEmpty();
}

// The model file loads without a word about a missing file; the user who asked
// for it learns why nothing happened.
bool ModelFileExists(const QString& fileName) {
    if (QFileInfo(fileName).isFile())
        return true;
    ShowErrorBox(
        QStringLiteral("The model file \"%1\" does not exist.").arg(QDir::toNativeSeparators(fileName)));
    return false;
}

// Loads into the model; an input/output error ends in the error box.
bool LoadModel(TMainForm& form, const QString& fileName) {
    if (!ModelFileExists(fileName))
        return false;
    try {
        form.UpdateModelContext();
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
    form.UpdateModelContext();
    form.Model->Clear(true);
    UpdateModelName(form, QString());
    form.StartFreshHistory();
}

// Message 5 for a modified model before it is replaced or the program closes.
// True to go on: the model was unmodified, the user said No, or Yes and the
// save was done, declined or cancelled (the changes are then given up). False
// on Cancel, and when the save failed, so that the changes stay.
bool SaveChangesFirst(TMainForm& form) {
    if (!form.Model->Modified)
        return true;
    switch (ShowAppMessage(kMsgSaveChanges, {ModelName()})) {
    case IDYES:
        return SaveOrSaveAs(form) != SaveOutcome::Failed;
    case IDNO:
        return true;
    default:
        return false;
    }
}

// The truncation question for a model that lost cells when it was loaded; true to save.
bool TruncationAccepted(TMainForm& form) {
    return !form.Model->Truncated || ShowAppMessage(kMsgTruncate) == IDYES;
}

SaveOutcome SaveOrSaveAs(TMainForm& form) {
    if (IsUntitled())
        return SaveAsOutcome(form);
    if (!TruncationAccepted(form))
        return SaveOutcome::NotSaved;
    if (!SaveModel(form, State().modelFileName))
        return SaveOutcome::Failed;
    form.ModelSaved();
    form.ToolBox().ShowProgressSweep();
    UpdateModelName(form, State().modelFileName);
    return SaveOutcome::Saved;
}

SaveOutcome SaveAsOutcome(TMainForm& form) {
    TFileDialogSettings& dialog = State().dialogs.SaveModelDialog;
    dialog.OverwritePrompt = MessagesEnabled();
    dialog.InitialDir = WritableStartFolder(dialog.InitialDir);
    dialog.FileName =
        IsUntitled() ? QStringLiteral("Model01.cst") : QFileInfo(State().modelFileName).fileName();
    if (!ChooseFile(dialog, form))
        return SaveOutcome::NotSaved;
    if (!TruncationAccepted(form))
        return SaveOutcome::NotSaved;
    const QString chosen = dialog.FileName;
    if (!SaveModel(form, chosen))
        return SaveOutcome::Failed;
    form.ModelSaved();
    form.ToolBox().ShowProgressSweep();
    UpdateModelName(form, chosen);
    State().dialogs.OpenModelDialog.InitialDir = FolderOf(chosen);
    dialog.InitialDir = FolderOf(chosen);
    return SaveOutcome::Saved;
}

} // namespace

QString ModelFileName() {
    return State().modelFileName;
}

QString ModelName() {
    return State().modelName;
}

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

TFileDialogs& FileDialogs() {
    return State().dialogs;
}

void SetFileDialogRunner(FileDialogRunner runner) {
    State().runner = std::move(runner);
}

bool RunFileDialog(TFileDialogSettings& dialog, QWidget* parent) {
    const bool chosen = State().runner ? State().runner(dialog, parent) : RealFileDialog(dialog, parent);
    ReturnFocusAfterDialog();
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
        QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
        // "*.*" stays as the caption shows it; MatchEveryFileWithStarDotStar
        // makes it match every file, as it does on Windows.
        for (QString& pattern : patterns)
            pattern = pattern.trimmed();
        filters << QStringLiteral("%1 (%2)").arg(name, patterns.join(' '));
    }
    return filters;
}

void InitFileCommands(TMainForm&) {
    TFileDialogs& d = State().dialogs;
    const QString models = DataFolder(QStringLiteral("Models"));
    const QString modelFilter = QStringLiteral("Cubestacks Files (*.cst)|*.cst|All files (*.*)|*.*");
    d.OpenModelDialog = {
        QStringLiteral("Open Model File"), modelFilter, QString(), models, QString(), true, false};
    d.SaveModelDialog = {QStringLiteral("Save Model As"),
                         QStringLiteral("Cubestacks Files (*.cst)|*.cst|Any file (*.*)|*.*"),
                         QStringLiteral("cst"),
                         models,
                         QString(),
                         false,
                         true};
    d.ExportBitmapDialog = {
        QStringLiteral("Export As Bitmap"),
        QStringLiteral(
            "Bitmap Files (*.bmp)|*.bmp|DIB files (*.dib)|*.dib|PNG Files (*.png)|*.png|Any file (*.*)|*.*"),
        QStringLiteral("bmp"),
        DataFolder(QStringLiteral("Images")),
        QString(),
        false,
        true};
    d.ChooseModelDialog = {
        QStringLiteral("Select Model File"), modelFilter, QString(), models, QString(), true, false};
    State().modelFileName.clear();
    State().modelName.clear();
}

bool FileNew(TMainForm& form) {
    if (!SaveChangesFirst(form))
        return false;
    ClearModel(form);
    return true;
}

bool FileOpen(TMainForm& form) {
    TFileDialogSettings& dialog = State().dialogs.OpenModelDialog;
    dialog.FileName.clear();
    if (!SaveChangesFirst(form))
        return false;
    if (!ChooseFile(dialog, form))
        return false;
    // The double click that closed the dialog must not edit the model.
    form.EditingEnabled = false;
    return OpenModelFile(form, dialog.FileName);
}

bool OpenModelFile(TMainForm& form, const QString& fileName) {
    const QString path = QFileInfo(fileName).absoluteFilePath();
    if (!LoadModel(form, path))
        return false;
    UpdateModelName(form, path);
    form.StartFreshHistory();
    State().dialogs.SaveModelDialog.InitialDir = FolderOf(path);
    State().dialogs.OpenModelDialog.InitialDir = FolderOf(path);
    return true;
}

bool FileSave(TMainForm& form) {
    return SaveOrSaveAs(form) == SaveOutcome::Saved;
}

bool FileSaveAs(TMainForm& form) {
    return SaveAsOutcome(form) == SaveOutcome::Saved;
}

bool FileRevert(TMainForm& form) {
    if (IsUntitled() || !form.Model->Modified)
        return false;
    if (ShowAppMessage(kMsgRevert, {ModelName()}) != IDYES)
        return false;
    if (!LoadModel(form, State().modelFileName))
        return false;
    UpdateModelName(form, State().modelFileName);
    form.StartFreshHistory();
    return true;
}

bool FileExportBitmap(TMainForm& form) {
    TFileDialogSettings& dialog = State().dialogs.ExportBitmapDialog;
    dialog.OverwritePrompt = MessagesEnabled();
    dialog.FileName = QStringLiteral("%1.%2").arg(ModelName(), dialog.DefaultExt);
    dialog.InitialDir = WritableStartFolder(dialog.InitialDir);
    dialog.FilterIndex = 0;
    if (!ChooseFile(dialog, form))
        return false;
    // The name's extension decides; a name of none we write goes by the filter.
    QString format = QFileInfo(dialog.FileName).suffix().toLower();
    if (format != QLatin1String("png") && format != QLatin1String("bmp") && format != QLatin1String("dib"))
        format = FilterExtension(dialog.Filter, dialog.FilterIndex);
    try {
        if (format == QLatin1String("png"))
            SavePngFile(form.BaseBmp->Bitmap, dialog.FileName);
        else
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
    if (result.Succeeded())
        return true;
    // Not a question: the user learns where the picture is, whatever the
    // messages switch says. No desktop to install it through is no error.
    const QString text =
        result.message.isEmpty()
            ? QStringLiteral("The wallpaper could not be set. The picture was saved as \"%1\".")
                  .arg(QDir::toNativeSeparators(path))
            : result.message;
    const int style =
        result.status == WallpaperResult::NoDesktop ? MB_ICONINFORMATION | MB_OK : MB_ICONHAND | MB_OK;
    CurrentMessagePresenter()->Present(QString::fromLatin1(kProgramTitle), text, style, IDOK);
    return false;
}

bool FileQueryClose(TMainForm& form) {
    return SaveChangesFirst(form);
}
