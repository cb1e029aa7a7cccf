#include "common/io_error.h"
#include "common/program_folder.h"
#include "imaging/bitmap_file.h"
#include "library/block_list.h"
#include "support/test_sets.h"

#include <QCursor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <gtest/gtest.h>

namespace {

class BlockListTest : public CubestacksTest {
protected:
    void SetUp() override {
        CubestacksTest::SetUp();
        SetProgramFolder(folder.path());
    }

    struct Map {
        int set, row, variation;
        bool operator==(const Map&) const = default;
    };
    static Map MapOf(const TBlockList& list, int index) {
        Map map{};
        list.MapFromIndex(index, map.set, map.row, map.variation);
        return map;
    }

    TempProgramFolder folder;
};

TEST_F(BlockListTest, ReadsTheDemoSetFile) {
    const QByteArray bytes = SetFileBytes("Demo", {Names("30H30V"), Names("45F")});
    ASSERT_EQ(bytes.size(), 236);
    folder.write("System/sd01.csd", bytes);

    std::vector<std::string> rows{"left over"};
    std::string title;
    ReadSetFile(SetFilePath(folder, 1, "csd"), rows, title);
    EXPECT_EQ(title, "Demo");
    EXPECT_EQ(rows, (std::vector<std::string>{"30H30V", "45F"}));

    // A 66 x 66 sheet is all the Demo set needs.
    WriteSet(folder, 1, "Demo", {Names("30H30V"), Names("45F")});
    ASSERT_EQ(LoadBitmapFile(SetFilePath(folder, 1, "csb")).size(), QSize(66, 66));
    TBlockList list;
    EXPECT_TRUE(list.LoadError.isEmpty()) << list.LoadError.toStdString();
    EXPECT_EQ(list.SetCount, 1);
    EXPECT_EQ(list.Count, 3);
    EXPECT_EQ(list.SetTitle[0], "Demo");
    EXPECT_EQ(list.RowCount[0], 2);
    EXPECT_EQ(list.LastVariation[0][0], 1);
    EXPECT_EQ(list.LastVariation[0][1], 0); // one name: no other variations
    EXPECT_EQ(MapOf(list, 0), (Map{0, 0, 0}));
    EXPECT_EQ(MapOf(list, 1), (Map{0, 0, 1}));
    EXPECT_EQ(MapOf(list, 2), (Map{0, 1, 0}));
    EXPECT_EQ(list.NameFromIndex(2), "45F");
    EXPECT_EQ(list.NameFromIndex(3), "");
    EXPECT_EQ(list.ImageList.size(), 3u);
}

TEST_F(BlockListTest, ScansNumberedSetsUpToTheFirstGap) {
    WriteSet(folder, 1, "One", {Names("AAaAAb"), Names("ABa")});
    WriteSet(folder, 2, "Two", {Names("BAaBAbBAc")});
    WriteSet(folder, 3, "Three", {Names("CAa")});
    WriteSet(folder, 5, "Five", {Names("EAa")});
    TBlockList list;
    EXPECT_EQ(list.SetCount, 3);
    EXPECT_EQ(list.Count, 7);
    // Set 2 follows set 1 directly.
    EXPECT_EQ(list.IndexFromName("BAa"), 3);
    EXPECT_EQ(MapOf(list, 3), (Map{1, 0, 0}));
    EXPECT_EQ(list.IndexFromMap(1, 0, 2), 5);
    EXPECT_EQ(list.IndexFromMap(2, 0, 0), 6);
    EXPECT_EQ(list.IndexFromName("EAa"), -1);
    EXPECT_EQ(list.SetTitle[2], "Three");
    EXPECT_EQ(list.SetTitle[4], "");
    EXPECT_TRUE(list.LoadError.isEmpty());
}

TEST_F(BlockListTest, EmptyFolderGivesAnEmptyLibrary) {
    WriteSet(folder, 2, "Two without one", {Names("BAa")});
    TBlockList list;
    EXPECT_EQ(list.SetCount, 0);
    EXPECT_EQ(list.Count, 0);
    EXPECT_TRUE(list.ImageList.empty());
    EXPECT_EQ(list.IndexFromMap(0, 0, 0), -1);
    EXPECT_EQ(list.NameFromMap(0, 0, 0), "100");
    EXPECT_EQ(list.IndexFromName(""), -1);
    EXPECT_EQ(list.IndexFromName("BAa"), -1);
    EXPECT_EQ(list.GetSelectedIndex(), -1);
    EXPECT_TRUE(list.LoadError.isEmpty());
}

TEST_F(BlockListTest, RowsWithoutWholeNames) {
    WriteSet(folder, 1, "Rows",
             {
                 Names("AAa"),                      // one name
                 {0, ""},                           // K = 0
                 {3, std::string("ABCDE\0GHI", 9)}, // a zero byte in the second name
                 {3, std::string("AB\0CDEFGH", 9)}, // a zero byte in the first name
                 {2, std::string("XY\0ZZZ", 6)},    // nothing whole before the zero
                 Names("BBbBBc"),
             });
    TBlockList list;
    EXPECT_EQ(list.RowCount[0], 6);
    EXPECT_EQ(list.LastVariation[0][0], 0);
    EXPECT_EQ(list.LastVariation[0][1], -1);
    EXPECT_EQ(list.LastVariation[0][2], 0);
    EXPECT_EQ(list.LastVariation[0][3], -1);
    EXPECT_EQ(list.LastVariation[0][4], -1);
    EXPECT_EQ(list.LastVariation[0][5], 1);
    EXPECT_EQ(list.Count, 4);
    EXPECT_EQ(list.IndexFromName("ABC"), 1);
    EXPECT_EQ(list.IndexFromMap(0, 2, 1), -1);
    EXPECT_EQ(list.IndexFromMap(0, 1, 0), -1);
    EXPECT_EQ(list.IndexFromMap(0, 5, 1), 3);
    EXPECT_EQ(list.IndexFromName("GHI"), -1);
}

TEST_F(BlockListTest, SetTitles) {
    const std::string longest(63, 'T');
    folder.write("System/sd01.csd", SetFileBytes(longest, {Names("AAa")}));
    std::vector<std::string> rows;
    std::string title;
    ReadSetFile(SetFilePath(folder, 1, "csd"), rows, title);
    EXPECT_EQ(title, longest);

    // A title field that starts with a zero byte is empty, whatever follows it.
    QByteArray bytes = SetFileBytes("", {Names("AAa")});
    bytes[161] = 'x';
    folder.write("System/sd02.csd", bytes);
    ReadSetFile(SetFilePath(folder, 2, "csd"), rows, title);
    EXPECT_EQ(title, "");
    EXPECT_EQ(rows, std::vector<std::string>{"AAa"});

    // Bytes 0 to 159 and 223 are not read; bytes after the last row neither.
    bytes = SetFileBytes("Odd", {Names("AAa")});
    for (int i = 0; i < 160; ++i)
        bytes[i] = static_cast<char>(0xFF);
    bytes[223] = 'Z';
    bytes += QByteArray(50, '\x07');
    folder.write("System/sd03.csd", bytes);
    ReadSetFile(SetFilePath(folder, 3, "csd"), rows, title);
    EXPECT_EQ(title, "Odd");
    EXPECT_EQ(rows, std::vector<std::string>{"AAa"});
}

TEST_F(BlockListTest, LooksUpNamesExactly) {
    WriteSet(folder, 1, "Lower", {Names("30H30V"), Names("45F")});
    WriteSet(folder, 2, "Upper", {Names("ZZz45F30h")});
    TBlockList list;
    EXPECT_EQ(list.IndexFromName("30H"), 0);
    EXPECT_EQ(list.IndexFromName("30h"), 5);
    EXPECT_EQ(list.IndexFromName("30v"), -1);
    EXPECT_EQ(list.IndexFromName("zzz"), -1);
    EXPECT_EQ(list.IndexFromName("30"), -1);
    EXPECT_EQ(list.IndexFromName("30H3"), -1);
    EXPECT_EQ(list.IndexFromName(""), -1);
    // The same name in two sets: the lower set wins.
    EXPECT_EQ(list.IndexFromName("45F"), 2);
    EXPECT_TRUE(list.IsValidName("45F"));
    EXPECT_TRUE(list.IsValidName("ZZz"));
    EXPECT_FALSE(list.IsValidName("ZZZ"));
    EXPECT_FALSE(list.IsValidName("45"));
    EXPECT_EQ(list.NameFromMap(1, 0, 1), "45F");
    EXPECT_EQ(list.NameFromMap(0, 1, 1), "100");
    EXPECT_EQ(list.NameFromMap(9, 19, 12), "100");
    EXPECT_EQ(list.NameFromMap(200, 200, 200), "100");
    EXPECT_EQ(list.IndexFromMap(0, 1, 1), -1);
    EXPECT_EQ(list.IndexFromMap(255, 0, 0), -1);
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
    }
    for (int i = 0; i < list.Count; ++i) {
        const Map map = MapOf(list, i);
        EXPECT_EQ(list.IndexFromMap(static_cast<uint8_t>(map.set), static_cast<uint8_t>(map.row),
                                    static_cast<uint8_t>(map.variation)),
                  i);
    }
}

