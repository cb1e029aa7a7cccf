// The model file commands on the real main window, with real files in a
// temporary program folder, questions answered by the test presenter and file
// dialogs answered by a runner that records what each dialog was shown with.

#include "app_fixture.h"

#include "app/file_commands.h"
#include "common/program_folder.h"
#include "imaging/bitmap_file.h"
#include "desktop/user_folders.h"
#include "desktop/wallpaper_changer.h"
#include "widgets/bmp_wnd.h"
#include "library/block_list.h"
#include "model/model.h"
#include "windows/box_links.h"
#include "windows/preference_values.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <deque>
#include <functional>

namespace {

const QString kModelFilter = QStringLiteral("Cubestacks Files (*.cst)|*.cst|All files (*.*)|*.*");
const QString kSaveFilter = QStringLiteral("Cubestacks Files (*.cst)|*.cst|Any file (*.*)|*.*");
const QString kBitmapFilter = QStringLiteral(
    "Bitmap Files (*.bmp)|*.bmp|DIB files (*.dib)|*.dib|PNG Files (*.png)|*.png|Any file (*.*)|*.*");
constexpr int kQuestion3 = MB_ICONQUESTION | MB_YESNOCANCEL;
constexpr int kQuestion2 = MB_ICONQUESTION | MB_YESNO;
constexpr int kErrorBox = MB_ICONHAND | MB_OK;

class FileCommandsTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        MakeForm();
        SetFileDialogRunner([this](TFileDialogSettings& dialog, QWidget* parent) {
            EXPECT_EQ(parent, form.get());
            dialogs.push_back(dialog);
            if (choices.empty()) {
                ADD_FAILURE() << "unexpected dialog " << dialog.Title.toStdString();
                return false;
            }
            const QString choice = choices.front();
            choices.pop_front();
            if (choice.isEmpty())
                return false;
            dialog.FileName = choice;
            return true;
        });
    }

    void TearDown() override {
        EXPECT_TRUE(choices.empty()) << "dialogs expected but not shown: " << choices.size();
        SetFileDialogRunner({});
        AppTest::TearDown();
    }

    TToolBoxState& toolBox() { return static_cast<TToolBoxState&>(form->ToolBox()); }
    QString models() const { return folder->file(QStringLiteral("Models/")); }
    QString images() const { return folder->file(QStringLiteral("Images/")); }

    // A block painted as the mouse would: the model becomes modified.
    void Paint(int col, int row, const std::string& name) {
        Select(name);
        ASSERT_TRUE(form->Model->ApplyTool(form->BaseBmp->Canvas, tlPlace, col, row));
        form->RefreshModelView();
    }

    // A model file written beside the form's model, with one stack.
    QString WriteModel(const QString& path, int col, int row, const std::vector<std::string>& names,
                       const std::string& text = std::string()) {
        TModel model(ModelContext());
        for (size_t level = 0; level < names.size(); ++level)
            model.SetBlockIndex(col, row, Index(names[level]), static_cast<int32_t>(level));
        model.TextOverlay.Text = text;
        model.SaveToFile(path);
        return path;
    }

    // The stack of a cell as the file holds it.
    std::vector<std::string> StackInFile(const QString& path, int col, int row) {
        TModel model(ModelContext());
        EXPECT_TRUE(model.LoadFromFile(path)) << path.toStdString();
        std::vector<std::string> names;
        for (int level = 0; level < model.Levels && model.GetBlockIndex(col, row, level) >= 0; ++level)
            names.push_back(model.GetBlockName(col, row, level));
        return names;
    }

    // Titles a modified model: saved as Models/<name>.cst, then one more block painted.
    QString TitledModifiedModel(const QString& name) {
        Paint(1, 1, "30H");
        const QString path = models() + name + QStringLiteral(".cst");
        form->Model->SaveToFile(path);
        UpdateModelName(*form, path);
        Paint(2, 1, "45F");
        return path;
    }

    std::vector<QString> ShownTexts() const {
        std::vector<QString> texts;
        for (const auto& shown : TestPresenter().shown)
            texts.push_back(shown.text);
        return texts;
    }

    std::vector<TFileDialogSettings> dialogs; // as each dialog was shown
    std::deque<QString> choices;              // the path each dialog returns; empty: cancelled
};

void ExpectDialog(const TFileDialogSettings& d, const QString& title, const QString& filter,
                  const QString& ext, const QString& dir, const QString& name, bool overwrite) {
    EXPECT_EQ(d.Title, title);
    EXPECT_EQ(d.Filter, filter);
    EXPECT_EQ(d.DefaultExt, ext);
    EXPECT_EQ(d.InitialDir, dir);
    EXPECT_EQ(d.FileName, name);
    EXPECT_EQ(d.OverwritePrompt, overwrite);
}

void ExpectOpenDialog(const TFileDialogSettings& d, const QString& dir) {
    ExpectDialog(d, QStringLiteral("Open Model File"), kModelFilter, QString(), dir, QString(), false);
    EXPECT_TRUE(d.MustExist);
}

void ExpectSaveDialog(const TFileDialogSettings& d, const QString& dir, const QString& name,
                      bool overwrite = true) {
    ExpectDialog(d, QStringLiteral("Save Model As"), kSaveFilter, QStringLiteral("cst"), dir, name,
                 overwrite);
    EXPECT_FALSE(d.MustExist);
}

TEST_F(FileCommandsTest, StartsUntitledWithTheDialogsInTheDataFolders) {
    EXPECT_EQ(ModelName(), QStringLiteral("(Untitled)"));
    EXPECT_TRUE(ModelFileName().isEmpty());
    EXPECT_EQ(toolBox().fileLabel, QStringLiteral("(Untitled)"));
    const TFileDialogs& d = FileDialogs();
    ExpectOpenDialog(d.OpenModelDialog, models());
    ExpectSaveDialog(d.SaveModelDialog, models(), QString());
    ExpectDialog(d.ExportBitmapDialog, QStringLiteral("Export As Bitmap"), kBitmapFilter,
                 QStringLiteral("bmp"), images(), QString(), true);
    ExpectDialog(d.ChooseModelDialog, QStringLiteral("Select Model File"), kModelFilter, QString(), models(),
                 QString(), false);
    EXPECT_TRUE(d.ChooseModelDialog.MustExist);
}

