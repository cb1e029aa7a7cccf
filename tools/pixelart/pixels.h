#pragma once
// A small pixel-art drawing surface: every operation sets whole pixels of one
// palette colour, with no smoothing, so the pictures come out crisp and the
// same on every build.

#include <QImage>
#include <QRect>
#include <initializer_list>
#include <map>

namespace pixelart {

class Pixels {
public:
    Pixels(int width, int height, QRgb fill);
    explicit Pixels(const QImage& image);

    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    QRect rect() const { return m_image.rect(); }
    const QImage& image() const { return m_image; }

    QRgb at(int x, int y) const;
    bool opaqueAt(int x, int y) const { return qAlpha(at(x, y)) != 0; }
    void set(int x, int y, QRgb colour); // outside the picture: ignored
    void fill(const QRect& r, QRgb colour);
    void hline(int x0, int x1, int y, QRgb colour);
    void vline(int x, int y0, int y1, QRgb colour);
    void line(int x0, int y0, int x1, int y1, QRgb colour);
    void frame(const QRect& r, QRgb colour);
    // A raised edge: top and left in light, bottom and right in dark.
    void bevel(const QRect& r, QRgb light, QRgb dark);
    // Every pixel of src that is not transparent (alpha 0), placed at (x, y).
    void draw(const Pixels& src, int x, int y);
    // Every pixel of src but those of the key colour, placed at (x, y).
    void drawKeyed(const Pixels& src, int x, int y, QRgb key);
    // Replaces one colour by another everywhere.
    void replace(QRgb from, QRgb to);
    // Adds an outline of the given colour around every opaque pixel (the eight
    // neighbours of a pixel count).
    void outline(QRgb colour);
    // A copy with n transparent pixels added on every side.
    Pixels padded(int n) const;
    // A copy scaled up by a whole factor, each pixel a square.
    Pixels scaled(int factor) const;
    // A copy with every opaque pixel turned to its grey.
    Pixels greyed() const;

private:
    QImage m_image;
};

// A picture from rows of characters, one character per pixel; characters not
// in the legend (such as '.') are transparent.
Pixels Sprite(std::initializer_list<const char*> rows, const std::map<char, QRgb>& legend);

// A filled disc of pixels with centre (cx, cy) given in half pixels so that
// even-sized discs can be centred between pixels.
void FillDisc(Pixels& p, int cx2, int cy2, int r2, QRgb colour);

} // namespace pixelart
