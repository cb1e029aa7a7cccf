// The model file commands on the real main window, with real files; questions
// answered by the test presenter, file dialogs by a runner that records them.

#include "app_fixture.h"

#include "app/file_commands.h"
#include "desktop/user_folders.h"
#include "desktop/wallpaper_changer.h"
#include "imaging/bitmap_file.h"
#include "library/block_list.h"
#include "model/model.h"
#include "widgets/bmp_wnd.h"
#include "windows/box_links.h"
#include "windows/preference_values.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>

namespace {

using Names = std::vector<std::string>;
QString S(const char* text) {
    return QString::fromUtf8(text);
}
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
            dialog.FileName = choices.front();
            choices.pop_front();
            return !dialog.FileName.isEmpty();
        });
    }
    void TearDown() override {
        EXPECT_TRUE(choices.empty()) << "dialogs expected but not shown: " << choices.size();
        SetFileDialogRunner({});
        AppTest::TearDown();
    }
    TToolBoxState& toolBox() { return static_cast<TToolBoxState&>(form->ToolBox()); }
    QString models() const { return folder->file(S("Models/")); }
    QString Dir(const char* name) const {
        const QString dir = folder->file(S(name) + '/');
        QDir().mkpath(dir);
        return dir;
    }
    void Paint(int col, int row, const std::string& name) {
        Select(name);
        ASSERT_TRUE(form->Model->ApplyTool(form->BaseBmp->Canvas, tlPlace, col, row));
        form->RefreshModelView();
    }
    QString WriteModel(const QString& path, int col, int row, const Names& names) {
        TModel model(ModelContext());
        for (size_t level = 0; level < names.size(); ++level)
            model.SetBlockIndex(col, row, Index(names[level]), static_cast<int32_t>(level));
        model.SaveToFile(path);
        return path;
    }
    Names StackInFile(const QString& path, int col, int row) {
        TModel model(ModelContext());
        EXPECT_TRUE(model.LoadFromFile(path)) << path.toStdString();
        Names names;
        for (int level = 0; level < model.Levels && model.GetBlockIndex(col, row, level) >= 0; ++level)
            names.push_back(model.GetBlockName(col, row, level));
        return names;
    }
    // Saved as Models/<name>.cst, then one more block painted.
    QString TitledModifiedModel(const char* name) {
        Paint(1, 1, "30H");
        const QString path = models() + S(name) + S(".cst");
        form->Model->SaveToFile(path);
        UpdateModelName(*form, path);
        Paint(2, 1, "45F");
        return path;
    }
    void Answer(std::vector<int> answers) {
        presenter().Clear();
        presenter().answers = std::move(answers);
    }
    std::vector<QString> Texts() const {
        std::vector<QString> texts;
        for (const auto& shown : TestPresenter().shown)
            texts.push_back(shown.text);
        return texts;
    }
    void ExpectSaveDialog(const TFileDialogSettings& d, const QString& dir, const QString& name) {
        EXPECT_EQ(d.Title, S("Save Model As"));
        EXPECT_EQ(d.InitialDir, dir);
        EXPECT_EQ(d.FileName, name);
    }

    std::vector<TFileDialogSettings> dialogs; // as each dialog was shown
    std::deque<QString> choices;              // what each dialog returns; empty: cancelled
};

