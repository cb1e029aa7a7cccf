#pragma once

// A cell of the model grid and a block picture are squares of 32 x 32 pixels.
constexpr int kCellSize = 32;
