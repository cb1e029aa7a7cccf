#include "app_fixture.h"

#include "desktop/user_folders.h"
#include "imaging/bitmap_file.h"

#include <QComboBox>
#include <QFileDialog>
#include <QListView>

namespace {

constexpr int kErrorBox = MB_ICONHAND | MB_OK;

class FileCommandsTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        SetFileDialogRunner([this](TFileDialogSettings& dialog, QWidget* parent) {
            EXPECT_EQ(parent, form.get());
            EXPECT_FALSE(choices.isEmpty()) << "unexpected dialog " << dialog.Title.toStdString();
            dialogs.push_back(dialog);
            dialog.FileName = choices.isEmpty() ? QString() : choices.takeFirst();
            if (filter >= 0)
                dialog.FilterIndex = filter;
            return !dialog.FileName.isEmpty();
        });
    }
    void TearDown() override {
        EXPECT_TRUE(choices.empty()) << "dialogs expected but not shown: " << choices.size();
        AppTest::TearDown();
    }
    QString models() const { return folder->file(S("Models/")); }
    QString Dir(const char* name) const {
        QDir().mkpath(folder->file(S(name)));
        return folder->file(S(name) + '/');
    }
    void Paint(int col, int row, const std::string& name) {
        Select(name);
        ASSERT_TRUE(form->Model->ApplyTool(form->BaseBmp->Canvas, tlPlace, col, row));
        form->RefreshModelView();
    }
    QString TitledModifiedModel(const char* name) { // "1,1:30H" saved, "2,1:45F" not
        Paint(1, 1, "30H");
        const QString path = models() + S(name) + S(".cst");
        form->Model->SaveToFile(path);
        UpdateModelName(*form, path);
        Paint(2, 1, "45F");
        return path;
    }
    // The command run on no messages yet; its file dialogs give the files (empty: cancelled), its questions
    // the answers.
    bool Run(bool (*command)(TMainForm&), const QStringList& files, std::vector<int> answers = {}) {
        presenter().Clear();
        presenter().answers = std::move(answers);
        choices = files;
        return command(*form);
    }
    static auto Shown(const TFileDialogSettings& d) { return std::tuple(d.Title, d.InitialDir, d.FileName); }

    std::vector<TFileDialogSettings> dialogs;
    QStringList choices; // the files the next dialogs give; empty: cancelled
    int filter = -1;     // the filter they give; -1: the one they are given
};

TEST_F(FileCommandsTest, NewAsksToSaveAModifiedModelAndFollowsTheAnswer) {
    EXPECT_EQ(DisplayNameOf(S("/a/b.d/Castle.v2.cst")), S("Castle.v2"));
    EXPECT_EQ(QtNameFilters(S("Pictures (*.bmp)|*.bmp;*.dib|Odd")),
              QStringList({S("Pictures (*.bmp *.dib)")}));
    ASSERT_TRUE(Run(FileOpen, {WriteModel(models() + S("Tower.cst"), "3,2:30H+44H")}));
    Preferences().AuthorName = S("Ann Smith");
    EXPECT_TRUE(FileNew(*form));
    EXPECT_EQ(std::tuple(Texts(), Cells(), form->Model->Author.AuthorName, ModelFileName()),
              std::tuple(QStringList(), "", "Ann Smith", QString()));

    const QString path = TitledModifiedModel("Garden");
    EXPECT_EQ(Label(), S("Garden*"));
    const QByteArray saved = ReadAll(path);
    EXPECT_FALSE(Run(FileNew, {}, {IDCANCEL}));
    EXPECT_EQ(std::tuple(Texts(), Cells()),
              std::tuple(QStringList(S("Save changes to model Garden?")), "1,1:30H 2,1:45F"));
    EXPECT_TRUE(Run(FileNew, {}, {IDNO}));
    EXPECT_EQ(std::tuple(Cells(), ReadAll(path), Label()), std::tuple("", saved, S("(Untitled)")));
    EXPECT_FALSE(Run(FileSaveAs, {QString()}));
    EXPECT_EQ(dialogs.back().FileName, S("Model01.cst"));

    ASSERT_TRUE(Run(FileOpen, {path}));
    Paint(5, 5, "14N");
    EXPECT_TRUE(Run(FileNew, {}, {IDYES}));
    EXPECT_EQ(std::tuple(dialogs.size(), toolBox().sweeps, CellsIn(path)),
              std::tuple(3u, 1, "1,1:30H 5,5:14N"));
}

