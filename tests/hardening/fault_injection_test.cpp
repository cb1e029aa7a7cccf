// Writing files when the file system says no: the model saved (Save As), the
// model image exported as a bitmap and the wallpaper picture written, each onto
// a full disk, into a folder that cannot be written (read-only, or a plain file
// in the place of the folder) and onto a path that is a folder. Each time the
// earlier file stays byte for byte, one error box names what failed, and the
// program goes on: the model and its image as they were, still modified, and
// the same command works once the fault is gone.
//
// The faults are real ones, also for the superuser the tests run as in CI: a
// full disk is the file size limit (RLIMIT_FSIZE, with SIGXFSZ ignored); a
// read-only folder has its permissions taken away and, for the superuser,
// this thread's file-system user switched to "nobody", which permissions bind.

#include "app_fixture.h"

#include "app/file_commands.h"
#include "common/io_error.h"
#include "common/messages.h"
#include "imaging/bitmap.h"
#include "imaging/bitmap_file.h"
#include "desktop/wallpaper_changer.h"
#include "widgets/bmp_wnd.h"
#include "library/block_list.h"
#include "model/model.h"
#include "windows/box_links.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kErrorBox = MB_ICONHAND | MB_OK;
constexpr uid_t kNobody = 65534;

// While it lives, files this process writes cannot grow past the limit, as on
// a disk that is full; a write past it fails (SIGXFSZ ignored) instead of
// ending the process. The earlier limit and signal handling come back after.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        m_ok = getrlimit(RLIMIT_FSIZE, &m_saved) == 0;
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = m_saved;
        limited.rlim_cur = bytes;
        m_ok = m_ok && setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }
    bool ok() const { return m_ok; }

private:
    rlimit m_saved{};
    void (*m_handler)(int) = SIG_DFL;
    bool m_ok = false;
};

// While it lives, the folder cannot be written into by this thread: its
// write permissions are taken away, and a superuser thread works as "nobody"
// (setfsuid drops the power to override permissions with it). The folders
// above it inside the temporary folder are opened for others to pass through.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& folder) : m_folder(folder) {
        const QString temp = QDir(QDir::tempPath()).canonicalPath();
        for (QString dir = QFileInfo(folder).canonicalFilePath();
             dir.startsWith(temp + '/') && dir.size() > temp.size(); dir = QFileInfo(dir).path()) {
            struct stat info {};
            if (stat(dir.toLocal8Bit().constData(), &info) != 0)
                return;
            m_modes.push_back({dir, info.st_mode & 07777});
            const mode_t mode = dir == QFileInfo(folder).canonicalFilePath()
                                    ? S_IRUSR | S_IXUSR | S_IRGRP | S_IXGRP | S_IROTH | S_IXOTH
                                    : (info.st_mode & 07777) | S_IXGRP | S_IXOTH;
            chmod(dir.toLocal8Bit().constData(), mode);
        }
        if (geteuid() == 0) {
            setfsuid(kNobody);
            m_switched = true;
        }
    }
    ~ReadOnlyFolder() {
        if (m_switched)
            setfsuid(0);
        for (const auto& [dir, mode] : m_modes)
            chmod(dir.toLocal8Bit().constData(), mode);
    }
    // The folder can be looked into but nothing can be made in it.
    bool Holds() const {
        if (!QFileInfo(m_folder).isDir() || !QDir(m_folder).isReadable())
            return false;
        QFile probe(m_folder + QStringLiteral("/probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.close();
            probe.remove();
            return false;
        }
        return true;
    }

private:
    QString m_folder;
    std::vector<std::pair<QString, mode_t>> m_modes;
    bool m_switched = false;
};

// A desktop that takes every wallpaper and records that it was asked.
class AcceptingDesktop : public DesktopCommands {
public:
    int Run(const QString& program, const QStringList& args, QString*) override {
        runs.push_back(program + ' ' + args.join(' '));
        return 0;
    }
    QString Env(const QString& name) override {
        return name == QLatin1String("XDG_CURRENT_DESKTOP") ? QStringLiteral("GNOME") : QString();
    }
    bool HasProgram(const QString&) override { return true; }
    bool WriteDesktopValue(const QString&, const QString&) override { return true; }
    bool SetDeskWallpaper(const QString& path) override {
        runs.push_back(path);
        return true;
    }
    std::vector<QString> runs;
};

