#include "library/library_files.h"

#include "imaging/bitmap_file.h"

#include <QPainter>
#include <algorithm>

SetRow Names(const std::string& names) {
    return {static_cast<int>(names.size() / 3), names};
}

QByteArray SetFileBytes(const std::string& title, const std::vector<SetRow>& rows) {
    QByteArray bytes(160, '\0');
    QByteArray field(63, '\0');
    std::copy_n(title.data(), std::min<size_t>(title.size(), 63), field.data());
    bytes += field;
    bytes += '\0';
    bytes += static_cast<char>(rows.size());
    for (const SetRow& row : rows) {
        bytes += static_cast<char>(row.count);
        bytes += QByteArray(row.names.data(), static_cast<qsizetype>(row.names.size()));
    }
    return bytes;
}

QRgb BlockColor(int set, int row, int variation) {
    return qRgb(40 + set * 20, row * 10, variation * 16);
}

QImage MakeSheet(int set, int rows, int variations) {
    QImage sheet(33 * std::max(variations, 1), 33 * std::max(rows, 1), QImage::Format_RGB32);
    sheet.fill(qRgb(255, 255, 255));
    for (int r = 0; r < rows; ++r) {
        for (int v = 0; v < variations; ++v) {
            const int left = 1 + 33 * v;
            const int top = 1 + 33 * r;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    sheet.setPixel(left + x, top + y, BlockColor(set, r, v));
            sheet.setPixel(left, top, qRgb(255, 0, 255));
            sheet.setPixel(left + 1, top, qRgb(254, 0, 255));
        }
    }
    return sheet;
}

QString SetFilePath(const TempProgramFolder& folder, int number, const char* extension) {
    return folder.file(QString::asprintf("System/sd%02d.%s", number, extension));
}

void WriteSet(const TempProgramFolder& folder, int number, const std::string& title,
              const std::vector<SetRow>& rows) {
    int widest = 0;
    for (const SetRow& row : rows)
        widest = std::max(widest, row.count);
    folder.write(QString::asprintf("System/sd%02d.csd", number), SetFileBytes(title, rows));
    folder.write(QString::asprintf("System/sd%02d.csb", number),
                 EncodeBitmap24(MakeSheet(number - 1, static_cast<int>(rows.size()), widest)));
}
