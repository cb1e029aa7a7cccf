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

// One row record of a set file: the count byte K and then the name bytes as
// given (3 * K of them, unless a test wants a file that ends early or a zero
// byte inside a name).
struct SetRow {
    int count;
    std::string names;
};
SetRow Names(const std::string& names); // K = names.size() / 3

// One set: rows of 3-character names.
using BlockSetRows = std::vector<std::vector<std::string>>;
std::vector<SetRow> SetRows(const BlockSetRows& rows);

// The bytes of a set file: 160 zero bytes, the title field (63 bytes, zero
// filled; a longer title is cut), one zero byte, the row count and the row
// records.
QByteArray SetFileBytes(const std::string& title, const std::vector<SetRow>& rows);

// The colours of the test pictures; never magenta, black or grid green.
// By loading order: the n-th block written (0-based, over all sets written
// together).
QRgb BlockSetColor(int n);
// By the block's place: set (0-based), row and variation.
QRgb BlockColor(int set, int row, int variation);

// What the pictures of a written set look like: each a 32 x 32 square of its
// colour, and
struct SheetStyle {
    // the colour BlockColor(set, row, variation) rather than BlockSetColor(n);
    bool colorByPlace = false;
    // pixel (0, 0) magenta (see-through) and pixel (1, 0) almost magenta
    // (254, 0, 255, which is not), so that a block drawn over another leaves
    // that corner alone;
    bool cornerMarks = true;
    // a block whose name's third letter is F see-through on its left half.
    bool clearLeftHalfOfF = false;
};

// The sheet of a set at pitch 33, 33 * widest K by 33 * rows pixels (at
// least 33 x 33), grid lines white, with a picture for each of a row's K
// names. set is 0-based; firstBlock is the loading number of its first name.
QImage SetSheet(int set, const std::vector<SetRow>& rows, const SheetStyle& style, int firstBlock = 0);

// Writes System/sdNN.csd and System/sdNN.csb (a 24-bit BMP of the sheet) for
// set number (1-based).
void WriteSet(const TempProgramFolder& folder, int number, const std::string& title,
              const std::vector<SetRow>& rows, const SheetStyle& style = {.colorByPlace = true},
              int firstBlock = 0);

// Writes the sets as System/sdNN.csd and System/sdNN.csb, numbered from 1
// and titled "Set 1", "Set 2", ...; colours in loading order over all of them.
void WriteBlockSets(const TempProgramFolder& folder, const std::vector<BlockSetRows>& sets,
                    const SheetStyle& style = {});

// System/sdNN.<extension> in the folder.
QString SetFilePath(const TempProgramFolder& folder, int number, const char* extension);
