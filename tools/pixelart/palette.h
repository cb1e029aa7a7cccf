#pragma once
// The 32 colours every picture of the program is drawn with (the "DB32" set),
// plus magenta for "no pixel here" in pictures drawn with a transparent colour.

#include <QRgb>
#include <array>
#include <cstddef>

// Each colour once, in the palette's usual order: its name and its RGB value.
#define PIXELART_PALETTE(COLOUR)                                                                             \
    COLOUR(Black, 0x000000)                                                                                  \
    COLOUR(Night, 0x222034)                                                                                  \
    COLOUR(Plum, 0x45283C)                                                                                   \
    COLOUR(Umber, 0x663931)                                                                                  \
    COLOUR(Brown, 0x8F563B)                                                                                  \
    COLOUR(Orange, 0xDF7126)                                                                                 \
    COLOUR(Tan, 0xD9A066)                                                                                    \
    COLOUR(Peach, 0xEEC39A)                                                                                  \
    COLOUR(Yellow, 0xFBF236)                                                                                 \
    COLOUR(Lime, 0x99E550)                                                                                   \
    COLOUR(Green, 0x6ABE30)                                                                                  \
    COLOUR(Teal, 0x37946E)                                                                                   \
    COLOUR(Moss, 0x4B692F)                                                                                   \
    COLOUR(Olive, 0x524B24)                                                                                  \
    COLOUR(Slate, 0x323C39)                                                                                  \
    COLOUR(Indigo, 0x3F3F74)                                                                                 \
    COLOUR(Ocean, 0x306082)                                                                                  \
    COLOUR(Blue, 0x5B6EE1)                                                                                   \
    COLOUR(Sky, 0x639BFF)                                                                                    \
    COLOUR(Cyan, 0x5FCDE4)                                                                                   \
    COLOUR(Ice, 0xCBDBFC)                                                                                    \
    COLOUR(White, 0xFFFFFF)                                                                                  \
    COLOUR(Silver, 0x9BADB7)                                                                                 \
    COLOUR(Grey, 0x847E87)                                                                                   \
    COLOUR(Iron, 0x696A6A)                                                                                   \
    COLOUR(Ash, 0x595652)                                                                                    \
    COLOUR(Purple, 0x76428A)                                                                                 \
    COLOUR(Red, 0xAC3232)                                                                                    \
    COLOUR(Rose, 0xD95763)                                                                                   \
    COLOUR(Pink, 0xD77BBA)                                                                                   \
    COLOUR(Fern, 0x8F974A)                                                                                   \
    COLOUR(Ochre, 0x8A6F30)

namespace pixelart {

namespace detail {
enum : int {
#define PIXELART_INDEX(name, rgb) name,
    PIXELART_PALETTE(PIXELART_INDEX)
#undef PIXELART_INDEX
        kCount
};
} // namespace detail

// A colour by its place in the palette, as the block pictures are drawn: Red.
#define PIXELART_PLACE(name, rgb) inline constexpr int name = detail::name;
PIXELART_PALETTE(PIXELART_PLACE)
#undef PIXELART_PLACE
inline constexpr int kPaletteSize = detail::kCount;

inline constexpr std::array<QRgb, kPaletteSize> kPalette = {
#define PIXELART_ARGB(name, rgb) QRgb{0xFF000000u | rgb},
    PIXELART_PALETTE(PIXELART_ARGB)
#undef PIXELART_ARGB
};

inline constexpr QRgb kMagenta = 0xFFFF00FF; // the transparent key
inline constexpr QRgb kClear = 0x00000000;   // no pixel at all (pointers carry real alpha)

// The opaque colour at a place in the palette.
constexpr QRgb Rgb(int index) {
    return kPalette[static_cast<size_t>(index)];
}
// The place of a colour in the palette whatever its alpha, -1 for any other
// colour (magenta is not one of the palette).
int IndexOf(QRgb colour);

// The same colours by name as ARGB values, for drawing code that works in
// colours: pal::Red.
namespace pal {
#define PIXELART_NAMED(name, rgb) inline constexpr QRgb name = 0xFF000000u | rgb;
PIXELART_PALETTE(PIXELART_NAMED)
#undef PIXELART_NAMED
inline constexpr QRgb Magenta = kMagenta;
inline constexpr QRgb Clear = kClear;

// The greys of the palette, darkest first: what a disabled picture is drawn in.
inline constexpr std::array<QRgb, 8> kGreys = {Black, Night, Slate, Ash, Iron, Grey, Silver, White};

// The grey of the palette nearest in brightness to a colour.
QRgb ToGrey(QRgb colour);
} // namespace pal

} // namespace pixelart
