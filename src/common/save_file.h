#pragma once

#include <QByteArray>
#include <QString>

// Writes the bytes as the whole content of the file through QSaveFile, so that
// an earlier file of that name is replaced only once the new one is completely
// written; on any failure nothing of the new file is left behind. Raises
// IoError "Cannot create <kind> file <name>: <reason>" or "Cannot write <kind>
// file <name>: <reason>", with the system's reason (a full disk says so).
void SaveFileContents(const QString& fileName, const QByteArray& bytes, const char* kind);
