#pragma once

#include "imaging/color.h"
#include "library/background.h"

#include <array>
#include <cstdint>
#include <string>

constexpr int32_t kModelVersion = 1536; // 0x600, the format version every model is written with
constexpr int kMaxLevels = 8;           // the stack height of every model the program makes
constexpr int kCellStoreSize = 6400;    // entries of the cell store

// Bits of FontStyle.
enum TFontStyleBits : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// Everything a model is, as a plain value that can be copied and compared:
// what its file keeps, and its two state flags. Texts are ANSI bytes as the
// file stores them.
struct TModelData {
    struct TDescriptionRecord {
        bool DescriptionFlag = true;
        int32_t DescriptionCode = 2;
        std::string DescriptionText;
        bool operator==(const TDescriptionRecord&) const = default;
    };

    struct TAuthorRecord {
        std::string AuthorName;
        int32_t Age = 0;
        std::string Country;
        std::string OwnerName;
        bool operator==(const TAuthorRecord&) const = default;
    };

    struct TFontRecord {
        std::string FontName = "System";
        TColor FontColor = 0xC0C0C0;
        int32_t FontHeight = -13; // negative: character height in pixels
        uint8_t FontStyle = fsBold;
        bool operator==(const TFontRecord&) const = default;
    };

    struct TTextOverlayRecord {
        std::string Text; // empty: no overlay
        int32_t TextCol = 0;
        int32_t TextRow = 0;
        int32_t Shadow = 0; // not 0: a 2-pixel shadow
        TFontRecord Font;
        bool operator==(const TTextOverlayRecord&) const = default;
    };

    using TCellStore = std::array<int32_t, kCellStoreSize>;
    static constexpr TCellStore EmptyCells() {
        TCellStore cells{};
        for (int32_t& entry : cells)
            entry = -1;
        return cells;
    }

    int32_t Version = kModelVersion;
    int32_t Version2 = kModelVersion;
    TDescriptionRecord Description;
    TAuthorRecord Author;
    TTextOverlayRecord TextOverlay;
    TBackgroundSettings Background; // what the background shows; the model renders it
    bool Modified = false;
    bool Truncated = false;
    int32_t Cols = 0;
    int32_t Rows = 0;
    int32_t Levels = kMaxLevels;
    // Entry of (x, y, level) at level*Cols*Rows + y*Cols + x; -1 for no block.
    TCellStore Cells = EmptyCells();

    bool operator==(const TModelData&) const = default;
};

// The parts in which two values differ, named for a report ("TextOverlay,
// Cells from entry 37"); empty when the values are equal.
std::string ModelDataDifference(const TModelData& expected, const TModelData& actual);