TEST_F(FileCommandsTest, DataFoldersAreFoundWhateverTheirLetterCase) {
    form.reset();
    QDir(folder->path()).rename(QStringLiteral("Models"), QStringLiteral("models"));
    MakeForm();
    EXPECT_EQ(FileDialogs().OpenModelDialog.InitialDir, folder->file(QStringLiteral("models/")));
    EXPECT_EQ(FileDialogs().SaveModelDialog.InitialDir, folder->file(QStringLiteral("models/")));
}

TEST_F(FileCommandsTest, DisplayNameDropsTheFolderAndTheLastExtensionOnly) {
    EXPECT_EQ(DisplayNameOf(QStringLiteral("/a/b/Castle.cst")), QStringLiteral("Castle"));
    EXPECT_EQ(DisplayNameOf(QStringLiteral("/a/b/Castle.v2.cst")), QStringLiteral("Castle.v2"));
    EXPECT_EQ(DisplayNameOf(QStringLiteral("/a/b.d/Castle")), QStringLiteral("Castle"));
    EXPECT_EQ(DisplayNameOf(QStringLiteral("Castle.")), QStringLiteral("Castle"));

    // A name without a dot shows whole, with the mark while modified.
    UpdateModelName(*form, models() + QStringLiteral("README"));
    EXPECT_EQ(ModelName(), QStringLiteral("README"));
    EXPECT_EQ(ModelFileName(), models() + QStringLiteral("README"));
    EXPECT_EQ(toolBox().fileLabel, QStringLiteral("README"));
    form->Model->Modified = true;
    UpdateModelName(*form, models() + QStringLiteral("README"));
    EXPECT_EQ(toolBox().fileLabel, QStringLiteral("README*"));
    UpdateModelName(*form, QString());
    EXPECT_EQ(ModelName(), QStringLiteral("(Untitled)"));
    EXPECT_TRUE(ModelFileName().isEmpty());
    EXPECT_EQ(toolBox().fileLabel, QStringLiteral("(Untitled)*"));
}

TEST_F(FileCommandsTest, QtFiltersTakeThePatternsAndKeepTheCaptions) {
    EXPECT_EQ(QtNameFilters(kModelFilter),
              QStringList({QStringLiteral("Cubestacks Files (*.cst)"), QStringLiteral("All files (*.*)")}));
    EXPECT_EQ(QtNameFilters(QStringLiteral("Pictures (*.bmp)|*.bmp;*.dib|Odd")),
              QStringList({QStringLiteral("Pictures (*.bmp *.dib)")}));
}

TEST_F(FileCommandsTest, NewOnAnUnmodifiedModelAsksNothingAndTakesTheAuthorDefaults) {
    const QString path = WriteModel(models() + QStringLiteral("Tower.cst"), 3, 2, {"30H", "44H"}, "Hello");
    choices = {path};
    ASSERT_TRUE(FileOpen(*form));
    ASSERT_EQ(Stack(3, 2), std::vector<std::string>({"30H", "44H"}));
    Preferences().AuthorName = QStringLiteral("Ann Smith");
    Preferences().AuthorCountry = QStringLiteral("NL");
    Preferences().AuthorAge = 31;
    const int sweeps = toolBox().sweeps;

    EXPECT_TRUE(FileNew(*form));
    EXPECT_TRUE(TestPresenter().shown.empty());
    EXPECT_EQ(dialogs.size(), 1u); // only the Open
    EXPECT_EQ(ModelName(), QStringLiteral("(Untitled)"));
    EXPECT_TRUE(ModelFileName().isEmpty());
    EXPECT_EQ(toolBox().fileLabel, QStringLiteral("(Untitled)"));
    EXPECT_TRUE(Stack(3, 2).empty());
    EXPECT_TRUE(form->Model->TextOverlay.Text.empty());
    EXPECT_FALSE(form->Model->Modified);
    EXPECT_EQ(form->Model->Author.AuthorName, "Ann Smith");
    EXPECT_EQ(form->Model->Author.Country, "NL");
    EXPECT_EQ(form->Model->Author.Age, 31);
    EXPECT_EQ(toolBox().sweeps, sweeps); // nothing written
    EXPECT_EQ(StackInFile(path, 3, 2), std::vector<std::string>({"30H", "44H"}));
}

