#pragma once

#include <QSettings>
#include <QString>
#include <memory>

// The program's lasting settings: QSettings for organisation "Quadrantine" and
// application "Cubestacks" (the registry on Windows, an INI file elsewhere).
// A section ("Author", "Preferences", "Windows/ToolBox") is a group, each
// setting a value in it. Every value is written as a string: integers as
// decimal text, flags as "0" and "1".
//
// Reading: decimal text, or hexadecimal after "0x" / "0X"; a missing value,
// one that is not a number or does not fit in 32 bits reads as the default;
// a flag is on when its number is not zero. A store that cannot be read gives
// the defaults and reports nothing.

// Opens the store. Each call gives a fresh handle on the same data.
std::unique_ptr<QSettings> OpenSettingsStore();

// Tests switch the store to a format of their own (a registered one);
// QSettings::NativeFormat is the program's.
void SetSettingsStoreFormat(QSettings::Format format);

// The number a stored text stands for, or defaultValue.
int ParseSettingInt(const QString& text, int defaultValue);

// Missing or unreadable: the default.
QString ReadStringSetting(const QString& group, const QString& name, const QString& defaultValue = QString());
int ReadIntSetting(const QString& group, const QString& name, int defaultValue);
bool ReadFlagSetting(const QString& group, const QString& name, bool defaultValue);
// An integer that must lie in [minimum, maximum]; anything else reads as the default.
int ReadIntSettingInRange(const QString& group, const QString& name, int minimum, int maximum,
                          int defaultValue);

void WriteStringSetting(const QString& group, const QString& name, const QString& value);
void WriteIntSetting(const QString& group, const QString& name, int value);
void WriteFlagSetting(const QString& group, const QString& name, bool value);
