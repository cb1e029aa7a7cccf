// The block sets the build writes: files, names, turning families, pictures.

#include "content_fixture.h"

#include "imaging/bitmap_file.h"
#include "model/old_block_codes.h"
#include "resources/resource_checks.h"

#include <QFile>
#include <algorithm>
#include <map>
#include <set>
#include <sstream>

namespace {

std::vector<std::string> SplitNames(const char* list) {
    std::vector<std::string> names;
    std::stringstream in(list);
    std::string name;
    while (std::getline(in, name, ','))
        names.push_back(name);
    return names;
}

// The turning cycle a letter belongs to, in clockwise order.
std::string CycleOf(char letter) {
    for (const char* cycle : {"NESW", "JKLM", "HV"})
        if (std::string(cycle).find(letter) != std::string::npos)
            return cycle;
    return {};
}

} // namespace

class BlockSetsTest : public ContentTest {};

TEST_F(BlockSetsTest, EverySetAndSheetLoadsWithTheExactPitchAndSize) {
    ASSERT_TRUE(Library().LoadError.isEmpty()) << Library().LoadError.toStdString();
    EXPECT_EQ(Library().SetCount, 10);
    EXPECT_LE(Library().Count, kMaxBlocks);
    int blocks = 0;
    for (int set = 1; set <= 10; ++set) {
        SCOPED_TRACE(set);
        std::vector<std::string> rows;
        std::string title;
        ReadSetFile(SystemFile(QString::asprintf("sd%02d.csd", set)), rows, title);
        EXPECT_FALSE(title.empty());
        EXPECT_LE(title.size(), 63u);
        EXPECT_EQ(title, Library().SetTitle[static_cast<size_t>(set - 1)]);
        ASSERT_GE(rows.size(), 1u);
        ASSERT_LE(rows.size(), static_cast<size_t>(kMaxRows));
        EXPECT_EQ(Library().RowCount[static_cast<size_t>(set - 1)], static_cast<int>(rows.size()));
        size_t longest = 0;
        for (const std::string& row : rows) {
            EXPECT_EQ(row.size() % 3, 0u) << row;
            EXPECT_GE(row.size(), 3u);
            EXPECT_LE(row.size() / 3, static_cast<size_t>(kMaxVariations));
            longest = std::max(longest, row.size() / 3);
            blocks += static_cast<int>(row.size() / 3);
        }

        const QImage sheet = LoadBitmapFile(SystemFile(QString::asprintf("sd%02d.csb", set)));
        EXPECT_EQ(sheet.width(), 33 * static_cast<int>(longest) + 1);
        EXPECT_EQ(sheet.height(), 33 * static_cast<int>(rows.size()) + 1);
        // The lines between the cells are one colour all along: the pictures lie
        // exactly 33 pixels apart, never across a line.
        const QRgb line = sheet.pixel(0, 0);
        for (int v = 0; v <= static_cast<int>(longest); ++v)
            for (int y = 0; y < sheet.height(); ++y)
                ASSERT_EQ(sheet.pixel(33 * v, y), line) << "column " << 33 * v << " row " << y;
        for (int r = 0; r <= static_cast<int>(rows.size()); ++r)
            for (int x = 0; x < sheet.width(); ++x)
                ASSERT_EQ(sheet.pixel(x, 33 * r), line) << "row " << 33 * r << " column " << x;
    }
    EXPECT_EQ(blocks, Library().Count);
}

TEST_F(BlockSetsTest, NamesAreThreeCharactersAndUniqueInTheLibrary) {
    std::map<std::string, int> seen;
    for (int i = 0; i < Library().Count; ++i) {
        const std::string& name = Library().NameFromIndex(i);
        ASSERT_EQ(name.size(), 3u) << "block " << i;
        EXPECT_EQ(name.find('\0'), std::string::npos);
        const auto [it, added] = seen.emplace(name, i);
        EXPECT_TRUE(added) << name << " is block " << it->second << " and block " << i;
    }
}

