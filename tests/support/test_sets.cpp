#include "support/test_sets.h"

#include "imaging/bitmap_file.h"

#include <algorithm>

SetRow Names(const std::string& names) {
    return {static_cast<int>(names.size() / 3), names};
}

QByteArray SetFileBytes(const std::string& title, const std::vector<SetRow>& rows) {
    QByteArray bytes(160 + 63 + 1, '\0');
    std::copy_n(title.data(), std::min<size_t>(title.size(), 63), bytes.data() + 160);
    bytes += static_cast<char>(rows.size());
    for (const SetRow& row : rows)
        bytes += static_cast<char>(row.count) + QByteArray::fromStdString(row.names);
    return bytes;
}

QRgb BlockSetColor(int n) {
    return qRgb(40 + (n * 37) % 200, 30 + (n * 53) % 190, 20 + (n * 71) % 210);
}

QRgb BlockColor(int set, int row, int variation) {
    return qRgb(40 + set * 20, row * 10, variation * 16);
}

void WriteSet(const TempProgramFolder& folder, int number, const std::string& title,
              const std::vector<SetRow>& rows, const SheetStyle& style, int firstBlock) {
    int widest = 1;
    for (const SetRow& row : rows)
        widest = std::max(widest, row.count);
    QImage sheet(33 * widest, 33 * std::max<int>(static_cast<int>(rows.size()), 1), QImage::Format_RGB32);
    sheet.fill(qRgb(255, 255, 255));
    int n = firstBlock;
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const std::string& names = rows[static_cast<size_t>(r)].names;
        for (int v = 0; v < rows[static_cast<size_t>(r)].count; ++v, ++n) {
            const QRgb color = style.colorByPlace ? BlockColor(number - 1, r, v) : BlockSetColor(n);
            const size_t third = static_cast<size_t>(3 * v + 2);
            const bool clearLeft = style.clearLeftHalfOfF && third < names.size() && names[third] == 'F';
            const int left = 1 + 33 * v, top = 1 + 33 * r;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    sheet.setPixel(left + x, top + y, clearLeft && x < 16 ? qRgb(255, 0, 255) : color);
            if (style.cornerMarks) {
                sheet.setPixel(left, top, qRgb(255, 0, 255));
                sheet.setPixel(left + 1, top, qRgb(254, 0, 255));
            }
        }
    }
    folder.write(QString::asprintf("System/sd%02d.csd", number), SetFileBytes(title, rows));
    folder.write(QString::asprintf("System/sd%02d.csb", number), EncodeBitmap24(sheet));
}

void WriteBlockSets(const TempProgramFolder& folder, const std::vector<BlockSetRows>& sets,
                    const SheetStyle& style) {
    int n = 0;
    for (size_t s = 0; s < sets.size(); ++s) {
        std::vector<SetRow> rows;
        for (const auto& row : sets[s]) {
            rows.push_back({static_cast<int>(row.size()), ""});
            for (const std::string& name : row)
                rows.back().names += name.substr(0, 3);
        }
        WriteSet(folder, static_cast<int>(s + 1), "Set " + std::to_string(s + 1), rows, style, n);
        for (const SetRow& row : rows)
            n += row.count;
    }
}
