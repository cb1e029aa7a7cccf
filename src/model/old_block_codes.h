#pragma once

#include <cstdint>

// The blocks that stand for an old block code (set * 256 + position) of the
// old model file format: the names, separated by commas, stacked from the
// first (bottom) to the last (top). Codes outside the table give "2AH"; code 0
// (no block) gives nullptr.
const char* OldBlockNames(uint16_t code);

constexpr int kOldBlockSets = 12;
constexpr int kOldBlockPositions = 10;
