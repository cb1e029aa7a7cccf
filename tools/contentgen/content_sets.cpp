#include "content_sets.h"

namespace art {

std::vector<BlockSet> AllSets() {
    return {MakeWallsSet(),     MakeRoofsSet(),    MakeFacadeSet(), MakeGroundSet(), MakePlantsSet(),
            MakeCreaturesSet(), MakeVehiclesSet(), MakeSignsSet(),  MakeSkySet(),    MakeLettersSet()};
}

} // namespace art
