#include "app_fixture.h"

#include <QLockFile>

namespace {

// The copy a program that died would have left: model, path, a lock naming a gone process.
void LeaveCopy(const QString& folder, const QString& id, const QByteArray& model, const QString& path) {
    QDir().mkpath(folder);
    const QString base = QDir(folder).filePath(id);
    QLockFile real(base + S(".lock"));
    ASSERT_TRUE(real.tryLock(0));
    QByteArray lock = ReadAll(base + S(".lock"));
    real.unlock();
    lock = QByteArray::number((1 << 30) + 1) + lock.mid(lock.indexOf('\n')); // above any process id
    ASSERT_TRUE(WriteBytes(base + S(".lock"), lock));
    ASSERT_TRUE(WriteBytes(base + S(".path"), path.toUtf8()) && WriteBytes(base + S(".cst"), model));
}

class RecoveryTest : public AppTest {
protected:
    static QString Asked(const char* model) {
        return S("Quadrantine Cubestacks did not close normally. Restore the unsaved changes to model %1?")
            .arg(S(model));
    }
    QString Folder() const { return TRecovery::DefaultFolder(); }
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
    const QString pathFile = QDir(Folder()).filePath(form->Recovery->Id() + S(".path"));
    Select("45F");
    Click(2, 3);
    EXPECT_FALSE(QFileInfo::exists(copy)); // not at once
    ASSERT_TRUE(CopyWritten());
    EXPECT_EQ(std::tuple(CellsIn(copy), QFileInfo::exists(pathFile), ReadAll(pathFile)),
              std::tuple("2,3:45F", true, QByteArray())); // untitled
    form->MainMenu.Undo1->trigger();
    EXPECT_FALSE(QFileInfo::exists(copy));
    form->MainMenu.Redo1->trigger();
    ASSERT_TRUE(CopyWritten());

    const QString saved = folder->file(S("Models/Tower.cst"));
    DialogsChoose(saved);
    form->MainMenu.Save1->trigger();
    EXPECT_FALSE(QFileInfo::exists(copy));
    Click(4, 4);
    ASSERT_TRUE(CopyWritten());
    EXPECT_EQ(ReadAll(pathFile), saved.toUtf8());

    presenter().answers = {IDNO};
    form->MainMenu.New1->trigger();
    EXPECT_FALSE(QFileInfo::exists(copy));
    Click(4, 4);
    ASSERT_TRUE(CopyWritten());

    presenter().answers = {IDNO};
    form->close();
    EXPECT_FALSE(QFileInfo::exists(copy));
    form.reset();
    EXPECT_EQ(FilesLeft(), QStringList());
}

TEST_F(RecoveryTest, ALeftCopyComesBackModifiedUnderItsOwnFileName) {
    const QString castle = folder->file(S("Models/Castle.cst"));
    LeaveCopy(Folder(), S("7-0"), ModelBytes("4,5:45F"), castle);
    MakeForm();
    EXPECT_EQ(std::tuple(Texts(), presenter().shown.at(0).style, Cells(), Label(), ModelFileName(),
                         form->MainMenu.Undo1->isEnabled()),
              std::tuple(QStringList(Asked("Castle")), MB_ICONQUESTION | MB_YESNO, "4,5:45F", S("Castle*"),
                         castle, false));
    const QString own = form->Recovery->Id();
    EXPECT_EQ(FilesLeft(), QStringList({own + ".cst", own + ".lock", own + ".path"}));
    form->MainMenu.Save1->trigger();
    EXPECT_EQ(std::tuple(CellsIn(castle), FilesLeft()), std::tuple("4,5:45F", QStringList({own + ".lock"})));
}

TEST_F(RecoveryTest, NoRemovesACopyAndADamagedOneIsToldAndRemoved) {
    LeaveCopy(Folder(), S("8-0"), ModelBytes("1,1:45F"), QString());
    LeaveCopy(Folder(), S("9-0"), QByteArray("MdF\x1A\x02\x04 cut short", 14), QString());
    QFile damaged(QDir(Folder()).filePath(S("9-0.cst")));
    ASSERT_TRUE(
        damaged.open(QIODevice::ReadWrite) &&
        damaged.setFileTime(QDateTime::currentDateTime().addSecs(-600), QFileDevice::FileModificationTime));
    presenter().answers = {IDNO};
    MakeForm();
    ASSERT_EQ(presenter().shown.size(), 2u);
    EXPECT_EQ(presenter().shown[0].text, Asked("(Untitled)"));
    const QString told = presenter().shown[1].text;
    EXPECT_TRUE(told.startsWith(S("The recovery copy %1 of the unsaved changes to model (Untitled) is "
                                  "damaged and was removed; those changes are lost.")
                                    .arg(QDir::toNativeSeparators(damaged.fileName()))))
        << told.toStdString();
    EXPECT_EQ(std::tuple(presenter().shown[1].style, Cells(), form->Model->Modified, FilesLeft()),
              std::tuple(MB_ICONEXCLAMATION, "", false, QStringList({form->Recovery->Id() + ".lock"})));

    form.reset();
    LeaveCopy(Folder(), S("10-0"), ModelBytes("2,2:45F"), QString());
    presenter().Clear();
    SetMessagesEnabled(false);
    MakeForm();
    EXPECT_EQ(std::tuple(Texts(), Cells(), Label()), std::tuple(QStringList(), "2,2:45F", S("(Untitled)*")));
}

TEST_F(RecoveryTest, TwoProgramsNeverTakeEachOthersCopies) {
    QTemporaryDir dir;
    TRecovery first(dir.path()), second(dir.path());
    ASSERT_TRUE(first.Active() && second.Active());
    EXPECT_NE(first.Id(), second.Id());
    first.Write(ModelBytes("0,0:45F"), S("/models/a.cst"));
    EXPECT_TRUE(second.ClaimLeftCopies().empty()); // the first one runs
    LeaveCopy(dir.path(), S("11-0"), ModelBytes("0,0:45F"), S("/models/b.cst"));
    const auto taken = first.ClaimLeftCopies();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].Path, S("/models/b.cst"));
    EXPECT_TRUE(second.ClaimLeftCopies().empty());
    first.Release(taken[0]);
    const auto again = second.ClaimLeftCopies();
    ASSERT_EQ(again.size(), 1u);
    second.Remove(again[0]);
    EXPECT_EQ(std::pair(QFileInfo::exists(again[0].ModelFile), QFileInfo::exists(first.ModelCopy())),
              std::pair(false, true));
}

} // namespace