enum class Operation { SaveModel, ExportBitmap, ExportPng, SetWallpaper };
enum class Fault { FullDisk, ReadOnlyFolder, FileInPlaceOfFolder, FolderInPlaceOfFile };

const char* Name(Operation operation) {
    switch (operation) {
    case Operation::SaveModel:
        return "save model";
    case Operation::ExportBitmap:
        return "export bitmap";
    case Operation::ExportPng:
        return "export PNG";
    default:
        return "set wallpaper";
    }
}

const char* Name(Fault fault) {
    switch (fault) {
    case Fault::FullDisk:
        return "full disk";
    case Fault::ReadOnlyFolder:
        return "read-only folder";
    case Fault::FileInPlaceOfFolder:
        return "a file in the place of the folder";
    default:
        return "a folder in the place of the file";
    }
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
}

// Every file below a folder with its bytes; folders listed with an empty value.
std::map<QString, QByteArray> Snapshot(const QString& root) {
    std::map<QString, QByteArray> files;
    const QFileInfo top(root);
    if (top.isFile()) {
        files[root] = ReadAll(root);
        return files;
    }
    QDir dir(root);
    for (const QFileInfo& entry : dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (entry.isDir()) {
            files[entry.filePath() + '/'] = QByteArray();
            files.merge(Snapshot(entry.filePath()));
        } else {
            files[entry.filePath()] = ReadAll(entry.filePath());
        }
    }
    return files;
}

class FaultInjectionTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        MakeForm();
        SetFileDialogRunner([this](TFileDialogSettings& dialog, QWidget*) {
            if (choices.empty()) {
                ADD_FAILURE() << "unexpected dialog " << dialog.Title.toStdString();
                return false;
            }
            dialog.FileName = choices.front();
            choices.pop_front();
            return true;
        });
        form->WallPaperChanger1->SetDesktopCommands(&desktop);
        QFile::remove(WallpaperBitmapPath());

        // A model of full stacks everywhere: its file is far past the limit of the full disk.
        const std::string names[] = {"30H", "30V", "45F", "14N", "14E", "14S", "14W", "44H"};
        for (int row = 0; row < form->Model->Rows; ++row)
            for (int col = 0; col < form->Model->Cols; ++col)
                for (int level = 0; level < 8; ++level)
                    form->Model->SetBlockIndex(col, row, Index(names[(col + row + level) % 8]), level);
        form->RefreshModelView();
        title = folder->file(QStringLiteral("Models/Scene.cst"));
        form->Model->SaveToFile(title);
        UpdateModelName(*form, title);
        Paint(1, 1, "45F");
    }

    void TearDown() override {
        EXPECT_TRUE(choices.empty()) << "dialogs expected but not shown: " << choices.size();
        SetFileDialogRunner({});
        form->WallPaperChanger1->SetDesktopCommands(nullptr);
        const QString wallpaper = WallpaperBitmapPath();
        QFileInfo(wallpaper).isDir() ? QDir(wallpaper).removeRecursively() : QFile::remove(wallpaper);
        const QString wallpaperFolder = QFileInfo(wallpaper).path();
        if (QFileInfo(wallpaperFolder).isFile())
            QFile::remove(wallpaperFolder);
        AppTest::TearDown();
    }

    TToolBoxState& toolBox() { return static_cast<TToolBoxState&>(form->ToolBox()); }

    // A block painted with the mouse, as the user would: a press and a release on the cell.
    void Paint(int col, int row, const std::string& name) {
        Select(name);
        Press(Qt::LeftButton, col * 32 + 16, row * 32 + 16);
        Release(Qt::LeftButton, col * 32 + 16, row * 32 + 16);
    }

    // Paints a block other than the one on top of the full stack there, which takes its place.
    void PaintChange(int col, int row) {
        const std::vector<std::string> before = Stack(col, row);
        Paint(col, row, before.back() == "30V" ? "44H" : "30V");
        EXPECT_NE(Stack(col, row), before) << "cell " << col << ", " << row;
    }

    // Where the operation writes: the folder and the file's name in it.
    QString Target(Operation operation) const {
        switch (operation) {
        case Operation::SaveModel:
            return folder->file(QStringLiteral("Out/Target.cst"));
        case Operation::ExportBitmap:
            return folder->file(QStringLiteral("Out/Target.bmp"));
        case Operation::ExportPng:
            return folder->file(QStringLiteral("Out/Target.png"));
        default:
            return WallpaperBitmapPath();
        }
    }

    // Runs the command as the user would, the file dialog answered with target.
    bool Run(Operation operation, const QString& target) {
        switch (operation) {
        case Operation::SaveModel:
            choices.push_back(target);
            return FileSaveAs(*form);
        case Operation::ExportBitmap:
        case Operation::ExportPng:
            choices.push_back(target);
            return FileExportBitmap(*form);
        default:
            return FileSetWallpaper(*form);
        }
    }

    // What the written file holds read back equals what the program has now.
    void ExpectWritten(Operation operation, const QString& path) {
        ASSERT_TRUE(QFileInfo(path).isFile()) << path.toStdString();
        if (operation == Operation::SaveModel) {
            TModel back(form->Model->Context());
            ASSERT_TRUE(back.LoadFromFile(path));
            EXPECT_EQ(back.Cells, form->Model->Cells);
        } else {
            const QImage back = operation == Operation::ExportPng ? QImage(path) : LoadBitmapFile(path);
            EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32),
                      form->BaseBmp->Bitmap.convertToFormat(QImage::Format_RGB32));
        }
    }

    QString title;
    std::deque<QString> choices;
    AcceptingDesktop desktop;
};

