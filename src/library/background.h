#pragma once

#include "imaging/canvas.h"
#include "imaging/color.h"

#include <QImage>
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

// The background of one model: a flat colour, a gradient to black, or a
// picture System/bdXXX.csb stretched or tiled, rendered once into Bitmap.
class TBackground {
public:
    TBackground();

    void SetWidth(int32_t value);
    void SetHeight(int32_t value);
    // Stores the kind and renders Bitmap. A picture that exists but cannot be
    // read raises IoError and leaves Bitmap as it was.
    void SetKind(uint8_t kind);
    void Draw(TCanvas& canvas) const;
    void DrawCell(TCanvas& canvas, int32_t col, int32_t row) const;
    void Draw(QImage& image) const;
    void DrawCell(QImage& image, int32_t col, int32_t row) const;

    TColor Color = clBlack;
    QImage Image;
    int32_t Width = 32;
    int32_t Height = 32;
    uint8_t Kind = bkColor;
    std::string Code;
    QImage Bitmap;

private:
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
// System/bd<code>.csb beside the program.
QString BackgroundFileName(const std::string& code);
