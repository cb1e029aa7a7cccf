#pragma once

// A block set as the generator builds it: a title and rows of named pictures,
// and its two files (the set file and the sheet).

#include "pixelart/pixels.h"

#include <QByteArray>
#include <QImage>
#include <functional>
#include <string>
#include <vector>

namespace art {

struct Block {
    std::string name;     // three characters
    pixelart::Pixels pic; // 32 x 32, magenta where transparent
};

struct BlockSet {
    std::string title;
    std::vector<std::vector<Block>> rows;
};

// Draws one turned form of a block: quarters clockwise from the first form.
using TurnedDraw = std::function<pixelart::Pixels(int quarters)>;

// Collects the rows of one set. Each call of row() starts a new row; the
// family helpers add every orientation of a turning block, each drawn turned.
class SetBuilder {
public:
    explicit SetBuilder(std::string title);

    SetBuilder& row();
    SetBuilder& add(const std::string& name, const pixelart::Pixels& pic);
    // name + N, E, S, W: draw(0) to draw(3).
    SetBuilder& turns(const std::string& prefix, const TurnedDraw& draw);
    // name + H and V: draw(0) and draw(vQuarters) (1 or 3).
    SetBuilder& pair(const std::string& prefix, const TurnedDraw& draw, int vQuarters = 1);
    // name + J, K, L, M: draw(0) to draw(3).
    SetBuilder& corners(const std::string& prefix, const TurnedDraw& draw);

    BlockSet done();

private:
    BlockSet m_set;
};

// The set file: 160 unread bytes, the title in 63 bytes, one unread byte, the
// row count and the rows (a name count and the names).
QByteArray EncodeSetFile(const BlockSet& set);
// The sheet: cells 33 pixels apart, each picture at (1 + 33 v, 1 + 33 r), grid
// lines between them. Width 33 x (longest row) + 1, height 33 x rows + 1.
QImage MakeSheet(const BlockSet& set);
int SheetWidth(const BlockSet& set);
int SheetHeight(const BlockSet& set);

// The orientation cycles, by letter.
bool IsTurningLetter(char c);

} // namespace art
