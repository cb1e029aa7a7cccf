#include "library/background.h"

#include "common/ansi_text.h"
#include "common/program_folder.h"
#include "imaging/bitmap.h"
#include "imaging/bitmap_draw.h"
#include "imaging/bitmap_file.h"

#include <QFileInfo>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr int kGradientSteps = 256;

// Rows top (inclusive) to bottom (exclusive) of the bitmap in one colour.
void FillRows(QImage& bitmap, int top, int bottom, QRgb color) {
    top = std::max(top, 0);
    bottom = std::min(bottom, bitmap.height());
    const int width = bitmap.width();
    for (int y = top; y < bottom; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(bitmap.scanLine(y));
        std::fill(line, line + width, color);
    }
}

// For each of count target pixels, the source pixel nearest to its centre when
// a tile of `tile` pixels shows `source` pixels, the tiles repeating from 0.
std::vector<int> NearestSamples(int count, int tile, int source) {
    std::vector<int> samples(static_cast<size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        const int64_t offset = i % tile;
        samples[static_cast<size_t>(i)] =
            static_cast<int>((2 * offset + 1) * source / (2 * static_cast<int64_t>(tile)));
    }
    return samples;
}

// The size of a tile: the picture scaled by the ratio of the background to the
// main window, at least one pixel.
int TileSize(int picture, int background, int window) {
    const int64_t size = window > 0 ? static_cast<int64_t>(picture) * background / window : picture;
    return static_cast<int>(std::clamp<int64_t>(size, 1, std::numeric_limits<int>::max()));
}

// A code that could lead out of the System folder names no picture.
bool SafeCode(const std::string& code) {
    return code.find_first_of(std::string("/\\:\0", 4)) == std::string::npos;
}

} // namespace

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
    if (c == 0)
        return -1;
    const int64_t product = static_cast<int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const uint64_t magnitude = static_cast<uint64_t>(product < 0 ? -product : product);
    const uint64_t divisor = static_cast<uint64_t>(c < 0 ? -static_cast<int64_t>(c) : c);
    const uint64_t quotient = (magnitude + divisor / 2) / divisor;
    if (quotient > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()) + (negative ? 1 : 0))
        return -1; // as Windows does when the result does not fit
    return negative ? static_cast<int32_t>(-static_cast<int64_t>(quotient)) : static_cast<int32_t>(quotient);
}

QString BackgroundFileName(const std::string& code, const QString& folder) {
    QString base = folder.isEmpty() ? DataFolder(QStringLiteral("System")) : folder;
    if (!base.endsWith('/'))
        base += '/';
    return base + QStringLiteral("bd") + AnsiToQString(code) + QStringLiteral(".csb");
}

TBackground::TBackground() {
    Image = NewBitmap(Width, Height);
    Bitmap = NewBitmap(Width, Height);
    Color = clBlack;
    SetKind(bkColor);
}

void TBackground::SetWidth(int32_t value) {
    Width = value;
    ResizeBitmap(Bitmap, std::max(0, value), Bitmap.height());
    ResizeBitmap(Image, std::max(0, value), Image.height());
}

void TBackground::SetHeight(int32_t value) {
    Height = value;
    ResizeBitmap(Bitmap, Bitmap.width(), std::max(0, value));
    ResizeBitmap(Image, Image.width(), std::max(0, value));
}

void TBackground::SetKind(uint8_t kind) {
    Kind = kind;
    if (Bitmap.format() != QImage::Format_RGB32)
        Bitmap = AsBitmap(Bitmap);
    if (kind == bkColor) {
        Bitmap.fill(ColorToRgb(Color));
    } else if (kind == bkGradient) {
        FillGradient();
    } else if (IsPictureKind(kind)) {
        const QString fileName = BackgroundFileName(Code, PictureFolder);
        if (!SafeCode(Code) || !QFileInfo::exists(fileName)) {
            Bitmap.fill(qRgb(0, 0, 0));
            return;
        }
        Image = LoadBitmapFile(fileName); // raises before anything is changed
        TileImage(kind);
    }
    // An unknown kind leaves the bitmap as it was.
}

