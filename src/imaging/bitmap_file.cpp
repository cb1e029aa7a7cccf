#include "imaging/bitmap_file.h"

#include "common/io_error.h"
#include "common/save_file.h"
#include "imaging/bitmap.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace {

void PutLE(QByteArray& out, qsizetype at, quint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string Describe(const QString& fileName) { return QFileInfo(fileName).fileName().toStdString(); }

} // namespace

QImage LoadBitmapFile(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw IoError("Cannot open bitmap file " + Describe(fileName) + ": " +
                      file.errorString().toStdString());
    QImageReader reader(&file, "bmp");
    QImage image = reader.read();
    if (image.isNull())
        throw IoError("Bitmap file " + Describe(fileName) + " is not a readable bitmap: " +
                      reader.errorString().toStdString());
    return AsBitmap(image);
}

QByteArray EncodeBitmap24(const QImage& image) {
    const QImage bitmap = AsBitmap(image);
    const int width = bitmap.width();
    const int height = bitmap.height();
    const int stride = (width * 3 + 3) & ~3;
    const quint32 imageSize = static_cast<quint32>(stride) * static_cast<quint32>(height);
    const quint32 headerSize = 14 + 40;
    QByteArray out(static_cast<qsizetype>(headerSize + imageSize), '\0');
    out[0] = 'B';
    out[1] = 'M';
    PutLE(out, 2, headerSize + imageSize, 4);
    PutLE(out, 10, headerSize, 4);
    PutLE(out, 14, 40, 4);
    PutLE(out, 18, static_cast<quint32>(width), 4);
    PutLE(out, 22, static_cast<quint32>(height), 4);
    PutLE(out, 26, 1, 2);  // planes
    PutLE(out, 28, 24, 2); // bits per pixel
    PutLE(out, 34, imageSize, 4);
    PutLE(out, 38, 2835, 4); // 72 dpi
    PutLE(out, 42, 2835, 4);
    char* data = out.data() + headerSize;
    for (int y = 0; y < height; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(bitmap.constScanLine(height - 1 - y));
        char* row = data + static_cast<qsizetype>(y) * stride;
        for (int x = 0; x < width; ++x) {
            row[x * 3] = static_cast<char>(qBlue(line[x]));
            row[x * 3 + 1] = static_cast<char>(qGreen(line[x]));
            row[x * 3 + 2] = static_cast<char>(qRed(line[x]));
        }
    }
    return out;
}

void SaveBitmapFile(const QImage& image, const QString& fileName) {
    SaveFileContents(fileName, EncodeBitmap24(image), "bitmap");
}