TEST_F(BlockSetsTest, EveryOldBlockCodeResolvesToBlocksThatShowWhenStacked) {
    std::vector<uint16_t> codes;
    for (int set = 0; set < kOldBlockSets; ++set)
        for (int position = 0; position < kOldBlockPositions; ++position)
            if (set || position)
                codes.push_back(static_cast<uint16_t>(set * 256 + position));
    codes.push_back(12); // outside the table: the default block
    int checked = 0;
    for (uint16_t code : codes) {
        const char* list = OldBlockNames(code);
        ASSERT_NE(list, nullptr) << code;
        const std::vector<std::string> names = SplitNames(list);
        // Compose the stack as the model draws it; every block put on top must
        // still show something of its own.
        QImage composite(32, 32, QImage::Format_ARGB32_Premultiplied);
        composite.fill(Qt::transparent);
        for (size_t level = 0; level < names.size(); ++level) {
            const int32_t index = Library().IndexFromName(names[level]);
            ASSERT_GE(index, 0) << "code " << code << " names " << names[level] << ", which no set holds";
            const QImage& picture = Library().ImageList[static_cast<size_t>(index)];
            const QImage before = composite;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    if (Opaque(picture, x, y))
                        composite.setPixel(x, y, picture.pixel(x, y));
            EXPECT_NE(composite, before) << names[level] << " adds nothing to the stack of code " << code;
            ++checked;
        }
    }
    EXPECT_GT(checked, 119);
}

TEST_F(BlockSetsTest, TurningFamiliesAreCompleteInOneRowAndDrawnTurned) {
    std::map<std::string, int32_t> byName;
    for (int i = 0; i < Library().Count; ++i)
        byName[Library().NameFromIndex(i)] = i;
    int families = 0;
    std::set<std::string> done;
    for (const auto& [name, index] : byName) {
        const std::string cycle = CycleOf(name[2]);
        if (cycle.empty())
            continue;
        const std::string family = name.substr(0, 2) + cycle;
        if (!done.insert(family).second)
            continue;
        ++families;
        SCOPED_TRACE(name);
        int32_t set = 0, row = 0, variation = 0;
        Library().MapFromIndex(index, set, row, variation);
        std::vector<std::vector<bool>> patterns;
        std::vector<QImage> pictures;
        for (char letter : cycle) {
            const std::string member = name.substr(0, 2) + letter;
            const auto it = byName.find(member);
            ASSERT_NE(it, byName.end()) << member << " is missing";
            int32_t s = 0, r = 0, v = 0;
            Library().MapFromIndex(it->second, s, r, v);
            EXPECT_EQ(s, set) << member;
            EXPECT_EQ(r, row) << member << " is not in the row of " << name;
            pictures.push_back(Library().ImageList[static_cast<size_t>(it->second)]);
            patterns.push_back(OpaquePattern(pictures.back()));
        }
        // Each orientation is the shape of the one before it turned a quarter
        // (a pair may turn either way), and rotating shows a new picture.
        for (size_t i = 1; i < patterns.size(); ++i) {
            const bool clockwise = TurnedClockwise(patterns[i - 1]) == patterns[i];
            const bool back =
                TurnedClockwise(TurnedClockwise(TurnedClockwise(patterns[i - 1]))) == patterns[i];
            EXPECT_TRUE(clockwise || (cycle == "HV" && back))
                << name.substr(0, 2) << cycle[i] << " is not turned";
            for (size_t j = 0; j < i; ++j)
                EXPECT_NE(pictures[i], pictures[j]) << name.substr(0, 2) << cycle[i] << " repeats a picture";
        }
    }
    EXPECT_GT(families, 40);
}

TEST_F(BlockSetsTest, PicturesUseThePaletteAndAreManyAndDistinct) {
    std::set<QByteArray> distinct;
    for (int i = 0; i < Library().Count; ++i) {
        const QImage& picture = Library().ImageList[static_cast<size_t>(i)];
        int opaque = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (Opaque(picture, x, y)) {
                    ++opaque;
                    const QRgb rgb = picture.pixel(x, y) | 0xFF000000;
                    ASSERT_TRUE(PaletteColours().contains(rgb))
                        << Library().NameFromIndex(i) << " has the colour " << std::hex << rgb << " at "
                        << std::dec << x << "," << y;
                }
        EXPECT_GT(opaque, 20) << Library().NameFromIndex(i) << " is nearly empty";
        distinct.insert(
            QByteArray(reinterpret_cast<const char*>(picture.constBits()), picture.sizeInBytes()));
    }
    EXPECT_GT(distinct.size(), 300u);
    EXPECT_EQ(static_cast<int>(distinct.size()), Library().Count) << "two blocks share one picture";
}
