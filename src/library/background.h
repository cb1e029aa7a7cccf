#pragma once

#include "imaging/canvas.h"
#include "imaging/color.h"
#include "library/cell_size.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <array>
#include <cstdint>
#include <string>

enum TBackgroundKind : uint8_t {
    bkColor = 0,
    bkGradient = 1,
    bkStretch = 2,
    bkTileAcross = 3,
    bkTileDown = 4,
    bkTile = 5,
};

// What a model keeps of its background: the code of its picture, its colour
// and its kind.
struct TBackgroundSettings {
    std::string Code;
    TColor Color = clBlack;
    uint8_t Kind = bkColor;

    bool operator==(const TBackgroundSettings&) const = default;
};

// The background of one model: a flat colour, a gradient to black, or a
// picture System/bdXXX.csb stretched or tiled, rendered once into Bitmap.
class TBackground : public TBackgroundSettings {
public:
    TBackground();

    // The kinds that show a picture file, stretched or repeated.
    static bool IsPictureKind(uint8_t kind) { return kind >= bkStretch && kind <= bkTile; }
    // The kinds that show Color: flat, or a gradient to black.
    static bool IsColorKind(uint8_t kind) { return kind == bkColor || kind == bkGradient; }
    // The colour kind the gradient choice gives.
    static uint8_t ColorKind(bool gradient) { return gradient ? bkGradient : bkColor; }

    void SetWidth(int32_t value);
    void SetHeight(int32_t value);
    // Stores the kind and renders Bitmap. A picture that exists but cannot be
    // read raises IoError and leaves Bitmap as it was.
    void SetKind(uint8_t kind);
    void Draw(TCanvas& canvas) const;
    void DrawCell(TCanvas& canvas, int32_t col, int32_t row) const;
    void Draw(QImage& image) const;
    void DrawCell(QImage& image, int32_t col, int32_t row) const;

    QImage Image;
    int32_t Width = kCellSize;
    int32_t Height = kCellSize;
    QImage Bitmap;
    // The size of the main window the model is shown in: tiles scale by the
    // ratio of the background's size to it.
    QSize WindowSize{1024, 768};
    QString PictureFolder; // where picture kinds are read from; empty: the program's System folder

private:
    void FillGradient();
    // Draws Image over the whole of Bitmap, stretched or repeated as the kind says.
    void TileImage(uint8_t kind);
};

// Windows MulDiv: a * b / c rounded to the nearest, halves away from zero.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

// The background catalogue offered by the attributes dialog.
struct BackgroundCatalogueRow {
    const char* Name;
    const char* Code;
    const char* Layout;
};
constexpr int kBackgroundCatalogueSize = 16;
const std::array<BackgroundCatalogueRow, kBackgroundCatalogueSize>& BackgroundCatalogue();
// "Name\tCode\tLayout", as the list shows it.
QString BackgroundCatalogueItem(int row);
// The kind a layout number selects: "0" -> 2, "1" -> 4, "10" -> 3, "11" -> 5; -1 leaves the kind as it was.
int KindFromLayout(const QString& layout);
// bd<code>.csb in folder (empty: the System folder beside the program).
QString BackgroundFileName(const std::string& code, const QString& folder = QString());
