#include "app_fixture.h"

#include "desktop/user_folders.h"
#include "desktop/wallpaper_changer.h"
#include "imaging/bitmap_file.h"
#include "windows/preference_values.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <deque>

namespace {

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
        AppTest::TearDown();
    }
    QString models() const { return folder->file(S("Models/")); }
    QString Dir(const char* name) const {
        QDir().mkpath(folder->file(S(name) + '/'));
        return folder->file(S(name) + '/');
    }
    void Paint(int col, int row, const std::string& name) {
        Select(name);
        ASSERT_TRUE(form->Model->ApplyTool(form->BaseBmp->Canvas, tlPlace, col, row));
        form->RefreshModelView();
    }
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
    bool Asked(std::vector<int> answers, bool (*command)(TMainForm&)) {
        Answer(std::move(answers));
        return command(*form);
    }
    bool Chosen(std::deque<QString> files, bool (*command)(TMainForm&)) {
        choices = std::move(files);
        return command(*form);
    }
    QStringList Texts() const {
        QStringList texts;
        for (const auto& shown : TestPresenter().shown)
            texts << shown.text;
        return texts;
    }
    void ExpectSaveDialog(const TFileDialogSettings& d, const QString& dir, const QString& name) {
        EXPECT_EQ(d.Title, S("Save Model As"));
        EXPECT_EQ(d.InitialDir, dir);
        EXPECT_EQ(d.FileName, name);
    }

    std::vector<TFileDialogSettings> dialogs;
    std::deque<QString> choices; // empty: cancelled
};

TEST_F(FileCommandsTest, NewAsksToSaveAModifiedModelAndFollowsTheAnswer) {
    EXPECT_EQ(DisplayNameOf(S("/a/b.d/Castle.v2.cst")), S("Castle.v2"));
    EXPECT_EQ(QtNameFilters(S("Pictures (*.bmp)|*.bmp;*.dib|Odd")),
              QStringList({S("Pictures (*.bmp *.dib)")}));
    ASSERT_TRUE(Chosen({WriteModel(models() + S("Tower.cst"), 3, 2, {"30H", "44H"})}, FileOpen));
    Preferences().AuthorName = S("Ann Smith");
    EXPECT_TRUE(FileNew(*form));
    EXPECT_TRUE(presenter().shown.empty());
    EXPECT_TRUE(Stack(3, 2).empty());
    EXPECT_EQ(form->Model->Author.AuthorName, "Ann Smith");
    EXPECT_TRUE(ModelFileName().isEmpty());

    const QString path = TitledModifiedModel("Garden");
    EXPECT_EQ(Label(), S("Garden*"));
    const QByteArray saved = ReadAll(path);
    EXPECT_FALSE(Asked({IDCANCEL}, FileNew));
    ASSERT_EQ(Texts(), QStringList(S("Save changes to model Garden?")));
    EXPECT_EQ(Stack(2, 1), Names({"45F"}));
    EXPECT_TRUE(Asked({IDNO}, FileNew));
    EXPECT_TRUE(Stack(2, 1).empty());
    EXPECT_EQ(ReadAll(path), saved);
    EXPECT_EQ(Label(), S("(Untitled)"));
    EXPECT_FALSE(Chosen({QString()}, FileSaveAs));
    EXPECT_EQ(dialogs.back().FileName, S("Model01.cst"));

    ASSERT_TRUE(Chosen({path}, FileOpen));
    Paint(5, 5, "14N");
    EXPECT_TRUE(Asked({IDYES}, FileNew));
    EXPECT_EQ(dialogs.size(), 3u);
    EXPECT_EQ(toolBox().sweeps, 1);
    EXPECT_EQ(StackInFile(path, 5, 5), Names({"14N"}));
}

