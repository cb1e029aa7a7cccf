#pragma once

#include <QByteArray>
#include <QString>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QLockFile;

// Recovery copies of unsaved changes, so that a crash or a power cut does not
// take an afternoon's work with it. Each running program keeps its copy in the
// recovery folder under an id of its own, "<process id>-<n>":
//   <id>.cst   the model, in the model file format
//   <id>.path  the path of the model's file in UTF-8; empty while it is untitled
//   <id>.lock  a QLockFile held while the program runs
// A program that ends normally removes its copy. A copy whose lock is stale
// (its program is gone) was left by a run that did not end normally; a copy
// whose program still runs is never touched.
class TRecovery {
public:
    // Takes an id in folder (made when missing) and holds its lock.
    explicit TRecovery(const QString& folder = DefaultFolder());
    // A normal end: the copy is removed and the lock released.
    ~TRecovery();
    TRecovery(const TRecovery&) = delete;
    TRecovery& operator=(const TRecovery&) = delete;

    // The program's data folder (QStandardPaths::AppDataLocation) + "/recovery".
    static QString DefaultFolder();
    // 60 seconds, or the milliseconds CUBESTACKS_RECOVERY_INTERVAL_MS names.
    static int DefaultInterval();

    // False when the folder could not be used: nothing is written then.
    bool Active() const { return m_lock != nullptr; }
    QString Folder() const { return m_folder; }
    QString Id() const { return m_id; }
    QString ModelCopy() const; // this program's <id>.cst

    // How long after a change the copy is written at the latest.
    void SetInterval(int milliseconds);
    int Interval() const { return m_timer.interval(); }

    // Runs when a copy is due; it calls Write, or Discard when nothing is unsaved.
    std::function<void()> Due;
    // The model changed: a copy becomes due within the interval, unless one already is.
    void Schedule();
    bool Pending() const { return m_timer.isActive(); }
    // Writes the copy through the safe writer; IoError when it cannot be written.
    void Write(const QByteArray& model, const QString& path);
    // Nothing unsaved is left: the copy goes and nothing is due.
    void Discard();

    // A copy that a run which did not end normally left behind.
    struct TLeftCopy {
        QString Id;
        QString ModelFile; // its <id>.cst
        QString Path;      // the model's own file; empty: untitled
    };
    // The left copies, newest first. Each is held by this program (its lock
    // taken) until Remove or Release, so that no other program takes it meanwhile.
    std::vector<TLeftCopy> ClaimLeftCopies();
    // The copy and its files go.
    void Remove(const TLeftCopy& copy);
    // The copy stays for a later start.
    void Release(const TLeftCopy& copy);

private:
    QString FilePath(const QString& id, const char* extension) const;

    QString m_folder;
    QString m_id;
    std::unique_ptr<QLockFile> m_lock;
    std::map<QString, std::unique_ptr<QLockFile>> m_claimed;
    QTimer m_timer;
};
