// The content generator's drawing kit and file writers, and the files of the
// build compared with what the generator makes now.

#include "content_fixture.h"

#include "backgrounds.h"
#include "block_set.h"
#include "content_sets.h"
#include "pixel_art.h"

#include "pixelart/pixel_font.h"

#include "imaging/bitmap_file.h"

#include <stdexcept>

using namespace art;

TEST(PixelArtMask, TurnsClockwiseByQuarters) {
    Mask m;
    m.set(0, 0);
    m.rect(4, 10, 3, 2);
    const Mask once = m.turned(1);
    EXPECT_TRUE(once.at(31, 0)); // the top-left corner goes to the top right
    EXPECT_FALSE(once.at(0, 0));
    EXPECT_TRUE(once.at(21, 4)); // (4, 10) -> (31 - 10, 4)
    EXPECT_TRUE(once.at(20, 6)); // (6, 11) -> (31 - 11, 6)
    EXPECT_EQ(once.count(), m.count());
    EXPECT_TRUE(m.turned(4) == m);
    EXPECT_TRUE(m.turned(-1) == m.turned(3));
    EXPECT_TRUE(m.turned(2).at(31, 31));
    EXPECT_TRUE(m.flippedX().at(31, 0));
}

TEST(PixelArtMask, BorderCountsTheCellEdgeOnlyWhenAsked) {
    const Mask strip = Mask().rect(0, 10, 32, 4);
    // Closed edges: the ends of the strip are border too.
    EXPECT_TRUE(strip.border(false).at(0, 11));
    EXPECT_FALSE(strip.border(true).at(0, 11));
    EXPECT_TRUE(strip.border(true).at(5, 10));
    EXPECT_TRUE(strip.border(true).at(5, 13));
    EXPECT_EQ(Eroded(strip).count(), 32 * 2);
    EXPECT_TRUE(Mask::Full().border(true).empty());
}

TEST(PixelArtMask, SlopesAndQuarterDiscsSplitTheCell) {
    const Mask n = SlopeMask(0);
    EXPECT_TRUE(n.at(31, 31));
    EXPECT_FALSE(n.at(0, 0));
    EXPECT_TRUE(SlopeMask(1).at(0, 31)); // E: the lower left half
    EXPECT_FALSE(SlopeMask(1).at(31, 0));
    EXPECT_TRUE((n | SlopeMask(2)) == Mask::Full());
    EXPECT_EQ((n & SlopeMask(2)).count(), 32); // they share the diagonal
    EXPECT_TRUE(QuarterDisc(0, 31.5).at(31, 31));
    EXPECT_FALSE(QuarterDisc(0, 31.5).at(0, 0));
    EXPECT_TRUE(QuarterDisc(1, 31.5).at(0, 31)); // K: centred on the bottom-left corner
}

TEST(PixelArtShade, OutlinesLightsTheTopLeftAndShadesTheBottomRight) {
    Pixels pic = NewPic();
    Shade(pic, Mask().rect(4, 4, 10, 8), kBlue);
    EXPECT_EQ(Get(pic, 4, 4), kBlue.outline);
    EXPECT_EQ(Get(pic, 13, 11), kBlue.outline);
    EXPECT_EQ(Get(pic, 8, 5), kBlue.light); // just inside the top
    EXPECT_EQ(Get(pic, 5, 8), kBlue.light); // just inside the left
    EXPECT_EQ(Get(pic, 8, 10), kBlue.dark); // just inside the bottom
    EXPECT_EQ(Get(pic, 12, 8), kBlue.dark); // just inside the right
    EXPECT_EQ(Get(pic, 8, 8), kBlue.mid);
    EXPECT_EQ(pic.at(3, 3) | 0xFF000000, kMagenta);
    EXPECT_EQ(pic.at(14, 12) | 0xFF000000, kMagenta);

    // Open edges: a strip running off the cell has no outline at its ends.
    Pixels strip = NewPic();
    Shade(strip, Mask().rect(0, 10, 32, 6), kBlue, {true, true});
    EXPECT_EQ(Get(strip, 0, 12), kBlue.mid);
    EXPECT_EQ(Get(strip, 0, 10), kBlue.outline);
}

TEST(PixelFont, DrawsGlyphsAndBoxesForUnknownCharacters) {
    const PixelFont font = PixelFont::Letters;
    EXPECT_FALSE(GlyphPixel(font, 'A', 0, 0));
    EXPECT_TRUE(GlyphPixel(font, 'A', 1, 0));
    EXPECT_TRUE(GlyphPixel(font, 'A', 4, 6));
    EXPECT_TRUE(HasGlyph(font, 'z'));
    EXPECT_FALSE(HasGlyph(font, '\x7f'));
    EXPECT_TRUE(GlyphPixel(font, '\x7f', 0, 3));
    EXPECT_FALSE(GlyphPixel(font, '\x7f', 2, 3));
    EXPECT_EQ(TextWidth(font, "ab"), 11);
    EXPECT_EQ(TextWidth(font, "ab", 2), 22);
    EXPECT_EQ(TextWidth(font, ""), 0);
}