TEST_F(FileCommandsTest, NewOnAModifiedModelFollowsTheAnswerToTheSaveQuestion) {
    const QString path = TitledModifiedModel(QStringLiteral("Garden"));
    const QByteArray saved = ReadAll(path);

    // Cancel: nothing changes, nothing is written.
    presenter().answers = {IDCANCEL};
    EXPECT_FALSE(FileNew(*form));
    ASSERT_EQ(ShownTexts(), std::vector<QString>({QStringLiteral("Save changes to model Garden?")}));
    EXPECT_EQ(TestPresenter().shown[0].style, kQuestion3);
    EXPECT_EQ(TestPresenter().shown[0].caption, QStringLiteral("Quadrantine Cubestacks"));
    EXPECT_EQ(Stack(2, 1), std::vector<std::string>({"45F"}));
    EXPECT_TRUE(form->Model->Modified);
    EXPECT_EQ(ModelFileName(), path);
    EXPECT_EQ(toolBox().fileLabel, QStringLiteral("Garden*"));
    EXPECT_EQ(ReadAll(path), saved);

    // No: the changes are dropped, the file stays as it was.
    presenter().Clear();
    presenter().answers = {IDNO};
    EXPECT_TRUE(FileNew(*form));
    EXPECT_EQ(presenter().shown.size(), 1u);
    EXPECT_TRUE(Stack(2, 1).empty());
    EXPECT_EQ(ModelName(), QStringLiteral("(Untitled)"));
    EXPECT_EQ(toolBox().fileLabel, QStringLiteral("(Untitled)"));
    EXPECT_EQ(ReadAll(path), saved);

    // Yes on a titled model: saved in place without a dialog, then cleared.
    choices = {path};
    ASSERT_TRUE(FileOpen(*form));
    Paint(5, 5, "14N");
    presenter().Clear();
    presenter().answers = {IDYES};
    const int sweeps = toolBox().sweeps;
    EXPECT_TRUE(FileNew(*form));
    EXPECT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(toolBox().sweeps, sweeps + 1);
    EXPECT_EQ(StackInFile(path, 5, 5), std::vector<std::string>({"14N"}));
    EXPECT_EQ(StackInFile(path, 1, 1), std::vector<std::string>({"30H"}));
    EXPECT_TRUE(Stack(5, 5).empty());
    EXPECT_EQ(ModelName(), QStringLiteral("(Untitled)"));

    // Yes on an untitled model: through Save As, then cleared.
    Paint(4, 4, "44H");
    presenter().Clear();
    presenter().answers = {IDYES};
    const QString chosen = models() + QStringLiteral("Saved first.cst");
    choices = {chosen};
    EXPECT_TRUE(FileNew(*form));
    ASSERT_EQ(ShownTexts(), std::vector<QString>({QStringLiteral("Save changes to model (Untitled)?")}));
    ASSERT_EQ(dialogs.size(), 2u);
    ExpectSaveDialog(dialogs[1], models(), QStringLiteral("Model01.cst"));
    EXPECT_EQ(StackInFile(chosen, 4, 4), std::vector<std::string>({"44H"}));
    EXPECT_TRUE(Stack(4, 4).empty());
    EXPECT_EQ(ModelName(), QStringLiteral("(Untitled)"));
    EXPECT_TRUE(ModelFileName().isEmpty());

    // Yes, then the Save As dialog cancelled: the changes are given up.
    Paint(6, 6, "44H");
    presenter().Clear();
    presenter().answers = {IDYES};
    choices = {QString()};
    EXPECT_TRUE(FileNew(*form));
    EXPECT_EQ(dialogs.size(), 3u);
    EXPECT_TRUE(Stack(6, 6).empty());
    EXPECT_FALSE(form->Model->Modified);
}

TEST_F(FileCommandsTest, OpenLoadsTheChosenFileAndRemembersItsFolder) {
    const QString elsewhere = folder->file(QStringLiteral("Elsewhere/"));
    QDir().mkpath(elsewhere);
    const QString path = WriteModel(elsewhere + QStringLiteral("Bridge.cst"), 7, 3, {"14E"});

    // Cancelled: nothing changes, editing stays on.
    choices = {QString()};
    EXPECT_FALSE(FileOpen(*form));
    EXPECT_TRUE(form->EditingEnabled);
    EXPECT_EQ(ModelName(), QStringLiteral("(Untitled)"));

    choices = {path};
    EXPECT_TRUE(FileOpen(*form));
    EXPECT_TRUE(presenter().shown.empty()); // unmodified: no question
    ASSERT_EQ(dialogs.size(), 2u);
    ExpectOpenDialog(dialogs[0], models());
    ExpectOpenDialog(dialogs[1], models());
    EXPECT_FALSE(form->EditingEnabled);
    EXPECT_EQ(Stack(7, 3), std::vector<std::string>({"14E"}));
    EXPECT_FALSE(form->Model->Modified);
    EXPECT_EQ(ModelFileName(), path);
    EXPECT_EQ(ModelName(), QStringLiteral("Bridge"));
    EXPECT_EQ(toolBox().fileLabel, QStringLiteral("Bridge"));
    EXPECT_EQ(FileDialogs().OpenModelDialog.InitialDir, elsewhere);
    EXPECT_EQ(FileDialogs().SaveModelDialog.InitialDir, elsewhere);
    EXPECT_EQ(FileDialogs().ExportBitmapDialog.InitialDir, images());

    // The next Open starts with an empty file name in the folder last used.
    form->EditingEnabled = true;
    choices = {path};
    EXPECT_TRUE(FileOpen(*form));
    ASSERT_EQ(dialogs.size(), 3u);
    ExpectOpenDialog(dialogs[2], elsewhere);
}

TEST_F(FileCommandsTest, OpenOnAModifiedModelFollowsTheAnswerToTheSaveQuestion) {
    const QString other = WriteModel(models() + QStringLiteral("Other.cst"), 0, 0, {"45F"});
    Paint(3, 3, "30H");

    // Cancel: no dialog, nothing changes.
    presenter().answers = {IDCANCEL};
    EXPECT_FALSE(FileOpen(*form));
    EXPECT_TRUE(dialogs.empty());
    EXPECT_EQ(ShownTexts(), std::vector<QString>({QStringLiteral("Save changes to model (Untitled)?")}));
    EXPECT_EQ(Stack(3, 3), std::vector<std::string>({"30H"}));
    EXPECT_TRUE(form->Model->Modified);

    // Yes on an untitled model: Save As, then the Open dialog in the folder saved to.
    const QString saveFolder = folder->file(QStringLiteral("Saves/"));
    QDir().mkpath(saveFolder);
    presenter().Clear();
    presenter().answers = {IDYES};
    choices = {saveFolder + QStringLiteral("Mine.cst"), other};
    EXPECT_TRUE(FileOpen(*form));
    ASSERT_EQ(dialogs.size(), 2u);
    ExpectSaveDialog(dialogs[0], models(), QStringLiteral("Model01.cst"));
    ExpectOpenDialog(dialogs[1], saveFolder);
    EXPECT_EQ(StackInFile(saveFolder + QStringLiteral("Mine.cst"), 3, 3), std::vector<std::string>({"30H"}));
    EXPECT_EQ(Stack(0, 0), std::vector<std::string>({"45F"}));
    EXPECT_TRUE(Stack(3, 3).empty());
    EXPECT_EQ(ModelFileName(), other);
    EXPECT_EQ(FileDialogs().SaveModelDialog.InitialDir, models());
    // The other answers go as for New.
}