TEST_F(FileCommandsTest, DialogsNamesAndFilters) {
    const auto shown = [this](const TFileDialogSettings& d) {
        return QStringList{d.Title,
                           d.Filter,
                           d.DefaultExt,
                           QDir(folder->path()).relativeFilePath(d.InitialDir),
                           d.FileName,
                           QString::number(d.MustExist),
                           QString::number(d.OverwritePrompt)}
            .join(';');
    };
    const char* cst = "Cubestacks Files (*.cst)|*.cst|All files (*.*)|*.*";
    const TFileDialogs& d = FileDialogs();
    EXPECT_EQ(shown(d.OpenModelDialog), S("Open Model File;%1;;Models;;1;0").arg(S(cst)));
    EXPECT_EQ(shown(d.ChooseModelDialog), S("Select Model File;%1;;Models;;1;0").arg(S(cst)));
    EXPECT_EQ(shown(d.SaveModelDialog),
              S("Save Model As;Cubestacks Files (*.cst)|*.cst|Any file (*.*)|*.*;cst;Models;;0;1"));
    EXPECT_EQ(shown(d.ExportBitmapDialog),
              S("Export As Bitmap;Bitmap Files (*.bmp)|*.bmp|DIB files (*.dib)|*.dib|"
                "PNG Files (*.png)|*.png|Any file (*.*)|*.*;bmp;Images;;0;1"));
    EXPECT_EQ(QtNameFilters(S(cst)), QStringList({S("Cubestacks Files (*.cst)"), S("All files (*.*)")}));
    EXPECT_EQ(QtNameFilters(S("Pictures (*.bmp)|*.bmp;*.dib|Odd")),
              QStringList({S("Pictures (*.bmp *.dib)")}));

    EXPECT_EQ(toolBox().fileLabel, S("(Untitled)"));
    for (const auto& [path, name] :
         std::vector<std::pair<const char*, const char*>>{{"/a/b/Castle.cst", "Castle"},
                                                          {"/a/Castle.v2.cst", "Castle.v2"},
                                                          {"/a/b.d/Castle", "Castle"},
                                                          {"Castle.", "Castle"}})
        EXPECT_EQ(DisplayNameOf(S(path)), S(name)) << path;
    form->Model->Modified = true;
    UpdateModelName(*form, models() + S("README"));
    EXPECT_EQ(ModelFileName(), models() + S("README"));
    EXPECT_EQ(toolBox().fileLabel, S("README*"));
    UpdateModelName(*form, QString());
    EXPECT_EQ(ModelName(), S("(Untitled)"));
    EXPECT_TRUE(ModelFileName().isEmpty());
    EXPECT_EQ(toolBox().fileLabel, S("(Untitled)*"));
}

TEST_F(FileCommandsTest, NewAsksToSaveAModifiedModelAndFollowsTheAnswer) {
    // Unmodified: no question, nothing written, the author defaults taken.
    const QString tower = WriteModel(models() + S("Tower.cst"), 3, 2, {"30H", "44H"});
    choices = {tower};
    ASSERT_TRUE(FileOpen(*form));
    Preferences().AuthorName = S("Ann Smith");
    EXPECT_TRUE(FileNew(*form));
    EXPECT_TRUE(presenter().shown.empty());
    EXPECT_TRUE(Stack(3, 2).empty());
    EXPECT_EQ(form->Model->Author.AuthorName, "Ann Smith");
    EXPECT_EQ(toolBox().sweeps, 0);
    EXPECT_TRUE(ModelFileName().isEmpty());

    const QString path = TitledModifiedModel("Garden");
    const QByteArray saved = ReadAll(path);
    Answer({IDCANCEL});
    EXPECT_FALSE(FileNew(*form));
    ASSERT_EQ(Texts(), std::vector<QString>({S("Save changes to model Garden?")}));
    EXPECT_EQ(Stack(2, 1), Names({"45F"}));
    EXPECT_EQ(ReadAll(path), saved);

    Answer({IDNO});
    EXPECT_TRUE(FileNew(*form));
    EXPECT_TRUE(Stack(2, 1).empty());
    EXPECT_EQ(ReadAll(path), saved);

    // Yes, titled: saved in place without a dialog.
    choices = {path};
    ASSERT_TRUE(FileOpen(*form));
    Paint(5, 5, "14N");
    Answer({IDYES});
    EXPECT_TRUE(FileNew(*form));
    EXPECT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(toolBox().sweeps, 1);
    EXPECT_EQ(StackInFile(path, 5, 5), Names({"14N"}));
    EXPECT_TRUE(Stack(5, 5).empty());

    // Yes, untitled: through Save As.
    Paint(4, 4, "44H");
    Answer({IDYES});
    choices = {models() + S("First.cst")};
    EXPECT_TRUE(FileNew(*form));
    ASSERT_EQ(Texts(), std::vector<QString>({S("Save changes to model (Untitled)?")}));
    ExpectSaveDialog(dialogs.back(), models(), S("Model01.cst"));
    EXPECT_EQ(StackInFile(models() + S("First.cst"), 4, 4), Names({"44H"}));
    EXPECT_TRUE(Stack(4, 4).empty());

    // Yes, then Save As cancelled: the changes are given up.
    Paint(6, 6, "44H");
    Answer({IDYES});
    choices = {QString()};
    EXPECT_TRUE(FileNew(*form));
    EXPECT_TRUE(Stack(6, 6).empty());
    EXPECT_FALSE(form->Model->Modified);
}

