#pragma once

#include "pictures.h"

// One picture showing every picture at 1:1 and at 4:1, with its name, for
// looking over the artwork; not part of the program.
pixelart::Pixels ContactSheet(const std::vector<Picture>& pictures);

// The toolbox and the block box put together from their pieces the way the
// program shows them, with stand-in blocks and texts, for the contact sheet.
std::vector<Picture> AssembledBoxes(const std::vector<Picture>& pictures);
