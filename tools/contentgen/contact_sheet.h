#pragma once

// A review picture of everything the generator draws: each set's blocks at
// 1:1 on a dark ground and at 2:1 on a light ground with their names, the
// background pictures (tiled, at half size) and the welcome model.

#include "block_set.h"

#include <QImage>
#include <string>
#include <vector>

namespace art {

struct NamedPicture {
    std::string name;
    QImage image;
    bool tileDown = true; // repeats downwards as well as across
};

QImage MakeContactSheet(const std::vector<BlockSet>& sets, const std::vector<NamedPicture>& backgrounds,
                        const QImage& welcome);

} // namespace art