TEST_F(FileCommandsTest, OpenLoadsTheChosenFileOrLeavesTheModelAsItWas) {
    const QString elsewhere = Dir("Elsewhere");
    const QString path = WriteModel(elsewhere + S("Bridge.cst"), "7,3:14E");
    EXPECT_FALSE(Run(FileOpen, {QString(), path}));
    EXPECT_TRUE(form->EditingEnabled);
    EXPECT_TRUE(FileOpen(*form));
    EXPECT_EQ(std::tuple(form->EditingEnabled, Cells(), Label(), FileDialogs().SaveModelDialog.InitialDir),
              std::tuple(false, "7,3:14E", S("Bridge"), elsewhere));

    const QString kept = TitledModifiedModel("Kept");
    EXPECT_FALSE(Run(FileOpen, {}, {IDCANCEL}));
    EXPECT_EQ(dialogs.size(), 2u);
    folder->write(S("Models/Cut.cst"), ModelBytes("0,0:30H").chopped(12));
    folder->write(S("Models/Damaged.cst"), QByteArray("not a model at all"));
    const QString gone = QDir::toNativeSeparators(models() + S("Gone.cst"));
    for (const auto& [name, text] : std::vector<std::pair<const char*, QString>>{
             {"Damaged.cst", S("File Damaged.cst has an invalid header or is not a model file")},
             {"Cut.cst", QString()},
             {"Gone.cst", S("The model file \"%1\" does not exist.").arg(gone)}}) {
        EXPECT_FALSE(Run(FileOpen, {models() + S(name)}, {IDNO})) << name;
        ASSERT_EQ(presenter().shown.size(), 2u) << name;
        const auto& told = presenter().shown[1];
        EXPECT_TRUE(text.isEmpty() ? told.style == kErrorBox : told.text == text) << told.text.toStdString();
        EXPECT_EQ(std::tuple(ModelFileName(), Cells(), FileDialogs().SaveModelDialog.InitialDir),
                  std::tuple(kept, "1,1:30H 2,1:45F 7,3:14E", elsewhere));
    }
}

TEST_F(FileCommandsTest, SaveWritesInPlaceOrThroughSaveAsAndTheDialogsShareTheFolder) {
    Paint(3, 2, "30H");
    const QString a = Dir("A");
    EXPECT_TRUE(Run(FileSave, {a + S("Ship.cst")}));
    EXPECT_EQ(Shown(dialogs[0]), std::tuple(S("Save Model As"), models(), S("Model01.cst")));
    EXPECT_EQ(std::tuple(Label(), FileDialogs().OpenModelDialog.InitialDir), std::tuple(S("Ship"), a));
    Paint(3, 2, "44H");
    EXPECT_TRUE(FileSave(*form));
    EXPECT_EQ(std::tuple(dialogs.size(), toolBox().sweeps, CellsIn(a + S("Ship.cst"))),
              std::tuple(1u, 2, "3,2:30H+44H"));

    Paint(0, 0, "45F");
    const QByteArray before = ReadAll(a + S("Ship.cst"));
    const QString b = Dir("B");
    EXPECT_FALSE(Run(FileSaveAs, {QString(), b + S("Copy.cst")}));
    EXPECT_EQ(ReadAll(a + S("Ship.cst")), before);
    EXPECT_TRUE(FileSaveAs(*form));
    EXPECT_EQ(Shown(dialogs.back()), std::tuple(S("Save Model As"), a, S("Ship.cst")));
    EXPECT_EQ(std::tuple(ModelFileName(), CellsIn(b + S("Copy.cst"))),
              std::tuple(b + S("Copy.cst"), "0,0:45F 3,2:30H+44H"));

    EXPECT_FALSE(Run(FileSaveAs, {Dir("Elsewhere/Folder.cst")}));
    EXPECT_EQ(std::tuple(presenter().shown.at(0).style, FileDialogs().SaveModelDialog.InitialDir),
              std::tuple(kErrorBox, b));
}

TEST_F(FileCommandsTest, RevertOnlyForATitledModifiedModelAndOnlyOnYes) {
    Paint(0, 0, "30H");
    EXPECT_FALSE(FileRevert(*form));
    const QString path = models() + S("Arch.cst");
    ASSERT_TRUE(Run(FileSaveAs, {path}));
    EXPECT_FALSE(FileRevert(*form));
    EXPECT_TRUE(presenter().shown.empty());
    Paint(0, 0, "44H");
    EXPECT_FALSE(Run(FileRevert, {}, {IDNO}));
    EXPECT_EQ(std::tuple(Texts(), Cells()),
              std::tuple(QStringList(S("Revert model Arch to last saved version?")), "0,0:30H+44H"));
    WriteModel(path, "9,9:14S");
    EXPECT_TRUE(Run(FileRevert, {}, {IDYES}));
    EXPECT_EQ(std::tuple(Cells(), Label()), std::tuple("9,9:14S", S("Arch")));
    Paint(1, 0, "30H");
    QFile::remove(path);
    EXPECT_FALSE(Run(FileRevert, {}, {IDYES}));
    EXPECT_EQ(std::tuple(presenter().shown.at(1).style, Cells()), std::tuple(kErrorBox, "1,0:30H 9,9:14S"));
}

