#include "common/program_folder.h"
#include "library/background.h"
#include "support/test_support.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

class BackgroundCatalogueTest : public CubestacksTest {};

TEST_F(BackgroundCatalogueTest, ListItemsInOrder) {
    const QStringList expected{
        "(color)\t000\t00",         "Alien landscape I\tAL1\t10", "Alien landscape II\tAL2\t10",
        "Cubestacks Logo\tCS1\t11", "Desert Sand\tDS1\t11",       "Rainbow, dark\tRB2\t10",
        "Rainbow, pale\tRB3\t10",   "Rainbow, vivid\tRB1\t10",    "Seascape\tSS1\t10",
        "Sky, bright day\tBS1\t11", "Sky, cloudy\tBS2\t11",       "Sky, evening stars\tSP2\t10",
        "Space, deep\tSP1\t11",     "Wall, bricks\tWL1\t11",      "Wall, embossed\tWL3\t11",
        "Wall, stone \tWL2\t11",
    };
    ASSERT_EQ(BackgroundCatalogue().size(), static_cast<size_t>(expected.size()));
    for (int row = 0; row < kBackgroundCatalogueSize; ++row)
        EXPECT_EQ(BackgroundCatalogueItem(row), expected[row]) << row;
    EXPECT_EQ(BackgroundCatalogueItem(-1), QString());
    EXPECT_EQ(BackgroundCatalogueItem(16), QString());
    // The list sorts itself: the rows are in the order it would show them.
    QStringList sorted = expected;
    sorted.sort();
    EXPECT_EQ(sorted, expected);
}

TEST_F(BackgroundCatalogueTest, LayoutNumbersSelectKinds) {
    EXPECT_EQ(KindFromLayout("0"), bkStretch);
    EXPECT_EQ(KindFromLayout("00"), bkStretch);
    EXPECT_EQ(KindFromLayout("1"), bkTileDown);
    EXPECT_EQ(KindFromLayout("01"), bkTileDown);
    EXPECT_EQ(KindFromLayout("10"), bkTileAcross);
    EXPECT_EQ(KindFromLayout("11"), bkTile);
    for (const char* other : {"2", "12", "100", "-1", "", "ab", "1x"})
        EXPECT_EQ(KindFromLayout(other), -1) << other;
}

TEST_F(BackgroundCatalogueTest, PictureFileNames) {
    TempProgramFolder folder;
    SetProgramFolder(folder.path());
    EXPECT_EQ(BackgroundFileName("AL1"), folder.path() + "System/bdAL1.csb");
    EXPECT_EQ(BackgroundFileName(""), folder.path() + "System/bd.csb");
}

} // namespace
