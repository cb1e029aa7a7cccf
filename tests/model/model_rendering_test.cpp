#include "imaging/bitmap.h"
#include "imaging/bitmap_file.h"
#include "library/block_list.h"
#include "model_fixture.h"

#include <QFile>
#include <QPainter>

namespace {

constexpr QRgb kGreen = 0xFF008000, kBlack = 0xFF000000, kWhite = 0xFFFFFFFF, kBlue = 0xFF0000FF;

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
    EXPECT_EQ(std::pair(Count(surface.bitmap, ColorOf("44V")), Count(surface.bitmap, ColorOf("44H"))),
              std::pair(0, 32 * 32));
    EXPECT_EQ(Extent(surface.bitmap, ColorOf("44H")), QRect(0, 0, 32, 32));
    EXPECT_GT(Count(surface.bitmap, 0xFFC0C0C0, QRect(256, 256, 32, 32)), 10);

    model.TextOverlay.Text.clear();
    model.Background.Color = RGBColor(200, 0, 0);
    model.SetBackgroundKind(bkGradient);
    model.SetContext(TModelContext());
    model.Draw(surface.canvas);
    EXPECT_EQ(surface.bitmap.convertToFormat(QImage::Format_RGB32),
              model.BackgroundBitmap().convertToFormat(QImage::Format_RGB32));
}

TEST_F(ModelRenderingTest, GridLinesLieOnTheStatedPixels) {
    for (const QSize window : {QSize(1024, 768), QSize(1000, 760)}) {
        context.WindowSize = window;
        context.Defaults.GridVisible = true;
        TModel model(context);
        Surface surface(window);
        model.Draw(surface.canvas);
        QImage expected = NewBitmap(window.width(), window.height());
        QPainter painter(&expected);
        for (int x = 31; x < window.width() / 32 * 32 - 32; x += 32)
            painter.fillRect(x, 0, 1, window.height(), kGreen);
        for (int y = 31; y < window.height(); y += 32)
            painter.fillRect(0, y, window.width(), 1, kGreen);
        painter.end();
        EXPECT_EQ(surface.bitmap, expected);
        context.Defaults.GridVisible = false;
        model.SetContext(context);
        model.Draw(surface.canvas);
        EXPECT_EQ(surface.bitmap, NewBitmap(window.width(), window.height()));
    }
}

TEST_F(ModelRenderingTest, OverlayLayoutStylesShadowAndPreview) {
    TModel model(context);
    auto& overlay = model.TextOverlay;
    overlay.Font.FontColor = clWhite;
    Surface surface(QSize(1024, 768));
    auto draw = [&](const std::string& text, int col = 0, int row = 0) {
        overlay.Text = text;
        overlay.TextCol = col;
        overlay.TextRow = row;
        model.Draw(surface.canvas);
        return Extent(surface.bitmap, kWhite);
    };
    const QRect line = draw("one"), wrapped = draw("one two six ten", 30, 2);
    EXPECT_TRUE(QRect(960, 64, 64, 704).contains(wrapped) && wrapped.height() > 2 * line.height());
    model.SetContext(Context(QSize(800, 600)));
    const QRect over = draw("Extraordinarily long words here", 24, 18);
    EXPECT_TRUE(over.left() >= 768 && over.right() > 810 && over.bottom() > 620);
    model.SetContext(context);
    const QRect one = draw("&"), spaced = draw("a b");
    EXPECT_GT(draw("&&").width(), one.width() + one.width() / 2);
    EXPECT_GT(draw("a\tb").width(), spaced.width() + 8);
    EXPECT_GT(draw("a\r\nb").height(), spaced.height() + 5);
    for (const int style : {int(fsItalic | fsStrikeOut), int(fsUnderline)}) {
        overlay.Font.FontStyle = uint8_t(style);
        draw("HHH");
        const QFont& f = surface.canvas.Font;
        EXPECT_EQ(std::vector({f.bold(), f.italic(), f.underline(), f.strikeOut()}),
                  std::vector({false, style != fsUnderline, style == fsUnderline, style != fsUnderline}));
    }

    model.Background.Color = RGBColor(0, 0, 255);
    model.SetBackgroundKind(bkColor);
    overlay.Font.FontStyle = fsBold;
    overlay.Font.FontHeight = -30;
    overlay.Shadow = 1;
    const QRect white = draw("HH", 1, 1);
    EXPECT_EQ(std::tuple(overlay.Shadow, surface.canvas.FontColor, surface.canvas.Font.pixelSize(),
                         surface.canvas.Font.bold()),
              std::tuple(2, clWhite, 30, true));
    ASSERT_FALSE(white.isEmpty());
    EXPECT_EQ(QPoint(white.left() / 32, white.top() / 32), QPoint(1, 1));
    EXPECT_EQ(Extent(surface.bitmap, kBlack).bottomRight(), white.bottomRight() + QPoint(2, 2));
    for (int y = white.top(); y <= white.bottom(); ++y)
        for (int x = white.left(); x <= white.right(); ++x)
            if (surface.at(x, y) == kWhite) {
                ASSERT_TRUE(surface.at(x + 2, y + 2) != kBlue && surface.at(x + 1, y + 1) != kBlue) << x;
            }
    EXPECT_EQ(Count(surface.bitmap, kWhite) + Count(surface.bitmap, kBlack) + Count(surface.bitmap, kBlue),
              1024 * 768);
    overlay.Shadow = 0;
    model.Draw(surface.canvas);
    EXPECT_EQ(std::pair(Count(surface.bitmap, kBlack), Extent(surface.bitmap, kWhite)), std::pair(0, white));
    overlay.Shadow = 1;
    draw("");
    EXPECT_EQ(std::pair(Count(surface.bitmap, kBlue), overlay.Shadow), std::pair(1024 * 768, 1));

    model.SetBackgroundSize(160, 120);
    model.Background.Color = RGBColor(0, 128, 128);
    model.SetBackgroundKind(bkColor);
    overlay.Font.FontColor = RGBColor(255, 255, 0);
    overlay.Shadow = 5;
    overlay.Text = "not this";
    Surface preview(QSize(160, 120));
    preview.canvas.Font.setPixelSize(16);
    preview.canvas.Font.setStyleStrategy(QFont::NoAntialias);
    model.DrawPreview(preview.canvas);
    const QRect text = Extent(preview.bitmap, 0xFFFFFF00);
    ASSERT_TRUE(overlay.Shadow == 2 && !text.isEmpty() && text.top() >= 50) << text.top();
    EXPECT_LE(std::abs(text.left() - (159 - text.right())), 3)
        << text.left() << " " << text.right(); // centred
    EXPECT_EQ(Extent(preview.bitmap, kBlack).bottomRight(), text.bottomRight() + QPoint(2, 2));
    EXPECT_EQ(std::pair(preview.at(2, 2), preview.at(157, 117)), std::pair(0xFF008080u, 0xFF008080u));
}