TEST_F(BlockListTest, SelectionMemory) {
    WriteSet(folder, 1, "One", {Names("AAaAAb"), Names("ABaABbABc")});
    WriteSet(folder, 2, "Two", {Names("BAa"), Names("BBaBBb")});
    TBlockList list;
    EXPECT_EQ(list.SelectedIndex, 0);
    EXPECT_EQ(list.Selection.CurrentSet, 0);
    EXPECT_EQ(list.Selection.SelectedRow[0], 0);
    EXPECT_EQ(list.Selection.SelectedVariation[0][1], 0);
    EXPECT_EQ(list.GetSelectedIndex(), 0);

    list.SelectIndex(list.IndexFromName("BBb"));
    EXPECT_EQ(list.Selection.CurrentSet, 1);
    EXPECT_EQ(list.Selection.SelectedRow[1], 1);
    EXPECT_EQ(list.Selection.SelectedVariation[1][1], 1);
    EXPECT_EQ(list.Selection.SelectedRow[0], 0);
    EXPECT_EQ(list.GetSelectedIndex(), list.IndexFromName("BBb"));

    // Each set keeps its row, each row its variation.
    list.SelectIndex(list.IndexFromName("ABc"));
    list.SelectIndex(list.IndexFromName("BAa"));
    EXPECT_EQ(list.Selection.SelectedVariation[1][1], 1);
    list.Selection.CurrentSet = 0;
    EXPECT_EQ(list.GetSelectedIndex(), list.IndexFromName("ABc"));

    // A selection without a block, and no selection at all.
    list.Selection.SelectedVariation[0][1] = 5;
    EXPECT_EQ(list.GetSelectedIndex(), -1);
    list.Selection.SelectedVariation[0][1] = -3;
    EXPECT_EQ(list.GetSelectedIndex(), -1);
    list.Selection.CurrentSet = 12;
    EXPECT_EQ(list.GetSelectedIndex(), -1);
    list.Selection.CurrentSet = 0;
    list.Selection.SelectedVariation[0][1] = 0;
    list.SelectIndex(-1);
    EXPECT_EQ(list.SelectedIndex, -1);
    EXPECT_EQ(list.GetSelectedIndex(), -1);
    EXPECT_EQ(list.Selection.SelectedRow[0], 1);
    // An index past the blocks changes nothing in the memory.
    list.SelectIndex(500);
    EXPECT_EQ(list.Selection.CurrentSet, 0);
    EXPECT_EQ(list.GetSelectedIndex(), list.IndexFromName("ABa"));
}