TEST_F(FileCommandsTest, ADamagedFileLeavesTheModelAndItsNameAsTheyWere) {
    const QString path = TitledModifiedModel(QStringLiteral("Kept"));
    presenter().answers = {IDNO};

    // Not a model file: the loader's message, nothing else changes.
    folder->write(QStringLiteral("Models/Damaged.cst"), QByteArray("not a model at all"));
    choices = {models() + QStringLiteral("Damaged.cst")};
    EXPECT_FALSE(FileOpen(*form));
    EXPECT_FALSE(form->EditingEnabled); // the dialog was closed with a choice
    ASSERT_EQ(presenter().shown.size(), 2u);
    EXPECT_EQ(presenter().shown[1].text,
              QStringLiteral("File Damaged.cst has an invalid header or is not a model file"));
    EXPECT_EQ(ModelFileName(), path);
    EXPECT_EQ(ModelName(), QStringLiteral("Kept"));
    EXPECT_EQ(Stack(1, 1), std::vector<std::string>({"30H"}));
    EXPECT_EQ(Stack(2, 1), std::vector<std::string>({"45F"}));
    EXPECT_TRUE(form->Model->Modified);
    EXPECT_EQ(FileDialogs().SaveModelDialog.InitialDir, models());

    // A model file that ends early: an error box, the model as it was.
    QByteArray cut = ReadAll(WriteModel(models() + QStringLiteral("Whole.cst"), 0, 0, {"30H"}));
    cut.chop(12);
    folder->write(QStringLiteral("Models/Cut.cst"), cut);
    presenter().Clear();
    presenter().answers = {IDNO};
    choices = {models() + QStringLiteral("Cut.cst")};
    EXPECT_FALSE(FileOpen(*form));
    ASSERT_EQ(presenter().shown.size(), 2u);
    EXPECT_EQ(presenter().shown[1].style, kErrorBox);
    EXPECT_FALSE(presenter().shown[1].text.isEmpty());
    EXPECT_EQ(ModelName(), QStringLiteral("Kept"));
    EXPECT_EQ(Stack(2, 1), std::vector<std::string>({"45F"}));
    EXPECT_TRUE(Stack(0, 0).empty());

    // A file gone between choosing and loading: said so, not a silent nothing.
    presenter().Clear();
    presenter().answers = {IDNO};
    choices = {models() + QStringLiteral("Gone.cst")};
    EXPECT_FALSE(FileOpen(*form));
    ASSERT_EQ(presenter().shown.size(), 2u);
    EXPECT_EQ(presenter().shown[1].style, kErrorBox);
    EXPECT_TRUE(presenter().shown[1].text.contains(QStringLiteral("Gone.cst")));
    EXPECT_EQ(ModelFileName(), path);
}

TEST_F(FileCommandsTest, SaveWritesInPlaceOrGoesThroughSaveAsForAnUntitledModel) {
    // Untitled: Save shows Save As.
    Paint(3, 2, "30H");
    EXPECT_EQ(toolBox().fileLabel, QStringLiteral("(Untitled)*"));
    const QString first = models() + QStringLiteral("Model01.cst");
    choices = {first};
    EXPECT_TRUE(FileSave(*form));
    ASSERT_EQ(dialogs.size(), 1u);
    ExpectSaveDialog(dialogs[0], models(), QStringLiteral("Model01.cst"));
    EXPECT_TRUE(presenter().shown.empty());
    EXPECT_FALSE(form->Model->Modified);
    EXPECT_EQ(toolBox().fileLabel, QStringLiteral("Model01"));
    EXPECT_EQ(toolBox().sweeps, 1);
    EXPECT_EQ(ModelFileName(), first);
    EXPECT_EQ(StackInFile(first, 3, 2), std::vector<std::string>({"30H"}));

    // Titled: no dialog, the same file rewritten, the mark gone.
    Paint(3, 2, "44H");
    EXPECT_EQ(toolBox().fileLabel, QStringLiteral("Model01*"));
    EXPECT_TRUE(FileSave(*form));
    EXPECT_EQ(dialogs.size(), 1u);
    EXPECT_FALSE(form->Model->Modified);
    EXPECT_EQ(toolBox().fileLabel, QStringLiteral("Model01"));
    EXPECT_EQ(toolBox().sweeps, 2);
    EXPECT_EQ(ModelFileName(), first);
    EXPECT_EQ(StackInFile(first, 3, 2), std::vector<std::string>({"30H", "44H"}));

    // Save As cancelled: false, nothing written, no sweep.
    Paint(0, 0, "45F");
    const QByteArray before = ReadAll(first);
    choices = {QString()};
    EXPECT_FALSE(FileSaveAs(*form));
    EXPECT_EQ(ReadAll(first), before);
    EXPECT_EQ(toolBox().sweeps, 2);
    EXPECT_TRUE(form->Model->Modified);
    EXPECT_EQ(ModelFileName(), first);
}