TEST_F(FileCommandsTest, OpenLoadsTheChosenFileAndMovesTheDialogsThere) {
    const QString elsewhere = Dir("Elsewhere");
    const QString path = WriteModel(elsewhere + S("Bridge.cst"), 7, 3, {"14E"});
    choices = {QString(), path, path};
    EXPECT_FALSE(FileOpen(*form));
    EXPECT_TRUE(form->EditingEnabled);
    EXPECT_TRUE(FileOpen(*form));
    EXPECT_TRUE(presenter().shown.empty());
    EXPECT_FALSE(form->EditingEnabled); // the double click that chose must not edit
    EXPECT_EQ(Stack(7, 3), Names({"14E"}));
    EXPECT_EQ(toolBox().fileLabel, S("Bridge"));
    EXPECT_EQ(FileDialogs().SaveModelDialog.InitialDir, elsewhere);
    EXPECT_TRUE(FileOpen(*form));
    EXPECT_EQ(dialogs[2].InitialDir, elsewhere);
    EXPECT_TRUE(dialogs[2].FileName.isEmpty());

    // Modified: Cancel shows no dialog; Yes saves first, then opens in the folder saved to.
    UpdateModelName(*form, QString());
    Paint(3, 3, "30H");
    Answer({IDCANCEL});
    EXPECT_FALSE(FileOpen(*form));
    EXPECT_EQ(dialogs.size(), 3u);
    const QString saves = Dir("Saves");
    const QString other = WriteModel(models() + S("Other.cst"), 0, 0, {"45F"});
    Answer({IDYES});
    choices = {saves + S("Mine.cst"), other};
    EXPECT_TRUE(FileOpen(*form));
    ExpectSaveDialog(dialogs[3], elsewhere, S("Model01.cst"));
    EXPECT_EQ(dialogs[4].InitialDir, saves);
    EXPECT_EQ(StackInFile(saves + S("Mine.cst"), 3, 3), Names({"30H"}));
    EXPECT_EQ(Stack(0, 0), Names({"45F"}));
    EXPECT_EQ(ModelFileName(), other);
}

TEST_F(FileCommandsTest, ADamagedCutOrMissingFileLeavesTheModelAsItWas) {
    const QString path = TitledModifiedModel("Kept");
    QByteArray cut = ReadAll(WriteModel(models() + S("Whole.cst"), 0, 0, {"30H"}));
    cut.chop(12);
    folder->write(S("Models/Cut.cst"), cut);
    folder->write(S("Models/Damaged.cst"), QByteArray("not a model at all"));
    const QString gone = QDir::toNativeSeparators(models() + S("Gone.cst"));
    for (const auto& [name, text] : std::vector<std::pair<const char*, QString>>{
             {"Damaged.cst", S("File Damaged.cst has an invalid header or is not a model file")},
             {"Cut.cst", QString()},
             {"Gone.cst", S("The model file \"%1\" does not exist.").arg(gone)}}) {
        Answer({IDNO});
        choices = {models() + S(name)};
        EXPECT_FALSE(FileOpen(*form)) << name;
        ASSERT_EQ(presenter().shown.size(), 2u) << name;
        if (!text.isEmpty())
            EXPECT_EQ(presenter().shown[1].text, text);
        else
            EXPECT_EQ(presenter().shown[1].style, kErrorBox);
        EXPECT_EQ(ModelFileName(), path);
        EXPECT_EQ(Stack(2, 1), Names({"45F"}));
        EXPECT_TRUE(Stack(0, 0).empty());
        EXPECT_EQ(FileDialogs().SaveModelDialog.InitialDir, models());
    }
}

