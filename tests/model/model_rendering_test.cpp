#include "library/background.h"
#include "library/block_list.h"
#include "model_fixture.h"

#include <gtest/gtest.h>

namespace {

constexpr QRgb kGreen = 0xFF008000, kBlack = 0xFF000000, kWhite = 0xFFFFFFFF;

// The number and the bounding box of the pixels of a colour in an area.
int Count(const QImage& image, QRgb color, QRect area = QRect(), QRect* box = nullptr) {
    int n = 0;
    area = area.isNull() ? image.rect() : area;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((image.pixel(x, y) | 0xFF000000u) == color) {
                ++n;
                if (box)
                    *box |= QRect(x, y, 1, 1);
            }
    return n;
}
QRect Extent(const QImage& image, QRgb color) {
    QRect box;
    Count(image, color, QRect(), &box);
    return box;
}

using ModelRenderingTest = ModelTest;

TEST_F(ModelRenderingTest, StacksDrawBottomToTopUpToTheFirstGap) {
    TModel model(context);
    Stack(model, 0, 0, {"30H", "44H"});         // 44H covers 30H
    Stack(model, 2, 0, {"30H", "45F"});         // 45F lets 30H show through its left half
    model.SetBlockIndex(4, 0, Index("42V"), 0); // a gap at level 1: level 2 is not drawn
    model.SetBlockIndex(4, 0, Index("44V"), 2);
    model.SetBlockIndex(6, 0, Index("44V"), 1); // nothing at level 0: nothing drawn
    model.SetBlockIndex(31, 23, Index("12K"), 0);
    Stack(model, 8, 8, {"30V"}); // under the text, which is drawn over the blocks
    model.TextOverlay.Text = "HH";
    model.TextOverlay.TextCol = model.TextOverlay.TextRow = 8;
    Surface surface(QSize(1024, 768));
    model.Draw(surface.canvas);
    EXPECT_EQ(Count(surface.bitmap, ColorOf("30H"), QRect(64, 0, 16, 32)), 16 * 32);
    EXPECT_EQ(Count(surface.bitmap, ColorOf("45F"), QRect(80, 0, 16, 32)), 16 * 32);
    EXPECT_EQ(Count(surface.bitmap, ColorOf("42V"), QRect(128, 0, 32, 32)), 32 * 32);
    EXPECT_EQ(Count(surface.bitmap, ColorOf("12K"), QRect(992, 736, 32, 32)), 32 * 32);
    EXPECT_EQ(Count(surface.bitmap, ColorOf("44V")), 0);
    EXPECT_GT(Count(surface.bitmap, 0xFFC0C0C0, QRect(256, 256, 32, 32)), 10);
    EXPECT_EQ(Extent(surface.bitmap, ColorOf("44H")), QRect(0, 0, 32, 32));
    EXPECT_EQ(Count(surface.bitmap, ColorOf("44H")), 32 * 32);

    // Without a block library (and text) only the background is drawn.
    model.TextOverlay.Text.clear();
    model.Background.Color = RGBColor(200, 0, 0);
    model.SetBackgroundKind(bkGradient);
    model.SetContext(TModelContext());
    model.Draw(surface.canvas);
    EXPECT_EQ(surface.bitmap.convertToFormat(QImage::Format_RGB32),
              model.BackgroundBitmap().convertToFormat(QImage::Format_RGB32));
}

// Lines between the columns and under every row; on an odd window the last
// column line runs to the bottom and the row lines to the right edge.
TEST_F(ModelRenderingTest, GridLinesLieOnTheStatedPixels) {
    for (const QSize window : {QSize(1024, 768), QSize(1000, 760)}) {
        context.WindowSize = window;
        context.Defaults.GridVisible = true;
        TModel model(context);
        Surface surface(window);
        model.Draw(surface.canvas);
        const int w = window.width(), h = window.height(), cols = w / 32, rows = (h + 31) / 32;
        for (int x = 0; x < w; ++x)
            ASSERT_EQ(Count(surface.bitmap, kGreen, QRect(x, 0, 1, h)) == h,
                      x % 32 == 31 && x / 32 < cols - 1)
                << x;
        for (int y = 0; y < h; ++y)
            ASSERT_EQ(Count(surface.bitmap, kGreen, QRect(0, y, w, 1)) == w, y % 32 == 31 && y / 32 < rows)
                << y;
        EXPECT_EQ(Count(surface.bitmap, kGreen), (cols - 1) * h + (h / 32) * w - (cols - 1) * (h / 32));
        EXPECT_EQ(Count(surface.bitmap, kGreen) + Count(surface.bitmap, kBlack), w * h);
        context.Defaults.GridVisible = false;
        model.SetContext(context);
        model.Draw(surface.canvas);
        EXPECT_EQ(Count(surface.bitmap, kGreen), 0);
    }
}

TEST_F(ModelRenderingTest, OverlayWithShadow) {
    TModel model(context);
    model.Background.Color = RGBColor(0, 0, 255);
    model.SetBackgroundKind(bkColor);
    auto& overlay = model.TextOverlay;
    overlay.Text = "HH";
    overlay.TextCol = overlay.TextRow = overlay.Shadow = 1;
    overlay.Font.FontColor = clWhite;
    overlay.Font.FontHeight = -30;
    Surface surface(QSize(1024, 768));
    model.Draw(surface.canvas);
    EXPECT_EQ(overlay.Shadow, 2);
    EXPECT_EQ(surface.canvas.FontColor, clWhite);
    EXPECT_EQ(surface.canvas.Font.pixelSize(), 30);
    EXPECT_TRUE(surface.canvas.Font.bold());
    // The two black copies lie 1 and 2 pixels right of and below the text; the glyphs are crisp.
    const QRect white = Extent(surface.bitmap, kWhite);
    ASSERT_FALSE(white.isEmpty());
    EXPECT_EQ(QPoint(white.left() / 32, white.top() / 32), QPoint(1, 1));
    EXPECT_EQ(Extent(surface.bitmap, kBlack).bottomRight(), white.bottomRight() + QPoint(2, 2));
    for (int y = white.top(); y <= white.bottom(); ++y)
        for (int x = white.left(); x <= white.right(); ++x)
            if (surface.at(x, y) == kWhite) {
                ASSERT_TRUE(surface.at(x + 2, y + 2) != 0xFF0000FF && surface.at(x + 1, y + 1) != 0xFF0000FF)
                    << x;
            }
    EXPECT_EQ(Count(surface.bitmap, kWhite) + Count(surface.bitmap, kBlack) +
                  Count(surface.bitmap, 0xFF0000FF),
              1024 * 768);
    // No shadow: no black at all; no text: nothing but the background.
    overlay.Shadow = 0;
    model.Draw(surface.canvas);
    EXPECT_EQ(Count(surface.bitmap, kBlack), 0);
    EXPECT_EQ(Extent(surface.bitmap, kWhite), white);
    overlay.Text.clear();
    overlay.Shadow = 1;
    model.Draw(surface.canvas);
    EXPECT_EQ(Count(surface.bitmap, 0xFF0000FF), 1024 * 768);
    EXPECT_EQ(overlay.Shadow, 1);
}

TEST_F(ModelRenderingTest, OverlayLayout) {
    TModel model(context);
    model.TextOverlay.Font.FontColor = clWhite;
    Surface surface(QSize(1024, 768));
    auto draw = [&](const std::string& text, int col = 0, int row = 0) {
        model.TextOverlay.Text = text;
        model.TextOverlay.TextCol = col;
        model.TextOverlay.TextRow = row;
        model.Draw(surface.canvas);
        return Extent(surface.bitmap, kWhite);
    };
    // At column 30 of a 1024-pixel window the text wraps within the last 64 pixels.
    const QRect line = draw("one"), wrapped = draw("one two six ten", 30, 2);
    EXPECT_GE(wrapped.left(), 960);
    EXPECT_LE(wrapped.right(), 1023);
    EXPECT_GT(wrapped.height(), 2 * line.height());
    EXPECT_GE(wrapped.top(), 64);
    // Nothing cuts the text at its rectangle: on a canvas larger than the 800 x 600
    // window a long word runs past the right side and lines that do not fit go on below.
    model.SetContext(Context(QSize(800, 600)));
    const QRect over = draw("Extraordinarily long words here", 24, 18);
    EXPECT_GE(over.left(), 768);
    EXPECT_GT(over.right(), 810);
    EXPECT_GT(over.bottom(), 620);
    model.SetContext(context);
    // "&" is an ordinary character; tabs move on to a tab stop; a line break starts a new line.
    const QRect one = draw("&"), spaced = draw("a b");
    EXPECT_GT(draw("&&").width(), one.width() + one.width() / 2);
    EXPECT_GT(draw("a\tb").width(), spaced.width() + 8);
    EXPECT_GT(draw("a\r\nb").height(), spaced.height() + 5);
    // The font follows the model's fields.
    model.TextOverlay.Font.FontHeight = -40;
    const QRect tall = draw("HHH");
    model.TextOverlay.Font.FontHeight = -13;
    EXPECT_GT(tall.height(), 2 * draw("HHH").height());
    model.TextOverlay.Font.FontStyle = fsItalic | fsUnderline | fsStrikeOut;
    draw("HHH");
    const QFont& font = surface.canvas.Font;
    EXPECT_TRUE(font.italic() && font.underline() && font.strikeOut() && !font.bold());
}

TEST_F(ModelRenderingTest, SamplePreview) {
    TModel model(context);
    model.SetBackgroundSize(160, 120);
    model.Background.Color = RGBColor(0, 128, 128);
    model.SetBackgroundKind(bkColor);
    model.TextOverlay.Font.FontColor = RGBColor(255, 255, 0);
    model.TextOverlay.Shadow = 5;
    model.TextOverlay.Text = "not this";
    Surface surface(QSize(160, 120));
    surface.canvas.Font.setPixelSize(16);
    surface.canvas.Font.setStyleStrategy(QFont::NoAntialias);
    model.DrawPreview(surface.canvas);
    EXPECT_EQ(model.TextOverlay.Shadow, 2);
    const QRect text = Extent(surface.bitmap, 0xFFFFFF00);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GE(text.top(), 50);
    EXPECT_LE(std::abs(text.left() - (159 - text.right())), 3)
        << text.left() << " " << text.right(); // centred
    EXPECT_EQ(Extent(surface.bitmap, kBlack).bottom(), text.bottom() + 2);
    EXPECT_EQ(surface.at(2, 2), 0xFF008080);
    EXPECT_EQ(surface.at(157, 117), 0xFF008080);
}

} // namespace
