#include "desktop/user_folders.h"
#include "support/test_support.h"

#include <QtTest>
#ifndef Q_OS_WIN
#include <unistd.h>
#endif

TEST(UserFolders, AWritableFolderStaysAndAReadOnlyOneGivesTheUsersOwn) {
    const QString own = UserCubestacksFolder();
    QDir(own).removeRecursively();
    // Never the real documents folder: the test program points it elsewhere.
    EXPECT_TRUE(own.startsWith(QDir::cleanPath(QDir::tempPath()) + '/') && own.endsWith("/Cubestacks/"))
        << own.toStdString();
    QTemporaryDir program;
    const QString models = program.filePath(QStringLiteral("Models/"));
    const QString images = program.filePath(QStringLiteral("Images/")); // still to be made
    QDir().mkpath(models);
    EXPECT_EQ(WritableStartFolder(models) + '|' + WritableStartFolder(images), models + '|' + images);
    EXPECT_FALSE(QDir(own).exists()); // made only when needed
    // Installed: the user's own folder, made on the first use.
    SetFolderWritableCheck([&](const QString& folder) { return !folder.startsWith(program.path()); });
    EXPECT_EQ(WritableStartFolder(models), own);
    EXPECT_TRUE(QDir(own).exists());
    EXPECT_EQ(WritableStartFolder(images) + '|' + WritableStartFolder(QString()), own + '|' + own);
    SetFolderWritableCheck({});
    QDir(own).removeRecursively();

#ifndef Q_OS_WIN
    // Without a replaced check the file system decides; root may write anywhere.
    const QString locked = program.filePath(QStringLiteral("locked"));
    QDir().mkpath(locked);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(FolderIsWritable(locked + QStringLiteral("/new/deeper")), ::geteuid() == 0);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(FolderIsWritable(locked));
    QFile file(program.filePath(QStringLiteral("file")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_FALSE(FolderIsWritable(file.fileName())); // a file is no folder
#endif
}