TEST_F(FileCommandsTest, OpenLoadsTheChosenFileOrLeavesTheModelAsItWas) {
    const QString elsewhere = Dir("Elsewhere");
    const QString path = WriteModel(elsewhere + S("Bridge.cst"), 7, 3, {"14E"});
    EXPECT_FALSE(Chosen({QString(), path}, FileOpen));
    EXPECT_TRUE(form->EditingEnabled);
    EXPECT_TRUE(FileOpen(*form));
    EXPECT_FALSE(form->EditingEnabled);
    EXPECT_EQ(Stack(7, 3), Names({"14E"}));
    EXPECT_EQ(Label(), S("Bridge"));
    EXPECT_EQ(FileDialogs().SaveModelDialog.InitialDir, elsewhere);

    const QString kept = TitledModifiedModel("Kept");
    EXPECT_FALSE(Asked({IDCANCEL}, FileOpen));
    EXPECT_EQ(dialogs.size(), 2u);
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
        EXPECT_FALSE(Chosen({models() + S(name)}, FileOpen)) << name;
        ASSERT_EQ(presenter().shown.size(), 2u) << name;
        const auto& told = presenter().shown[1];
        EXPECT_TRUE(text.isEmpty() ? told.style == kErrorBox : told.text == text) << told.text.toStdString();
        EXPECT_EQ(ModelFileName(), kept);
        EXPECT_EQ(Cells(), "1,1:30H 2,1:45F 7,3:14E");
        EXPECT_EQ(FileDialogs().SaveModelDialog.InitialDir, elsewhere);
    }
}

TEST_F(FileCommandsTest, SaveWritesInPlaceOrThroughSaveAsAndTheDialogsShareTheFolder) {
    Paint(3, 2, "30H");
    const QString a = Dir("A");
    EXPECT_TRUE(Chosen({a + S("Ship.cst")}, FileSave));
    ExpectSaveDialog(dialogs[0], models(), S("Model01.cst"));
    EXPECT_EQ(Label(), S("Ship"));
    EXPECT_EQ(FileDialogs().OpenModelDialog.InitialDir, a);
    Paint(3, 2, "44H");
    EXPECT_TRUE(FileSave(*form));
    EXPECT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(toolBox().sweeps, 2);
    EXPECT_EQ(StackInFile(a + S("Ship.cst"), 3, 2), Names({"30H", "44H"}));

    Paint(0, 0, "45F");
    const QByteArray before = ReadAll(a + S("Ship.cst"));
    const QString b = Dir("B");
    EXPECT_FALSE(Chosen({QString(), b + S("Copy.cst")}, FileSaveAs));
    EXPECT_EQ(ReadAll(a + S("Ship.cst")), before);
    EXPECT_TRUE(FileSaveAs(*form));
    ExpectSaveDialog(dialogs.back(), a, S("Ship.cst"));
    EXPECT_EQ(ModelFileName(), b + S("Copy.cst"));
    EXPECT_EQ(StackInFile(b + S("Copy.cst"), 0, 0), Names({"45F"}));

    presenter().Clear();
    EXPECT_FALSE(Chosen({Dir("Elsewhere/Folder.cst")}, FileSaveAs));
    EXPECT_EQ(presenter().shown.at(0).style, kErrorBox);
    EXPECT_EQ(FileDialogs().SaveModelDialog.InitialDir, b);
}

TEST_F(FileCommandsTest, RevertOnlyForATitledModifiedModelAndOnlyOnYes) {
    Paint(0, 0, "30H");
    EXPECT_FALSE(FileRevert(*form));
    const QString path = models() + S("Arch.cst");
    ASSERT_TRUE(Chosen({path}, FileSaveAs));
    EXPECT_FALSE(FileRevert(*form));
    EXPECT_TRUE(presenter().shown.empty());
    Paint(0, 0, "44H");
    EXPECT_FALSE(Asked({IDNO}, FileRevert));
    ASSERT_EQ(Texts(), QStringList(S("Revert model Arch to last saved version?")));
    EXPECT_EQ(Stack(0, 0), Names({"30H", "44H"}));
    WriteModel(path, 9, 9, {"14S"});
    EXPECT_TRUE(Asked({IDYES}, FileRevert));
    EXPECT_EQ(Cells(), "9,9:14S");
    EXPECT_EQ(Label(), S("Arch"));
    Paint(1, 0, "30H");
    QFile::remove(path);
    EXPECT_FALSE(Asked({IDYES}, FileRevert));
    EXPECT_EQ(presenter().shown.at(1).style, kErrorBox);
    EXPECT_EQ(Cells(), "1,0:30H 9,9:14S");
}

