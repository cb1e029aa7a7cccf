#pragma once

#include <QString>
#include <string>

// Texts in files and in the model are bytes in the Windows ANSI code page
// (Windows-1252). They become QStrings only at the user interface.
QString AnsiToQString(const std::string& bytes);
QString AnsiToQString(const char* bytes, qsizetype length);

// Characters that Windows-1252 cannot hold become '?'.
std::string QStringToAnsi(const QString& text);
