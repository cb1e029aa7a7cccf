#include "imaging/png_file.h"

#include "imaging/bitmap.h"

#include <libdeflate.h>

#include <cstring>
#include <memory>
#include <new>
#include <vector>

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
    if (image.isNull())
        return {};
    const QImage bitmap = AsBitmap(image);
    const size_t width = static_cast<size_t>(bitmap.width());
    const size_t height = static_cast<size_t>(bitmap.height());

    // The rows as PNG keeps them: a filter byte (0, none), then red, green, blue.
    const size_t rowBytes = 1 + 3 * width;
    std::vector<uchar> raw(rowBytes * height);
    for (size_t y = 0; y < height; ++y) {
        const QRgb* from = reinterpret_cast<const QRgb*>(bitmap.constScanLine(static_cast<int>(y)));
        uchar* to = raw.data() + y * rowBytes;
        *to++ = 0;
        for (size_t x = 0; x < width; ++x) {
            const QRgb pixel = from[x];
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
    std::vector<uchar> packed(libdeflate_zlib_compress_bound(compressor.get(), raw.size()));
    const size_t packedSize =
        libdeflate_zlib_compress(compressor.get(), raw.data(), raw.size(), packed.data(), packed.size());
    if (packedSize == 0)
        throw std::bad_alloc(); // the bound always fits: only memory can be short

    QByteArray out;
    out.reserve(static_cast<qsizetype>(8 + 25 + 12 + packedSize + 12));
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
    AppendChunk(out, "IDAT", packed.data(), packedSize);
    AppendChunk(out, "IEND", nullptr, 0);
    return out;
}
