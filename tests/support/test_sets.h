#pragma once

#include "support/test_support.h"

#include <QImage>

struct SetRow {
    int count;
    std::string names;
};
SetRow Names(const std::string& names);                     // K = names.size() / 3
using BlockSetRows = std::vector<std::vector<std::string>>; // rows of 3-character names

QByteArray SetFileBytes(const std::string& title, const std::vector<SetRow>& rows); // sdNN.csd bytes

QRgb BlockSetColor(int n);
QRgb BlockColor(int set, int row, int variation);

struct SheetStyle {
    bool colorByPlace = false;     // BlockColor rather than BlockSetColor
    bool cornerMarks = true;       // pixel (0, 0) magenta, (1, 0) almost magenta
    bool clearLeftHalfOfF = false; // names ending in F see-through on their left half
};

void WriteSet(const TempProgramFolder& folder, int number, const std::string& title,
              const std::vector<SetRow>& rows, const SheetStyle& style = {.colorByPlace = true},
              int firstBlock = 0);
void WriteBlockSets(const TempProgramFolder& folder, const std::vector<BlockSetRows>& sets,
                    const SheetStyle& style = {});
