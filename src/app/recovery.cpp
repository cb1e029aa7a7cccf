#include "app/recovery.h"

#include "common/save_file.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSet>
#include <QStandardPaths>
#include <algorithm>

namespace {

constexpr int kDefaultIntervalMs = 60000;
constexpr int kMaxIdsPerProcess = 1000;

// The ids this process holds: its own copies are never taken for left ones,
// although their locks name a process that runs.
QSet<QString>& IdsInUse() {
    static QSet<QString> ids;
    return ids;
}

QString ProcessPrefix() {
    return QString::number(QCoreApplication::applicationPid()) + QLatin1Char('-');
}

std::unique_ptr<QLockFile> NewLock(const QString& fileName) {
    auto lock = std::make_unique<QLockFile>(fileName);
    // Held for the whole run: a lock is stale only when its program is gone.
    lock->setStaleLockTime(0);
    return lock;
}

} // namespace

TRecovery::TRecovery(const QString& folder) : m_folder(folder) {
    m_timer.setSingleShot(true);
    m_timer.setInterval(DefaultInterval());
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        if (Due)
            Due();
    });
    if (!QDir().mkpath(m_folder))
        return;
    for (int n = 0; n < kMaxIdsPerProcess; ++n) {
        const QString id = ProcessPrefix() + QString::number(n);
        // A copy of that id left by an earlier run with the same process id is left alone.
        if (IdsInUse().contains(id) || QFileInfo::exists(FilePath(id, "cst")) ||
            QFileInfo::exists(FilePath(id, "path")))
            continue;
        auto lock = NewLock(FilePath(id, "lock"));
        if (lock->tryLock(0)) {
            m_id = id;
            m_lock = std::move(lock);
            IdsInUse().insert(id);
            return;
        }
    }
}

TRecovery::~TRecovery() {
    Discard();
    for (auto& claimed : m_claimed)
        claimed.second->unlock();
    if (m_lock) {
        m_lock->unlock();
        IdsInUse().remove(m_id);
    }
}

QString TRecovery::DefaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/recovery");
}

int TRecovery::DefaultInterval() {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue("CUBESTACKS_RECOVERY_INTERVAL_MS", &ok);
    return ok && value > 0 ? value : kDefaultIntervalMs;
}

QString TRecovery::FilePath(const QString& id, const char* extension) const {
    return QDir(m_folder).filePath(id + QLatin1Char('.') + QLatin1String(extension));
}

QString TRecovery::ModelCopy() const {
    return Active() ? FilePath(m_id, "cst") : QString();
}

void TRecovery::SetInterval(int milliseconds) {
    m_timer.setInterval(std::max(0, milliseconds));
}

void TRecovery::Schedule() {
    if (Active() && !m_timer.isActive())
        m_timer.start();
}

void TRecovery::Write(const QByteArray& model, const QString& path) {
    m_timer.stop();
    if (!Active())
        return;
    // The path first: a copy is never there without the file it belongs to.
    SaveFileContents(FilePath(m_id, "path"), path.toUtf8(), "recovery");
    SaveFileContents(FilePath(m_id, "cst"), model, "recovery");
}

void TRecovery::Discard() {
    m_timer.stop();
    if (!Active())
        return;
    QFile::remove(FilePath(m_id, "cst"));
    QFile::remove(FilePath(m_id, "path"));
}

std::vector<TRecovery::TLeftCopy> TRecovery::ClaimLeftCopies() {
    std::vector<std::pair<QDateTime, TLeftCopy>> found;
    if (!Active())
        return {};
    QSet<QString> ids;
    const QFileInfoList files = QDir(m_folder).entryInfoList(
        {QStringLiteral("*.cst"), QStringLiteral("*.path"), QStringLiteral("*.lock")}, QDir::Files);
    for (const QFileInfo& file : files)
        ids.insert(file.completeBaseName());
    for (const QString& id : ids) {
        if (IdsInUse().contains(id) || m_claimed.count(id) != 0)
            continue;
        auto lock = NewLock(FilePath(id, "lock"));
        // Its lock names this process, which does not hold it: an earlier run
        // that had the same process id left it.
        if (id.startsWith(ProcessPrefix()))
            lock->removeStaleLockFile();
        if (!lock->tryLock(0))
            continue; // its program still runs
        const QFileInfo model(FilePath(id, "cst"));
        if (!model.exists()) {
            // The remains of a copy that was being removed.
            QFile::remove(FilePath(id, "path"));
            lock->unlock();
            continue;
        }
        QFile pathFile(FilePath(id, "path"));
        QString path;
        if (pathFile.open(QIODevice::ReadOnly))
            path = QString::fromUtf8(pathFile.readAll());
        found.push_back({model.lastModified(), {id, model.filePath(), path}});
        m_claimed[id] = std::move(lock);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<TLeftCopy> copies;
    for (auto& entry : found)
        copies.push_back(std::move(entry.second));
    return copies;
}

void TRecovery::Remove(const TLeftCopy& copy) {
    QFile::remove(FilePath(copy.Id, "cst"));
    QFile::remove(FilePath(copy.Id, "path"));
    Release(copy);
}

void TRecovery::Release(const TLeftCopy& copy) {
    const auto claimed = m_claimed.find(copy.Id);
    if (claimed == m_claimed.end())
        return;
    claimed->second->unlock();
    m_claimed.erase(claimed);
}