TEST_F(FileCommandsTest, ATruncatedModelAsksBeforeEverySaveUntilOneSucceeds) {
    const QString path = TitledModifiedModel("Wide");
    const QByteArray before = ReadAll(path);
    form->Model->Truncated = true;
    const QStringList warning(S("Saving this model will truncate the model file on disk forever. "
                                "Are you sure you want to overwrite it?"));
    EXPECT_FALSE(Asked({IDNO}, FileSave));
    EXPECT_EQ(Texts(), warning);
    EXPECT_EQ(ReadAll(path), before);
    Answer({IDNO});
    EXPECT_FALSE(Chosen({models() + S("Narrow.cst")}, FileSaveAs));
    EXPECT_EQ(Texts(), warning);
    EXPECT_FALSE(QFileInfo::exists(models() + S("Narrow.cst")));
    EXPECT_TRUE(Asked({IDYES}, FileSave));
    EXPECT_NE(ReadAll(path), before);
    presenter().Clear();
    Paint(7, 7, "30H");
    EXPECT_TRUE(FileSave(*form));
    EXPECT_TRUE(presenter().shown.empty());
}

TEST_F(FileCommandsTest, ClosingAsksToSaveAndWithMessagesOffEveryQuestionIsYes) {
    const QString path = TitledModifiedModel("Closing");
    const QByteArray before = ReadAll(path);
    Answer({IDCANCEL});
    EXPECT_FALSE(form->close());
    EXPECT_EQ(Texts(), QStringList(S("Save changes to model Closing?")));
    EXPECT_EQ(ReadAll(path), before);
    Answer({IDYES});
    EXPECT_TRUE(form->close());
    EXPECT_EQ(StackInFile(path, 2, 1), Names({"45F"}));

    presenter().Clear();
    SetMessagesEnabled(false);
    UpdateModelName(*form, QString());
    Paint(2, 2, "30H");
    form->Model->Truncated = true;
    EXPECT_TRUE(Chosen({QString(), models() + S("Quiet.cst"), QString()}, FileQueryClose));
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
    Paint(5, 3, "14W");
    EXPECT_FALSE(Chosen({QString()}, FileExportBitmap));
    EXPECT_EQ(dialogs[0].FileName, S("(Untitled).bmp"));
    EXPECT_TRUE(QDir(folder->file(S("Images/"))).isEmpty());
    const QString out = Dir("Out");
    EXPECT_TRUE(Chosen({out + S("Picture.bmp")}, FileExportBitmap));
    EXPECT_EQ(toolBox().sweeps, 1);
    const QByteArray bytes = ReadAll(out + S("Picture.bmp"));
    const QImage shown = form->BaseBmp->Bitmap.convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(static_cast<uint8_t>(bytes[28]), 24);
    EXPECT_EQ(bytes.size(), 54 + shown.height() * ((shown.width() * 3 + 3) / 4 * 4));
    EXPECT_EQ(LoadBitmapFile(out + S("Picture.bmp")), shown);
    EXPECT_EQ(FileDialogs().SaveModelDialog.InitialDir, models());
    ASSERT_TRUE(Chosen({models() + S("Scene.cst"), QString()}, FileSaveAs));
    EXPECT_FALSE(FileExportBitmap(*form));
    EXPECT_EQ(dialogs.back().FileName, S("Scene.bmp"));
    EXPECT_EQ(dialogs.back().InitialDir, out);

    // The name's extension decides, else the filter (0 bmp, 2 png, 3 any).
    for (const QString& row :
         S("a.png:0:png b:2:png c.PNG:3:png d.bmp:2:bmp e.dib:2:bmp f.xyz:3:bmp").split(' ')) {
        const QStringList f = row.split(':');
        const bool png = f[2] == S("png");
        SetFileDialogRunner([&](TFileDialogSettings& dialog, QWidget*) {
            dialog.FileName = out + f[0];
            dialog.FilterIndex = f[1].toInt();
            return true;
        });
        ASSERT_TRUE(FileExportBitmap(*form)) << row.toStdString();
        const QByteArray file = ReadAll(out + f[0]);
        EXPECT_EQ(file.startsWith("\x89PNG\r\n\x1a\n"), png) << row.toStdString();
        EXPECT_EQ(file.startsWith("BM"), !png) << row.toStdString();
    }
    EXPECT_EQ(QImage(out + S("a.png")).convertToFormat(QImage::Format_RGB32), shown);

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
    EXPECT_EQ(FileDialogs().OpenModelDialog.InitialDir, models());
}

