#include "imaging/png_file.h"

#include "imaging/bitmap.h"

#include <libdeflate.h>

#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr int kFastestLevel = 1;

void PutBE32(uchar* at, quint32 value) {
    at[0] = static_cast<uchar>(value >> 24);
    at[1] = static_cast<uchar>(value >> 16);
    at[2] = static_cast<uchar>(value >> 8);
    at[3] = static_cast<uchar>(value);
}

// Appends a chunk: length, type, data and the CRC of type and data.
void AppendChunk(QByteArray& out, const char type[4], const uchar* data, size_t size) {
    const qsizetype start = out.size();
    out.resize(start + 12 + static_cast<qsizetype>(size));
    uchar* at = reinterpret_cast<uchar*>(out.data()) + start;
    PutBE32(at, static_cast<quint32>(size));
    std::memcpy(at + 4, type, 4);
    if (size > 0)
        std::memcpy(at + 8, data, size);
    PutBE32(at + 8 + size, libdeflate_crc32(0, at + 4, size + 4));
}

struct CompressorFree {
    void operator()(libdeflate_compressor* compressor) const { libdeflate_free_compressor(compressor); }
};

} // namespace

QByteArray EncodePng(const QImage& image) {
    return EncodePng(QImage(image));
}

QByteArray EncodePng(QImage&& image) {
    if (image.isNull())
        return {};
    QImage bitmap = AsBitmap(image);
    image = QImage();
    const size_t width = static_cast<size_t>(bitmap.width());
    const size_t height = static_cast<size_t>(bitmap.height());
    const size_t stride = static_cast<size_t>(bitmap.bytesPerLine());

    // The rows as PNG keeps them, a filter byte (0, none) and then red, green
    // and blue, made in the bitmap's own memory: row y starts at y * (1 + 3 *
    // width), never after the pixels still to be read, and each pixel is read
    // before its bytes are written.
    uchar* raw = bitmap.bits();
    const size_t rowBytes = 1 + 3 * width;
    for (size_t y = 0; y < height; ++y) {
        const uchar* from = raw + y * stride;
        uchar* to = raw + y * rowBytes;
        for (size_t x = 0; x < width; ++x) {
            QRgb pixel;
            std::memcpy(&pixel, from + 4 * x, 4);
            if (x == 0)
                *to++ = 0;
            to[0] = static_cast<uchar>(qRed(pixel));
            to[1] = static_cast<uchar>(qGreen(pixel));
            to[2] = static_cast<uchar>(qBlue(pixel));
            to += 3;
        }
    }

    const std::unique_ptr<libdeflate_compressor, CompressorFree> compressor(
        libdeflate_alloc_compressor(kFastestLevel));
    if (!compressor)
        throw std::bad_alloc();
    const size_t rawSize = rowBytes * height;
    const size_t bound = libdeflate_zlib_compress_bound(compressor.get(), rawSize);

    // Signature and header, then the compressed rows straight into the IDAT
    // chunk's place (the bound's pages that stay unused are never touched).
    QByteArray out;
    out.append("\x89PNG\r\n\x1a\n", 8);
    uchar header[13];
    PutBE32(header, static_cast<quint32>(width));
    PutBE32(header + 4, static_cast<quint32>(height));
    header[8] = 8;  // bits per channel
    header[9] = 2;  // colour type: RGB
    header[10] = 0; // deflate
    header[11] = 0; // the standard filters
    header[12] = 0; // not interlaced
    AppendChunk(out, "IHDR", header, sizeof header);
    const qsizetype idat = out.size();
    out.resize(idat + 8 + static_cast<qsizetype>(bound) + 4);
    uchar* chunk = reinterpret_cast<uchar*>(out.data()) + idat;
    const size_t packed = libdeflate_zlib_compress(compressor.get(), raw, rawSize, chunk + 8, bound);
    if (packed == 0)
        throw std::bad_alloc(); // the bound always fits: only memory can be short
    PutBE32(chunk, static_cast<quint32>(packed));
    std::memcpy(chunk + 4, "IDAT", 4);
    PutBE32(chunk + 8 + packed, libdeflate_crc32(0, chunk + 4, packed + 4));
    out.resize(idat + 12 + static_cast<qsizetype>(packed));
    AppendChunk(out, "IEND", nullptr, 0);
    return out;
}
