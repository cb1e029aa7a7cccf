#include "common/save_file.h"

#include "common/io_error.h"

#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <unistd.h>
#endif

namespace {

std::string Failure(const char* what, const char* kind, const QString& fileName, const QString& reason) {
    return std::string(what) + ' ' + kind + " file " + QFileInfo(fileName).fileName().toStdString() + ": " +
           reason.toStdString();
}

} // namespace

void SaveFileContents(const QString& fileName, const QByteArray& bytes, const char* kind) {
    QSaveFile file(fileName);
    // Unbuffered: every byte reaches the system in write(), where a failure is
    // seen. Buffered, a small file is written out only by commit(), which does
    // not look at that write's outcome and would put a cut file in place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw IoError(Failure("Cannot create", kind, fileName, file.errorString()));
    // A write that stops short (the disk filled up) reports no error of its
    // own: writing on brings the system's reason.
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0)
            break;
        written += n;
    }
    QString reason;
    if (written != bytes.size()) {
        reason = file.error() != QFileDevice::NoError ? file.errorString() : QString();
        if (reason.isEmpty())
            reason = QStringLiteral("only %1 of %2 bytes could be written").arg(written).arg(bytes.size());
    }
#ifdef Q_OS_UNIX
    // Some file systems (network ones, quotas) tell of a full disk only when
    // the data goes to it; commit() does not look at that answer either.
    if (reason.isEmpty() && ::fsync(file.handle()) != 0 &&
        (errno == EIO || errno == ENOSPC || errno == EDQUOT))
        reason = QString::fromLocal8Bit(std::strerror(errno));
#endif
    if (!reason.isEmpty()) {
        file.cancelWriting();
        throw IoError(Failure("Cannot write", kind, fileName, reason));
    }
    if (!file.commit())
        throw IoError(Failure("Cannot write", kind, fileName, file.errorString()));
}
