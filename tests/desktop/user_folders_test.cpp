#include "desktop/user_folders.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace {

class UserFoldersTest : public CubestacksTest {
protected:
    void SetUp() override {
        CubestacksTest::SetUp();
        own = UserCubestacksFolder();
        QDir(own).removeRecursively();
    }
    void TearDown() override {
        SetFolderWritableCheck({});
        QDir(own).removeRecursively();
        CubestacksTest::TearDown();
    }
    QString own;
    QTemporaryDir program;
};

TEST_F(UserFoldersTest, AWritableFolderStaysAndAReadOnlyOneGivesTheUsersOwn) {
    // Never the real documents folder: the test program points it elsewhere.
    EXPECT_TRUE(own.startsWith(QDir::cleanPath(QDir::tempPath()) + '/')) << own.toStdString();
    EXPECT_TRUE(own.endsWith(QStringLiteral("/Cubestacks/")));

    const QString models = program.filePath(QStringLiteral("Models/"));
    QDir().mkpath(models);
    EXPECT_EQ(WritableStartFolder(models), models);
    // A folder still to be made counts as its nearest existing parent.
    const QString images = program.filePath(QStringLiteral("Images/"));
    EXPECT_EQ(WritableStartFolder(images), images);
    EXPECT_FALSE(QDir(own).exists()); // made only when needed

    // Installed: the user's own folder, made on the first use.
    SetFolderWritableCheck([&](const QString& folder) { return !folder.startsWith(program.path()); });
    EXPECT_EQ(WritableStartFolder(models), own);
    EXPECT_TRUE(QDir(own).exists());
    EXPECT_EQ(WritableStartFolder(images), own);
    EXPECT_EQ(WritableStartFolder(QString()), own);
}

#ifndef Q_OS_WIN
TEST_F(UserFoldersTest, TheFileSystemDecidesWithoutAReplacedCheck) {
    const QString locked = program.filePath(QStringLiteral("locked"));
    QDir().mkpath(locked);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    // Root may write into any folder.
    EXPECT_EQ(FolderIsWritable(locked), ::geteuid() == 0);
    EXPECT_EQ(FolderIsWritable(locked + QStringLiteral("/new/deeper")), ::geteuid() == 0);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(FolderIsWritable(locked));
    QFile file(program.filePath(QStringLiteral("file")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_FALSE(FolderIsWritable(file.fileName())); // a file is no folder
}
#endif

} // namespace