void TBackground::FillGradient() {
    const TColor top = ResolveColor(Color);
    const int r0 = ColorRed(top), g0 = ColorGreen(top), b0 = ColorBlue(top);
    const int height = Bitmap.height();
    // To black: each channel falls by its own start value over the bands.
    for (int i = 0; i < kGradientSteps; ++i) {
        const int r = r0 + MulDiv(i, -r0, kGradientSteps - 1);
        const int g = g0 + MulDiv(i, -g0, kGradientSteps - 1);
        const int b = b0 + MulDiv(i, -b0, kGradientSteps - 1);
        FillRows(Bitmap, MulDiv(i, height, kGradientSteps), MulDiv(i + 1, height, kGradientSteps),
                 qRgb(r, g, b));
    }
}

void TBackground::TileImage(uint8_t kind) {
    const int width = Bitmap.width();
    const int height = Bitmap.height();
    const QImage picture = AsBitmap(Image);
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0) {
        Bitmap.fill(qRgb(0, 0, 0));
        return;
    }
    const QSize window = WindowSize;
    const bool across = kind == bkTileAcross || kind == bkTile;
    const bool down = kind == bkTileDown || kind == bkTile;
    const int tileWidth = across ? TileSize(picture.width(), width, window.width()) : std::max(width, 1);
    const int tileHeight = down ? TileSize(picture.height(), height, window.height()) : std::max(height, 1);

    const std::vector<int> columns = NearestSamples(width, tileWidth, picture.width());
    const std::vector<int> rows = NearestSamples(height, tileHeight, picture.height());
    // Every row made from the same picture row is the same: each is sampled
    // once and then copied.
    std::vector<int> madeAt(static_cast<size_t>(picture.height()), -1);
    uchar* bits = Bitmap.bits();
    const qsizetype stride = Bitmap.bytesPerLine();
    for (int y = 0; y < height; ++y) {
        const int source = rows[static_cast<size_t>(y)];
        QRgb* to = reinterpret_cast<QRgb*>(bits + y * stride);
        int& made = madeAt[static_cast<size_t>(source)];
        if (made >= 0) {
            std::memcpy(to, bits + made * stride, static_cast<size_t>(width) * sizeof(QRgb));
            continue;
        }
        made = y;
        const QRgb* from = reinterpret_cast<const QRgb*>(picture.constScanLine(source));
        for (int x = 0; x < width; ++x)
            to[x] = from[columns[static_cast<size_t>(x)]] | 0xFF000000u;
    }
}

void TBackground::Draw(QImage& image) const {
    DrawBitmap(image, Bitmap, 0, 0);
}

void TBackground::Draw(TCanvas& canvas) const {
    if (canvas.Bitmap)
        Draw(*canvas.Bitmap);
}

void TBackground::DrawCell(QImage& image, int32_t col, int32_t row) const {
    if (image.isNull() || Bitmap.isNull())
        return;
    const int64_t x = static_cast<int64_t>(col) * kCellSize;
    const int64_t y = static_cast<int64_t>(row) * kCellSize;
    const int64_t left = std::max<int64_t>(x, 0);
    const int64_t top = std::max<int64_t>(y, 0);
    const int64_t right = std::min<int64_t>({x + kCellSize, Bitmap.width(), image.width()});
    const int64_t bottom = std::min<int64_t>({y + kCellSize, Bitmap.height(), image.height()});
    if (left >= right || top >= bottom)
        return;
    MakeDirectTarget(image);
    const QImage source = AsBitmap(Bitmap);
    for (int64_t line = top; line < bottom; ++line) {
        const QRgb* from = reinterpret_cast<const QRgb*>(source.constScanLine(static_cast<int>(line)));
        QRgb* to = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(line)));
        for (int64_t i = left; i < right; ++i)
            to[i] = from[i] | 0xFF000000u;
    }
}

void TBackground::DrawCell(TCanvas& canvas, int32_t col, int32_t row) const {
    if (canvas.Bitmap)
        DrawCell(*canvas.Bitmap, col, row);
}