#ifndef Q_OS_WIN
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
    FakeDesktop desktop;
    desktop.desktop = S("GNOME");
    form->WallPaperChanger1->SetDesktopCommands(&desktop);
    int sweepsAtChange = -1;
    form->WallPaperChanger1->OnBeginChange = [&](TWallPaperChanger*) { sweepsAtChange = toolBox().sweeps; };
    for (int round = 1; round <= 2; ++round) {
        Paint(round, 0, "30H");
        EXPECT_TRUE(FileSetWallpaper(*form));
        EXPECT_TRUE(presenter().shown.empty());
        EXPECT_EQ(LoadBitmapFile(path), form->BaseBmp->Bitmap.convertToFormat(QImage::Format_RGB32));
        EXPECT_EQ(sweepsAtChange, round);
        EXPECT_GT(desktop.runs, 0);
    }
    EXPECT_FALSE(form->WallPaperChanger1->Tiled());
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

void TypeName(QFileDialog& dialog, const char* name, int filterDowns = 0) {
    for (int i = 0; i < filterDowns; ++i)
        QTest::keyClick(dialog.findChild<QComboBox*>(S("fileTypeCombo")), Qt::Key_Down);
    auto* edit = dialog.findChild<QLineEdit*>(S("fileNameEdit"));
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
    WhenDialogOpens([&](QFileDialog& dialog) { TypeName(dialog, "Typed", 2); });
    EXPECT_TRUE(FileExportBitmap(*form));
    EXPECT_TRUE(ReadAll(folder->file(S("Images/Typed.png"))).startsWith("\x89PNG"));

    folder->write(S("Models/README"), QByteArray());
    bool seen = false;
    WhenDialogOpens([&](QFileDialog& dialog) {
        seen = true;
        EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
        auto* list = dialog.findChild<QListView*>(S("listView"));
        const auto listed = [list](const char* name) {
            const QModelIndex first = list->model()->index(0, 0, list->rootIndex());
            return !list->model()->match(first, Qt::DisplayRole, S(name), 1, Qt::MatchExactly).isEmpty();
        };
        EXPECT_TRUE(QTest::qWaitFor([&] { return listed("Typed.cst"); }, 5000));
        EXPECT_FALSE(listed("README"));
        QTest::keyClick(dialog.findChild<QComboBox*>(S("fileTypeCombo")), Qt::Key_Down);
        EXPECT_TRUE(QTest::qWaitFor([&] { return listed("README"); }, 5000));
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_FALSE(FileOpen(*form));
    EXPECT_TRUE(seen);
    EXPECT_TRUE(form->EditingEnabled);
}

} // namespace
