#include "imaging/color.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

// Windows system colour numbers and the palette role that stands for each here.
QColor SystemColor(int index) {
    const QPalette palette = QGuiApplication::instance() ? QGuiApplication::palette() : QPalette();
    switch (index) {
    case 0: // scroll bar
        return palette.color(QPalette::Button);
    case 1: // desktop background
        return palette.color(QPalette::Dark);
    case 2: // active caption
    case 13: // highlight
    case 27: // gradient active caption
        return palette.color(QPalette::Highlight);
    case 3: // inactive caption
    case 28:
        return palette.color(QPalette::Mid);
    case 4: // menu
    case 15: // button face
    case 25:
    case 30:
        return palette.color(QPalette::Button);
    case 5: // window
        return palette.color(QPalette::Base);
    case 6: // window frame
    case 21: // 3D dark shadow
        return palette.color(QPalette::Shadow);
    case 7: // menu text
    case 18: // button text
        return palette.color(QPalette::ButtonText);
    case 8: // window text
    case 9: // caption text
        return palette.color(QPalette::WindowText);
    case 14: // highlight text
        return palette.color(QPalette::HighlightedText);
    case 16: // button shadow
        return palette.color(QPalette::Dark);
    case 17: // grey text
        return palette.color(QPalette::Disabled, QPalette::Text);
    case 20: // button highlight
        return palette.color(QPalette::Light);
    case 22: // 3D light
        return palette.color(QPalette::Midlight);
    case 23: // tooltip text
        return palette.color(QPalette::ToolTipText);
    case 24: // tooltip background
        return palette.color(QPalette::ToolTipBase);
    default:
        return palette.color(QPalette::Window);
    }
}

} // namespace

TColor ResolveColor(TColor color) {
    if ((color & kSystemColorFlag) == 0)
        return color & 0xFFFFFF;
    const QColor c = SystemColor(static_cast<int>(color & 0xFF));
    return RGBColor(c.red(), c.green(), c.blue());
}

QRgb ColorToRgb(TColor color) {
    const TColor c = ResolveColor(color);
    return qRgb(ColorRed(c), ColorGreen(c), ColorBlue(c));
}

QColor ColorToQColor(TColor color) { return QColor::fromRgb(ColorToRgb(color)); }

TColor RgbToColor(QRgb rgb) { return RGBColor(qRed(rgb), qGreen(rgb), qBlue(rgb)); }
