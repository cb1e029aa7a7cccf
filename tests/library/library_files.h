#pragma once

// Set files and sheets made by the tests themselves.

#include "support/test_support.h"

#include <QByteArray>
#include <QImage>
#include <string>
#include <vector>

// One row record: the byte K and then the name bytes as given (3 * K of them
// unless a test wants the file to end early).
struct SetRow {
    int count;
    std::string names;
};
SetRow Names(const std::string& names); // K = names.size() / 3

// The bytes of a set file: 160 zero bytes, the title field (63 bytes, zero
// filled), one zero byte, the row count and the row records.
QByteArray SetFileBytes(const std::string& title, const std::vector<SetRow>& rows);

// The colour of the picture at (row, variation) of a test sheet for a set.
QRgb BlockColor(int set, int row, int variation);

// A sheet of rows x variations cells at pitch 33, grid lines white; each cell is
// BlockColor except pixel (0, 0) magenta and pixel (1, 0) almost magenta (254, 0, 255).
QImage MakeSheet(int set, int rows, int variations);

// Writes System/sdNN.csd and System/sdNN.csb (a 24-bit BMP of the sheet) for set
// number (1-based), with a sheet that covers every row and name.
void WriteSet(const TempProgramFolder& folder, int number, const std::string& title,
              const std::vector<SetRow>& rows);
QString SetFilePath(const TempProgramFolder& folder, int number, const char* extension);
