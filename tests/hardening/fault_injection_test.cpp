// Writing files when the file system says no (a full disk, a read-only folder, a
// file in the place of the folder, a folder in the place of the file): the earlier
// file stays byte for byte, one error box says what failed and why, the program
// goes on as it was. The faults are real also for the superuser of CI: the file
// size limit, and for a read-only folder the file-system user "nobody".

#include "app_fixture.h"

#include "common/io_error.h"
#include "imaging/bitmap.h"
#include "imaging/bitmap_file.h"

#include <QDirIterator>
#include <csignal>
#include <cstring>
#include <map>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

// Runs `write` with the files this process writes unable to grow past `bytes`,
// as on a disk that is full: a write past it fails instead of ending the process.
template <class Write> void OnAFullDisk(rlim_t bytes, Write write) {
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limited{bytes, saved.rlim_max};
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    write();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
}

// Runs `write` with this thread unable to write into the folder: its write
// permissions taken away, the superuser working as "nobody", the folders above
// it inside the temporary folder opened for others to pass through.
template <class Write> void InAReadOnlyFolder(const QString& folder, Write write) {
    const QString temp = QDir(QDir::tempPath()).canonicalPath(), self = QFileInfo(folder).canonicalFilePath();
    std::vector<std::pair<QByteArray, mode_t>> modes;
    for (QString dir = self; dir.startsWith(temp + '/'); dir = QFileInfo(dir).path()) {
        struct stat info {};
        stat(dir.toLocal8Bit().constData(), &info);
        modes.push_back({dir.toLocal8Bit(), info.st_mode & 07777});
        chmod(modes.back().first.constData(), dir == self ? 0555 : (info.st_mode & 07777) | 011);
    }
    setfsuid(geteuid() == 0 ? 65534 : geteuid());
    EXPECT_FALSE(QFile(folder + "/probe").open(QIODevice::WriteOnly))
        << "the folder could not be made read-only";
    write();
    setfsuid(geteuid());
    for (const auto& [dir, mode] : modes)
        chmod(dir.constData(), mode);
}

enum Operation { SaveModel, ExportBitmap, ExportPng, SetWallpaper };
enum Fault { FullDisk, ReadOnly, FileInPlaceOfFolder, FolderInPlaceOfFile };

// Every file and folder below the folder (or the one file) with its bytes.
std::map<QString, QByteArray> Snapshot(const QString& root) {
    std::map<QString, QByteArray> files = {{root, ReadAll(root)}};
    for (QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString path = it.next();
        files[path] = ReadAll(path);
    }
    return files;
}

const std::string kFullDisk = std::strerror(EFBIG);

class FaultInjectionTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        SetFileDialogRunner([this](TFileDialogSettings& dialog, QWidget*) {
            dialog.FileName = std::exchange(choice, QString());
            return !dialog.FileName.isEmpty();
        });
        form->WallPaperChanger1->SetDesktopCommands(&desktop);
        // Full stacks everywhere: the model's file is far past the limit of the full disk.
        const std::string names[] = {"30H", "30V", "45F", "14N", "14E", "14S", "14W", "44H"};
        for (int row = 0; row < form->Model->Rows; ++row)
            for (int col = 0; col < form->Model->Cols; ++col)
                for (int level = 0; level < 8; ++level)
                    form->Model->SetBlockIndex(col, row, Index(names[(col + row + level) % 8]), level);
        form->RefreshModelView();
        title = folder->file("Models/Scene.cst");
        form->Model->SaveToFile(title);
        UpdateModelName(*form, title);
        PaintChange(1, 1);
    }

    void TearDown() override {
        EXPECT_TRUE(choice.isEmpty()) << "a dialog expected but not shown";
        SetFileDialogRunner({});
        form->WallPaperChanger1->SetDesktopCommands(nullptr);
        QDir(QFileInfo(WallpaperBitmapPath()).path()).removeRecursively(); // or a file in its place
        QFile::remove(QFileInfo(WallpaperBitmapPath()).path());
        AppTest::TearDown();
    }

    // Paints, with the mouse, a block other than the one on top of the stack there.
    void PaintChange(int col, int row) {
        const std::vector<std::string> before = Stack(col, row);
        Select(before.back() == "30V" ? "44H" : "30V");
        ClickCell(Qt::LeftButton, col, row);
        EXPECT_NE(Stack(col, row), before) << "cell " << col << ", " << row;
    }

    QString Target(Operation operation) const {
        const char* names[] = {"Out/Target.cst", "Out/Target.bmp", "Out/Target.png"};
        return operation == SetWallpaper ? WallpaperBitmapPath() : folder->file(names[operation]);
    }

    // Runs the command as the user would, the file dialog answered with target.
    bool Run(Operation operation, const QString& target) {
        if (operation == SetWallpaper)
            return FileSetWallpaper(*form);
        choice = target;
        return operation == SaveModel ? FileSaveAs(*form) : FileExportBitmap(*form);
    }

    // What the written file holds read back equals what the program has now.
    void ExpectWritten(Operation operation, const QString& path) {
        if (operation == SaveModel) {
            TModel back(form->Model->Context());
            ASSERT_TRUE(back.LoadFromFile(path));
            EXPECT_EQ(back.Cells, form->Model->Cells);
        } else {
            const QImage back = operation == ExportPng ? QImage(path) : LoadBitmapFile(path);
            EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32),
                      form->BaseBmp->Bitmap.convertToFormat(QImage::Format_RGB32));
        }
    }

    QString title;
    QString choice; // the file the next file dialog answers
    FakeDesktop desktop;
};