TEST_F(FileCommandsTest, SaveAsProposesANameAndTheDialogsShareTheLastFolder) {
    const QString a = folder->file(QStringLiteral("A/"));
    const QString b = folder->file(QStringLiteral("B/"));
    QDir().mkpath(a);
    QDir().mkpath(b);
    Paint(1, 1, "30H");

    choices = {a + QStringLiteral("Ship.cst")};
    EXPECT_TRUE(FileSaveAs(*form));
    ExpectSaveDialog(dialogs.back(), models(), QStringLiteral("Model01.cst"));
    EXPECT_EQ(FileDialogs().OpenModelDialog.InitialDir, a);
    EXPECT_EQ(FileDialogs().SaveModelDialog.InitialDir, a);
    EXPECT_EQ(ModelName(), QStringLiteral("Ship"));

    // A titled model proposes its own file name, in the folder last used.
    choices = {b + QStringLiteral("Ship copy.cst")};
    EXPECT_TRUE(FileSaveAs(*form));
    ExpectSaveDialog(dialogs.back(), a, QStringLiteral("Ship.cst"));
    EXPECT_EQ(ModelFileName(), b + QStringLiteral("Ship copy.cst"));
    EXPECT_EQ(FileDialogs().OpenModelDialog.InitialDir, b);
    EXPECT_EQ(FileDialogs().SaveModelDialog.InitialDir, b);
    EXPECT_EQ(StackInFile(a + QStringLiteral("Ship.cst"), 1, 1), std::vector<std::string>({"30H"}));
    EXPECT_EQ(StackInFile(b + QStringLiteral("Ship copy.cst"), 1, 1), std::vector<std::string>({"30H"}));

    // Open in another folder moves both again.
    choices = {a + QStringLiteral("Ship.cst")};
    EXPECT_TRUE(FileOpen(*form));
    ExpectOpenDialog(dialogs.back(), b);
    EXPECT_EQ(FileDialogs().SaveModelDialog.InitialDir, a);
    choices = {a + QStringLiteral("Ship.cst")};
    EXPECT_TRUE(FileSaveAs(*form));
    ExpectSaveDialog(dialogs.back(), a, QStringLiteral("Ship.cst"));
    EXPECT_EQ(FileDialogs().ExportBitmapDialog.InitialDir, images());
}

TEST_F(FileCommandsTest, AFileNamedUntitledCountsAsUntitled) {
    const QString path = WriteModel(models() + QStringLiteral("(Untitled).cst"), 2, 2, {"30V"});
    choices = {path};
    ASSERT_TRUE(FileOpen(*form));
    EXPECT_EQ(ModelName(), QStringLiteral("(Untitled)"));
    EXPECT_EQ(ModelFileName(), path);
    Paint(5, 5, "45F");

    // Revert does nothing and asks nothing.
    EXPECT_FALSE(FileRevert(*form));
    EXPECT_TRUE(presenter().shown.empty());
    EXPECT_EQ(Stack(5, 5), std::vector<std::string>({"45F"}));

    // Save shows Save As with the untitled proposal.
    const QByteArray before = ReadAll(path);
    choices = {QString()};
    EXPECT_FALSE(FileSave(*form));
    ExpectSaveDialog(dialogs.back(), models(), QStringLiteral("Model01.cst"));
    EXPECT_EQ(ReadAll(path), before);

    // Export proposes "(Untitled).bmp" too.
    choices = {QString()};
    EXPECT_FALSE(FileExportBitmap(*form));
    EXPECT_EQ(dialogs.back().FileName, QStringLiteral("(Untitled).bmp"));
}

TEST_F(FileCommandsTest, RevertOnlyForATitledModifiedModelAndOnlyOnYes) {
    // Untitled and modified: nothing asked.
    Paint(0, 0, "30H");
    EXPECT_FALSE(FileRevert(*form));
    EXPECT_TRUE(presenter().shown.empty());

    // Titled and unmodified: nothing asked.
    const QString path = models() + QStringLiteral("Arch.cst");
    choices = {path};
    ASSERT_TRUE(FileSaveAs(*form));
    EXPECT_FALSE(FileRevert(*form));
    EXPECT_TRUE(presenter().shown.empty());

    // No: nothing changes.
    Paint(0, 0, "44H");
    presenter().answers = {IDNO};
    EXPECT_FALSE(FileRevert(*form));
    ASSERT_EQ(ShownTexts(),
              std::vector<QString>({QStringLiteral("Revert model Arch to last saved version?")}));
    EXPECT_EQ(presenter().shown[0].style, kQuestion2);
    EXPECT_EQ(Stack(0, 0), std::vector<std::string>({"30H", "44H"}));
    EXPECT_TRUE(form->Model->Modified);

    // Yes: the file as it is on disk now.
    WriteModel(path, 9, 9, {"14S"}, "On disk");
    presenter().Clear();
    presenter().answers = {IDYES};
    EXPECT_TRUE(FileRevert(*form));
    EXPECT_EQ(presenter().shown.size(), 1u);
    EXPECT_TRUE(Stack(0, 0).empty());
    EXPECT_EQ(Stack(9, 9), std::vector<std::string>({"14S"}));
    EXPECT_EQ(form->Model->TextOverlay.Text, "On disk");
    EXPECT_FALSE(form->Model->Modified);
    EXPECT_EQ(ModelFileName(), path);
    EXPECT_EQ(toolBox().fileLabel, QStringLiteral("Arch"));

    // The file gone: said so, the model and its name kept.
    Paint(1, 0, "30H");
    QFile::remove(path);
    presenter().Clear();
    presenter().answers = {IDYES};
    EXPECT_FALSE(FileRevert(*form));
    ASSERT_EQ(presenter().shown.size(), 2u);
    EXPECT_EQ(presenter().shown[1].style, kErrorBox);
    EXPECT_TRUE(presenter().shown[1].text.contains(QStringLiteral("Arch.cst")));
    EXPECT_EQ(Stack(1, 0), std::vector<std::string>({"30H"}));
    EXPECT_EQ(ModelFileName(), path);
}

TEST_F(FileCommandsTest, ATruncatedModelAsksBeforeEverySaveUntilOneSucceeds) {
    const QString path = TitledModifiedModel(QStringLiteral("Wide"));
    const QByteArray before = ReadAll(path);
    form->Model->Truncated = true;
    const QString warning = QStringLiteral("Saving this model will truncate the model file on disk forever. "
                                           "Are you sure you want to overwrite it?");

    presenter().answers = {IDNO};
    EXPECT_FALSE(FileSave(*form));
    ASSERT_EQ(ShownTexts(), std::vector<QString>({warning}));
    EXPECT_EQ(presenter().shown[0].style, kQuestion2);
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_TRUE(form->Model->Truncated);
    EXPECT_TRUE(form->Model->Modified);
    EXPECT_EQ(toolBox().sweeps, 0);

    // Save As asks after the dialog; No writes nothing at the chosen place.
    presenter().Clear();
    presenter().answers = {IDNO};
    choices = {models() + QStringLiteral("Narrow.cst")};
    EXPECT_FALSE(FileSaveAs(*form));
    EXPECT_EQ(ShownTexts(), std::vector<QString>({warning}));
    EXPECT_FALSE(QFileInfo::exists(models() + QStringLiteral("Narrow.cst")));
    EXPECT_EQ(ModelFileName(), path);

    presenter().Clear();
    presenter().answers = {IDYES};
    EXPECT_TRUE(FileSave(*form));
    EXPECT_EQ(ShownTexts(), std::vector<QString>({warning}));
    EXPECT_NE(ReadAll(path), before);
    EXPECT_FALSE(form->Model->Truncated);
    EXPECT_FALSE(form->Model->Modified);

    // Once saved, no more warnings.
    presenter().Clear();
    Paint(7, 7, "30H");
    EXPECT_TRUE(FileSave(*form));
    EXPECT_TRUE(presenter().shown.empty());
}

