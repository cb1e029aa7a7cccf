// Recovery copies of unsaved changes: written after a change, removed when
// nothing is unsaved, offered at the next start after a run that did not end
// normally, and never taken from a program that still runs.

#include "app_fixture.h"

#include "app/file_commands.h"
#include "app/recovery.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString Read(const QString& fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QStringLiteral("(missing)");
}

// The copy a program that died would have left in folder: the model, its
// path and a lock naming a process that no longer runs.
void LeaveCopy(const QString& folder, const QString& id, const QByteArray& model, const QString& path) {
    QDir().mkpath(folder);
    const QString base = QDir(folder).filePath(id);
    QByteArray lock;
    {
        QLockFile real(base + QStringLiteral(".lock"));
        ASSERT_TRUE(real.tryLock(0));
        QFile file(base + QStringLiteral(".lock"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        lock = file.readAll();
    }
    QProcess gone;
    gone.start(QStringLiteral("true"), {});
    ASSERT_TRUE(gone.waitForStarted());
    const QByteArray pid = QByteArray::number(gone.processId());
    ASSERT_TRUE(gone.waitForFinished());
    lock = pid + lock.mid(lock.indexOf('\n'));
    for (const auto& [extension, bytes] :
         {std::pair{".lock", lock}, {".path", path.toUtf8()}, {".cst", model}}) {
        QFile file(base + QLatin1String(extension));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
}

class RecoveryTest : public AppTest {
protected:
    QString Folder() const { return TRecovery::DefaultFolder(); }
    QByteArray ModelWith(int col, int row, const std::string& name) {
        TModel model(ModelContext());
        model.SetBlockIndex(col, row, Index(name), 0);
        return model.FileBytes();
    }
    QStringList FilesLeft() const { return QDir(Folder()).entryList(QDir::Files, QDir::Name); }
    void Click(int col, int row) { ClickCell(Qt::LeftButton, col, row); }
    bool CopyWritten() {
        return QTest::qWaitFor([&] { return QFileInfo::exists(form->Recovery->ModelCopy()); }, 5000);
    }
};

TEST_F(RecoveryTest, WrittenAfterAChangeAndGoneWhenNothingIsUnsaved) {
    MakeForm();
    form->Recovery->SetInterval(20);
    const QString copy = form->Recovery->ModelCopy();
    const QString pathFile = QDir(Folder()).filePath(form->Recovery->Id() + QStringLiteral(".path"));
    Select("45F");
    Click(2, 3);
    EXPECT_FALSE(QFileInfo::exists(copy)); // not at once
    ASSERT_TRUE(CopyWritten());
    {
        TModel written(ModelContext());
        ASSERT_TRUE(written.LoadFromFile(copy));
        EXPECT_EQ(written.GetBlockIndex(2, 3, 0), Index("45F"));
    }
    EXPECT_EQ(Read(pathFile), QString()); // untitled
    // Undone back to the unmodified model: nothing unsaved, no copy.
    form->MainMenu.Undo1->trigger();
    EXPECT_FALSE(QFileInfo::exists(copy));
    form->MainMenu.Redo1->trigger();
    ASSERT_TRUE(CopyWritten());

    // A save removes it; the next change brings it back with the file's path.
    const QString saved = folder->file(QStringLiteral("Models/Tower.cst"));
    DialogsChoose(saved);
    form->MainMenu.Save1->trigger();
    EXPECT_FALSE(QFileInfo::exists(copy));
    Click(4, 4);
    ASSERT_TRUE(CopyWritten());
    EXPECT_EQ(Read(pathFile), saved);

    // New gives the changes up: no copy.
    presenter().answers = {IDNO};
    form->MainMenu.New1->trigger();
    EXPECT_FALSE(QFileInfo::exists(copy));
    Click(4, 4);
    ASSERT_TRUE(CopyWritten());

    // A normal end, the changes given up: no copy stays, nor its lock.
    presenter().answers = {IDNO};
    form->close();
    EXPECT_FALSE(QFileInfo::exists(copy));
    form.reset();
    EXPECT_EQ(FilesLeft(), QStringList());
}

TEST_F(RecoveryTest, ALeftCopyComesBackModifiedUnderItsOwnFileName) {
    const QString castle = folder->file(QStringLiteral("Models/Castle.cst"));
    LeaveCopy(Folder(), QStringLiteral("7-0"), ModelWith(4, 5, "45F"), castle);
    MakeForm();
    ASSERT_EQ(presenter().shown.size(), 1u);
    EXPECT_EQ(
        presenter().shown[0].text,
        QStringLiteral("Quadrantine Cubestacks did not close normally. Restore the unsaved changes to model "
                       "Castle?"));
    EXPECT_EQ(presenter().shown[0].style, MB_ICONQUESTION | MB_YESNO);
    EXPECT_EQ(Stack(4, 5), Names({"45F"}));
    EXPECT_EQ(Label(), QStringLiteral("Castle*"));
    EXPECT_EQ(ModelFileName(), castle);
    EXPECT_FALSE(form->MainMenu.Undo1->isEnabled());
    // The old copy has become this program's own.
    const QString own = form->Recovery->Id();
    EXPECT_EQ(FilesLeft(), QStringList({own + ".cst", own + ".lock", own + ".path"}));
    // Save writes the user's own file.
    form->MainMenu.Save1->trigger();
    TModel saved(ModelContext());
    ASSERT_TRUE(saved.LoadFromFile(castle));
    EXPECT_EQ(saved.GetBlockIndex(4, 5, 0), Index("45F"));
    EXPECT_EQ(FilesLeft(), QStringList({own + ".lock"}));
}

TEST_F(RecoveryTest, NoRemovesACopyAndADamagedOneIsToldAndRemoved) {
    LeaveCopy(Folder(), QStringLiteral("8-0"), ModelWith(1, 1, "45F"), QString());
    LeaveCopy(Folder(), QStringLiteral("9-0"), QByteArray("MdF\x1A\x02\x04 cut short", 14), QString());
    // The damaged one is the older: the good one is asked about first.
    QFile damaged(QDir(Folder()).filePath(QStringLiteral("9-0.cst")));
    ASSERT_TRUE(damaged.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        damaged.setFileTime(QDateTime::currentDateTime().addSecs(-600), QFileDevice::FileModificationTime));
    damaged.close();
    presenter().answers = {IDNO};
    MakeForm();
    ASSERT_EQ(presenter().shown.size(), 2u);
    EXPECT_EQ(
        presenter().shown[0].text,
        QStringLiteral("Quadrantine Cubestacks did not close normally. Restore the unsaved changes to model "
                       "(Untitled)?"));
    const QString told = presenter().shown[1].text;
    EXPECT_TRUE(
        told.startsWith(QStringLiteral("The recovery copy %1 of the unsaved changes to model (Untitled) is "
                                       "damaged and was removed; those changes are lost.")
                            .arg(QDir::toNativeSeparators(damaged.fileName()))))
        << told.toStdString();
    EXPECT_EQ(presenter().shown[1].style, MB_ICONEXCLAMATION);
    // The start went on: the empty untitled model, and no copy left but this program's lock.
    EXPECT_TRUE(Stack(1, 1).empty());
    EXPECT_FALSE(form->Model->Modified);
    EXPECT_EQ(FilesLeft(), QStringList({form->Recovery->Id() + ".lock"}));

    // With messages off a copy comes back unasked.
    form.reset();
    LeaveCopy(Folder(), QStringLiteral("10-0"), ModelWith(2, 2, "45F"), QString());
    presenter().Clear();
    SetMessagesEnabled(false);
    MakeForm();
    EXPECT_TRUE(presenter().shown.empty());
    EXPECT_EQ(Stack(2, 2), Names({"45F"}));
    EXPECT_EQ(Label(), QStringLiteral("(Untitled)*"));
}

TEST_F(RecoveryTest, TwoProgramsNeverTakeEachOthersCopies) {
    QTemporaryDir dir;
    TRecovery first(dir.path());
    TRecovery second(dir.path());
    ASSERT_TRUE(first.Active());
    ASSERT_TRUE(second.Active());
    EXPECT_NE(first.Id(), second.Id());
    first.Write(ModelWith(0, 0, "45F"), QStringLiteral("/models/a.cst"));
    EXPECT_TRUE(second.ClaimLeftCopies().empty()); // the first one runs
    // A left copy goes to one program only, for as long as it holds it.
    LeaveCopy(dir.path(), QStringLiteral("11-0"), ModelWith(0, 0, "45F"), QStringLiteral("/models/b.cst"));
    const std::vector<TRecovery::TLeftCopy> taken = first.ClaimLeftCopies();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].Path, QStringLiteral("/models/b.cst"));
    EXPECT_TRUE(second.ClaimLeftCopies().empty());
    first.Release(taken[0]);
    const std::vector<TRecovery::TLeftCopy> again = second.ClaimLeftCopies();
    ASSERT_EQ(again.size(), 1u);
    second.Remove(again[0]);
    EXPECT_FALSE(QFileInfo::exists(again[0].ModelFile));
    EXPECT_TRUE(QFileInfo::exists(first.ModelCopy()));
}

} // namespace
