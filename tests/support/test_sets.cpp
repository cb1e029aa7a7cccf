#include "support/test_sets.h"

#include "imaging/bitmap.h"
#include "imaging/bitmap_file.h"

#include <QString>
#include <algorithm>

QRgb BlockSetColor(int n) { return qRgb(40 + (n * 37) % 200, 30 + (n * 53) % 190, 20 + (n * 71) % 210); }

QByteArray BlockSetFileBytes(const std::string& title, const BlockSetRows& rows) {
    QByteArray bytes(225, '\0');
    std::copy_n(title.begin(), std::min<size_t>(title.size(), 63), bytes.begin() + 160);
    bytes[224] = static_cast<char>(rows.size());
    for (const auto& row : rows) {
        bytes.append(static_cast<char>(row.size()));
        for (const auto& name : row)
            bytes.append(name.c_str(), 3);
    }
    return bytes;
}

void WriteBlockSets(const TempProgramFolder& folder, const std::vector<BlockSetRows>& sets) {
    int n = 0;
    for (size_t s = 0; s < sets.size(); ++s) {
        const BlockSetRows& rows = sets[s];
        size_t widest = 1;
        for (const auto& row : rows)
            widest = std::max(widest, row.size());
        QImage sheet = NewBitmap(static_cast<int>(33 * widest + 1), static_cast<int>(33 * std::max<size_t>(rows.size(), 1) + 1));
        for (size_t r = 0; r < rows.size(); ++r) {
            for (size_t v = 0; v < rows[r].size(); ++v) {
                const int x0 = static_cast<int>(1 + 33 * v), y0 = static_cast<int>(1 + 33 * r);
                for (int y = 0; y < 32; ++y)
                    for (int x = 0; x < 32; ++x)
                        sheet.setPixel(x0 + x, y0 + y, BlockSetColor(n));
                sheet.setPixel(x0, y0, qRgb(255, 0, 255));
                ++n;
            }
        }
        const QString base = QStringLiteral("System/sd%1").arg(static_cast<int>(s + 1), 2, 10, QLatin1Char('0'));
        folder.write(base + QStringLiteral(".csd"), BlockSetFileBytes("Set " + std::to_string(s + 1), rows));
        folder.write(base + QStringLiteral(".csb"), EncodeBitmap24(sheet));
    }
}
