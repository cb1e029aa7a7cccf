#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QRgb>
#include <QSize>
#include <string>

// The rendered text overlay of a model, kept as a transparent layer the size
// of the canvas so that redrawing one cell costs a 32 x 32 copy of it instead
// of laying out the whole text again. The layer is made again only when
// something it depends on changes.
class TTextOverlayLayer {
public:
    struct Params {
        std::string text; // ANSI bytes
        QRect rect; // the text's rectangle: its top-left corner and the right and bottom edges it wraps at
        bool shadow = false;
        QFont font;
        QRgb color = 0;
        QSize canvas;

        bool operator==(const Params& other) const;
    };

    // Makes the layer for these parameters unless it is already made for them.
    void Update(const Params& params);

    // Draws the layer's pixels inside area onto target (clipped to both).
    void Composite(QImage& target, const QRect& area) const;

    // Where the layer has pixels (within the canvas).
    QRect Bounds() const { return m_bounds; }

private:
    Params m_params;
    bool m_valid = false;
    QImage m_layer; // ARGB32_Premultiplied
    QRect m_bounds;
};

// The layout of every overlay and sample text: word wrap, tabs expanded, no
// clipping, "&" an ordinary character.
constexpr int kOverlayTextFlags = Qt::TextWordWrap | Qt::TextExpandTabs | Qt::TextDontClip;
