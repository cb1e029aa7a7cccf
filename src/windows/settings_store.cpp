#include "windows/settings_store.h"

#include <QStringList>
#include <QVariant>
#include <limits>

namespace {

struct SettingsStoreState {
    QSettings::Format format = QSettings::NativeFormat;
};

SettingsStoreState& State() {
    static SettingsStoreState state;
    return state;
}

QString Key(const QString& group, const QString& name) {
    return group.isEmpty() ? name : group + QLatin1Char('/') + name;
}

// The stored value as text, or a null string when there is none to read.
QString ReadRaw(const QString& group, const QString& name) {
    const auto settings = OpenSettingsStore();
    if (settings->status() != QSettings::NoError)
        return QString();
    const QVariant value = settings->value(Key(group, name));
    if (!value.isValid())
        return QString();
    // An INI line with an unquoted comma reads back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    if (!value.canConvert<QString>())
        return QString();
    QString text = value.toString();
    if (text.isNull())
        text = QStringLiteral(""); // present but empty: not the same as missing
    return text;
}

} // namespace

std::unique_ptr<QSettings> OpenSettingsStore() {
    return std::make_unique<QSettings>(State().format, QSettings::UserScope, QStringLiteral("Quadrantine"),
                                       QStringLiteral("Cubestacks"));
}

void SetSettingsStoreFormat(QSettings::Format format) {
    State().format = format;
}

int ParseSettingInt(const QString& text, int defaultValue) {
    if (text.size() > 2 && text[0] == QLatin1Char('0') &&
        (text[1] == QLatin1Char('x') || text[1] == QLatin1Char('X'))) {
        // Hexadecimal: up to eight digits, taken as a 32-bit pattern ("0xFFFFFFFF" is -1).
        const QStringView digits = QStringView(text).mid(2);
        if (digits.size() > 8)
            return defaultValue;
        uint value = 0;
        for (const QChar c : digits) {
            const int digit = c.isDigit() && c.unicode() < 128                   ? c.unicode() - '0'
                              : (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ? c.unicode() - 'a' + 10
                              : (c >= QLatin1Char('A') && c <= QLatin1Char('F')) ? c.unicode() - 'A' + 10
                                                                                 : -1;
            if (digit < 0)
                return defaultValue;
            value = value * 16 + static_cast<uint>(digit);
        }
        return static_cast<int>(value);
    }
    // Decimal: an optional sign and digits only, nothing around them.
    int start = 0;
    if (!text.isEmpty() && (text[0] == QLatin1Char('-') || text[0] == QLatin1Char('+')))
        start = 1;
    if (start >= text.size())
        return defaultValue;
    for (int i = start; i < text.size(); ++i) {
        if (text[i] < QLatin1Char('0') || text[i] > QLatin1Char('9'))
            return defaultValue;
    }
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return defaultValue;
    return static_cast<int>(value);
}

QString ReadStringSetting(const QString& group, const QString& name, const QString& defaultValue) {
    const QString text = ReadRaw(group, name);
    return text.isNull() ? defaultValue : text;
}

int ReadIntSetting(const QString& group, const QString& name, int defaultValue) {
    const QString text = ReadRaw(group, name);
    return text.isNull() ? defaultValue : ParseSettingInt(text, defaultValue);
}

bool ReadFlagSetting(const QString& group, const QString& name, bool defaultValue) {
    return ReadIntSetting(group, name, defaultValue ? 1 : 0) != 0;
}

int ReadIntSettingInRange(const QString& group, const QString& name, int minimum, int maximum,
                          int defaultValue) {
    const int value = ReadIntSetting(group, name, defaultValue);
    return value < minimum || value > maximum ? defaultValue : value;
}

void WriteStringSetting(const QString& group, const QString& name, const QString& value) {
    const auto settings = OpenSettingsStore();
    settings->setValue(Key(group, name), QVariant(value.isNull() ? QStringLiteral("") : value));
}

void WriteIntSetting(const QString& group, const QString& name, int value) {
    WriteStringSetting(group, name, QString::number(value));
}

void WriteFlagSetting(const QString& group, const QString& name, bool value) {
    WriteStringSetting(group, name, value ? QStringLiteral("1") : QStringLiteral("0"));
}