TEST_F(FileCommandsTest, ATruncatedModelAsksBeforeEverySaveUntilOneSucceeds) {
    const QString path = TitledModifiedModel("Wide");
    const QByteArray before = ReadAll(path);
    form->Model->Truncated = true;
    const QStringList warning(S("Saving this model will truncate the model file on disk forever. "
                                "Are you sure you want to overwrite it?"));
    EXPECT_FALSE(Run(FileSave, {}, {IDNO}));
    EXPECT_EQ(std::tuple(Texts(), ReadAll(path)), std::tuple(warning, before));
    EXPECT_FALSE(Run(FileSaveAs, {models() + S("Narrow.cst")}, {IDNO}));
    EXPECT_EQ(std::tuple(Texts(), QFileInfo::exists(models() + S("Narrow.cst"))), std::tuple(warning, false));
    EXPECT_TRUE(Run(FileSave, {}, {IDYES}));
    EXPECT_EQ(CellsIn(path), "1,1:30H 2,1:45F");
    Paint(7, 7, "30H");
    EXPECT_TRUE(Run(FileSave, {}));
    EXPECT_TRUE(presenter().shown.empty());
}

TEST_F(FileCommandsTest, ClosingAsksToSaveAndWithMessagesOffEveryQuestionIsYes) {
    const QString path = TitledModifiedModel("Closing");
    const QByteArray before = ReadAll(path);
    presenter().answers = {IDCANCEL};
    EXPECT_FALSE(form->close());
    EXPECT_EQ(std::tuple(Texts(), ReadAll(path)),
              std::tuple(QStringList(S("Save changes to model Closing?")), before));
    presenter().answers = {IDYES};
    EXPECT_TRUE(form->close());
    EXPECT_EQ(CellsIn(path), "1,1:30H 2,1:45F");

    SetMessagesEnabled(false);
    UpdateModelName(*form, QString());
    Paint(2, 2, "30H");
    form->Model->Truncated = true;
    EXPECT_TRUE(Run(FileQueryClose, {QString(), models() + S("Quiet.cst"), QString()}));
    EXPECT_TRUE(FileNew(*form));
    EXPECT_EQ(CellsIn(models() + S("Quiet.cst")), "1,1:30H 2,1:45F 2,2:30H");
    EXPECT_FALSE(FileExportBitmap(*form));
    for (const TFileDialogSettings& d : dialogs)
        EXPECT_FALSE(d.OverwritePrompt) << d.Title.toStdString();
    EXPECT_TRUE(presenter().shown.empty());
    SetMessagesEnabled(true);
    choices = {QString(), QString()};
    FileSaveAs(*form);
    FileExportBitmap(*form);
    EXPECT_TRUE(dialogs.rbegin()[1].OverwritePrompt && dialogs.back().OverwritePrompt);
}

