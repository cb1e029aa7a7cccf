#pragma once
// The palette of the generated pictures, shared by the resource and the content tests.

#include <QImage>
#include <QSet>

// The 32 colours of the program's palette, written out here so that a changed
// colour in the generators shows.
inline const QSet<QRgb>& PaletteColours() {
    static const QSet<QRgb> colours = {
        0xff000000, 0xff222034, 0xff45283c, 0xff663931, 0xff8f563b, 0xffdf7126, 0xffd9a066, 0xffeec39a,
        0xfffbf236, 0xff99e550, 0xff6abe30, 0xff37946e, 0xff4b692f, 0xff524b24, 0xff323c39, 0xff3f3f74,
        0xff306082, 0xff5b6ee1, 0xff639bff, 0xff5fcde4, 0xffcbdbfc, 0xffffffff, 0xff9badb7, 0xff847e87,
        0xff696a6a, 0xff595652, 0xff76428a, 0xffac3232, 0xffd95763, 0xffd77bba, 0xff8f974a, 0xff8a6f30};
    return colours;
}
constexpr QRgb kMagenta = 0xffff00ff;
