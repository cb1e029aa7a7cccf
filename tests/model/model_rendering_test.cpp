#include "library/background.h"
#include "library/block_list.h"
#include "model_fixture.h"

#include <gtest/gtest.h>

namespace {

constexpr QRgb kGreen = 0xFF008000;
constexpr QRgb kBlack = 0xFF000000;

class ModelRenderingTest : public ModelTest {
protected:
    // The bounding box of the pixels of a colour (or of all pixels differing from it).
    static QRect Extent(const QImage& image, QRgb color, bool differing = false, QRect area = QRect()) {
        if (area.isNull())
            area = image.rect();
        QRect box;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                const bool same = (image.pixel(x, y) | 0xFF000000u) == (color | 0xFF000000u);
                if (same != differing)
                    box |= QRect(x, y, 1, 1);
            }
        return box;
    }
    static int Count(const QImage& image, QRgb color, QRect area = QRect()) {
        if (area.isNull())
            area = image.rect();
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += (image.pixel(x, y) | 0xFF000000u) == (color | 0xFF000000u);
        return n;
    }
    static void Flat(TModel& model, TColor color) {
        model.Background.Color = color;
        model.SetBackgroundKind(bkColor);
    }
};

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
    EXPECT_EQ(Count(surface.bitmap, ColorOf("44H"), QRect(0, 0, 32, 32)), 32 * 32);
    EXPECT_EQ(Count(surface.bitmap, ColorOf("30H"), QRect(64, 0, 16, 32)), 16 * 32);
    EXPECT_EQ(Count(surface.bitmap, ColorOf("45F"), QRect(80, 0, 16, 32)), 16 * 32);
    EXPECT_EQ(Count(surface.bitmap, ColorOf("42V"), QRect(128, 0, 32, 32)), 32 * 32);
    EXPECT_EQ(Count(surface.bitmap, ColorOf("12K"), QRect(992, 736, 32, 32)), 32 * 32);
    EXPECT_EQ(Count(surface.bitmap, ColorOf("44V")), 0);
    EXPECT_GT(Count(surface.bitmap, 0xFFC0C0C0, QRect(256, 256, 32, 32)), 10);
    EXPECT_EQ(Extent(surface.bitmap, ColorOf("44H")), QRect(0, 0, 32, 32)); // nothing spills out

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
        const int cols = window.width() / 32, rows = (window.height() + 31) / 32;
        for (int x = 0; x < window.width(); ++x)
            ASSERT_EQ(Count(surface.bitmap, kGreen, QRect(x, 0, 1, window.height())) == window.height(),
                      x % 32 == 31 && x / 32 < cols - 1)
                << x;
        for (int y = 0; y < window.height(); ++y)
            ASSERT_EQ(Count(surface.bitmap, kGreen, QRect(0, y, window.width(), 1)) == window.width(),
                      y % 32 == 31 && y / 32 < rows)
                << y;
        EXPECT_EQ(Count(surface.bitmap, kGreen), (cols - 1) * window.height() +
                                                     (window.height() / 32) * window.width() -
                                                     (cols - 1) * (window.height() / 32));
        EXPECT_EQ(Count(surface.bitmap, kGreen) + Count(surface.bitmap, kBlack),
                  window.width() * window.height());
    }
    context.Defaults.GridVisible = false;
    TModel model(context);
    Surface surface(QSize(1000, 760));
    model.Draw(surface.canvas);
    EXPECT_EQ(Count(surface.bitmap, kGreen), 0);
}

TEST_F(ModelRenderingTest, OverlayWithShadow) {
    TModel model(context);
    Flat(model, RGBColor(0, 0, 255));
    model.TextOverlay.Text = "HH";
    model.TextOverlay.TextCol = 1;
    model.TextOverlay.TextRow = 1;
    model.TextOverlay.Shadow = 1;
    model.TextOverlay.Font.FontColor = clWhite;
    model.TextOverlay.Font.FontHeight = -30;
    Surface surface(QSize(1024, 768));
    model.Draw(surface.canvas);
    EXPECT_EQ(model.TextOverlay.Shadow, 2);
    EXPECT_EQ(surface.canvas.FontColor, clWhite);
    EXPECT_EQ(surface.canvas.Font.pixelSize(), 30);
    EXPECT_TRUE(surface.canvas.Font.bold());

    const QRect white = Extent(surface.bitmap, 0xFFFFFFFF);
    const QRect black = Extent(surface.bitmap, kBlack);
    ASSERT_FALSE(white.isEmpty());
    EXPECT_GE(white.left(), 32);
    EXPECT_GE(white.top(), 32);
    // The two black copies lie 1 and 2 pixels right of and below the text.
    EXPECT_EQ(black.right(), white.right() + 2);
    EXPECT_EQ(black.bottom(), white.bottom() + 2);
    for (int y = white.top(); y <= white.bottom(); ++y)
        for (int x = white.left(); x <= white.right(); ++x)
            if (surface.at(x, y) == 0xFFFFFFFF) {
                ASSERT_NE(surface.at(x + 2, y + 2), 0xFF0000FF) << x << "," << y;
                ASSERT_NE(surface.at(x + 1, y + 1), 0xFF0000FF) << x << "," << y;
            }
    // Only text, shadow and background: the glyphs are crisp.
    EXPECT_EQ(Count(surface.bitmap, 0xFFFFFFFF) + Count(surface.bitmap, kBlack) +
                  Count(surface.bitmap, 0xFF0000FF),
              1024 * 768);

    // No shadow: no black at all.
    model.TextOverlay.Shadow = 0;
    model.Draw(surface.canvas);
    EXPECT_EQ(Count(surface.bitmap, kBlack), 0);
    EXPECT_EQ(Extent(surface.bitmap, 0xFFFFFFFF), white);

    // No text: nothing but the background.
    model.TextOverlay.Text.clear();
    model.TextOverlay.Shadow = 1;
    model.Draw(surface.canvas);
    EXPECT_EQ(Count(surface.bitmap, 0xFF0000FF), 1024 * 768);
    EXPECT_EQ(model.TextOverlay.Shadow, 1);
}