TEST_F(BlockListTest, LimitsOfTheTable) {
    // 25 rows, the first of 15 names: 20 rows and 13 names are kept.
    std::vector<SetRow> rows;
    std::string fifteen;
    for (int k = 0; k < 15; ++k)
        fifteen += std::string{'N', static_cast<char>('a' + k), 'x'};
    rows.push_back(Names(fifteen));
    for (int r = 1; r < 25; ++r)
        rows.push_back(Names(std::string{'R', static_cast<char>('A' + r), 'x'}));
    WriteSet(folder, 1, "Wide", rows);
    {
        TBlockList list;
        EXPECT_TRUE(list.LoadError.isEmpty()) << list.LoadError.toStdString();
        EXPECT_EQ(list.RowCount[0], 20);
        EXPECT_EQ(list.LastVariation[0][0], 12);
        EXPECT_EQ(list.Count, 13 + 19);
        EXPECT_EQ(list.IndexFromName("Nmx"), 12);
        EXPECT_EQ(list.IndexFromName("Nnx"), -1);
        EXPECT_EQ(list.IndexFromName("RTx"), 13 + 18);
        EXPECT_EQ(list.IndexFromName("RUx"), -1);
    }

    // Eight sets of 20 x 13 names are 2080 blocks; the table takes 2000.
    for (int set = 1; set <= 9; ++set) {
        std::vector<SetRow> full;
        for (int r = 0; r < 20; ++r) {
            std::string names;
            for (int k = 0; k < 13; ++k)
                names += std::string{static_cast<char>('0' + set), static_cast<char>('A' + r),
                                     static_cast<char>('a' + k)};
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
    EXPECT_EQ(list.IndexFromName("8Nl"), -1);
    EXPECT_EQ(list.IndexFromName("9Aa"), -1);
    EXPECT_EQ(list.RowCount[8], 0);
    EXPECT_EQ(list.SetTitle[8], "");

    // Appending to a full table, or outside the map's ranges, changes nothing.
    list.Append(0, 0, 0, "New");
    EXPECT_EQ(list.Count, kMaxBlocks);
    EXPECT_EQ(list.IndexFromName("New"), -1);
    TempProgramFolder bare;
    SetProgramFolder(bare.path());
    TBlockList empty;
    empty.Append(10, 0, 0, "Bad");
    empty.Append(0, 20, 0, "Bad");
    empty.Append(0, 0, 13, "Bad");
    EXPECT_EQ(empty.Count, 0);
    EXPECT_TRUE(empty.ImageList.empty());
}

TEST_F(BlockListTest, AppendWithoutASheet) {
    TBlockList list;
    list.Append(0, 0, 0, "ABCD");
    list.Append(0, 0, 0, "Dup");
    EXPECT_EQ(list.Count, 2);
    EXPECT_EQ(list.NameFromIndex(0), "ABC");
    EXPECT_EQ(list.IndexFromMap(0, 0, 0), 0); // the first block with the map wins
    ASSERT_EQ(list.ImageList.size(), 2u);
    EXPECT_EQ(list.ImageList[0].size(), QSize(32, 32));
    EXPECT_EQ(list.ImageList[0].pixel(5, 5), 0u); // no sheet: nothing opaque
}

TEST_F(BlockListTest, UnreadableFilesEndTheLoading) {
    WriteSet(folder, 1, "Good", {Names("AAaAAb")});
    WriteSet(folder, 2, "Short", {Names("BBa"), Names("BBbBBc")});
    WriteSet(folder, 3, "Later", {Names("CCa")});
    QByteArray shortFile = SetFileBytes("Short", {Names("BBa"), Names("BBbBBc")});
    shortFile.chop(2);
    folder.write("System/sd02.csd", shortFile);

    try {
        std::vector<std::string> rows;
        std::string title;
        ReadSetFile(SetFilePath(folder, 2, "csd"), rows, title);
        ADD_FAILURE() << "a short set file was read";
    } catch (const IoError& e) {
        EXPECT_STREQ(e.what(), "Read beyond end of file");
    }

    QGuiApplication::setOverrideCursor(QCursor(Qt::PointingHandCursor));
    {
        TBlockList list;
        // The user learns which file and which sets: the scan would have gone on to set 3.
        EXPECT_EQ(list.LoadError, "Block set file sd02.csd could not be read: the file ends early. "
                                  "Block sets 2 to 3 are not available.");
        EXPECT_EQ(list.SetCount, 1);
        EXPECT_EQ(list.Count, 2);
        EXPECT_EQ(list.IndexFromName("BBa"), -1);
        EXPECT_EQ(list.SetTitle[1], "");
        EXPECT_EQ(list.RowCount[1], 0);
        // The hourglass is gone again; the pointer set before stays.
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
    }
    QGuiApplication::restoreOverrideCursor();
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // A file too short to hold the row count.
    folder.write("System/sd02.csd", QByteArray(224, '\0'));
    QFile::remove(SetFilePath(folder, 3, "csd"));
    {
        TBlockList list;
        EXPECT_EQ(list.LoadError, "Block set file sd02.csd could not be read: the file ends early. "
                                  "Block set 2 is not available.");
        EXPECT_EQ(list.SetCount, 1);
    }

    // A missing sheet and a sheet that is no bitmap.
    WriteSet(folder, 2, "Sheetless", {Names("BBa")});
    QFile::remove(SetFilePath(folder, 2, "csb"));
    {
        TBlockList list;
        EXPECT_TRUE(list.LoadError.contains("sd02.csb")) << list.LoadError.toStdString();
        EXPECT_EQ(list.SetCount, 1);
        EXPECT_EQ(list.Count, 2);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
    folder.write("System/sd02.csb", "BM this is not a bitmap");
    {
        TBlockList list;
        EXPECT_TRUE(list.LoadError.contains("sd02.csb")) << list.LoadError.toStdString();
        EXPECT_TRUE(list.LoadError.endsWith("Block set 2 is not available.")) << list.LoadError.toStdString();
        EXPECT_EQ(list.SetCount, 1);
        EXPECT_EQ(list.Count, 2);
    }

    // A set file that cannot be opened.
    QFile::remove(SetFilePath(folder, 2, "csd"));
    QDir().mkpath(SetFilePath(folder, 2, "csd"));
    {
        TBlockList list;
        EXPECT_FALSE(list.LoadError.isEmpty());
        EXPECT_EQ(list.SetCount, 1);
    }
    EXPECT_THROW(
        {
            std::vector<std::string> rows;
            std::string title;
            ReadSetFile(folder.file("System/none.csd"), rows, title);
        },
        IoError);
}

TEST_F(BlockListTest, ASheetThatEndsEarlyLoadsBlackAndIsToldOnce) {
    WriteSet(folder, 1, "Good", {Names("AAa")});
    WriteSet(folder, 2, "Cut", {Names("BBa"), Names("BBb")});
    QFile sheet(SetFilePath(folder, 2, "csb"));
    ASSERT_TRUE(sheet.open(QIODevice::ReadWrite));
    // Rows of 100 bytes (33 pixels), stored bottom up: the top row of pictures goes.
    ASSERT_TRUE(sheet.resize(sheet.size() - 33 * 100));
    sheet.close();
    TBlockList list;
    EXPECT_EQ(list.SetCount, 2);
    EXPECT_EQ(list.Count, 3);
    EXPECT_TRUE(list.LoadError.isEmpty());
    EXPECT_EQ(list.LoadNotice, "Block picture file sd02.csb ends early: the pictures of its missing rows are black.");
    EXPECT_EQ(list.ImageList[1].pixel(16, 16), qRgb(0, 0, 0));       // BBa, in the top row
    EXPECT_EQ(list.ImageList[2].pixel(16, 16), BlockColor(1, 1, 0)); // BBb, below it
}

} // namespace
