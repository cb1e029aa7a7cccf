#pragma once

#include "common/io_error.h"
#include "imaging/canvas.h"
#include "library/cell_size.h"

#include <QImage>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

constexpr int kMaxBlocks = 2000;
constexpr int kMaxSets = 10;
constexpr int kMaxRows = 20;
constexpr int kMaxVariations = 13;
constexpr int kBlockSize = kCellSize;
constexpr int kSheetPitch = 33;

// One slot of the block table.
struct BlockEntry {
    uint8_t Set = 0;
    uint8_t Row = 0;
    uint8_t Variation = 0;
    std::string Name; // at most 3 characters
};

// The block selection memory, shared by the library and the block box: the
// set shown, the row chosen in each set and the variation chosen in each row.
struct TBlockSelection {
    int32_t CurrentSet = 0;
    std::array<int32_t, kMaxSets> SelectedRow{};
    std::array<std::array<int32_t, kMaxRows>, kMaxSets> SelectedVariation{};
};

// The block library: every block of the block sets in System/ beside the
// program, found by name, by map (set, row, variation) and by index, and drawn
// from pictures cut once from the sheets.
class TBlockList {
public:
    // When the pictures are cut from the sheets: all while the sets load, or
    // each set's when LoadPictures asks for them (a program that draws only
    // some blocks, or none, decodes only the sheets it needs).
    enum class TPictureLoading { AtOnce, WhenAsked };

    // Loads every set (LoadSets). Never throws: a set or sheet that cannot be
    // read ends the loading, the sets loaded before it stay, and LoadError
    // tells the user which file failed and which sets are missing. With
    // pictures when asked, the sheets' headers are read (a missing or foreign
    // sheet ends the loading all the same) and the pictures stay empty until
    // LoadPictures.
    // The sets are read from systemFolder (empty: the System folder beside the program).
    explicit TBlockList(TPictureLoading loading = TPictureLoading::AtOnce,
                        const QString& systemFolder = QString());
    ~TBlockList();
    TBlockList(const TBlockList&) = delete;
    TBlockList& operator=(const TBlockList&) = delete;

    void Clear();
    void Append(uint8_t set, uint8_t row, uint8_t variation, const std::string& name);

    std::string NameFromMap(uint8_t set, uint8_t row, uint8_t variation) const; // "100" when none
    int32_t IndexFromMap(uint8_t set, uint8_t row, uint8_t variation) const;    // -1 when none
    int32_t IndexFromName(const std::string& name) const;                       // -1 when none
    bool IsValidName(const std::string& name) const;
    void MapFromIndex(int32_t index, int32_t& set, int32_t& row, int32_t& variation) const;
    std::string NameFromIndex(int32_t index) const; // empty for an index without a block

    // Cuts the pictures of the set's blocks from its sheet, unless they are
    // there already. False when the sheet cannot be decoded after all: its
    // pictures stay empty and LoadError says why. Not while others draw.
    bool LoadPictures(int32_t set);

    int32_t GetSelectedIndex() const;
    void SelectIndex(int32_t index);

    void IndexedBlockDraw(TCanvas& canvas, int32_t x, int32_t y, int32_t index) const;
    void MappedBlockDraw(TCanvas& canvas, int32_t x, int32_t y, int32_t set, int32_t row,
                         int32_t variation) const;
    void StretchBlockDraw(TCanvas& canvas, int32_t x, int32_t y, int32_t size) const;
    // The same on a bare image, for callers without a canvas.
    void IndexedBlockDraw(QImage& image, int32_t x, int32_t y, int32_t index) const;
    // A stack of blocks, indices bottom first, drawn at one place: the same
    // pixels as IndexedBlockDraw for each in turn, in one pass over the square.
    void StackedBlockDraw(QImage& image, int32_t x, int32_t y, const int32_t* indices, int32_t count) const;
    static constexpr int32_t kMaxStack = 8;

    // Fields others read.
    std::array<BlockEntry, kMaxBlocks> Blocks;
    std::vector<QImage> ImageList; // picture i of block i: ARGB32_Premultiplied, alpha 0 where magenta
    int32_t Count = 0;
    int32_t SetCount = 0;
    std::array<int32_t, kMaxSets> RowCount{};
    std::array<std::array<int32_t, kMaxRows>, kMaxSets> LastVariation{};
    std::array<std::string, kMaxSets> SetTitle;
    int32_t SelectedIndex = 0;
    // The block selection memory; the block box reads and changes it.
    TBlockSelection Selection;

    // What ended the loading early, for the user: the file and the sets that
    // are missing. Empty when every set was loaded.
    QString LoadError;
    // Sheets that loaded although they end early (their missing rows are
    // black), one line each, for the user. Empty when none did.
    QString LoadNotice;

    // The sheet of the set being loaded; Append cuts its pictures from it.
    QImage Sheet;

private:
    void LoadSets(const QString& systemFolder);
    void SetMasks(size_t index); // of picture index, just cut

    // name -> lowest index and map -> index, built while loading
    struct Lookup;
    std::unique_ptr<Lookup> m_lookup;
};

// Reads a set file: its title and one string of names per row.
// Raises IoError when the file cannot be opened, SetFileEndsEarly when it ends early.
class SetFileEndsEarly : public IoError {
public:
    SetFileEndsEarly() : IoError("Read beyond end of file") {}
};
void ReadSetFile(const QString& fileName, std::vector<std::string>& rows, std::string& title);