using ModelGridTest = ModelTest;

TEST_F(ModelGridTest, GridFromTheWindowStacksAndClear) {
    for (const auto& [window, grid] : {std::pair{QSize(1000, 760), QSize(31, 24)},
                                       {QSize(1600, 1200), QSize(32, 24)},
                                       {QSize(800, 600), QSize(25, 19)}}) {
        TModel model(Context(window));
        EXPECT_EQ(QSize(model.Cols, model.Rows), grid);
        EXPECT_EQ(model.BackgroundBitmap().size(), window.boundedTo(QSize(1024, 768)));
    }
    context.Defaults = {.AuthorName = "Ann", .AuthorCountry = "NZ", .AuthorAge = 41, .OwnerName = "Owner"};
    TModel model(context);
    EXPECT_EQ(
        std::tuple(model.Author.OwnerName, model.Author.AuthorName, std::ranges::count(model.Cells, -1)),
        std::tuple("Owner", "", 6400));
    model.Clear(true);
    EXPECT_EQ(model.Author.AuthorName + model.Author.Country + std::to_string(model.Author.Age), "AnnNZ41");

    Stack(model, 3, 3, {"30H", "44H", "42V"});
    EXPECT_EQ(std::pair(model.Cells[2 * 32 * 24 + 3 * 32 + 3], model.GetTopBlock(3, 3)),
              std::pair(Index("42V"), Index("42V")));
    model.SetBlockIndex(5, 5, Index("30H"), 0);
    model.SetBlockIndex(5, 5, Index("44H"), 2);
    EXPECT_EQ(model.TopLevel(5, 5) * 10 + model.FreeLevel(5, 5), 1);
    Stack(model, 0, 0, {"30H", "30V", "44H", "44V", "42V", "42H", "10N", "10E"});
    EXPECT_EQ(model.TopLevel(0, 0) * 10 + model.FreeLevel(0, 0), 77);
    const auto before = model.Cells;
    for (const auto& [x, y, level] : {std::tuple{32, 0, 0}, {0, 24, 0}, {0, 0, 8}, {-1, 0, 0}, {0, 0, -1}}) {
        model.SetBlockIndex(x, y, 7, level);
        EXPECT_EQ(model.GetBlockIndex(x, y, level), -1);
    }
    EXPECT_EQ(model.Cells, before);

    Surface surface(QSize(1024, 768));
    Select("30H");
    EXPECT_TRUE(model.ApplyTool(surface.canvas, tlPlace, 4, 2) &&
                surface.at(138, 74) == ColorOf("30H")); // at once
    const auto placed = model.Cells;
    model.Modified = false;
    EXPECT_FALSE(model.ApplyTool(surface.canvas, 5, 4, 2) || model.ApplyTool(surface.canvas, -1, 4, 2) ||
                 model.CanApplyTool(5, 4, 2));
    library->SelectIndex(-1);
    EXPECT_FALSE(model.CanApplyTool(tlPlace, 2, 2) || model.ApplyTool(surface.canvas, tlPlace, 0, 0));
    model.SetContext(TModelContext());
    EXPECT_TRUE(!model.ApplyTool(surface.canvas, tlPlace, 2, 2) && model.Modified && model.Cells == placed);

    model.SetContext(context);
    model.TextOverlay.Text = "hello";
    model.Modified = model.Truncated = true;
    model.Background.Color = RGBColor(255, 0, 0);
    model.SetBackgroundKind(bkGradient);
    model.Clear(false);
    EXPECT_TRUE(SameData(TModel(context).Data(), model.Data()));
    EXPECT_EQ(model.BackgroundBitmap().pixel(0, 0), qRgb(0, 0, 0));
}

