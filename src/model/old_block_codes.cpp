#include "model/old_block_codes.h"

#include "library/block_list.h"
#include "model/model.h"

#include <algorithm>
#include <string_view>

namespace {

// Row: old set; column: position in the set.
constexpr const char* kOldBlockTable[kOldBlockSets][kOldBlockPositions] = {
    {nullptr, "45F,480", "83M", "83J", "800", "84W", "84E", "63M", "61S", "63J"},
    {"101", "102", "103", "10H", "10C", "754", "10D,952", "912", "12D,911", "950"},
    {"30H", "34E", "34W", "36E", "36W", "38W", "38E", "30V", "38S", "47H"},
    {"30H,44H,42V", "30H,40H,43N,42S", "30H,40H,43S,42N", "30H,40H", "30H,45H,42S", "30H,45H,42N", "66N",
     "68W", "68E", "67V"},
    {"931,953", "42V", "43V", "14N", "14S", "60H", "60V", "30H,41H,42N", "30H,41H,42S", "33V"},
    {"30H,51S", "30H,51N", "30H,51V", "54S", "54N", "54V", "30H,50H", "53H", "43N,45F", "43S,45F"},
    {"20V", "21S", "21N", "20H", "22S", "22N", "220", "21E", "21W", "221,220"},
    {"20V,57S", "22W", "22E", "23K", "23L", "23J", "23M", "4CN,84S", "37S,25H", "37N,25H"},
    {"30H,37S,58H", "30H,37N,58H", "30H,31V,58H", "31V", "31V,5FS", "860", "31V,59V", "35S", "35N",
     "31V,25H"},
    {"16J", "16M", "62L", "62K", "16K", "16L", "17S", "31V,30H,5AH", "31V,36W,5AW", "31V,36E,5AE"},
    {"701", "69V", "901", "70H", "731", "72W", "72E", "6BW", "6BE", "6A0"},
    {"111", "112", "113", "11H", "11C", "24L", "24K", "24M", "24J", "733"},
};

constexpr const char* kUnknownOldBlock = "2AH";

} // namespace

const char* OldBlockNames(uint16_t code) {
    if (code == 0)
        return nullptr;
    const int set = code >> 8;
    const int position = code & 0xFF;
    if (set < kOldBlockSets && position < kOldBlockPositions)
        return kOldBlockTable[set][position];
    return kUnknownOldBlock;
}

void TModel::ConvertOldBlock(int32_t x, int32_t y, uint16_t code) {
    const char* names = OldBlockNames(code);
    if (!names)
        return;
    const TBlockList* list = m_context.Library;
    std::string_view rest(names);
    while (!rest.empty()) {
        const size_t comma = rest.find(',');
        const std::string name(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        // A name the library lacks stands as the library's first block.
        const int32_t index = std::max(0, list ? list->IndexFromName(name) : -1);
        SetBlockIndex(x, y, index, FreeLevel(x, y));
    }
}