TEST_F(FileCommandsTest, ExportWritesTheModelImageAsABitmapOrAPng) {
    Paint(5, 3, "14W");
    EXPECT_FALSE(Run(FileExportBitmap, {QString()}));
    EXPECT_EQ(std::pair(dialogs[0].FileName, QDir(folder->file(S("Images/"))).isEmpty()),
              std::pair(S("(Untitled).bmp"), true));
    const QString out = Dir("Out");
    EXPECT_TRUE(Run(FileExportBitmap, {out + S("Picture.bmp")}));
    EXPECT_EQ(toolBox().sweeps, 1);
    const QByteArray bytes = ReadAll(out + S("Picture.bmp"));
    const QImage shown = form->BaseBmp->Bitmap.convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(std::tuple(bytes[28], bytes.size(), LoadBitmapFile(out + S("Picture.bmp")),
                         FileDialogs().SaveModelDialog.InitialDir),
              std::tuple(char{24}, 54 + shown.height() * ((shown.width() * 3 + 3) / 4 * 4), shown,
                         models())); // 24 bits
    ASSERT_TRUE(Run(FileSaveAs, {models() + S("Scene.cst"), QString()}));
    EXPECT_FALSE(FileExportBitmap(*form));
    EXPECT_EQ(std::pair(dialogs.back().FileName, dialogs.back().InitialDir), std::pair(S("Scene.bmp"), out));

    // The name's extension decides, else the filter (0 bmp, 2 png, 3 any).
    for (const QString& row :
         S("a.png:0:png b:2:png c.PNG:3:png d.bmp:2:bmp e.dib:2:bmp f.xyz:3:bmp").split(' ')) {
        const QStringList f = row.split(':');
        filter = f[1].toInt();
        ASSERT_TRUE(Run(FileExportBitmap, {out + f[0]})) << row.toStdString();
        const QByteArray file = ReadAll(out + f[0]);
        EXPECT_EQ(S(file.startsWith("\x89PNG\r\n\x1a\n") ? "png"
                    : file.startsWith("BM")              ? "bmp"
                                                         : "?"),
                  f[2])
            << row.toStdString();
    }
    EXPECT_EQ(QImage(out + S("a.png")).convertToFormat(QImage::Format_RGB32), shown);

    choices = {QString(), QString()};
    SetFolderWritableCheck([this](const QString& dir) { return !dir.startsWith(folder->path()); });
    const QString own = UserCubestacksFolder();
    QDir(own).removeRecursively();
    EXPECT_FALSE(FileSaveAs(*form));
    EXPECT_FALSE(FileExportBitmap(*form));
    SetFolderWritableCheck({});
    EXPECT_EQ(std::pair(dialogs.rbegin()[1].InitialDir, dialogs.back().InitialDir), std::pair(own, own));
    EXPECT_TRUE(QDir(own).removeRecursively());
    EXPECT_EQ(FileDialogs().OpenModelDialog.InitialDir, models());
}

#ifndef Q_OS_WIN
TEST_F(FileCommandsTest, WallpaperWritesTheModelImageAndHandsItToTheDesktop) {
    const QString path = WallpaperBitmapPath();
    ASSERT_TRUE(path.startsWith(qEnvironmentVariable("XDG_DATA_HOME") + '/')) << path.toStdString();
    FakeDesktop desktop;
    form->WallPaperChanger1->SetDesktopCommands(&desktop);
    int sweepsAtChange = -1;
    form->WallPaperChanger1->OnBeginChange = [&](TWallPaperChanger*) { sweepsAtChange = toolBox().sweeps; };
    for (int round = 1; round <= 2; ++round) {
        Paint(round, 0, "30H");
        EXPECT_TRUE(FileSetWallpaper(*form));
        EXPECT_EQ(LoadBitmapFile(path), form->BaseBmp->Bitmap.convertToFormat(QImage::Format_RGB32));
        EXPECT_EQ(std::tuple(Texts(), sweepsAtChange, desktop.runs > 0),
                  std::tuple(QStringList(), round, true));
    }
    EXPECT_FALSE(form->WallPaperChanger1->Tiled());
    desktop.desktop.clear();
    desktop.runs = 0;
    SetMessagesEnabled(false);
    EXPECT_FALSE(FileSetWallpaper(*form));
    EXPECT_EQ(std::tuple(desktop.runs, presenter().shown.size(), presenter().shown.at(0).style),
              std::tuple(0, 1u, MB_ICONINFORMATION | MB_OK));
    EXPECT_TRUE(presenter().shown.at(0).text.contains(QDir::toNativeSeparators(path)));
    form->WallPaperChanger1->SetDesktopCommands(nullptr);
    QFile::remove(path);
}
#endif

void WhenDialogOpens(std::function<void(QFileDialog&)> action) {
    QTimer::singleShot(0, [action] {
        QFileDialog* dialog = nullptr;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); }, 2000));
        action(*dialog);
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
        EXPECT_EQ(std::tuple(dialog.windowTitle(), dialog.nameFilters(), dialog.acceptMode(),
                             dialog.testOption(QFileDialog::DontConfirmOverwrite),
                             QDir(dialog.directory()).absolutePath() + '/',
                             dialog.findChild<QLineEdit*>(S("fileNameEdit"))->text()),
                  std::tuple(S("Save Model As"),
                             QStringList({S("Cubestacks Files (*.cst)"), S("Any file (*.*)")}),
                             QFileDialog::AcceptSave, false, models(), S("Model01.cst")));
        TypeName(dialog, "Typed");
    });
    EXPECT_TRUE(FileSaveAs(*form));
    EXPECT_EQ(CellsIn(models() + S("Typed.cst")), "1,1:30H");
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
    EXPECT_TRUE(seen && form->EditingEnabled);
}

} // namespace
