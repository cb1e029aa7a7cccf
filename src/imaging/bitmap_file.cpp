#include "imaging/bitmap_file.h"

#include "common/io_error.h"
#include "common/save_file.h"
#include "imaging/bitmap.h"
#include "imaging/png_file.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <cstdlib>

namespace {

void PutLE(QByteArray& out, qsizetype at, quint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string Describe(const QString& fileName) { return QFileInfo(fileName).fileName().toStdString(); }

// Decodes the bitmap file into an image of its size and of the given format
// (the format the decoder names when Invalid) that starts out zeroed: the
// decoder fills the image it is given when size and format match, and a file
// that ends before its last row leaves the remaining rows unwritten, which
// then read black rather than as whatever the memory held. Returns false when
// the decoder made an image of its own instead; a null image and the error
// when it could not decode the file.
bool ReadZeroed(QFile& file, QImage& image, QString& error, QImage::Format format) {
    image = QImage();
    if (!file.seek(0)) {
        error = file.errorString();
        return false;
    }
    QImageReader reader(&file, "bmp");
    QSize size = reader.size();
    size.setHeight(std::abs(size.height())); // rows stored top-down give a negative height
    if (format == QImage::Format_Invalid)
        format = reader.imageFormat();
    const uchar* prepared = nullptr;
    // Never more than the decoder itself would allocate, neither for the image
    // it decodes into nor for the 32 bits a pixel the picture becomes after:
    // a small damaged file of 1 bit a pixel could otherwise ask for gigabytes.
    const qint64 limit = qint64{QImageReader::allocationLimit()} * 1024 * 1024;
    if (limit > 0 && qint64{size.width()} * size.height() * 4 > limit) {
        error = QStringLiteral("the picture is too large");
        return false;
    }
    if (!size.isEmpty() && format != QImage::Format_Invalid) {
        const qint64 bytes =
            qint64{size.width()} * size.height() * QImage::toPixelFormat(format).bitsPerPixel() / 8;
        if (limit <= 0 || bytes <= limit) {
            image = QImage(size, format);
            image.fill(0);
            prepared = image.constBits();
        }
    }
    if (!reader.read(&image)) {
        error = reader.errorString();
        image = QImage();
        return false;
    }
    return prepared && image.constBits() == prepared;
}

} // namespace

QImage LoadBitmapFile(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw IoError("Cannot open bitmap file " + Describe(fileName) + ": " +
                      file.errorString().toStdString());
    QImage image;
    QString error;
    if (!ReadZeroed(file, image, error, QImage::Format_Invalid) && !image.isNull())
        ReadZeroed(file, image, error, image.format()); // once more in the format the decoder chose
    if (image.isNull())
        throw IoError("Bitmap file " + Describe(fileName) +
                      " is not a readable bitmap: " + error.toStdString());
    return AsBitmap(image);
}

bool BitmapFileEndsEarly(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(54);
    if (header.size() < 26 || !header.startsWith("BM"))
        return false;
    const auto le = [&header](int at, int bytes) {
        quint32 value = 0;
        for (int i = bytes - 1; i >= 0; --i)
            value = (value << 8) | static_cast<uchar>(header[at + i]);
        return value;
    };
    const qint64 offset = le(10, 4);
    qint64 width = 0;
    qint64 height = 0;
    qint64 bits = 0;
    if (le(14, 4) == 12) { // the old OS/2 header
        width = le(18, 2);
        height = le(20, 2);
        bits = le(24, 2);
    } else {
        if (header.size() < 34)
            return false;
        const quint32 compression = le(30, 4);
        if (compression != 0 && compression != 3 && compression != 6)
            return false; // run-length rows have no fixed length
        width = static_cast<qint32>(le(18, 4));
        height = std::abs(static_cast<qint64>(static_cast<qint32>(le(22, 4))));
        bits = le(28, 2);
    }
    const qint64 stride = (width * bits + 31) / 32 * 4;
    return width > 0 && bits > 0 && file.size() < offset + stride * height;
}

QSize CheckBitmapFile(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw IoError("Cannot open bitmap file " + Describe(fileName) + ": " +
                      file.errorString().toStdString());
    QImageReader reader(&file, "bmp");
    QSize size = reader.size();
    size.setHeight(std::abs(size.height()));
    if (!reader.canRead() || size.isEmpty())
        throw IoError("Bitmap file " + Describe(fileName) +
                      " is not a readable bitmap: " + reader.errorString().toStdString());
    return size;
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

void SavePngFile(const QImage& image, const QString& fileName) {
    const QByteArray bytes = EncodePng(AsBitmap(image));
    if (bytes.isEmpty())
        throw IoError("Cannot write PNG file " + Describe(fileName) + ": the picture could not be encoded");
    SaveFileContents(fileName, bytes, "PNG");
}
