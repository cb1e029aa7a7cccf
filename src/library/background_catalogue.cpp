#include "library/background.h"

namespace {

// Shown name, code and layout number (tens digit: repeat across, units digit:
// repeat down), sorted by name as the list shows them.
constexpr std::array<BackgroundCatalogueRow, kBackgroundCatalogueSize> kCatalogue{{
    {"(color)", "000", "00"},
    {"Alien landscape I", "AL1", "10"},
    {"Alien landscape II", "AL2", "10"},
    {"Cubestacks Logo", "CS1", "11"},
    {"Desert Sand", "DS1", "11"},
    {"Rainbow, dark", "RB2", "10"},
    {"Rainbow, pale", "RB3", "10"},
    {"Rainbow, vivid", "RB1", "10"},
    {"Seascape", "SS1", "10"},
    {"Sky, bright day", "BS1", "11"},
    {"Sky, cloudy", "BS2", "11"},
    {"Sky, evening stars", "SP2", "10"},
    {"Space, deep", "SP1", "11"},
    {"Wall, bricks", "WL1", "11"},
    {"Wall, embossed", "WL3", "11"},
    {"Wall, stone ", "WL2", "11"},
}};

} // namespace

const std::array<BackgroundCatalogueRow, kBackgroundCatalogueSize>& BackgroundCatalogue() {
    return kCatalogue;
}

QString BackgroundCatalogueItem(int row) {
    if (row < 0 || row >= kBackgroundCatalogueSize)
        return QString();
    const BackgroundCatalogueRow& entry = kCatalogue[static_cast<size_t>(row)];
    return QString::fromLatin1(entry.Name) + '\t' + QString::fromLatin1(entry.Code) + '\t' +
           QString::fromLatin1(entry.Layout);
}

int KindFromLayout(const QString& layout) {
    bool ok = false;
    const int number = layout.toInt(&ok, 10);
    if (!ok)
        return -1;
    switch (number) {
    case 0:
        return bkStretch;
    case 1:
        return bkTileDown;
    case 10:
        return bkTileAcross;
    case 11:
        return bkTile;
    default:
        return -1;
    }
}