TEST_F(FaultInjectionTest, EveryWriteKeepsTheEarlierFileSaysWhyAndTheProgramGoesOn) {
    for (Operation operation :
         {Operation::SaveModel, Operation::ExportBitmap, Operation::ExportPng, Operation::SetWallpaper}) {
        for (Fault fault : {Fault::FullDisk, Fault::ReadOnlyFolder, Fault::FileInPlaceOfFolder,
                            Fault::FolderInPlaceOfFile}) {
            SCOPED_TRACE(std::string(Name(operation)) + " onto " + Name(fault));
            presenter().Clear();
            // Back to the titled, modified model every case starts from.
            if (ModelFileName() != title) {
                UpdateModelName(*form, title);
                EXPECT_TRUE(form->Model->Modified);
            }
            const QString target = Target(operation);
            const QString dir = QFileInfo(target).path();
            QDir().mkpath(dir);

            // The earlier file, written by the same command before anything goes wrong.
            const int sweeps = toolBox().sweeps;
            ASSERT_TRUE(Run(operation, target));
            ASSERT_TRUE(presenter().shown.empty());
            EXPECT_EQ(toolBox().sweeps, sweeps + 1);
            UpdateModelName(*form, title);
            PaintChange(2 + static_cast<int>(fault), 3 + static_cast<int>(operation));
            ASSERT_TRUE(form->Model->Modified);

            // The fault, and what it leaves to compare: the earlier file, or what stands in its way.
            QString watched = target;
            QString tried = target;
            std::unique_ptr<FileSizeLimit> limit;
            std::unique_ptr<ReadOnlyFolder> readOnly;
            switch (fault) {
            case Fault::FullDisk:
                break;
            case Fault::ReadOnlyFolder:
                // The earlier file itself may be written by anyone: only the folder says no.
                QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                                  QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther);
                break;
            case Fault::FileInPlaceOfFolder:
                if (operation == Operation::SetWallpaper) {
                    // The picture's folder is fixed: a file takes its place.
                    ASSERT_TRUE(QDir(dir).removeRecursively());
                    WriteFile(dir, "in the way");
                    watched = dir;
                } else {
                    WriteFile(folder->file(QStringLiteral("Out/Blocked")), "in the way");
                    tried = folder->file(QStringLiteral("Out/Blocked/Target.x"));
                    watched = folder->file(QStringLiteral("Out"));
                }
                break;
            case Fault::FolderInPlaceOfFile:
                ASSERT_TRUE(QFile::remove(target));
                ASSERT_TRUE(QDir().mkpath(target));
                WriteFile(target + QStringLiteral("/keep.txt"), "kept");
                watched = dir;
                break;
            }
            if (fault == Fault::FullDisk || fault == Fault::ReadOnlyFolder)
                watched = dir; // the earlier file, and no half-written file beside it
            const std::map<QString, QByteArray> before = Snapshot(watched);
            ASSERT_FALSE(before.empty());
            const auto cells = form->Model->Cells;
            const QImage image = form->BaseBmp->Bitmap.copy();
            const QString label = toolBox().fileLabel;
            const QString wallpaperSet = form->WallPaperChanger1->Filename();
            const size_t desktopRuns = desktop.runs.size();

            bool done = true;
            {
                if (fault == Fault::FullDisk) {
                    limit = std::make_unique<FileSizeLimit>(4096);
                    ASSERT_TRUE(limit->ok());
                } else if (fault == Fault::ReadOnlyFolder) {
                    readOnly = std::make_unique<ReadOnlyFolder>(dir);
                    if (!readOnly->Holds()) {
                        readOnly.reset();
                        ADD_FAILURE() << "the folder could not be made read-only here";
                        continue;
                    }
                }
                done = Run(operation, tried);
                limit.reset();
                readOnly.reset();
            }

            EXPECT_FALSE(done);
            EXPECT_EQ(Snapshot(watched), before);
            ASSERT_EQ(presenter().shown.size(), 1u);
            const RecordingPresenter::Shown& box = presenter().shown[0];
            EXPECT_EQ(box.style, kErrorBox);
            EXPECT_EQ(box.caption, QString::fromLatin1(kProgramTitle));
            const QString named = fault == Fault::FileInPlaceOfFolder && operation == Operation::SetWallpaper
                                      ? QDir::toNativeSeparators(dir)
                                      : QFileInfo(tried).fileName();
            EXPECT_TRUE(box.text.contains(named)) << box.text.toStdString();
            // With the system's reason: a full disk says so.
            EXPECT_FALSE(box.text.contains(QStringLiteral("Unknown error"))) << box.text.toStdString();
            if (fault == Fault::FullDisk) {
                EXPECT_TRUE(box.text.contains(QString::fromLocal8Bit(std::strerror(EFBIG))))
                    << box.text.toStdString();
            }
            // The program goes on with its model as it was.
            EXPECT_EQ(form->Model->Cells, cells);
            EXPECT_EQ(form->BaseBmp->Bitmap, image);
            EXPECT_TRUE(form->Model->Modified);
            EXPECT_EQ(ModelFileName(), title);
            EXPECT_EQ(toolBox().fileLabel, label);
            EXPECT_EQ(toolBox().sweeps, sweeps + 1); // no sweep for a file not written
            EXPECT_EQ(form->WallPaperChanger1->Filename(), wallpaperSet);
            EXPECT_EQ(desktop.runs.size(), desktopRuns); // nothing handed to the desktop

            // The fault gone, editing and the same command work again.
            if (fault == Fault::FileInPlaceOfFolder) {
                if (operation == Operation::SetWallpaper)
                    ASSERT_TRUE(QFile::remove(dir));
                else
                    ASSERT_TRUE(QFile::remove(folder->file(QStringLiteral("Out/Blocked"))));
            } else if (fault == Fault::FolderInPlaceOfFile) {
                ASSERT_TRUE(QDir(target).removeRecursively());
            }
            PaintChange(20, 20);
            presenter().Clear();
            EXPECT_TRUE(Run(operation, target));
            EXPECT_TRUE(presenter().shown.empty());
            ExpectWritten(operation, target);
            if (operation == Operation::SetWallpaper) {
                EXPECT_GT(desktop.runs.size(), desktopRuns);
            }
            PaintChange(21, 20);
        }
    }
}