TEST_F(FileCommandsTest, SaveWritesInPlaceOrThroughSaveAsAndTheDialogsShareTheFolder) {
    Paint(3, 2, "30H");
    const QString a = Dir("A");
    choices = {a + S("Ship.cst")};
    EXPECT_TRUE(FileSave(*form));
    ExpectSaveDialog(dialogs[0], models(), S("Model01.cst"));
    EXPECT_EQ(toolBox().fileLabel, S("Ship"));
    EXPECT_EQ(toolBox().sweeps, 1);
    EXPECT_EQ(FileDialogs().OpenModelDialog.InitialDir, a);

    Paint(3, 2, "44H");
    EXPECT_EQ(toolBox().fileLabel, S("Ship*"));
    EXPECT_TRUE(FileSave(*form));
    EXPECT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(toolBox().sweeps, 2);
    EXPECT_EQ(StackInFile(a + S("Ship.cst"), 3, 2), Names({"30H", "44H"}));

    // Save As: cancelled writes nothing; a titled model proposes its own name.
    Paint(0, 0, "45F");
    const QByteArray before = ReadAll(a + S("Ship.cst"));
    const QString b = Dir("B");
    choices = {QString(), b + S("Copy.cst")};
    EXPECT_FALSE(FileSaveAs(*form));
    EXPECT_EQ(ReadAll(a + S("Ship.cst")), before);
    EXPECT_EQ(toolBox().sweeps, 2);
    EXPECT_TRUE(FileSaveAs(*form));
    ExpectSaveDialog(dialogs.back(), a, S("Ship.cst"));
    EXPECT_EQ(ModelFileName(), b + S("Copy.cst"));
    EXPECT_EQ(FileDialogs().OpenModelDialog.InitialDir, b);
    EXPECT_EQ(StackInFile(b + S("Copy.cst"), 0, 0), Names({"45F"}));

    // A failed Save As: the error box, the folders stay.
    const QString blocked = Dir("Elsewhere/Folder.cst");
    presenter().Clear();
    choices = {blocked};
    EXPECT_FALSE(FileSaveAs(*form));
    EXPECT_EQ(presenter().shown.at(0).style, kErrorBox);
    EXPECT_EQ(FileDialogs().SaveModelDialog.InitialDir, b);

    // A file named "(Untitled)" counts as untitled: no revert, Save goes through Save As.
    const QString untitled = WriteModel(models() + S("(Untitled).cst"), 2, 2, {"30V"});
    choices = {untitled, QString()};
    ASSERT_TRUE(FileOpen(*form));
    Paint(5, 5, "45F");
    EXPECT_FALSE(FileRevert(*form));
    EXPECT_FALSE(FileSave(*form));
    ExpectSaveDialog(dialogs.back(), models(), S("Model01.cst"));
    EXPECT_EQ(presenter().shown.size(), 1u);
}

TEST_F(FileCommandsTest, RevertOnlyForATitledModifiedModelAndOnlyOnYes) {
    Paint(0, 0, "30H");
    EXPECT_FALSE(FileRevert(*form)); // untitled
    const QString path = models() + S("Arch.cst");
    choices = {path};
    ASSERT_TRUE(FileSaveAs(*form));
    EXPECT_FALSE(FileRevert(*form)); // unmodified
    EXPECT_TRUE(presenter().shown.empty());

    Paint(0, 0, "44H");
    Answer({IDNO});
    EXPECT_FALSE(FileRevert(*form));
    ASSERT_EQ(Texts(), std::vector<QString>({S("Revert model Arch to last saved version?")}));
    EXPECT_EQ(Stack(0, 0), Names({"30H", "44H"}));

    WriteModel(path, 9, 9, {"14S"});
    Answer({IDYES});
    EXPECT_TRUE(FileRevert(*form));
    EXPECT_TRUE(Stack(0, 0).empty());
    EXPECT_EQ(Stack(9, 9), Names({"14S"}));
    EXPECT_EQ(toolBox().fileLabel, S("Arch"));

    Paint(1, 0, "30H");
    QFile::remove(path);
    Answer({IDYES});
    EXPECT_FALSE(FileRevert(*form));
    EXPECT_EQ(presenter().shown.at(1).style, kErrorBox);
    EXPECT_EQ(Stack(1, 0), Names({"30H"}));
    EXPECT_EQ(ModelFileName(), path);
}