TEST(BlockSetFile, EncodesTitleRowsAndNamesAtTheirOffsets) {
    SetBuilder b("Demo");
    b.row().add("30H", NewPic()).add("30V", NewPic());
    b.row().add("45F", NewPic());
    const QByteArray bytes = EncodeSetFile(b.done());
    QByteArray expected(160, '\0');
    expected += QByteArray("Demo") + QByteArray(59, '\0');
    expected += QByteArray(1, '\0');
    expected += QByteArray("\x02\x02"
                           "30H30V"
                           "\x01"
                           "45F",
                           12);
    EXPECT_EQ(bytes.size(), 236);
    EXPECT_EQ(Hex(bytes), Hex(expected));
}

TEST(BlockSetFile, RefusesWhatTheFormatCannotHold) {
    EXPECT_THROW(SetBuilder("x").add("AB", NewPic()), std::logic_error);
    EXPECT_THROW(SetBuilder("x").add("ABC", Pixels(16, 16, kMagenta)), std::logic_error);
    EXPECT_THROW(EncodeSetFile(SetBuilder(std::string(64, 't')).done()), std::logic_error);
    EXPECT_NO_THROW(EncodeSetFile(SetBuilder(std::string(63, 't')).done()));
    SetBuilder wide("x");
    wide.row();
    for (int i = 0; i < 14; ++i)
        wide.add(std::string{'W', static_cast<char>('a' + i), '0'}, NewPic());
    EXPECT_THROW(EncodeSetFile(wide.done()), std::logic_error);
    SetBuilder tall("x");
    for (int i = 0; i < 21; ++i)
        tall.row().add(std::string{'T', static_cast<char>('a' + i), '0'}, NewPic());
    EXPECT_THROW(EncodeSetFile(tall.done()), std::logic_error);
}

TEST(BlockSetFile, SheetPutsEachPictureAtItsCell) {
    SetBuilder b("Sheet");
    Pixels red = NewPicPal(Red);
    Pixels blue = NewPicPal(Blue);
    blue.set(31, 31, Rgb(Yellow));
    b.row().add("AA0", red).add("AB0", red);
    b.row().add("BA0", blue);
    const BlockSet set = b.done();
    const QImage sheet = MakeSheet(set);
    EXPECT_EQ(sheet.width(), 67);
    EXPECT_EQ(sheet.height(), 67);
    EXPECT_EQ(sheet.pixel(1, 34), Rgb(Blue));
    EXPECT_EQ(sheet.pixel(32, 65), Rgb(Yellow));
    EXPECT_EQ(sheet.pixel(34, 1), Rgb(Red));
    EXPECT_NE(sheet.pixel(33, 1), Rgb(Red)); // the line between the cells
    EXPECT_NE(sheet.pixel(1, 33), Rgb(Red));
    EXPECT_NE(sheet.pixel(40, 40), Rgb(Blue)); // no picture in row 1, variation 1
}

TEST(BlockSetFile, TurningHelpersNameEveryOrientation) {
    SetBuilder b("Turns");
    std::vector<int> drawn;
    auto draw = [&](int q) {
        drawn.push_back(q);
        return NewPic();
    };
    b.row().turns("T1", draw).pair("T1", draw, 3);
    b.row().corners("T2", draw);
    const BlockSet set = b.done();
    std::vector<std::string> names;
    for (const auto& row : set.rows)
        for (const Block& block : row)
            names.push_back(block.name);
    EXPECT_EQ(names, (std::vector<std::string>{"T1N", "T1E", "T1S", "T1W", "T1H", "T1V", "T2J", "T2K", "T2L",
                                               "T2M"}));
    EXPECT_EQ(drawn, (std::vector<int>{0, 1, 2, 3, 0, 3, 0, 1, 2, 3}));
}

class GeneratedFilesTest : public ContentTest {};

TEST_F(GeneratedFilesTest, TheBuildsFilesAreExactlyWhatTheGeneratorDraws) {
    // Drawing again gives the same bytes, and those are the files in the build.
    const std::vector<BlockSet> sets = AllSets();
    ASSERT_EQ(sets.size(), 10u);
    for (size_t i = 0; i < sets.size(); ++i) {
        SCOPED_TRACE(sets[i].title);
        const QString base = QString::asprintf("sd%02d", static_cast<int>(i + 1));
        EXPECT_EQ(EncodeSetFile(sets[i]), ReadAll(SystemFile(base + ".csd")));
        EXPECT_TRUE(EncodeBitmap24(MakeSheet(sets[i])) == ReadAll(SystemFile(base + ".csb")));
    }
    for (const BackgroundPicture& bg : MakeBackgrounds()) {
        SCOPED_TRACE(bg.code);
        EXPECT_TRUE(EncodeBitmap24(bg.image) ==
                    ReadAll(SystemFile(QString::fromStdString("bd" + bg.code + ".csb"))));
    }
}
