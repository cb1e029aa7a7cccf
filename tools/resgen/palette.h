#pragma once
// The 32 colours every picture of the program is drawn with, plus magenta for
// "no pixel here" in pictures that are drawn with a transparent colour.

#include <QColor>
#include <array>

namespace pal {

constexpr QRgb Black = 0xff000000;    // 000000
constexpr QRgb Night = 0xff222034;    // 222034, darkest blue
constexpr QRgb Plum = 0xff45283c;     // 45283C
constexpr QRgb Umber = 0xff663931;    // 663931
constexpr QRgb Brown = 0xff8f563b;    // 8F563B
constexpr QRgb Orange = 0xffdf7126;   // DF7126
constexpr QRgb Tan = 0xffd9a066;      // D9A066
constexpr QRgb Skin = 0xffeec39a;     // EEC39A
constexpr QRgb Yellow = 0xfffbf236;   // FBF236
constexpr QRgb Lime = 0xff99e550;     // 99E550
constexpr QRgb Green = 0xff6abe30;    // 6ABE30
constexpr QRgb Teal = 0xff37946e;     // 37946E
constexpr QRgb Forest = 0xff4b692f;   // 4B692F
constexpr QRgb Olive = 0xff524b24;    // 524B24
constexpr QRgb Slate = 0xff323c39;    // 323C39
constexpr QRgb Indigo = 0xff3f3f74;   // 3F3F74
constexpr QRgb Navy = 0xff306082;     // 306082
constexpr QRgb Blue = 0xff5b6ee1;     // 5B6EE1
constexpr QRgb Sky = 0xff639bff;      // 639BFF
constexpr QRgb Cyan = 0xff5fcde4;     // 5FCDE4
constexpr QRgb Ice = 0xffcbdbfc;      // CBDBFC
constexpr QRgb White = 0xffffffff;    // FFFFFF
constexpr QRgb Silver = 0xff9badb7;   // 9BADB7
constexpr QRgb Grey = 0xff847e87;     // 847E87
constexpr QRgb Iron = 0xff696a6a;     // 696A6A
constexpr QRgb Charcoal = 0xff595652; // 595652
constexpr QRgb Purple = 0xff76428a;   // 76428A
constexpr QRgb Red = 0xffac3232;      // AC3232
constexpr QRgb Rose = 0xffd95763;     // D95763
constexpr QRgb Pink = 0xffd77bba;     // D77BBA
constexpr QRgb Moss = 0xff8f974a;     // 8F974A
constexpr QRgb Bronze = 0xff8a6f30;   // 8A6F30

// The transparent key of pictures drawn with a transparent colour.
constexpr QRgb Magenta = 0xffff00ff;
// No pixel at all (pointers carry a real alpha channel).
constexpr QRgb Clear = 0x00000000;

constexpr std::array<QRgb, 32> kAll = {Black,  Night,    Plum,   Umber, Brown,  Orange, Tan,    Skin,
                                       Yellow, Lime,     Green,  Teal,  Forest, Olive,  Slate,  Indigo,
                                       Navy,   Blue,     Sky,    Cyan,  Ice,    White,  Silver, Grey,
                                       Iron,   Charcoal, Purple, Red,   Rose,   Pink,   Moss,   Bronze};

// The greys of the palette, darkest first: what a disabled picture is drawn in.
constexpr std::array<QRgb, 8> kGreys = {Black, Night, Slate, Charcoal, Iron, Grey, Silver, White};

// The grey of the same brightness as a colour.
QRgb ToGrey(QRgb colour);

} // namespace pal