TEST_F(FileCommandsTest, ATruncatedModelAsksBeforeEverySaveUntilOneSucceeds) {
    const QString path = TitledModifiedModel("Wide");
    const QByteArray before = ReadAll(path);
    form->Model->Truncated = true;
    const QString warning = S("Saving this model will truncate the model file on disk forever. "
                              "Are you sure you want to overwrite it?");
    Answer({IDNO});
    EXPECT_FALSE(FileSave(*form));
    EXPECT_EQ(Texts(), std::vector<QString>({warning}));
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_EQ(toolBox().sweeps, 0);

    Answer({IDNO}); // Save As asks after the dialog
    choices = {models() + S("Narrow.cst")};
    EXPECT_FALSE(FileSaveAs(*form));
    EXPECT_EQ(Texts(), std::vector<QString>({warning}));
    EXPECT_FALSE(QFileInfo::exists(models() + S("Narrow.cst")));

    Answer({IDYES});
    EXPECT_TRUE(FileSave(*form));
    EXPECT_NE(ReadAll(path), before);
    EXPECT_FALSE(form->Model->Truncated);
    presenter().Clear();
    Paint(7, 7, "30H");
    EXPECT_TRUE(FileSave(*form));
    EXPECT_TRUE(presenter().shown.empty());
}

TEST_F(FileCommandsTest, ClosingAsksToSaveAndWithMessagesOffEveryQuestionIsYes) {
    EXPECT_TRUE(FileQueryClose(*form));
    const QString path = TitledModifiedModel("Closing");
    const QByteArray before = ReadAll(path);
    Answer({IDCANCEL});
    EXPECT_FALSE(form->close());
    EXPECT_EQ(Texts(), std::vector<QString>({S("Save changes to model Closing?")}));
    EXPECT_EQ(ReadAll(path), before);
    Answer({IDYES});
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(StackInFile(path, 2, 1), Names({"45F"}));

    // Messages off: every question is Yes, no dialog asks before overwriting.
    presenter().Clear();
    SetMessagesEnabled(false);
    UpdateModelName(*form, QString());
    Paint(2, 2, "30H");
    form->Model->Truncated = true;
    choices = {QString(), models() + S("Quiet.cst"), QString()};
    EXPECT_TRUE(FileQueryClose(*form)); // Save As cancelled still closes
    EXPECT_TRUE(FileNew(*form));
    EXPECT_EQ(StackInFile(models() + S("Quiet.cst"), 2, 2), Names({"30H"}));
    EXPECT_FALSE(FileExportBitmap(*form));
    for (const TFileDialogSettings& d : dialogs)
        EXPECT_FALSE(d.OverwritePrompt) << d.Title.toStdString();
    EXPECT_TRUE(presenter().shown.empty());
    SetMessagesEnabled(true);
    choices = {QString(), QString()};
    FileSaveAs(*form);
    EXPECT_TRUE(dialogs.back().OverwritePrompt);
    FileExportBitmap(*form);
    EXPECT_TRUE(dialogs.back().OverwritePrompt);
}

