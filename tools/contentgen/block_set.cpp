#include "block_set.h"

#include "pixel_art.h"

#include <algorithm>
#include <stdexcept>

namespace art {

namespace {

constexpr int kTitleOffset = 160;
constexpr int kTitleSize = 63;
constexpr int kRowCountOffset = 224;
constexpr int kPitch = 33;
constexpr QRgb kGridColor = 0xFF222034;

} // namespace

SetBuilder::SetBuilder(std::string title) {
    m_set.title = std::move(title);
}

SetBuilder& SetBuilder::row() {
    m_set.rows.emplace_back();
    return *this;
}

SetBuilder& SetBuilder::add(const std::string& name, const pixelart::Pixels& pic) {
    if (m_set.rows.empty())
        row();
    if (name.size() != 3)
        throw std::logic_error("block name must have three characters: " + name);
    if (pic.width() != kCell || pic.height() != kCell)
        throw std::logic_error("block picture must be 32 x 32: " + name);
    m_set.rows.back().push_back({name, pic});
    return *this;
}

SetBuilder& SetBuilder::turns(const std::string& prefix, const TurnedDraw& draw) {
    static const char kLetters[] = "NESW";
    for (int q = 0; q < 4; ++q)
        add(prefix + kLetters[q], draw(q));
    return *this;
}

SetBuilder& SetBuilder::pair(const std::string& prefix, const TurnedDraw& draw, int vQuarters) {
    add(prefix + 'H', draw(0));
    add(prefix + 'V', draw(vQuarters));
    return *this;
}

SetBuilder& SetBuilder::corners(const std::string& prefix, const TurnedDraw& draw) {
    static const char kLetters[] = "JKLM";
    for (int q = 0; q < 4; ++q)
        add(prefix + kLetters[q], draw(q));
    return *this;
}

BlockSet SetBuilder::done() {
    return m_set;
}

QByteArray EncodeSetFile(const BlockSet& set) {
    if (set.title.size() > static_cast<size_t>(kTitleSize))
        throw std::logic_error("set title longer than 63 characters: " + set.title);
    if (set.rows.size() > 20)
        throw std::logic_error("more than 20 rows in set " + set.title);
    QByteArray out(kRowCountOffset, '\0');
    std::copy(set.title.begin(), set.title.end(), out.begin() + kTitleOffset);
    out.append(static_cast<char>(set.rows.size()));
    for (const auto& row : set.rows) {
        if (row.size() > 13)
            throw std::logic_error("more than 13 names in a row of set " + set.title);
        out.append(static_cast<char>(row.size()));
        for (const Block& b : row)
            out.append(b.name.data(), 3);
    }
    return out;
}

int SheetWidth(const BlockSet& set) {
    size_t longest = 0;
    for (const auto& row : set.rows)
        longest = std::max(longest, row.size());
    return kPitch * static_cast<int>(longest) + 1;
}

int SheetHeight(const BlockSet& set) {
    return kPitch * static_cast<int>(set.rows.size()) + 1;
}

QImage MakeSheet(const BlockSet& set) {
    QImage sheet(SheetWidth(set), SheetHeight(set), QImage::Format_RGB32);
    sheet.fill(kGridColor);
    for (size_t r = 0; r < set.rows.size(); ++r)
        for (size_t v = 0; v < set.rows[r].size(); ++v) {
            const pixelart::Pixels& pic = set.rows[r][v].pic;
            for (int y = 0; y < kCell; ++y)
                for (int x = 0; x < kCell; ++x)
                    sheet.setPixel(1 + kPitch * static_cast<int>(v) + x, 1 + kPitch * static_cast<int>(r) + y,
                                   pic.at(x, y) | 0xFF000000);
        }
    return sheet;
}

bool IsTurningLetter(char c) {
    switch (c) {
    case 'N':
    case 'E':
    case 'S':
    case 'W':
    case 'H':
    case 'V':
    case 'J':
    case 'K':
    case 'L':
    case 'M':
        return true;
    default:
        return false;
    }
}

} // namespace art