TEST_F(FaultInjectionTest, EveryWriteKeepsTheEarlierFileSaysWhyAndTheProgramGoesOn) {
    for (Operation operation : {SaveModel, ExportBitmap, ExportPng, SetWallpaper}) {
        for (Fault fault : {FullDisk, ReadOnly, FileInPlaceOfFolder, FolderInPlaceOfFile}) {
            SCOPED_TRACE("operation " + std::to_string(operation) + ", fault " + std::to_string(fault));
            presenter().Clear();
            const QString target = Target(operation), dir = QFileInfo(target).path();
            QDir().mkpath(dir);
            // The earlier file, written by the same command before anything goes wrong.
            ASSERT_TRUE(Run(operation, target));
            ASSERT_TRUE(presenter().shown.empty());
            UpdateModelName(*form, title);
            PaintChange(2 + fault, 3 + operation);

            // The fault; the folder holds the earlier file, or what stands in the way.
            QString tried =
                target; // the earlier file itself may be written by anyone: only the folder says no
            QFile::setPermissions(target, QFile::Permissions(0x6066));
            if (fault == FileInPlaceOfFolder && operation == SetWallpaper) {
                ASSERT_TRUE(QDir(dir).removeRecursively()); // the picture's folder is fixed
                ASSERT_TRUE(WriteBytes(dir, "in the way"));
            } else if (fault == FileInPlaceOfFolder) {
                ASSERT_TRUE(WriteBytes(folder->file("Out/Blocked"), "in the way"));
                tried = folder->file("Out/Blocked/Target.x");
            } else if (fault == FolderInPlaceOfFile) {
                ASSERT_TRUE(QFile::remove(target) && QDir().mkpath(target));
                ASSERT_TRUE(WriteBytes(target + "/keep.txt", "kept"));
            }
            const std::map<QString, QByteArray> before = Snapshot(dir);
            const auto state = [&] { // what the program shows and has handed to the desktop
                return std::tuple(form->Model->Cells, form->BaseBmp->Bitmap.copy(), form->Model->Modified,
                                  ModelFileName(), Label(), toolBox().sweeps,
                                  form->WallPaperChanger1->Filename(), desktop.runs);
            };
            const auto stateBefore = state();
            bool done = true;
            const auto write = [&] { done = Run(operation, tried); };
            fault == FullDisk   ? OnAFullDisk(4096, write)
            : fault == ReadOnly ? InAReadOnlyFolder(dir, write)
                                : write();

            EXPECT_FALSE(done);
            EXPECT_EQ(Snapshot(dir), before);
            ASSERT_EQ(presenter().shown.size(), 1u);
            const RecordingPresenter::Shown& box = presenter().shown[0];
            EXPECT_EQ(box.style, MB_ICONHAND | MB_OK);
            EXPECT_EQ(box.caption, QString::fromLatin1(kProgramTitle));
            const bool folderNamed = fault == FileInPlaceOfFolder && operation == SetWallpaper;
            EXPECT_TRUE(
                box.text.contains(folderNamed ? QDir::toNativeSeparators(dir) : QFileInfo(tried).fileName()))
                << box.text.toStdString();
            EXPECT_FALSE(box.text.contains("Unknown error")) << box.text.toStdString();
            EXPECT_TRUE(fault != FullDisk || box.text.contains(QString::fromStdString(kFullDisk)))
                << box.text.toStdString();
            EXPECT_EQ(state(), stateBefore); // the program goes on as it was, no sweep, nothing handed on

            // The fault gone, editing and the same command work again.
            if (fault == FileInPlaceOfFolder)
                QFile::remove(operation == SetWallpaper ? dir : folder->file("Out/Blocked"));
            if (fault == FolderInPlaceOfFile)
                QDir(target).removeRecursively();
            PaintChange(20, 20);
            presenter().Clear();
            EXPECT_TRUE(Run(operation, target));
            EXPECT_TRUE(presenter().shown.empty());
            EXPECT_EQ(toolBox().sweeps, std::get<5>(stateBefore) + 1);
            ExpectWritten(operation, target);
            EXPECT_EQ(desktop.runs > std::get<7>(stateBefore), operation == SetWallpaper);
        }
    }
}

