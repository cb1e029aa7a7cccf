#pragma once

// Block sets made by the tests: set files and sheets written into a temporary
// program folder, ready for a real block library to load.

#include "support/test_support.h"

#include <QByteArray>
#include <QRgb>
#include <string>
#include <vector>

// One set: rows of 3-character names.
using BlockSetRows = std::vector<std::vector<std::string>>;

// The colour of the whole picture of the n-th block written (0-based, in
// loading order); never magenta, black or grid green. Pixel (0, 0) of every
// picture is magenta, so a block drawn over another leaves that corner alone.
QRgb BlockSetColor(int n);

// The bytes of a set file with this title and these rows.
QByteArray BlockSetFileBytes(const std::string& title, const BlockSetRows& rows);

// Writes System/sdNN.csd and System/sdNN.csb for each set, numbered from 1.
void WriteBlockSets(const TempProgramFolder& folder, const std::vector<BlockSetRows>& sets);
