#include "common/ansi_text.h"

#include <array>

namespace {

// Windows-1252 bytes 0x80 to 0x9F; 0 marks the five bytes without a character,
// which map to the C1 control of the same number as Windows itself does.
constexpr std::array<char16_t, 32> kHighTable = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t ByteToChar(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F && kHighTable[b - 0x80] != 0)
        return kHighTable[b - 0x80];
    return b;
}

} // namespace

QString AnsiToQString(const char* bytes, qsizetype length) {
    QString out;
    out.resize(length);
    for (qsizetype i = 0; i < length; ++i)
        out[i] = QChar(ByteToChar(static_cast<unsigned char>(bytes[i])));
    return out;
}

QString AnsiToQString(const std::string& bytes) {
    return AnsiToQString(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string QStringToAnsi(const QString& text) {
    std::string out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF) ||
            (u >= 0x80 && u <= 0x9F && kHighTable[u - 0x80] == 0)) {
            out.push_back(static_cast<char>(u));
            continue;
        }
        char mapped = '?';
        for (int i = 0; i < 32; ++i) {
            if (kHighTable[i] == u && u != 0) {
                mapped = static_cast<char>(0x80 + i);
                break;
            }
        }
        out.push_back(mapped);
    }
    return out;
}