TEST_F(FileCommandsTest, ExportWritesTheModelImageAsABitmapOrAPng) {
    Paint(0, 0, "30H");
    Paint(5, 3, "14W");
    choices = {QString()};
    EXPECT_FALSE(FileExportBitmap(*form));
    EXPECT_EQ(dialogs[0].FileName, S("(Untitled).bmp"));
    EXPECT_EQ(toolBox().sweeps, 0);
    EXPECT_TRUE(QDir(folder->file(S("Images/"))).isEmpty());

    const QString out = Dir("Out");
    choices = {out + S("Picture.bmp")};
    EXPECT_TRUE(FileExportBitmap(*form));
    EXPECT_EQ(toolBox().sweeps, 1);
    const QByteArray bytes = ReadAll(out + S("Picture.bmp"));
    const QImage& shown = form->BaseBmp->Bitmap;
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(static_cast<uint8_t>(bytes[28]), 24); // bits per pixel
    EXPECT_EQ(bytes.size(), 54 + shown.height() * ((shown.width() * 3 + 3) / 4 * 4));
    const QImage back = LoadBitmapFile(out + S("Picture.bmp"));
    EXPECT_EQ(back, shown.convertToFormat(QImage::Format_RGB32));
    EXPECT_NE(back.pixel(5 * 32 + 16, 3 * 32 + 16), qRgb(0, 0, 0));
    EXPECT_EQ(FileDialogs().ExportBitmapDialog.InitialDir, out);
    EXPECT_EQ(FileDialogs().SaveModelDialog.InitialDir, models());
    choices = {models() + S("Scene.cst"), QString()};
    ASSERT_TRUE(FileSaveAs(*form));
    EXPECT_FALSE(FileExportBitmap(*form));
    EXPECT_EQ(dialogs.back().FileName, S("Scene.bmp"));
    EXPECT_EQ(dialogs.back().InitialDir, out);

    // The name's extension decides; a name of none written goes by the filter (0 bmp, 2 png, 3 any).
    struct Case {
        const char* name;
        int filter;
        bool png;
    };
    for (const Case& c : {Case{"a.png", 0, true}, Case{"b", 2, true}, Case{"c.PNG", 3, true},
                          Case{"d.bmp", 2, false}, Case{"e.dib", 2, false}, Case{"f.xyz", 3, false}}) {
        SetFileDialogRunner([&](TFileDialogSettings& dialog, QWidget*) {
            dialog.FileName = out + S(c.name);
            dialog.FilterIndex = c.filter;
            return true;
        });
        ASSERT_TRUE(FileExportBitmap(*form)) << c.name;
        const QByteArray file = ReadAll(out + S(c.name));
        EXPECT_EQ(file.startsWith("\x89PNG\r\n\x1a\n"), c.png) << c.name;
        EXPECT_EQ(file.startsWith("BM"), !c.png) << c.name;
    }
    EXPECT_EQ(QImage(out + S("a.png")).convertToFormat(QImage::Format_RGB32),
              shown.convertToFormat(QImage::Format_RGB32));

    // Installed read-only: Save As and Export start in the user's own folder.
    SetFileDialogRunner([&](TFileDialogSettings& dialog, QWidget*) {
        dialogs.push_back(dialog);
        return false;
    });
    SetFolderWritableCheck([this](const QString& dir) { return !dir.startsWith(folder->path()); });
    const QString own = UserCubestacksFolder();
    QDir(own).removeRecursively();
    EXPECT_FALSE(FileSaveAs(*form));
    EXPECT_FALSE(FileExportBitmap(*form));
    SetFolderWritableCheck({});
    EXPECT_EQ(dialogs.rbegin()[1].InitialDir, own);
    EXPECT_EQ(dialogs.back().InitialDir, own);
    EXPECT_TRUE(QDir(own).removeRecursively());
    EXPECT_EQ(FileDialogs().OpenModelDialog.InitialDir, models()); // reading stays with the program
}

#ifndef Q_OS_WIN
// A desktop of the given name (none: empty) with every program present.
struct FakeDesktop : DesktopCommands {
    QString desktop;
    int runs = 0;
    int Run(const QString&, const QStringList&, QString*) override { return ++runs, 0; }
    QString Env(const QString& name) override { return name == "XDG_CURRENT_DESKTOP" ? desktop : QString(); }
    bool HasProgram(const QString&) override { return true; }
};

TEST_F(FileCommandsTest, WallpaperWritesTheModelImageAndHandsItToTheDesktop) {
    const QString path = WallpaperBitmapPath();
    ASSERT_TRUE(path.startsWith(qEnvironmentVariable("XDG_DATA_HOME") + '/')) << path.toStdString();
    EXPECT_EQ(QFileInfo(path).fileName(), S("Quadrantine Cubestacks.bmp"));
    Paint(4, 4, "14S");
    FakeDesktop desktop;
    desktop.desktop = S("GNOME");
    form->WallPaperChanger1->SetDesktopCommands(&desktop);
    int sweepsAtChange = -1;
    form->WallPaperChanger1->OnBeginChange = [&](TWallPaperChanger*) { sweepsAtChange = toolBox().sweeps; };
    for (int round = 1; round <= 2; ++round) {
        EXPECT_TRUE(FileSetWallpaper(*form));
        EXPECT_TRUE(presenter().shown.empty());
        EXPECT_EQ(LoadBitmapFile(path), form->BaseBmp->Bitmap.convertToFormat(QImage::Format_RGB32));
        EXPECT_EQ(static_cast<uint8_t>(ReadAll(path)[28]), 24);
        EXPECT_EQ(sweepsAtChange, round); // written and swept before the change
        EXPECT_GT(desktop.runs, 0);
        Paint(round, 0, "30H"); // the next round replaces the picture
    }
    EXPECT_EQ(form->WallPaperChanger1->Filename(), path);
    EXPECT_FALSE(form->WallPaperChanger1->Tiled());
    // Without a desktop: not a question, the message says where the picture is.
    desktop.desktop.clear();
    desktop.runs = 0;
    SetMessagesEnabled(false);
    EXPECT_FALSE(FileSetWallpaper(*form));
    EXPECT_EQ(desktop.runs, 0);
    ASSERT_EQ(presenter().shown.size(), 1u);
    EXPECT_EQ(presenter().shown[0].style, MB_ICONINFORMATION | MB_OK);
    EXPECT_TRUE(presenter().shown[0].text.contains(QDir::toNativeSeparators(path)));
    form->WallPaperChanger1->SetDesktopCommands(nullptr);
    QFile::remove(path);
}
#endif

