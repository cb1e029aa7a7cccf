// Block set: letters and digits, as gold letters to put over anything and as
// toy alphabet blocks. A letter's name ends in the letter in lower case (or the
// digit or sign itself), never in a turning letter.

#include "content_sets.h"

#include <cctype>

namespace art {

namespace {

Mask GlyphMask(char ch, int left, int top, int sx, int sy) {
    Mask m;
    const int width = TextWidth(PixelFont::Letters, std::string_view(&ch, 1));
    for (int gy = 0; gy < TextHeight(PixelFont::Letters); ++gy)
        for (int gx = 0; gx < width; ++gx)
            if (GlyphPixel(PixelFont::Letters, ch, gx, gy))
                m.rect(left + gx * sx, top + gy * sy, sx, sy);
    return m;
}

Pixels GoldLetter(char ch) {
    Pixels pic = NewPic();
    const Mask letter = GlyphMask(ch, 6, 2, 4, 4);
    // A drop shadow, then the letter.
    Fill(pic, letter.shifted(1, 1).grown() - letter.grown(), Night);
    Shade(pic, letter.grown(), kGold);
    return pic;
}

Pixels ToyBlock(char ch, int index) {
    static const Ramp kRamps[] = {kRedR, kBlue, kLeaf, kGold, kPurpleR, kOrangeR};
    const Ramp& ramp = kRamps[index % 6];
    Pixels pic = NewPic();
    Shade(pic, Mask().rect(0, 0, 32, 32), ramp);
    Shade(pic, Mask().rect(3, 3, 26, 26), Ramp{ramp.dark, ramp.mid, ramp.mid, ramp.light, ramp.hi}, {false});
    const Mask letter = GlyphMask(ch, 9, 6, 3, 3);
    Fill(pic, letter.shifted(1, 1), ramp.outline);
    Fill(pic, letter, White);
    return pic;
}

} // namespace

BlockSet MakeLettersSet() {
    SetBuilder b("Letters and digits");
    const std::string upper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const std::string signs = "0123456789!?.";

    auto letterRows = [&](char prefix, const std::function<Pixels(char, int)>& draw) {
        for (int half = 0; half < 2; ++half) {
            b.row();
            for (int i = half * 13; i < half * 13 + 13; ++i) {
                const std::string name{prefix, static_cast<char>('1' + half),
                                       static_cast<char>(std::tolower(
                                           static_cast<unsigned char>(upper[static_cast<size_t>(i)])))};
                b.add(name, draw(upper[static_cast<size_t>(i)], i));
            }
        }
        b.row();
        for (size_t i = 0; i < signs.size(); ++i)
            b.add(std::string{prefix, '3', signs[i]}, draw(signs[i], static_cast<int>(i)));
    };
    letterRows('A', [](char ch, int) { return GoldLetter(ch); });
    letterRows('B', [](char ch, int i) { return ToyBlock(ch, i); });
    return b.done();
}

} // namespace art
