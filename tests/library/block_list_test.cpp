#include "common/program_folder.h"
#include "library/block_list.h"
#include "support/test_sets.h"

#include <QDir>
#include <QDirIterator>
#include <gtest/gtest.h>

namespace {

class BlockListTest : public CubestacksTest {
protected:
    void SetUp() override { SetProgramFolder(folder.path()); }
    TempProgramFolder folder;
};

// Titles and rows of names; a picture all black is marked *, one with
// see-through pixels ~; then the error and the notice.
QString Describe(const TBlockList& list) {
    QString text = QString("%1 sets, %2 blocks").arg(list.SetCount).arg(list.Count);
    for (int s = 0; s < list.SetCount; ++s) {
        text += " | " + QString::fromStdString(list.SetTitle[s]) + ":";
        for (int r = 0; r < list.RowCount[s]; ++r) {
            text += QString(r ? " /" : "") + (list.LastVariation[s][r] < 0 ? " -" : "");
            for (int v = 0; v <= list.LastVariation[s][r]; ++v) {
                const int32_t i = list.IndexFromMap(uint8_t(s), uint8_t(r), uint8_t(v));
                const QImage& picture = list.ImageList[size_t(i)];
                bool black = true, clear = false;
                for (int y = 0; y < 32; ++y)
                    for (int x = 0; x < 32; ++x) {
                        black = black && picture.pixel(x, y) == qRgb(0, 0, 0);
                        clear = clear || qAlpha(picture.pixel(x, y)) == 0;
                    }
                text += " " + QString::fromStdString(list.NameFromIndex(i)) +
                        (black   ? "*"
                         : clear ? "~"
                                 : "");
            }
        }
    }
    if (!list.LoadError.isEmpty())
        text += " | error: " + list.LoadError;
    if (!list.LoadNotice.isEmpty())
        text += " | notice: " + list.LoadNotice;
    return text;
}

// Each folder of the data folder is a System folder of set files and sheets.
TEST_F(BlockListTest, LoadsTheSetsOfTheDataFolder) {
    for (const QStringList& c : DataCases("block_sets")) {
        ASSERT_EQ(c.size(), 2) << c.join(' ').toStdString();
        TempProgramFolder system;
        const QDir from(DataFile("block_sets", c[0]));
        ASSERT_TRUE(from.exists()) << c[0].toStdString();
        QDirIterator files(from.path(), QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString file = files.next();
            system.write("System/" + from.relativeFilePath(file), ReadAll(file));
        }
        SetProgramFolder(system.path());
        EXPECT_EQ(Describe(TBlockList()).toStdString(), c[1].toStdString()) << c[0].toStdString();
    }
}

TEST_F(BlockListTest, NameLookupAgreesWithALinearScan) {
    // Five sets that share many names, in different orders.
    const std::vector<std::string> pool{"AAa", "AAb", "BBa", "BBb", "CCa", "CCb", "DDa", "ddA", "EEe", "FFf"};
    for (int set = 1; set <= 5; ++set) {
        std::vector<SetRow> rows;
        for (int row = 0; row < 6; ++row) {
            std::string names;
            for (int k = 0; k < 4; ++k)
                names += pool[static_cast<size_t>((set * 7 + row * 3 + k * 5) % pool.size())];
            rows.push_back(Names(names));
        }
        WriteSet(folder, set, "Shared", rows);
    }
    TBlockList list;
    ASSERT_EQ(list.Count, 120);
    std::vector<std::string> probes = pool;
    probes.insert(probes.end(), {"aaa", "AA", "AAaa", "GGg", ""});
    for (const std::string& name : probes) {
        int expected = -1;
        for (int i = 0; i < list.Count && expected < 0; ++i)
            if (list.Blocks[static_cast<size_t>(i)].Name == name)
                expected = i;
        EXPECT_EQ(list.IndexFromName(name), expected) << name;
        EXPECT_EQ(list.IsValidName(name), expected >= 0) << name;
    }
    for (int i = 0; i < list.Count; ++i) {
        int set = 0, row = 0, variation = 0;
        list.MapFromIndex(i, set, row, variation);
        EXPECT_EQ(list.IndexFromMap(uint8_t(set), uint8_t(row), uint8_t(variation)), i);
        EXPECT_EQ(list.NameFromMap(uint8_t(set), uint8_t(row), uint8_t(variation)), list.NameFromIndex(i));
    }
    // Places without a block.
    EXPECT_EQ(list.IndexFromMap(0, 6, 0) + list.IndexFromMap(255, 0, 0), -2);
    EXPECT_EQ(list.NameFromMap(0, 0, 4) + list.NameFromMap(200, 200, 200), "100100");
    EXPECT_EQ(list.NameFromIndex(120) + list.NameFromIndex(-1), "");

    // Each set keeps its row, each row its variation.
    list.SelectIndex(list.IndexFromName("ddA"));
    const int set = list.Selection.CurrentSet, row = list.Selection.SelectedRow[set];
    EXPECT_EQ(
        list.NameFromMap(uint8_t(set), uint8_t(row), uint8_t(list.Selection.SelectedVariation[set][row])),
        "ddA");
    list.SelectIndex(list.IndexFromMap(uint8_t(set), uint8_t(row), 3));
    list.SelectIndex(list.IndexFromMap(uint8_t(set), uint8_t(row + 1), 2));
    list.SelectIndex(list.IndexFromMap(4, 0, 1));
    list.SelectIndex(500); // past the blocks: nothing changes
    EXPECT_EQ(list.GetSelectedIndex(), list.IndexFromMap(4, 0, 1));
    list.Selection.CurrentSet = set;
    EXPECT_EQ(list.GetSelectedIndex(), list.IndexFromMap(uint8_t(set), uint8_t(row + 1), 2));
    list.Selection.SelectedRow[set] = row;
    EXPECT_EQ(list.GetSelectedIndex(), list.IndexFromMap(uint8_t(set), uint8_t(row), 3));
    // A selection without a block, and no selection at all.
    for (int variation : {4, -3}) {
        list.Selection.SelectedVariation[set][row] = variation;
        EXPECT_EQ(list.GetSelectedIndex(), -1);
    }
    list.Selection.CurrentSet = 12;
    EXPECT_EQ(list.GetSelectedIndex(), -1);
    list.SelectIndex(-1);
    EXPECT_EQ(list.GetSelectedIndex(), -1);
}

TEST_F(BlockListTest, TheTableHoldsTwoThousandBlocks) {
    // Nine sets of 20 x 13 names are 2340 blocks.
    for (int set = 1; set <= 9; ++set) {
        std::vector<SetRow> full;
        for (int r = 0; r < 20; ++r) {
            std::string names;
            for (int k = 0; k < 13; ++k)
                names += {char('0' + set), char('A' + r), char('a' + k)};
            full.push_back(Names(names));
        }
        WriteSet(folder, set, "Full", full);
    }
    TBlockList list;
    EXPECT_TRUE(list.LoadError.isEmpty()) << list.LoadError.toStdString();
    EXPECT_EQ(list.Count, kMaxBlocks);
    EXPECT_EQ(list.ImageList.size(), static_cast<size_t>(kMaxBlocks));
    EXPECT_EQ(list.SetCount, 8);
    // 180 blocks of the eighth set fit: 13 whole rows and 11 names of the next.
    EXPECT_EQ(list.RowCount[7], 14);
    EXPECT_EQ(list.LastVariation[7][13], 10);
    EXPECT_EQ(list.IndexFromName("8Nk"), kMaxBlocks - 1);
    EXPECT_EQ(list.IndexFromName("8Nl") + list.IndexFromName("9Aa"), -2);
    list.Append(0, 0, 0, "New");
    EXPECT_EQ(list.IndexFromName("New"), -1);

    // Outside the map's ranges nothing is added; without a sheet a block has an
    // empty picture; the first block of a place keeps it.
    SetProgramFolder(TempProgramFolder().path());
    TBlockList empty;
    EXPECT_EQ(empty.GetSelectedIndex(), -1);
    empty.Append(10, 0, 0, "Bad");
    empty.Append(0, 20, 0, "Bad");
    empty.Append(0, 0, 13, "Bad");
    EXPECT_EQ(empty.Count, 0);
    empty.Append(0, 0, 0, "ABCD");
    empty.Append(0, 0, 0, "Dup");
    EXPECT_EQ(empty.NameFromIndex(0), "ABC");
    EXPECT_EQ(empty.IndexFromMap(0, 0, 0), 0);
    ASSERT_EQ(empty.ImageList.size(), 2u);
    EXPECT_EQ(empty.ImageList[0].size(), QSize(32, 32));
    EXPECT_EQ(empty.ImageList[0].pixel(5, 5), 0u);
}

} // namespace
