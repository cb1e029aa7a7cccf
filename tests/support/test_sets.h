#pragma once

// Block sets made by the tests: set files and sheets written into a temporary
// program folder, ready for a real block library to load.

#include "support/test_support.h"

#include <QByteArray>
#include <QImage>
#include <QRgb>
#include <QString>
#include <string>
#include <vector>

// One row record of a set file: the count byte K and the name bytes as given
// (a test may give fewer than 3 * K, or zero bytes inside a name).
struct SetRow {
    int count;
    std::string names;
};
SetRow Names(const std::string& names);                     // K = names.size() / 3
using BlockSetRows = std::vector<std::vector<std::string>>; // rows of 3-character names
std::vector<SetRow> SetRows(const BlockSetRows& rows);

// The bytes of a set file: 160 zero bytes, the title (63 bytes, zero filled or
// cut), a zero byte, the row count and the row records.
QByteArray SetFileBytes(const std::string& title, const std::vector<SetRow>& rows);

// The colours of the test pictures, never magenta, black or grid green: by
// loading order over all sets written together, or by set, row and variation.
QRgb BlockSetColor(int n);
QRgb BlockColor(int set, int row, int variation);

// Each picture a 32 x 32 square of its colour, with
struct SheetStyle {
    bool colorByPlace = false; // BlockColor rather than BlockSetColor;
    // pixel (0, 0) magenta (see-through) and (1, 0) almost magenta (not);
    bool cornerMarks = true;
    bool clearLeftHalfOfF = false; // the left half see-through for a name ending in F.
};

// System/sdNN.csd and System/sdNN.csb (a 24-bit BMP of the sheet at pitch 33, grid lines
// white) for set number (1-based); firstBlock is the loading number of its first name.
void WriteSet(const TempProgramFolder& folder, int number, const std::string& title,
              const std::vector<SetRow>& rows, const SheetStyle& style = {.colorByPlace = true},
              int firstBlock = 0);
// The sets numbered from 1 and titled "Set 1", ...; colours in loading order over all of them.
void WriteBlockSets(const TempProgramFolder& folder, const std::vector<BlockSetRows>& sets,
                    const SheetStyle& style = {});