// Saving in place (Ctrl+S) onto a full disk: the file on disk stays the saved
// version, the title and its "*" stay, and the save question of New, Open and
// closing stops them rather than let the changes go.
TEST_F(FaultInjectionTest, SaveInPlaceOntoAFullDiskKeepsTheFileAndTheChanges) {
    const QByteArray saved = ReadAll(title);
    const auto cells = form->Model->Cells;
    presenter().answers = {IDOK, IDYES, IDOK, IDYES, IDOK, IDYES, IDOK};
    {
        FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.ok());
        EXPECT_FALSE(FileSave(*form));
        EXPECT_FALSE(FileNew(*form));
        EXPECT_FALSE(FileOpen(*form));
        EXPECT_FALSE(FileQueryClose(*form));
    }
    // An error box for each save, after each Yes to the question.
    ASSERT_EQ(presenter().shown.size(), 7u);
    for (size_t i : {0u, 2u, 4u, 6u}) {
        EXPECT_EQ(presenter().shown[i].style, kErrorBox) << i;
        EXPECT_TRUE(presenter().shown[i].text.contains(QStringLiteral("Scene.cst"))) << i;
        EXPECT_TRUE(presenter().shown[i].text.contains(QString::fromLocal8Bit(std::strerror(EFBIG)))) << i;
    }
    EXPECT_EQ(ReadAll(title), saved);
    EXPECT_EQ(QDir(folder->file(QStringLiteral("Models"))).entryList(QDir::Files), QStringList{"Scene.cst"});
    EXPECT_EQ(form->Model->Cells, cells);
    EXPECT_TRUE(form->Model->Modified);
    EXPECT_EQ(toolBox().fileLabel, QStringLiteral("Scene*"));
    EXPECT_EQ(toolBox().sweeps, 0);

    // Room again: the same Ctrl+S saves the changes.
    presenter().Clear();
    EXPECT_TRUE(FileSave(*form));
    EXPECT_TRUE(presenter().shown.empty());
    EXPECT_FALSE(form->Model->Modified);
    EXPECT_EQ(toolBox().fileLabel, QStringLiteral("Scene"));
    ExpectWritten(Operation::SaveModel, title);
}

