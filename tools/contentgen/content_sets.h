#pragma once

#include "block_set.h"
#include "pixel_art.h"
#include "textures.h"

#include <vector>

namespace art {

BlockSet MakeWallsSet();
BlockSet MakeRoofsSet();
BlockSet MakeFacadeSet();
BlockSet MakeGroundSet();
BlockSet MakePlantsSet();
BlockSet MakeCreaturesSet();
BlockSet MakeVehiclesSet();
BlockSet MakeSignsSet();
BlockSet MakeLettersSet();
BlockSet MakeSkySet();

// The ten sets in file order (sd01 first).
std::vector<BlockSet> AllSets();

// Shared pieces of the sets.
// The brick of the town walls (30H and every wall piece made from it).
const BrickStyle& TownBrick();
// The four triangle halves of a cell, for slopes: N is the lower right half
// (the slope faces up and left), then clockwise.
Mask SlopeMask(int quarters);
// A band along the slope face of SlopeMask, of the given width.
Mask SlopeBand(int quarters, int width);
// A quarter of a disc centred on a cell corner: J has its centre at the
// bottom-right corner (the top-left quarter of a 2 x 2 circle), then clockwise.
Mask QuarterDisc(int quarters, double radius);

} // namespace art