// Saving in place (Ctrl+S) onto a full disk: the file stays the saved version,
// the title keeps its "*", and the save question of New, Open and closing stops
// them rather than let the changes go.
TEST_F(FaultInjectionTest, SaveInPlaceOntoAFullDiskKeepsTheFileAndTheChanges) {
    const QByteArray saved = ReadAll(title);
    const auto cells = form->Model->Cells;
    presenter().answers = {IDOK, IDYES, IDOK, IDYES, IDOK, IDYES, IDOK};
    OnAFullDisk(4096, [&] {
        EXPECT_FALSE(FileSave(*form));
        EXPECT_FALSE(FileNew(*form));
        EXPECT_FALSE(FileOpen(*form));
        EXPECT_FALSE(FileQueryClose(*form));
    });
    ASSERT_EQ(presenter().shown.size(), 7u); // an error box for each save, after each Yes to the question
    for (size_t i : {0u, 2u, 4u, 6u}) {
        EXPECT_EQ(presenter().shown[i].style, MB_ICONHAND | MB_OK) << i;
        EXPECT_TRUE(presenter().shown[i].text.contains("Scene.cst")) << i;
        EXPECT_TRUE(presenter().shown[i].text.contains(QString::fromStdString(kFullDisk))) << i;
    }
    EXPECT_EQ(ReadAll(title), saved);
    EXPECT_EQ(QDir(folder->file("Models")).entryList(QDir::Files), QStringList{"Scene.cst"});
    EXPECT_EQ(form->Model->Cells, cells);
    EXPECT_TRUE(form->Model->Modified);
    EXPECT_EQ(Label(), "Scene*");
    EXPECT_EQ(toolBox().sweeps, 0);
}

// Files smaller than the write buffer would reach the disk only when they are
// committed: a disk full by then must fail the write as well, the earlier file kept.
TEST_F(FaultInjectionTest, SmallFilesOntoAFullDiskFailAsWell) {
    TModel small(ModelContext());
    small.TextOverlay.Text = "small";
    const QString model = folder->file("Models/Small.cst");
    small.SaveToFile(model);
    const auto before = Snapshot(folder->path());
    ASSERT_TRUE(ReadAll(model).size() > 100 && ReadAll(model).size() < 4096);
    small.SetBlockIndex(5, 5, Index("30H"), 0);
    small.Modified = true;
    OnAFullDisk(100, [&] {
        try {
            small.SaveToFile(model);
            ADD_FAILURE() << "written onto a full disk";
        } catch (const IoError& error) {
            EXPECT_NE(std::string(error.what()).find(kFullDisk), std::string::npos) << error.what();
        }
    });
    EXPECT_EQ(Snapshot(folder->path()), before);
    EXPECT_TRUE(small.Modified);
}

} // namespace