// The program's own dialog on real widgets: runs action once the next modal
// file dialog is open.
void WhenDialogOpens(std::function<void(QFileDialog&)> action, int triesLeft = 200) {
    QTimer::singleShot(triesLeft == 200 ? 0 : 10, [action, triesLeft] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
            action(*dialog);
        else if (triesLeft > 0)
            WhenDialogOpens(action, triesLeft - 1);
        else
            ADD_FAILURE() << "no file dialog opened";
    });
}

void TypeName(QFileDialog& dialog, const char* name) {
    auto* edit = dialog.findChild<QLineEdit*>(S("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->clear();
    QTest::keyClicks(edit, S(name));
    QTest::keyClick(edit, Qt::Key_Return);
    if (dialog.isVisible())
        dialog.reject();
}

TEST_F(FileCommandsTest, RealDialogsTakeTheSettingsAndGiveBackWhatIsTyped) {
    SetFileDialogRunner({});
    Paint(1, 1, "30H");
    WhenDialogOpens([&](QFileDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), S("Save Model As"));
        EXPECT_EQ(dialog.nameFilters(), QStringList({S("Cubestacks Files (*.cst)"), S("Any file (*.*)")}));
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(QDir(dialog.directory()).absolutePath() + '/', models());
        EXPECT_EQ(dialog.findChild<QLineEdit*>(S("fileNameEdit"))->text(), S("Model01.cst"));
        TypeName(dialog, "Typed");
    });
    EXPECT_TRUE(FileSaveAs(*form));
    EXPECT_EQ(StackInFile(models() + S("Typed.cst"), 1, 1), Names({"30H"}));

    // Export: the extension of the filter chosen.
    WhenDialogOpens([&](QFileDialog& dialog) {
        auto* types = dialog.findChild<QComboBox*>(S("fileTypeCombo"));
        ASSERT_NE(types, nullptr);
        QTest::keyClick(types, Qt::Key_Down);
        QTest::keyClick(types, Qt::Key_Down);
        TypeName(dialog, "Typed");
    });
    EXPECT_TRUE(FileExportBitmap(*form));
    EXPECT_TRUE(ReadAll(folder->file(S("Images/Typed.png"))).startsWith("\x89PNG"));

    // Open: an existing file; "All files (*.*)" lists a file without a dot too; Escape changes nothing.
    folder->write(S("Models/README"), QByteArray());
    bool seen = false;
    WhenDialogOpens([&](QFileDialog& dialog) {
        seen = true;
        EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
        auto* types = dialog.findChild<QComboBox*>(S("fileTypeCombo"));
        auto* list = dialog.findChild<QListView*>(S("listView"));
        ASSERT_TRUE(types && list);
        const auto listed = [list](const char* name) {
            const QAbstractItemModel* model = list->model();
            for (int row = 0; row < model->rowCount(list->rootIndex()); ++row)
                if (model->index(row, 0, list->rootIndex()).data().toString() == S(name))
                    return true;
            return false;
        };
        EXPECT_TRUE(QTest::qWaitFor([&] { return listed("Typed.cst"); }, 5000));
        EXPECT_FALSE(listed("README"));
        QTest::keyClick(types, Qt::Key_Down);
        EXPECT_TRUE(QTest::qWaitFor([&] { return listed("README"); }, 5000));
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_FALSE(FileOpen(*form));
    EXPECT_TRUE(seen);
    EXPECT_TRUE(form->EditingEnabled);
    EXPECT_EQ(ModelFileName(), models() + S("Typed.cst"));
}

} // namespace
