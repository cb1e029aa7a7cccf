#pragma once

#include "common/messages.h"
#include "imaging/canvas.h"
#include "library/background.h"
#include "library/cell_size.h"
#include "model/model_context.h"
#include "model/model_data.h"

#include <QByteArray>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>

class QIODevice;
struct TModelRenderCache;

constexpr int kMaxImageWidth = 1024; // the model image is at most 1024 x 768
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

// The model image's size for a main window of that size: min(1024, W) x min(768, H).
QSize ModelImageSize(const QSize& window);

// The grid a main window of that size holds: min(1024, W) div 32 columns and
// min(768, H) / 32 rows rounded up.
QSize WindowGrid(const QSize& window);

// The document: a grid of Cols x Rows cells of 32 x 32 pixels, each holding a
// stack of up to Levels block indices of the block library (level 0 at the
// bottom, -1 for no block), with the model's attributes, a text overlay, its
// background and two state flags, all in the value it derives from; beside it
// the rendered background and what the model works in (its context).
class TModel : public TModelData {
public:
    explicit TModel(const TModelContext& context); // Clear(false) in that context
    virtual ~TModel();
    TModel(const TModel&) = delete;
    TModel& operator=(const TModel&) = delete;

    const TModelContext& Context() const { return m_context; }
    // Used from the next clear, load, draw or background rendering on.
    void SetContext(const TModelContext& context);

    // The model as a value. SetData takes a whole value and renders the
    // background again when the value's background differs from what the
    // rendered one shows. A picture that cannot be read raises IoError; the
    // value is taken all the same and the background shows what it showed.
    const TModelData& Data() const { return *this; }
    void SetData(const TModelData& data);

    // An empty model sized for the context's main window; with author
    // defaults it takes the author data of the context's defaults.
    void Clear(bool useAuthorDefaults);

    // The rendered background. SetBackgroundKind stores the kind in Background
    // and renders Background (raising IoError as SetData does);
    // SetBackgroundSize gives the rendered background another size, rendered
    // at the next SetData, SetBackgroundKind or Assign.
    void SetBackgroundKind(uint8_t kind);
    void SetBackgroundSize(int32_t width, int32_t height);
    const QImage& BackgroundBitmap() const { return m_background.Bitmap; }
    QSize ImageSize() const { return ModelImageSize(m_context.WindowSize); } // of the context's main window

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
    // The source's value except Version and Version2, marked modified.
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
    // The value that saving the model and loading the file again gives, in a
    // context with the same library and window grid: texts as the file keeps
    // them, the context's owner name, flags clear, and each stack up to its
    // first empty level with each block the library's first of its name.
    TModelData FileData() const;
    // The bytes SaveToFile writes, with the model left as it is.
    QByteArray FileBytes() const;

    // Stacks the current blocks that stand for an old block code on the cell.
    void ConvertOldBlock(int32_t x, int32_t y, uint16_t code);

private:
    struct TDeferredRender {};
    // A model whose background only holds its settings until it is sized and
    // rendered (the reader's fresh model).
    TModel(const TModelContext& context, TDeferredRender);

    // Clear without sizing and rendering the background (the reader renders once at the end).
    void ClearFields(bool useAuthorDefaults);
    void SizeBackground();   // the model image's size for the context's main window
    void RenderBackground(); // what Background says, at the context's window size
    bool InGrid(int32_t x, int32_t y, int32_t level) const {
        return x >= 0 && y >= 0 && level >= 0 && x < Cols && y < Rows && level < Levels;
    }
    int32_t CellOffset(int32_t x, int32_t y, int32_t level) const { return (level * Rows + y) * Cols + x; }
    void DrawStack(TCanvas& canvas, int32_t x, int32_t y) const;
    void DrawTextOverlay(TCanvas& canvas, const QRect& area); // only the part inside area; null: all
    void TakeOver(TModel& loaded);
    // A message of the reader, shown by the context's presenter.
    int Tell(AppMessage message, const std::vector<MessageArg>& args = {}) const {
        return ShowAppMessage(m_context.Messages, message, args);
    } // moves a freshly loaded model's content into this one
    bool ReadChunkFormat(QIODevice& file, const QString& shownName);
    bool ReadOldFormat(QIODevice& file, const QString& shownName);
    void FitToWindowGrid(int32_t cols, int32_t rows); // the window grid; message 7 for a larger file grid
    TModelData FittedData() const;                    // the texts as the file keeps them
    void WriteModel(QIODevice& file) const;

    TModelContext m_context;
    TBackground m_background;
    // m_background shows its own settings at the context's window size: no
    // size change or failed rendering since it was rendered.
    bool m_backgroundRendered = false;
    std::unique_ptr<TModelRenderCache> m_render;
};