TEST_F(FileCommandsTest, ClosingAsksToSaveAModifiedModel) {
    EXPECT_TRUE(FileQueryClose(*form)); // unmodified
    EXPECT_TRUE(presenter().shown.empty());
    const QString path = TitledModifiedModel(QStringLiteral("Closing"));
    const QByteArray before = ReadAll(path);

    // Cancel through the real window: it stays open with the changes.
    presenter().answers = {IDCANCEL};
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(ShownTexts(), std::vector<QString>({QStringLiteral("Save changes to model Closing?")}));
    EXPECT_TRUE(form->Model->Modified);
    EXPECT_EQ(ReadAll(path), before);

    // Yes: saved in place, then closed.
    presenter().Clear();
    presenter().answers = {IDYES};
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(StackInFile(path, 2, 1), std::vector<std::string>({"45F"}));
}

TEST_F(FileCommandsTest, WithMessagesOffEveryQuestionIsYesAndNothingAsksToOverwrite) {
    SetMessagesEnabled(false);
    Paint(2, 2, "30H");

    // Closing an untitled model shows Save As; cancelling it still closes.
    choices = {QString()};
    EXPECT_TRUE(FileQueryClose(*form));
    ASSERT_EQ(dialogs.size(), 1u);
    ExpectSaveDialog(dialogs[0], models(), QStringLiteral("Model01.cst"), false);

    // Export asks for no overwrite either.
    choices = {QString()};
    EXPECT_FALSE(FileExportBitmap(*form));
    EXPECT_FALSE(dialogs.back().OverwritePrompt);

    // A truncated model is saved without the warning.
    const QString path = models() + QStringLiteral("Quiet.cst");
    form->Model->Truncated = true;
    choices = {path};
    EXPECT_TRUE(FileSave(*form));
    EXPECT_FALSE(form->Model->Truncated);

    // Revert reverts at once; New saves first.
    Paint(3, 3, "44H");
    EXPECT_TRUE(FileRevert(*form));
    EXPECT_TRUE(Stack(3, 3).empty());
    Paint(4, 4, "45F");
    EXPECT_TRUE(FileNew(*form));
    EXPECT_EQ(StackInFile(path, 4, 4), std::vector<std::string>({"45F"}));
    EXPECT_TRUE(presenter().shown.empty());

    // Back on, the dialogs ask again.
    SetMessagesEnabled(true);
    choices = {QString(), QString()};
    FileSaveAs(*form);
    EXPECT_TRUE(dialogs.back().OverwritePrompt);
    FileExportBitmap(*form);
    EXPECT_TRUE(dialogs.back().OverwritePrompt);
}

// Failed writes, the earlier file kept and the program going on, are the
// fault injection tests' business; here a failed Save As leaves the dialogs'
// folder where it was.
TEST_F(FileCommandsTest, AFailedSaveAsLeavesTheDialogsFolder) {
    TitledModifiedModel(QStringLiteral("Safe"));
    const QString dir = folder->file(QStringLiteral("Elsewhere/Folder.cst"));
    QDir().mkpath(dir);
    choices = {dir};
    EXPECT_FALSE(FileSaveAs(*form));
    ASSERT_EQ(presenter().shown.size(), 1u);
    EXPECT_EQ(presenter().shown[0].style, kErrorBox);
    EXPECT_EQ(FileDialogs().OpenModelDialog.InitialDir, models());
    EXPECT_EQ(FileDialogs().SaveModelDialog.InitialDir, models());
}

TEST_F(FileCommandsTest, ExportWritesTheModelImageAsA24BitBitmap) {
    Paint(0, 0, "30H");
    Paint(5, 3, "14W");
    Paint(5, 3, "45F");

    // Cancelled: nothing written.
    choices = {QString()};
    EXPECT_FALSE(FileExportBitmap(*form));
    ASSERT_EQ(dialogs.size(), 1u);
    ExpectDialog(dialogs[0], QStringLiteral("Export As Bitmap"), kBitmapFilter, QStringLiteral("bmp"),
                 images(), QStringLiteral("(Untitled).bmp"), true);
    EXPECT_EQ(toolBox().sweeps, 0);
    EXPECT_TRUE(QDir(images()).isEmpty());

    const QString out = folder->file(QStringLiteral("Out/"));
    QDir().mkpath(out);
    const QString file = out + QStringLiteral("Picture.bmp");
    choices = {file};
    EXPECT_TRUE(FileExportBitmap(*form));
    EXPECT_EQ(toolBox().sweeps, 1);
    const QByteArray bytes = ReadAll(file);
    ASSERT_GT(bytes.size(), 54);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(static_cast<uint8_t>(bytes[28]), 24); // bits per pixel
    const QImage& shown = form->BaseBmp->Bitmap;
    EXPECT_EQ(bytes.size(), 54 + shown.height() * ((shown.width() * 3 + 3) / 4 * 4));
    const QImage back = LoadBitmapFile(file);
    EXPECT_EQ(back, shown.convertToFormat(QImage::Format_RGB32));
    EXPECT_NE(back.pixel(5 * 32 + 16, 3 * 32 + 16), qRgb(0, 0, 0)); // the blocks are in it
    EXPECT_EQ(FileDialogs().ExportBitmapDialog.InitialDir, out);
    EXPECT_EQ(FileDialogs().SaveModelDialog.InitialDir, models());

    // A titled model proposes its name.
    choices = {models() + QStringLiteral("Scene.cst"), QString()};
    ASSERT_TRUE(FileSaveAs(*form));
    EXPECT_FALSE(FileExportBitmap(*form));
    EXPECT_EQ(dialogs.back().FileName, QStringLiteral("Scene.bmp"));
    EXPECT_EQ(dialogs.back().InitialDir, out);
}