TEST_F(ModelRenderingTest, OverlayLayout) {
    TModel model(context);
    model.TextOverlay.Font.FontColor = clWhite;
    Surface surface(QSize(1024, 768));
    auto draw = [&](const std::string& text, int col, int row) {
        model.TextOverlay.Text = text;
        model.TextOverlay.TextCol = col;
        model.TextOverlay.TextRow = row;
        model.Draw(surface.canvas);
        return Extent(surface.bitmap, 0xFFFFFFFF);
    };

    // At column 30 of a 1024-pixel window the text wraps within the last 64 pixels.
    const QRect line = draw("one", 0, 0);
    const QRect wrapped = draw("one two six ten", 30, 2);
    EXPECT_GE(wrapped.left(), 960);
    EXPECT_LE(wrapped.right(), 1023);
    EXPECT_GT(wrapped.height(), 2 * line.height());
    EXPECT_GE(wrapped.top(), 64);
    // Nothing cuts the text at its rectangle: on a canvas larger than the
    // 800 x 600 window a long word runs past the right side and lines that do
    // not fit go on below.
    model.SetContext(Context(QSize(800, 600)));
    const QRect over = draw("Extraordinarily long words here", 24, 18);
    EXPECT_GE(over.left(), 768);
    EXPECT_GT(over.right(), 810);
    EXPECT_GT(over.bottom(), 620);
    model.SetContext(context);

    // "&" is an ordinary character: "&&" is twice as wide as "&".
    const QRect one = draw("&", 0, 0);
    const QRect two = draw("&&", 0, 0);
    ASSERT_FALSE(one.isEmpty());
    EXPECT_GT(two.width(), one.width() + one.width() / 2);
    // Tabs move on to a tab stop; a line break starts a new line.
    const QRect spaced = draw("a b", 0, 0);
    const QRect tabbed = draw("a\tb", 0, 0);
    EXPECT_GT(tabbed.width(), spaced.width() + 8);
    const QRect lines = draw("a\r\nb", 0, 0);
    EXPECT_GT(lines.height(), spaced.height() + 5);

    // The font follows the model's fields.
    model.TextOverlay.Font.FontHeight = -40;
    const QRect tall = draw("HHH", 0, 0);
    model.TextOverlay.Font.FontHeight = -13;
    const QRect small = draw("HHH", 0, 0);
    EXPECT_GT(tall.height(), 2 * small.height());
    model.TextOverlay.Font.FontStyle = 0;
    draw("HHH", 0, 0);
    EXPECT_FALSE(surface.canvas.Font.bold());
    model.TextOverlay.Font.FontStyle = fsItalic | fsUnderline | fsStrikeOut;
    draw("HHH", 0, 0);
    EXPECT_TRUE(surface.canvas.Font.italic());
    EXPECT_TRUE(surface.canvas.Font.underline());
    EXPECT_TRUE(surface.canvas.Font.strikeOut());
}

TEST_F(ModelRenderingTest, SamplePreview) {
    TModel model(context);
    model.SetBackgroundSize(160, 120);
    Flat(model, RGBColor(0, 128, 128));
    model.TextOverlay.Font.FontColor = RGBColor(255, 255, 0);
    model.TextOverlay.Shadow = 5;
    model.TextOverlay.Text = "not this";
    Surface surface(QSize(160, 120));
    QFont font;
    font.setPixelSize(16);
    font.setStyleStrategy(QFont::NoAntialias);
    surface.canvas.Font = font;
    model.DrawPreview(surface.canvas);
    EXPECT_EQ(model.TextOverlay.Shadow, 2);
    const QRect text = Extent(surface.bitmap, 0xFFFFFF00);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GE(text.top(), 50);
    // Centred across 0 to 160.
    EXPECT_LE(std::abs(text.left() - (159 - text.right())), 3) << text.left() << " " << text.right();
    EXPECT_EQ(Extent(surface.bitmap, kBlack).bottom(), text.bottom() + 2);
    // Outside the text the background shows.
    EXPECT_EQ(surface.at(2, 2), 0xFF008080);
    EXPECT_EQ(surface.at(157, 117), 0xFF008080);
}

} // namespace
