#pragma once

// The background pictures of the catalogue, one per code. Pictures whose
// layout repeats them across and down (layout 11) join seamlessly on all four
// sides at 1:1; strips (layout 10) join across and are 768 pixels high, so that
// the program stretches them to the full height without scaling.

#include <QImage>
#include <string>
#include <vector>

namespace art {

struct BackgroundPicture {
    std::string code; // the three-character catalogue code
    QImage image;
    bool tileDown; // layout 11: repeats downwards too
};

std::vector<BackgroundPicture> MakeBackgrounds();

} // namespace art
