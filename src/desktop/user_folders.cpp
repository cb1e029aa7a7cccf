#include "desktop/user_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

FolderWritableCheck& Check() {
    static FolderWritableCheck check;
    return check;
}

QString WithSlash(QString folder) {
    if (!folder.endsWith('/'))
        folder += '/';
    return folder;
}

bool FileSystemSaysWritable(const QString& folder) {
    QFileInfo info(QDir::cleanPath(QDir(folder).absolutePath()));
    while (!info.exists()) {
        const QString parent = info.absolutePath();
        if (parent == info.absoluteFilePath())
            return false;
        info = QFileInfo(parent);
    }
    return info.isDir() && info.isWritable();
}

} // namespace

bool FolderIsWritable(const QString& folder) {
    if (folder.isEmpty())
        return false;
    return Check() ? Check()(folder) : FileSystemSaysWritable(folder);
}

void SetFolderWritableCheck(FolderWritableCheck check) {
    Check() = std::move(check);
}

QString UserCubestacksFolder() {
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        documents = QDir::homePath();
    return WithSlash(documents) + QStringLiteral("Cubestacks/");
}

QString WritableStartFolder(const QString& folder) {
    if (FolderIsWritable(folder))
        return folder;
    const QString own = UserCubestacksFolder();
    if (QDir().mkpath(own))
        return own;
    return WithSlash(QDir::homePath());
}