TEST_F(FileCommandsTest, ExportWritesAPngByTheNamesExtensionOrElseTheChosenFilter) {
    Paint(5, 3, "14W");
    const QString out = folder->file(QStringLiteral("Out/"));
    QDir().mkpath(out);
    struct Case {
        const char* name;
        int filter; // 0 bitmap, 1 DIB, 2 PNG, 3 any file
        bool png;
    };
    for (const Case& c : {Case{"a.png", 0, true}, Case{"b", 2, true}, Case{"c.PNG", 3, true},
                          Case{"d.bmp", 2, false}, Case{"e.dib", 2, false}, Case{"f.xyz", 3, false}}) {
        SetFileDialogRunner([&](TFileDialogSettings& dialog, QWidget*) {
            dialog.FileName = out + QLatin1String(c.name);
            dialog.FilterIndex = c.filter;
            return true;
        });
        ASSERT_TRUE(FileExportBitmap(*form)) << c.name;
        const QByteArray bytes = ReadAll(out + QLatin1String(c.name));
        EXPECT_EQ(bytes.startsWith("\x89PNG\r\n\x1a\n"), c.png) << c.name;
        EXPECT_EQ(bytes.startsWith("BM"), !c.png) << c.name;
    }
    EXPECT_EQ(QImage(out + QStringLiteral("a.png")).convertToFormat(QImage::Format_RGB32),
              form->BaseBmp->Bitmap.convertToFormat(QImage::Format_RGB32));
}

TEST_F(FileCommandsTest, InstalledSaveAsAndExportStartInTheUsersOwnFolder) {
    // The program folder read-only, as installed system-wide.
    SetFolderWritableCheck([this](const QString& dir) { return !dir.startsWith(folder->path()); });
    const QString own = UserCubestacksFolder();
    QDir(own).removeRecursively();
    choices = {QString(), QString()};
    EXPECT_FALSE(FileSaveAs(*form));
    EXPECT_FALSE(FileExportBitmap(*form));
    SetFolderWritableCheck({});
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[0].InitialDir, own);
    EXPECT_EQ(dialogs[1].InitialDir, own);
    EXPECT_TRUE(QDir(own).exists());
    EXPECT_EQ(FileDialogs().OpenModelDialog.InitialDir, models()); // reading stays with the program
    QDir(own).removeRecursively();
}

// Answers like a desktop of the given name, with every program present, and
// records the commands run.
class FakeDesktop : public DesktopCommands {
public:
    explicit FakeDesktop(QString desktop) : m_desktop(std::move(desktop)) {}
    int Run(const QString& program, const QStringList& args, QString*) override {
        runs.push_back(program + ' ' + args.join(' '));
        return 0;
    }
    QString Env(const QString& name) override {
        return name == QLatin1String("XDG_CURRENT_DESKTOP") ? m_desktop : QString();
    }
    bool HasProgram(const QString&) override { return true; }
    bool WriteDesktopValue(const QString& name, const QString& value) override {
        runs.push_back(QStringLiteral("reg ") + name + '=' + value);
        return true;
    }
    bool SetDeskWallpaper(const QString& path) override {
        runs.push_back(QStringLiteral("spi ") + path);
        return true;
    }
    std::vector<QString> runs;

private:
    QString m_desktop;
};

class WallpaperCommandTest : public FileCommandsTest {
protected:
    void SetUp() override {
        FileCommandsTest::SetUp();
        path = WallpaperBitmapPath();
        // Never the user's own data folder: the test program points it elsewhere.
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("XDG_DATA_HOME"));
        ASSERT_TRUE(path.startsWith(qEnvironmentVariable("XDG_DATA_HOME") + '/')) << path.toStdString();
        EXPECT_EQ(QFileInfo(path).fileName(), QStringLiteral("Quadrantine Cubestacks.bmp"));
        QFile::remove(path);
    }
    void TearDown() override {
        form->WallPaperChanger1->SetDesktopCommands(nullptr);
        QFileInfo(path).isDir() ? QDir(path).removeRecursively() : QFile::remove(path);
        FileCommandsTest::TearDown();
    }
    QString path;
};

TEST_F(WallpaperCommandTest, WritesTheModelImageAndHandsItToTheDesktop) {
    Paint(4, 4, "14S");
    FakeDesktop desktop(QStringLiteral("GNOME"));
    form->WallPaperChanger1->SetDesktopCommands(&desktop);
    int sweepsAtChange = -1;
    form->WallPaperChanger1->OnBeginChange = [&](TWallPaperChanger*) { sweepsAtChange = toolBox().sweeps; };

    EXPECT_TRUE(FileSetWallpaper(*form));
    EXPECT_TRUE(presenter().shown.empty());
    EXPECT_EQ(LoadBitmapFile(path), form->BaseBmp->Bitmap.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(static_cast<uint8_t>(ReadAll(path)[28]), 24);
    EXPECT_EQ(form->WallPaperChanger1->Filename(), path);
    EXPECT_EQ(sweepsAtChange, 1); // written and swept before the change
    EXPECT_FALSE(form->WallPaperChanger1->Tiled());
#ifdef Q_OS_WIN
    const QString expected = QStringLiteral("spi ") + path;
#else
    const QString expected = QStringLiteral("gsettings set org.gnome.desktop.background picture-uri '%1'")
                                 .arg(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded));
#endif
    EXPECT_NE(std::find(desktop.runs.begin(), desktop.runs.end(), expected), desktop.runs.end());

    // Again: the earlier picture is replaced without a question.
    const QImage first = LoadBitmapFile(path);
    Paint(0, 0, "30H");
    EXPECT_TRUE(FileSetWallpaper(*form));
    EXPECT_TRUE(presenter().shown.empty());
    const QImage second = LoadBitmapFile(path);
    EXPECT_NE(second, first);
    EXPECT_EQ(second, form->BaseBmp->Bitmap.convertToFormat(QImage::Format_RGB32));
}

