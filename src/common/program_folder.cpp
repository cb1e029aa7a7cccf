#include "common/program_folder.h"

#include <QCoreApplication>
#include <QDir>

namespace {

struct ProgramFolderState {
    QString overrideFolder;
    std::string ownerName;
};

ProgramFolderState& State() {
    static ProgramFolderState state;
    return state;
}

QString WithSlash(QString folder) {
    if (!folder.endsWith('/'))
        folder += '/';
    return folder;
}

} // namespace

QString ProgramFolder() {
    if (!State().overrideFolder.isEmpty())
        return State().overrideFolder;
    return WithSlash(QCoreApplication::applicationDirPath());
}

void SetProgramFolder(const QString& folder) {
    State().overrideFolder = folder.isEmpty() ? QString() : WithSlash(QDir::fromNativeSeparators(folder));
}

QString DataFolder(const QString& name) {
    const QString base = ProgramFolder();
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

std::string ProgramOwnerName() { return State().ownerName; }

void SetProgramOwnerName(const std::string& name) { State().ownerName = name; }
