#include "common/program_folder.h"

#include <QCoreApplication>
#include <QDir>

namespace {

QString& OverrideFolder() {
    static QString folder;
    return folder;
}

QString WithSlash(QString folder) {
    if (!folder.endsWith('/'))
        folder += '/';
    return folder;
}

} // namespace

QString ProgramFolder() {
    if (!OverrideFolder().isEmpty())
        return OverrideFolder();
    return WithSlash(QCoreApplication::applicationDirPath());
}

void SetProgramFolder(const QString& folder) {
    OverrideFolder() = folder.isEmpty() ? QString() : WithSlash(QDir::fromNativeSeparators(folder));
}

QString DataFolder(const QString& name) {
    return DataFolderIn(ProgramFolder(), name);
}

QString DataFolderIn(const QString& programFolder, const QString& name) {
    const QString base = WithSlash(programFolder);
    const QDir dir(base);
    if (!dir.exists(name)) {
        const QStringList entries = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString& entry : entries) {
            if (entry.compare(name, Qt::CaseInsensitive) == 0)
                return base + entry + '/';
        }
    }
    return base + name + '/';
}