// Files smaller than the write buffer reach the disk only when they are
// committed: a disk that is full by then must fail the save as well, not leave
// a cut file in the place of the earlier one.
TEST_F(FaultInjectionTest, SmallFilesOntoAFullDiskFailAsWell) {
    TModel small(ModelContext());
    small.SetBlockIndex(3, 4, Index("45F"), 0);
    small.TextOverlay.Text = "small";
    const QString model = folder->file(QStringLiteral("Models/Small.cst"));
    small.SaveToFile(model);
    const QByteArray earlierModel = ReadAll(model);
    ASSERT_GT(earlierModel.size(), 200);
    ASSERT_LT(earlierModel.size(), 4096);
    small.SetBlockIndex(5, 5, Index("30H"), 0);
    small.Modified = true;

    QImage image = NewBitmap(12, 10);
    const QString bitmap = folder->file(QStringLiteral("Images/Small.bmp"));
    SaveBitmapFile(image, bitmap);
    const QString wallpaper = SaveWallpaperBitmap(image);
    const QByteArray earlierBitmap = ReadAll(bitmap);
    ASSERT_EQ(ReadAll(wallpaper), earlierBitmap);
    image.fill(qRgb(200, 10, 10));

    const std::string reason = std::strerror(EFBIG);
    auto expectFailure = [&](const std::function<void()>& write, const char* what) {
        try {
            write();
            ADD_FAILURE() << what << " was written onto a full disk";
        } catch (const IoError& error) {
            EXPECT_NE(std::string(error.what()).find(reason), std::string::npos) << error.what();
        }
    };
    {
        FileSizeLimit limit(100);
        ASSERT_TRUE(limit.ok());
        expectFailure([&] { small.SaveToFile(model); }, "the model");
        expectFailure([&] { SaveBitmapFile(image, bitmap); }, "the bitmap");
        expectFailure([&] { SaveWallpaperBitmap(image); }, "the wallpaper");
    }
    EXPECT_EQ(ReadAll(model), earlierModel);
    EXPECT_EQ(ReadAll(bitmap), earlierBitmap);
    EXPECT_EQ(ReadAll(wallpaper), earlierBitmap);
    EXPECT_TRUE(small.Modified);
    EXPECT_EQ(QDir(folder->file(QStringLiteral("Images"))).entryList(QDir::Files), QStringList{"Small.bmp"});
    EXPECT_EQ(QDir(QFileInfo(wallpaper).path()).entryList(QDir::Files),
              QStringList{QFileInfo(wallpaper).fileName()});
}

} // namespace