#ifndef Q_OS_WIN
TEST_F(WallpaperCommandTest, WithoutADesktopTheMessageSaysWhereThePictureIs) {
    FakeDesktop desktop{QString()};
    form->WallPaperChanger1->SetDesktopCommands(&desktop);
    SetMessagesEnabled(false); // no question: shown whatever the switch says

    EXPECT_FALSE(FileSetWallpaper(*form));
    EXPECT_TRUE(QFileInfo(path).isFile());
    EXPECT_TRUE(desktop.runs.empty());
    ASSERT_EQ(presenter().shown.size(), 1u);
    EXPECT_EQ(presenter().shown[0].style, MB_ICONINFORMATION | MB_OK);
    EXPECT_TRUE(presenter().shown[0].text.contains(QDir::toNativeSeparators(path)))
        << presenter().shown[0].text.toStdString();
    EXPECT_EQ(toolBox().sweeps, 1);
}
#endif

// The program's own dialog, on real widgets: the settings reach it, and what
// the user types there comes back, the default extension added.
class RealFileDialogTest : public FileCommandsTest {
protected:
    // Runs action while the next modal dialog is open, then closes it by Enter.
    void WhenDialogOpens(std::function<void(QFileDialog&)> action) {
        QTimer::singleShot(0, [this, action] { Poll(action, 200); });
    }

private:
    void Poll(std::function<void(QFileDialog&)> action, int triesLeft) {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (triesLeft > 0)
                QTimer::singleShot(10, [this, action, triesLeft] { Poll(action, triesLeft - 1); });
            else
                ADD_FAILURE() << "no file dialog opened";
            return;
        }
        action(*dialog);
    }
};

TEST_F(RealFileDialogTest, SaveAsShowsTheSettingsAndAddsTheDefaultExtension) {
    SetFileDialogRunner({});
    Paint(1, 1, "30H");
    bool seen = false;
    WhenDialogOpens([&](QFileDialog& dialog) {
        seen = true;
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Save Model As"));
        EXPECT_EQ(dialog.nameFilters(),
                  QStringList({QStringLiteral("Cubestacks Files (*.cst)"), QStringLiteral("Any file (*.*)")}));
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("cst"));
        EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(QDir(dialog.directory()).absolutePath() + '/', models());
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->text(), QStringLiteral("Model01.cst"));
        name->clear();
        QTest::keyClicks(name, QStringLiteral("Typed"));
        QTest::keyClick(name, Qt::Key_Return);
        if (dialog.isVisible())
            dialog.reject();
    });
    EXPECT_TRUE(FileSaveAs(*form));
    EXPECT_TRUE(seen);
    EXPECT_EQ(ModelFileName(), models() + QStringLiteral("Typed.cst"));
    EXPECT_EQ(StackInFile(models() + QStringLiteral("Typed.cst"), 1, 1), std::vector<std::string>({"30H"}));
}

TEST_F(RealFileDialogTest, ExportTakesTheExtensionOfTheFilterChosen) {
    SetFileDialogRunner({});
    WhenDialogOpens([&](QFileDialog& dialog) {
        auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_TRUE(types && name);
        QTest::keyClick(types, Qt::Key_Down);
        QTest::keyClick(types, Qt::Key_Down);
        EXPECT_EQ(dialog.selectedNameFilter(), QStringLiteral("PNG Files (*.png)"));
        name->clear();
        QTest::keyClicks(name, QStringLiteral("Typed"));
        QTest::keyClick(name, Qt::Key_Return);
        if (dialog.isVisible())
            dialog.reject();
    });
    EXPECT_TRUE(FileExportBitmap(*form));
    EXPECT_TRUE(ReadAll(images() + QStringLiteral("Typed.png")).startsWith("\x89PNG"));
}

TEST_F(RealFileDialogTest, OpenWantsAnExistingFileAndCancelChangesNothing) {
    SetFileDialogRunner({});
    WriteModel(models() + QStringLiteral("Tower.cst"), 3, 2, {"30H"}, "");
    QFile readme(models() + QStringLiteral("README"));
    ASSERT_TRUE(readme.open(QIODevice::WriteOnly));
    readme.close();
    bool seen = false;
    WhenDialogOpens([&](QFileDialog& dialog) {
        seen = true;
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Open Model File"));
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
        EXPECT_TRUE(dialog.defaultSuffix().isEmpty());
        // "All files (*.*)" lists a file without a dot too, as on Windows.
        auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
        ASSERT_TRUE(types && list);
        const auto listed = [list](const QString& name) {
            const QAbstractItemModel* model = list->model();
            for (int row = 0; row < model->rowCount(list->rootIndex()); ++row)
                if (model->index(row, 0, list->rootIndex()).data().toString() == name)
                    return true;
            return false;
        };
        EXPECT_TRUE(QTest::qWaitFor([&] { return listed(QStringLiteral("Tower.cst")); }, 5000));
        EXPECT_FALSE(listed(QStringLiteral("README")));
        QTest::keyClick(types, Qt::Key_Down);
        EXPECT_EQ(types->currentText(), QStringLiteral("All files (*.*)"));
        EXPECT_TRUE(QTest::qWaitFor([&] { return listed(QStringLiteral("README")); }, 5000));
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_FALSE(FileOpen(*form));
    EXPECT_TRUE(seen);
    EXPECT_TRUE(form->EditingEnabled);
    EXPECT_EQ(ModelName(), QStringLiteral("(Untitled)"));
}

} // namespace