TEST_F(ModelGridTest, ModelsOfTwoLibrariesAndWindowsLiveSideBySideAndRenderTheirBackgrounds) {
    TempProgramFolder other;
    WriteBlockSets(other, {{{"44H", "30H"}}}, kModelTestPictures);
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(qRgb(10, 200, 30));
    other.write("System/bdTST.csb", EncodeBitmap24(picture));
    TBlockList second(TBlockList::TPictureLoading::AtOnce, other.file("System"));
    RecordingPresenter ownMessages;
    TModelContext small = Context(QSize(640, 480));
    small.Library = &second;
    small.Defaults.GridVisible = true;
    small.PictureFolder = other.file("System");
    small.Messages = &ownMessages;

    TModel big(context), little(small);
    Stack(big, 2, 1, {"30H"});
    const QString file = folder->file("Models/two.cst");
    big.SaveToFile(file);
    ASSERT_TRUE(little.LoadFromFile(file));
    EXPECT_EQ(little.GetBlockIndex(2, 1, 0), 1); // that library's own 30H
    Surface a(big.ImageSize()), b(little.ImageSize());
    big.Draw(a.canvas);
    little.Draw(b.canvas);
    big.DrawCell(a.canvas, 2, 1);
    EXPECT_EQ(b.bitmap.size(), QSize(640, 480));
    EXPECT_EQ((std::vector{a.at(69, 37), b.at(69, 37), b.at(31, 100), a.at(31, 100)}),
              (std::vector{ColorOf("30H"), BlockSetColor(1), qRgb(0, 128, 0), qRgb(0, 0, 0)}));
    second.SelectIndex(second.IndexFromName("44H"));
    Select("44V");
    EXPECT_TRUE(little.ApplyTool(b.canvas, tlPlace, 3, 3) && big.ApplyTool(a.canvas, tlPlace, 3, 3));
    EXPECT_EQ(little.GetBlockName(3, 3, 0) + big.GetBlockName(3, 3, 0), "44H44V");

    TModelData tiled;
    for (TModel* model : {&big, &little}) {
        tiled = model->Data();
        tiled.Background = {"TST", clBlack, bkTile};
        model->SetData(tiled);
    }
    EXPECT_EQ(big.BackgroundBitmap().pixel(300, 200), qRgb(0, 0, 0));
    EXPECT_EQ(little.BackgroundBitmap().pixel(300, 200), qRgb(10, 200, 30));
    ASSERT_TRUE(QFile::remove(other.file("System/bdTST.csb")));
    tiled.TextOverlay.Text = "only the text";
    little.SetData(tiled);
    EXPECT_EQ(little.BackgroundBitmap().pixel(300, 200), qRgb(10, 200, 30));
    tiled.Background.Kind = bkStretch; // the picture is gone: black
    little.SetData(tiled);
    EXPECT_EQ(little.BackgroundBitmap().pixel(300, 200), qRgb(0, 0, 0));
    TModel target(context);
    target.SetBackgroundSize(160, 120);
    big.Background.Color = RGBColor(255, 0, 0);
    big.SetBackgroundKind(bkGradient);
    target.Assign(big);
    ASSERT_EQ(target.BackgroundBitmap().size(), QSize(160, 120));
    EXPECT_EQ(std::pair(target.BackgroundBitmap().pixel(5, 0), target.BackgroundBitmap().pixel(5, 119)),
              std::pair(qRgb(254, 0, 0), qRgb(1, 0, 0)));
    EXPECT_EQ(big.BackgroundBitmap().size(), QSize(1024, 768));
    EXPECT_FALSE(little.LoadFromFile(WriteModelFile(*folder, "damaged.cst", QByteArray(400, 'x'))));
    ASSERT_EQ(ownMessages.shown.size(), 2u); // the larger grid of big's file, then this one
    EXPECT_TRUE(ownMessages.shown[1].text.contains(QLatin1String("damaged.cst")) &&
                presenter().shown.empty());
}

} // namespace
