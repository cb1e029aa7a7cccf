#pragma once

#include "imaging/canvas.h"
#include "imaging/color.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <string>

class QIODevice;
class TBackground;
struct TModelRenderCache;

constexpr int32_t kModelVersion = 1536; // 0x600, the format version every model is written with
constexpr int kCellSize = 32;           // pixels across and down
constexpr int kMaxLevels = 8;           // the stack height of every model the program makes
constexpr int kCellStoreSize = 6400;    // entries of the cell store
constexpr int kMaxImageWidth = 1024;    // the model image is at most 1024 x 768
constexpr int kMaxImageHeight = 768;

// Editing tools of ApplyTool and CanApplyTool.
enum TTool : int32_t {
    tlPlace = 0,      // put the selected block on top of the stack
    tlErase = 1,      // remove the top block
    tlRotate = 2,     // turn the top block one step forward (with one extra step when needed)
    tlRotateBack = 3, // turn the top block one step back
    tlTurn = 4,       // turn the top block half a turn
};

// Scroll directions of Shift and EdgeIsFree.
enum TDirection : int32_t { drLeft = 0, drRight = 1, drUp = 2, drDown = 3 };

// Bits of FontStyle.
enum TFontStyleBits : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// The grid a main window of its current size holds: min(1024, W) div 32
// columns and min(768, H) / 32 rows rounded up.
QSize WindowGrid();

// The model image's size for the main window's current size: min(1024, W) x min(768, H).
QSize ModelImageSize();

// The document: a grid of Cols x Rows cells of 32 x 32 pixels, each holding a
// stack of up to Levels block indices of the block library (level 0 at the
// bottom, -1 for no block), with the model's attributes, a text overlay, its
// background and two state flags. Texts are ANSI bytes as the file stores them.
class TModel {
public:
    TModel();          // creates the background, then Clear(false)
    virtual ~TModel(); // Clear(false), releases the background
    TModel(const TModel&) = delete;
    TModel& operator=(const TModel&) = delete;

    // An empty model sized for the main window's current size; with author
    // defaults it takes the author data from the preferences.
    void Clear(bool useAuthorDefaults);

    // Grid access. Coordinates outside the grid read as -1 and are not written.
    int32_t GetBlockIndex(int32_t x, int32_t y, int32_t level) const;
    void SetBlockIndex(int32_t x, int32_t y, int32_t index, int32_t level);
    std::string GetBlockName(int32_t x, int32_t y, int32_t level) const; // the library's name of that block
    bool IsOccupied(int32_t x, int32_t y) const;                         // level 0 holds a block
    int32_t TopLevel(int32_t x, int32_t y) const;    // level of the top block; 0 for an empty cell
    int32_t FreeLevel(int32_t x, int32_t y) const;   // first empty level; Levels-1 on a full stack
    int32_t GetTopBlock(int32_t x, int32_t y) const; // the top block's index, -1 for an empty cell

    // Editing. ApplyTool marks the model modified, performs the tool on the cell
    // and redraws the cell on canvas; true when the cell was written.
    bool ApplyTool(TCanvas& canvas, int32_t tool, int32_t x, int32_t y);
    bool CanApplyTool(int32_t tool, int32_t x, int32_t y) const;
    bool EdgeIsFree(int32_t direction) const;
    bool Shift(int32_t direction); // moves every block one cell; the caller redraws
    void Assign(const TModel& source);
    int32_t CellDataSize() const; // byte size of the cell section of a model file, end mark excluded

    // Rendering (model_rendering.cpp).
    void Draw(TCanvas& canvas);
    void DrawCell(TCanvas& canvas, int32_t x, int32_t y);
    void DrawTextOverlay(TCanvas& canvas);
    void DrawSampleText(TCanvas& canvas);
    void DrawPreview(TCanvas& canvas);

    // Model files (model_file.cpp). SaveToFile raises IoError and then leaves an
    // earlier file of that name as it was. LoadFromFile returns false with a
    // message for a file it refuses, raises IoError for a file that cannot be
    // read to its end; in both cases the model stays as it was.
    void SaveToFile(const QString& fileName);
    bool LoadFromFile(const QString& fileName);

    // Stacks the current blocks that stand for an old block code on the cell.
    void ConvertOldBlock(int32_t x, int32_t y, uint16_t code);

    int32_t Version = kModelVersion;
    int32_t Version2 = kModelVersion;

    struct TDescriptionRecord {
        bool DescriptionFlag = true;
        int32_t DescriptionCode = 2;
        std::string DescriptionText;
    } Description;

    struct TAuthorRecord {
        std::string AuthorName;
        int32_t Age = 0;
        std::string Country;
        std::string OwnerName;
    } Author;

    struct TFontRecord {
        std::string FontName = "System";
        TColor FontColor = 0xC0C0C0;
        int32_t FontHeight = -13; // negative: character height in pixels
        uint8_t FontStyle = fsBold;
    };

    struct TTextOverlayRecord {
        std::string Text; // empty: no overlay
        int32_t TextCol = 0;
        int32_t TextRow = 0;
        int32_t Shadow = 0; // not 0: a 2-pixel shadow
        TFontRecord Font;
    } TextOverlay;

    std::unique_ptr<TBackground> Background;
    bool Modified = false;
    bool Truncated = false;
    int32_t Cols = 0;
    int32_t Rows = 0;
    int32_t Levels = kMaxLevels;
    // Entry of (x, y, level) at level*Cols*Rows + y*Cols + x.
    std::array<int32_t, kCellStoreSize> Cells;

private:
    struct TDeferredRender {};
    // A model whose background only holds its settings until it is sized and
    // rendered (the reader's fresh model).
    explicit TModel(TDeferredRender);

    // Clear without sizing and rendering the background (the reader renders once at the end).
    void ClearFields(bool useAuthorDefaults);
    void SizeBackground(); // the model image's size for the main window's current size
    bool InGrid(int32_t x, int32_t y, int32_t level) const {
        return x >= 0 && y >= 0 && level >= 0 && x < Cols && y < Rows && level < Levels;
    }
    int32_t CellOffset(int32_t x, int32_t y, int32_t level) const { return (level * Rows + y) * Cols + x; }
    void DrawStack(TCanvas& canvas, int32_t x, int32_t y) const;
    void DrawTextOverlay(TCanvas& canvas, const QRect& area); // only the part inside area; null: all
    void TakeOver(TModel& loaded); // moves a freshly loaded model's content into this one
    bool ReadChunkFormat(QIODevice& file, const QString& shownName);
    bool ReadOldFormat(QIODevice& file, const QString& shownName);
    void FitToWindowGrid(int32_t cols, int32_t rows); // the window grid; message 7 for a larger file grid
    void WriteModel(QIODevice& file, const std::string& ownerName) const;

    std::unique_ptr<TModelRenderCache> m_render;
};
