#include "common/io_error.h"
#include "common/program_folder.h"
#include "imaging/bitmap_file.h"
#include "library/background.h"
#include "library/block_list.h"
#include "model/old_block_codes.h"
#include "model_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QtEndian>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;

struct FileChunk {
    std::string tag;
    int64_t length;
    QByteArray data; // what follows the length field, up to the next chunk (MH: the section)
};

// Splits a model file in the current format into its chunks.
std::vector<FileChunk> SplitChunks(const QByteArray& bytes) {
    std::vector<FileChunk> chunks;
    qsizetype at = 6;
    while (at + 6 <= bytes.size()) {
        FileChunk chunk;
        chunk.tag = bytes.mid(at, 2).toStdString();
        chunk.length = static_cast<int32_t>(qFromLittleEndian<quint32>(bytes.constData() + at + 2));
        at += 6;
        qsizetype size = chunk.length;
        if (chunk.tag == "MH") { // the section runs to its end mark
            size = 0;
            while (at + size + 1 < bytes.size() && !(static_cast<uchar>(bytes[at + size]) == 0xFF &&
                                                     static_cast<uchar>(bytes[at + size + 1]) == 0xFF)) {
                const int count = (static_cast<uchar>(bytes[at + size]) & 7) + 1;
                size += 2 + 3 * count;
            }
            size += 2;
        }
        chunk.data = bytes.mid(at, size);
        at += size;
        chunks.push_back(chunk);
        if (chunks.back().tag == "00")
            break;
    }
    return chunks;
}

const FileChunk* FindChunk(const std::vector<FileChunk>& chunks, const std::string& tag) {
    for (const FileChunk& chunk : chunks)
        if (chunk.tag == tag)
            return &chunk;
    return nullptr;
}

class ModelFileTest : public ModelTest {
protected:
    QString path(const QString& name) const { return folder->file("Models/" + name); }

    QByteArray Saved(TModel& model, const QString& name = QStringLiteral("saved.cst")) {
        model.SaveToFile(path(name));
        return ReadAll(path(name));
    }

    // A file in the current format built chunk by chunk.
    static QByteArray ChunkFile(const std::vector<QByteArray>& chunks) {
        QByteArray bytes("MdF\x1A\x02\x04", 6);
        for (const QByteArray& chunk : chunks)
            bytes += chunk;
        return bytes;
    }
    static QByteArray Grid(int levels, int cols, int rows) {
        return Chunk("GM", LE32(levels) + LE32(cols) + LE32(rows));
    }
    static QByteArray Version(int version) { return Chunk("VR", LE32(version) + LE32(version)); }
    static QByteArray End() { return Chunk("00", QByteArray(1, '\0')); }
    static QByteArray Cells(const QByteArray& section) {
        return QByteArray("MH", 2) + LE32(section.size()) + section;
    }
    static QByteArray Cell(int x, int y, const Names& names) {
        QByteArray bytes = LE16(static_cast<int>(names.size()) - 1 + x * 16 + y * 1024);
        for (const std::string& name : names)
            bytes +=
                QByteArray(name.c_str(), static_cast<qsizetype>(name.size())).leftJustified(3, '\0', true);
        return bytes;
    }

    // An old-format file: C x R cells of two codes and the text after them.
    static QByteArray OldFile(int cols, int rows, int textCol, int textRow,
                              const std::vector<uint16_t>& codes, const QByteArray& text, int entrySize = 4) {
        QByteArray bytes("MdF\x1A\x04\x00", 6);
        bytes += QByteArray(4, '\x55');
        bytes += static_cast<char>(cols);
        bytes += static_cast<char>(rows);
        bytes += static_cast<char>(textCol);
        bytes += static_cast<char>(textRow);
        bytes += LE16(entrySize);
        bytes += QByteArray(48, '\x77');
        for (int i = 0; i < cols * rows * 2; ++i)
            bytes += LE16(i < static_cast<int>(codes.size()) ? codes[static_cast<size_t>(i)] : 0);
        return bytes + text;
    }
};

TEST_F(ModelFileTest, EmptyModelBytes) {
    TModel model(context);
    model.Modified = true;
    const QByteArray bytes = Saved(model);
    EXPECT_FALSE(model.Modified);
    ASSERT_GT(bytes.size(), 12);
    EXPECT_EQ(Hex(bytes.left(8)), "4D 64 46 1A 02 04 43 52");
    // The copyright notice is a text of its own choosing; the rest is fixed.
    const int crLength = static_cast<int>(qFromLittleEndian<quint32>(bytes.constData() + 8));
    ASSERT_GT(crLength, 1);
    ASSERT_LE(crLength, 1023);
    EXPECT_EQ(bytes[12 + crLength - 1], '\0');
    EXPECT_EQ(bytes.mid(12, crLength - 1).indexOf('\0'), -1);
    const QByteArray rest = bytes.mid(12 + crLength);
    EXPECT_EQ(Hex(rest), "56 52 08 00 00 00 00 06 00 00 00 06 00 00 "                      // VR
                         "44 45 06 00 00 00 02 00 00 00 01 00 "                            // DE
                         "41 55 07 00 00 00 00 00 00 00 00 00 00 "                         // AU
                         "54 58 0D 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "       // TX
                         "46 54 0F 00 00 00 F3 FF FF FF C0 C0 C0 00 53 79 73 74 65 6D 00 " // FT
                         "42 47 09 00 00 00 00 00 00 00 00 00 00 00 00 "                   // BG
                         "47 4D 0C 00 00 00 08 00 00 00 20 00 00 00 18 00 00 00 "          // GM
                         "4D 48 02 00 00 00 FF FF "                                        // MH
                         "30 30 01 00 00 00 00");                                          // 00
}

TEST_F(ModelFileTest, CellSectionLayout) {
    TModel model(context);
    Stack(model, 3, 2, {"30H", "44H"});
    QByteArray bytes = Saved(model);
    EXPECT_TRUE(bytes.endsWith(QByteArray::fromHex("4D480A000000"
                                                   "3108333048343448FFFF"
                                                   "30300100000000")))
        << Hex(bytes.right(23));

    // A stack of 8: bits 0-2 hold 7, eight names follow, the length counts them all.
    TModel full(context);
    const Names eight{"30H", "30V", "44H", "44V", "42V", "42H", "10N", "10E"};
    Stack(full, 31, 23, eight);
    Stack(full, 0, 1, {"45F"});
    bytes = Saved(full);
    const auto chunks = SplitChunks(bytes);
    const FileChunk* mh = FindChunk(chunks, "MH");
    ASSERT_NE(mh, nullptr);
    EXPECT_EQ(mh->length, 2 + 3 + 2 + 24 + 2);
    EXPECT_EQ(mh->data, Cell(0, 1, {"45F"}) + Cell(31, 23, eight) + QByteArray("\xFF\xFF", 2));
    EXPECT_EQ(mh->data.mid(5, 2), LE16(7 + 31 * 16 + 23 * 1024));

    // Blocks above a gap are not saved; the stack ends at the gap.
    TModel gap(context);
    gap.SetBlockIndex(1, 1, Index("30H"), 0);
    gap.SetBlockIndex(1, 1, Index("44H"), 2);
    gap.SetBlockIndex(2, 1, Index("44H"), 1);
    gap.SetBlockIndex(5, 5, Index("30H"), 1); // nothing at level 0: not saved
    EXPECT_EQ(gap.CellDataSize(), 5);
    bytes = Saved(gap);
    const auto gapChunks = SplitChunks(bytes);
    const FileChunk* gapped = FindChunk(gapChunks, "MH");
    ASSERT_NE(gapped, nullptr);
    EXPECT_EQ(gapped->length, 7);
    EXPECT_EQ(gapped->data, Cell(1, 1, {"30H"}) + QByteArray("\xFF\xFF", 2));
}

TEST_F(ModelFileTest, RoundTripKeepsEverythingTheFileCarries) {
    context.Defaults.OwnerName = "Quadrantine owner";
    TModel model(context);
    model.Description.DescriptionText = "A castle & moat";
    model.Description.DescriptionCode = 7;
    model.Description.DescriptionFlag = false;
    model.Author.AuthorName = "J\xF6rg"; // ANSI bytes travel as they are
    model.Author.Country = "DE";
    model.Author.Age = 44;
    model.TextOverlay.Text = "Line one\r\nLine two\tTab";
    model.TextOverlay.TextCol = 4;
    model.TextOverlay.TextRow = 9;
    model.TextOverlay.Shadow = 2;
    model.TextOverlay.Font.FontName = "Serif";
    model.TextOverlay.Font.FontHeight = -20;
    model.TextOverlay.Font.FontColor = RGBColor(10, 20, 30);
    model.TextOverlay.Font.FontStyle = fsItalic; // not stored: a loaded model is bold
    model.Background.Color = RGBColor(0, 0, 200);
    model.SetBackgroundKind(bkGradient);
    Stack(model, 0, 0, {"30H", "44H", "42V"});
    Stack(model, 31, 23, {"10N", "10E", "10S", "10W", "12J", "12K", "12L", "12M"});
    Stack(model, 7, 11, {"2AH"});
    model.Truncated = true;
    const QByteArray first = Saved(model, "a.cst");
    EXPECT_FALSE(model.Truncated);
    EXPECT_EQ(model.Author.OwnerName, "Quadrantine owner");

    TModel loaded(context);
    Stack(loaded, 5, 5, {"45F"}); // replaced by the load
    loaded.Modified = true;
    ASSERT_TRUE(loaded.LoadFromFile(path("a.cst")));
    EXPECT_TRUE(presenter().shown.empty());
    TModelData expected = model.Data(); // saved: neither modified nor truncated
    expected.TextOverlay.Font.FontStyle = fsBold;
    EXPECT_TRUE(SameData(expected, loaded.Data()));
    EXPECT_TRUE(SameData(model.FileData(), loaded.Data()));
    EXPECT_EQ(loaded.Author.OwnerName, "Quadrantine owner");
    // The background was rendered from the file: a gradient from blue down to black.
    EXPECT_EQ(loaded.BackgroundBitmap().pixel(3, 0), qRgb(0, 0, 200));
    EXPECT_EQ(loaded.BackgroundBitmap().pixel(3, 767), qRgb(0, 0, 0));
    EXPECT_EQ(Saved(loaded, "b.cst"), first);
}

TEST_F(ModelFileTest, BackgroundsFromFiles) {
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(qRgb(250, 200, 10));
    folder->write("System/bdTST.csb", EncodeBitmap24(picture));
    folder->write("System/bdBAD.csb", QByteArray("not a bitmap at all"));
    auto fileWith = [&](const char* name, const std::string& code, TColor color, int kind) {
        return WriteModelFile(*folder, name,
                              ChunkFile({Version(1536), Chunk("BG", Text(code) + LE32(color) + LE32(kind)),
                                         Grid(8, 32, 24), Cells(Cell(1, 1, {"30H"}) + "\xFF\xFF"), End()}));
    };

    TModel model(context);
    model.Background.Color = RGBColor(0, 255, 0);
    model.SetBackgroundKind(bkColor);

    // A picture, stretched over the whole model image.
    ASSERT_TRUE(model.LoadFromFile(fileWith("picture.cst", "TST", 0, bkStretch)));
    EXPECT_EQ(model.Background.Code, "TST");
    EXPECT_EQ(model.Background.Kind, bkStretch);
    EXPECT_EQ(model.BackgroundBitmap().size(), QSize(1024, 768));
    EXPECT_EQ(model.BackgroundBitmap().pixel(1000, 700), qRgb(250, 200, 10));

    // A picture that cannot be read: an input/output error, and the model stays.
    Stack(model, 9, 9, {"45F"});
    EXPECT_THROW(model.LoadFromFile(fileWith("bad.cst", "BAD", 0, bkTile)), IoError);
    EXPECT_EQ(model.Background.Code, "TST");
    EXPECT_EQ(model.Background.Kind, bkStretch);
    EXPECT_EQ(model.BackgroundBitmap().pixel(1000, 700), qRgb(250, 200, 10));
    EXPECT_TRUE(model.IsOccupied(9, 9));

    // A kind this program does not know is kept and shows black.
    ASSERT_TRUE(model.LoadFromFile(fileWith("kind.cst", "", RGBColor(0, 0, 255), 7)));
    EXPECT_EQ(model.Background.Kind, 7);
    EXPECT_EQ(model.Background.Color, RGBColor(0, 0, 255));
    EXPECT_EQ(model.BackgroundBitmap().pixel(500, 500), qRgb(0, 0, 0));
    EXPECT_EQ(model.BackgroundBitmap().size(), QSize(1024, 768));

    // The background is sized for the window of the moment.
    model.SetContext(Context(QSize(640, 480)));
    ASSERT_TRUE(model.LoadFromFile(fileWith("flat.cst", "", RGBColor(0, 0, 255), bkColor)));
    EXPECT_EQ(model.BackgroundBitmap().size(), QSize(640, 480));
    EXPECT_EQ(model.BackgroundBitmap().pixel(639, 479), qRgb(0, 0, 255));
    ASSERT_TRUE(model.LoadFromFile(fileWith("picture.cst", "TST", 0, bkStretch)));
    EXPECT_EQ(model.BackgroundBitmap().size(), QSize(640, 480));
}

TEST_F(ModelFileTest, GridFittedToTheWindow) {
    TModel model(context);
    Stack(model, 24, 18, {"30H", "44H"});
    Stack(model, 25, 5, {"30V"});
    Stack(model, 5, 19, {"42V"});
    Stack(model, 31, 23, {"45F"});
    model.SaveToFile(path("big.cst"));

    TModel small(Context(QSize(800, 600))); // a 25 x 19 grid
    ASSERT_TRUE(small.LoadFromFile(path("big.cst")));
    ASSERT_EQ(presenter().shown.size(), 1u);
    EXPECT_EQ(presenter().shown[0].text,
              "This model was saved in a higher resolution. Some of the rightmost and "
              "lowest cells will not be visible.");
    EXPECT_EQ(presenter().shown[0].style, 0x40);
    EXPECT_TRUE(small.Truncated);
    EXPECT_EQ(small.Cols, 25);
    EXPECT_EQ(small.Rows, 19);
    EXPECT_EQ(StackNames(small, 24, 18), (Names{"30H", "44H"}));
    int used = 0;
    for (int32_t entry : small.Cells)
        used += entry != -1;
    EXPECT_EQ(used, 2);
    EXPECT_EQ(small.BackgroundBitmap().size(), QSize(800, 600));

    // Saving the cut model clears the flag.
    small.SaveToFile(path("cut.cst"));
    EXPECT_FALSE(small.Truncated);

    // A smaller grid from a file is widened to the window grid without a message.
    presenter().Clear();
    TModel wide(context);
    ASSERT_TRUE(wide.LoadFromFile(path("cut.cst")));
    EXPECT_TRUE(presenter().shown.empty());
    EXPECT_FALSE(wide.Truncated);
    EXPECT_EQ(wide.Cols, 32);
    EXPECT_EQ(wide.Rows, 24);
    EXPECT_EQ(StackNames(wide, 24, 18), (Names{"30H", "44H"}));
}

TEST_F(ModelFileTest, RefusedFilesLeaveTheModelAsItWas) {
    TModel model(context);
    Stack(model, 2, 2, {"30H", "44H"});
    model.TextOverlay.Text = "mine";
    model.Modified = true;
    model.Background.Color = RGBColor(0, 255, 0);
    model.SetBackgroundKind(bkColor);
    const TModelData before = model.Data();
    auto expectUnchanged = [&](const char* what) {
        EXPECT_TRUE(SameData(before, model.Data())) << what;
        EXPECT_EQ(model.BackgroundBitmap().pixel(100, 100), qRgb(0, 255, 0)) << what;
    };
    auto onlyMessage = [&](const QString& text, int style) {
        ASSERT_EQ(presenter().shown.size(), 1u);
        EXPECT_EQ(presenter().shown[0].text, text);
        EXPECT_EQ(presenter().shown[0].style, style);
        presenter().Clear();
    };

    // No such file: false and no message.
    EXPECT_FALSE(model.LoadFromFile(path("missing.cst")));
    EXPECT_TRUE(presenter().shown.empty());
    expectUnchanged("missing");

    // A newer version.
    const QString newer = WriteModelFile(*folder, "newer.cst",
                                         ChunkFile({Chunk("CR", Text("c")), Version(1537), Grid(8, 32, 24),
                                                    Cells(Cell(0, 0, {"45F"}) + "\xFF\xFF"), End()}));
    EXPECT_FALSE(model.LoadFromFile(newer));
    onlyMessage(
        "You are trying to load a model generated in a newer version.\r\nPlease upgrade your version.", 0x40);
    expectUnchanged("newer");

    // A foreign format mark, named without its folder.
    QByteArray marked = Saved(model, "copy.cst");
    model.Modified = true;
    marked[4] = 0x03;
    marked[5] = 0x00;
    EXPECT_FALSE(model.LoadFromFile(WriteModelFile(*folder, "mark.cst", marked)));
    onlyMessage("Invalid data in model file mark.cst", 0x30);
    expectUnchanged("mark");

    // Not a model file at all; also an empty one.
    EXPECT_FALSE(model.LoadFromFile(WriteModelFile(*folder, "picture.bmp", QByteArray("BM6\0\0\0", 6))));
    onlyMessage("File picture.bmp has an invalid header or is not a model file", 0x30);
    EXPECT_FALSE(model.LoadFromFile(WriteModelFile(*folder, "empty.cst", QByteArray())));
    onlyMessage("File empty.cst has an invalid header or is not a model file", 0x30);
    expectUnchanged("header");

    // Stack heights the cell store cannot hold.
    for (int levels : {0, -3, 9, 100000}) {
        const QString name = QString("levels%1.cst").arg(levels + 10);
        EXPECT_FALSE(model.LoadFromFile(WriteModelFile(
            *folder, name, ChunkFile({Version(1536), Grid(levels, 32, 24), Cells("\xFF\xFF"), End()}))));
        onlyMessage("Invalid data in model file " + name, 0x30);
    }
    // An old-format file with another entry size.
    EXPECT_FALSE(model.LoadFromFile(WriteModelFile(*folder, "old2.cst", OldFile(2, 2, 0, 0, {768}, "x", 2))));
    onlyMessage("Invalid data in model file old2.cst", 0x30);
    expectUnchanged("levels");

    // While messages are off the outcome is the same, silently.
    SetMessagesEnabled(false);
    EXPECT_FALSE(model.LoadFromFile(newer));
    EXPECT_TRUE(presenter().shown.empty());
    expectUnchanged("silent");
}

TEST_F(ModelFileTest, DamagedFilesRaiseAndChangeNothing) {
    TModel source(context);
    Stack(source, 1, 1, {"30H", "44H", "42V"});
    Stack(source, 20, 10, {"45F"});
    source.TextOverlay.Text = "their text";
    const QByteArray good = Saved(source, "good.cst");

    TModel model(context);
    Stack(model, 5, 5, {"12J"});
    model.TextOverlay.Text = "mine";
    const TModelData before = model.Data();

    // Every cut of the file short of its end mark is an input/output error.
    int raised = 0;
    for (qsizetype length = 6; length < good.size(); ++length) {
        const QString name = WriteModelFile(*folder, "cut.cst", good.left(length));
        try {
            model.LoadFromFile(name);
            ADD_FAILURE() << "a file cut at " << length << " loaded";
        } catch (const IoError&) {
            ++raised;
        }
        ASSERT_TRUE(SameData(before, model.Data())) << "cut at " << length;
    }
    EXPECT_EQ(raised, good.size() - 6);

    // Old-format files cut in their cells or header too.
    const QByteArray old = OldFile(4, 3, 0, 0, {768, 1025}, "text");
    for (qsizetype length : {qsizetype(6), qsizetype(20), qsizetype(64), qsizetype(70), qsizetype(64 + 47)}) {
        EXPECT_THROW(model.LoadFromFile(WriteModelFile(*folder, "oldcut.cst", old.left(length))), IoError);
        EXPECT_TRUE(SameData(before, model.Data()));
    }
    EXPECT_TRUE(presenter().shown.empty());

    // A file name that is a folder cannot be read.
    QDir().mkpath(path("folder.cst"));
    EXPECT_THROW(model.LoadFromFile(path("folder.cst")), IoError);
    EXPECT_TRUE(SameData(before, model.Data()));
}

TEST_F(ModelFileTest, NothingInAFileWritesOutsideTheGrid) {
    // Cells at the largest coordinates a cell word holds, deeper than the model.
    QByteArray section = Cell(63, 63, {"30H", "30H", "30H", "30H", "30H", "30H", "30H", "30H"});
    section += Cell(32, 0, {"30H"}) + Cell(0, 24, {"30H"}) + Cell(2, 3, {"30H", "44H", "42V", "45F", "2AH"});
    section += "\xFF\xFF";
    TModel model(context);
    ASSERT_TRUE(model.LoadFromFile(WriteModelFile(
        *folder, "wide.cst", ChunkFile({Version(1536), Grid(4, 64, 64), Cells(section), End()}))));
    EXPECT_TRUE(model.Truncated);
    EXPECT_EQ(model.Levels, 4);
    EXPECT_EQ(StackNames(model, 2, 3), (Names{"30H", "44H", "42V", "45F"}));
    int used = 0;
    for (int32_t entry : model.Cells)
        used += entry != -1;
    EXPECT_EQ(used, 4);

    // Random damage never crashes the reader: it loads, refuses or raises.
    TModel source(context);
    for (int i = 0; i < 40; ++i)
        Stack(source, i % 32, i % 24, {"30H", "44H"});
    source.TextOverlay.Text = "some text";
    const QByteArray good = Saved(source, "good.cst");
    QRandomGenerator random(1234);
    SetMessagesEnabled(false);
    for (int round = 0; round < 300; ++round) {
        QByteArray damaged = good;
        const int flips = 1 + random.bounded(8);
        for (int f = 0; f < flips; ++f)
            damaged[6 + random.bounded(damaged.size() - 6)] = static_cast<char>(random.bounded(256));
        TModel target(context);
        try {
            target.LoadFromFile(WriteModelFile(*folder, "damaged.cst", damaged));
        } catch (const IoError&) {
        }
        ASSERT_LE(target.Cols * target.Rows * target.Levels, 6400);
    }
}

TEST_F(ModelFileTest, UnknownAndOversizedChunksAreSkipped) {
    const QByteArray section = Cell(3, 2, {"30H", "44H"}) + "\xFF\xFF";
    const QByteArray tail =
        Chunk("TX", Text("after") + LE32(1) + LE32(2) + LE32(0)) + Grid(8, 32, 24) + Cells(section) + End();
    TModel model(context);
    ASSERT_TRUE(model.LoadFromFile(WriteModelFile(
        *folder, "unknown.cst",
        ChunkFile({Chunk("CR", Text("x")), Version(1536), Chunk("QQ", QByteArray(1000, 'q')), tail}))));
    EXPECT_EQ(model.TextOverlay.Text, "after");
    EXPECT_EQ(StackNames(model, 3, 2), (Names{"30H", "44H"}));

    // Longer than a reader takes at once: the reader goes on after the whole chunk.
    TModel big(context);
    ASSERT_TRUE(big.LoadFromFile(WriteModelFile(
        *folder, "oversized.cst",
        ChunkFile({Version(1536), Chunk("QQ", QByteArray(3000, 'q')),
                   Chunk("DE", LE32(2) + QByteArray(1, '\1') + Text(std::string(1500, 'd'))), tail}))));
    EXPECT_EQ(big.TextOverlay.Text, "after");
    EXPECT_EQ(big.Description.DescriptionText, std::string(1023 - 5, 'd'));
    EXPECT_EQ(StackNames(big, 3, 2), (Names{"30H", "44H"}));

    // Chunks before VR are cleared by it; an empty text keeps the default.
    TModel cleared(context);
    ASSERT_TRUE(cleared.LoadFromFile(
        WriteModelFile(*folder, "order.cst",
                       ChunkFile({Chunk("TX", Text("before") + LE32(1) + LE32(1) + LE32(1)), Version(1200),
                                  Chunk("FT", LE32(-20) + LE32(0xFF) + Text("")), Grid(8, 32, 24),
                                  Cells("\xFF\xFF"), End()}))));
    EXPECT_EQ(cleared.TextOverlay.Text, "");
    EXPECT_EQ(cleared.Version, 1536);
    EXPECT_EQ(cleared.TextOverlay.Font.FontName, "System");
    EXPECT_EQ(cleared.TextOverlay.Font.FontHeight, -20);

    // Names the library does not hold leave their level empty.
    TModel unknown(context);
    ASSERT_TRUE(unknown.LoadFromFile(WriteModelFile(
        *folder, "names.cst",
        ChunkFile({Version(1536), Grid(8, 32, 24),
                   Cells(Cell(1, 1, {"30H", "ZZZ", "44H"}) + Cell(2, 1, {"30h"}) + "\xFF\xFF"), End()}))));
    EXPECT_EQ(StackNames(unknown, 1, 1), (Names{"30H"}));
    EXPECT_EQ(unknown.GetBlockIndex(1, 1, 2), Index("44H"));
    EXPECT_FALSE(unknown.IsOccupied(2, 1));
    EXPECT_TRUE(presenter().shown.empty());
}

TEST_F(ModelFileTest, EveryWrittenChunkReadsBack) {
    context.Defaults.OwnerName = std::string(300, 'o');
    TModel model(context);
    model.Description.DescriptionText = std::string(2000, 'd');
    model.Author.AuthorName = std::string(900, 'a');
    model.Author.Country = "NZ";
    model.TextOverlay.Text = std::string(1500, 't');
    model.TextOverlay.Font.FontName = std::string(1500, 'f');
    model.Background.Code = std::string(1500, 'c');
    const QByteArray bytes = Saved(model);
    for (const FileChunk& chunk : SplitChunks(bytes)) {
        if (chunk.tag != "MH") {
            EXPECT_LE(chunk.length, 1023) << chunk.tag;
            EXPECT_EQ(chunk.length, chunk.data.size()) << chunk.tag;
        }
    }
    TModel loaded(context);
    ASSERT_TRUE(loaded.LoadFromFile(path("saved.cst")));
    EXPECT_EQ(loaded.Description.DescriptionText, std::string(1017, 'd'));
    EXPECT_EQ(loaded.TextOverlay.Text, std::string(1010, 't'));
    EXPECT_EQ(loaded.TextOverlay.Font.FontName, std::string(1014, 'f'));
    EXPECT_EQ(loaded.Background.Code, std::string(1014, 'c'));
    // The longest of the author texts is shortened first.
    EXPECT_EQ(loaded.Author.AuthorName, std::string(1016 - 300 - 2, 'a'));
    EXPECT_EQ(loaded.Author.OwnerName, std::string(300, 'o'));
    EXPECT_EQ(loaded.Author.Country, "NZ");
    // The model in memory keeps its texts.
    EXPECT_EQ(model.Description.DescriptionText.size(), 2000u);
}

// The earlier file kept on a full disk or in a folder that says no is the
// fault injection tests' business; a failed save leaves the model's flags.
TEST_F(ModelFileTest, FailedSaveKeepsTheFlags) {
    TModel model(context);
    model.Modified = true;
    model.Truncated = true;
    QDir().mkpath(path("folder.cst"));
    EXPECT_THROW(model.SaveToFile(path("folder.cst")), IoError);
    EXPECT_TRUE(QFileInfo(path("folder.cst")).isDir());
    EXPECT_TRUE(model.Modified);
    EXPECT_TRUE(model.Truncated);
}

TEST_F(ModelFileTest, OldFormat) {
    // 20 x 15 cells: the text lies at 64 + 20 * 15 * 4 = 1264.
    std::vector<uint16_t> codes(20 * 15 * 2, 0);
    auto put = [&](int x, int y, uint16_t first, uint16_t second) {
        codes[static_cast<size_t>((y * 20 + x) * 2)] = first;
        codes[static_cast<size_t>((y * 20 + x) * 2 + 1)] = second;
    };
    put(0, 0, 768, 0);         // set 3, position 0
    put(1, 0, 1025, 1280);     // set 4, position 1 under set 5, position 0
    put(2, 0, 12, 3072);       // outside the table: 2AH each
    put(19, 14, 0x0102, 0);    // 83M is not in the library: its first block
    put(5, 5, 0x0301, 0x0301); // 4 + 4 names fill the stack
    const QByteArray bytes = OldFile(20, 15, 3, 4, codes, QByteArray("Hello & bye\0junk", 16));
    ASSERT_EQ(bytes.indexOf("Hello"), 1264);
    TModel model(context);
    ASSERT_TRUE(model.LoadFromFile(WriteModelFile(*folder, "old.cst", bytes)));
    EXPECT_TRUE(presenter().shown.empty());
    EXPECT_EQ(model.Cols, 32);
    EXPECT_EQ(model.Rows, 24);
    EXPECT_EQ(StackNames(model, 0, 0), (Names{"30H", "44H", "42V"}));
    EXPECT_EQ(StackNames(model, 1, 0), (Names{"42V", "30H", "51S"}));
    EXPECT_EQ(StackNames(model, 2, 0), (Names{"2AH", "2AH"}));
    EXPECT_FALSE(model.IsOccupied(3, 0));
    EXPECT_EQ(model.GetBlockIndex(19, 14, 0), 0);
    // 42S is not in the library: the library's first block stands for it.
    EXPECT_EQ(StackNames(model, 5, 5), (Names{"30H", "40H", "43N", "30H", "30H", "40H", "43N", "30H"}));
    EXPECT_EQ(model.TextOverlay.Text, "Hello & bye");
    EXPECT_EQ(model.TextOverlay.TextCol, 3);
    EXPECT_EQ(model.TextOverlay.TextRow, 4);
    EXPECT_EQ(model.TextOverlay.Font.FontColor, clWhite);
    EXPECT_EQ(model.TextOverlay.Shadow, 2);
    EXPECT_FALSE(model.Modified);

    // A text that runs to the end of the file, and at most 1023 bytes of it.
    TModel endless(context);
    ASSERT_TRUE(endless.LoadFromFile(
        WriteModelFile(*folder, "endless.cst", OldFile(1, 1, 0, 0, {768, 0}, QByteArray(3000, 'z')))));
    EXPECT_EQ(endless.TextOverlay.Text, std::string(1023, 'z'));

    // A wider old grid in a 25-column window: message 7 and column 30 gets nothing.
    std::vector<uint16_t> wide(32 * 2 * 2, 0);
    wide[30 * 2] = 768;
    wide[24 * 2] = 768;
    TModel cut(Context(QSize(800, 600)));
    ASSERT_TRUE(cut.LoadFromFile(WriteModelFile(*folder, "wide.cst", OldFile(32, 2, 0, 0, wide, ""))));
    ASSERT_EQ(presenter().shown.size(), 1u);
    EXPECT_TRUE(presenter().shown[0].text.startsWith("This model was saved in a higher resolution."));
    EXPECT_TRUE(cut.Truncated);
    EXPECT_EQ(cut.Cols, 25);
    EXPECT_EQ(StackNames(cut, 24, 0), (Names{"30H", "44H", "42V"}));
    int used = 0;
    for (int32_t entry : cut.Cells)
        used += entry != -1;
    EXPECT_EQ(used, 3);
}

TEST_F(ModelFileTest, OldBlockCodes) {
    TModel model(context);
    // Code 0 leaves the cell empty.
    model.ConvertOldBlock(0, 0, 0);
    EXPECT_FALSE(model.IsOccupied(0, 0));
    // Names stack from the first free level.
    Stack(model, 2, 2, {"45F"});
    model.ConvertOldBlock(2, 2, 768);
    EXPECT_EQ(StackNames(model, 2, 2), (Names{"45F", "30H", "44H", "42V"}));
    // Entries of the table, first, last and between.
    const std::pair<uint16_t, const char*> entries[] = {
        {0x0001, "45F,480"},
        {0x0009, "63J"},
        {0x0106, "10D,952"},
        {0x0108, "12D,911"},
        {0x0301, "30H,40H,43N,42S"},
        {0x0400, "931,953"},
        {0x0407, "30H,41H,42N"},
        {0x0508, "43N,45F"},
        {0x0609, "221,220"},
        {0x0707, "4CN,84S"},
        {0x0804, "31V,5FS"},
        {0x0909, "31V,36E,5AE"},
        {0x0A09, "6A0"},
        {0x0B00, "111"},
        {0x0B09, "733"},
    };
    for (const auto& [code, names] : entries)
        EXPECT_STREQ(OldBlockNames(code), names) << code;
    int inTable = 0;
    for (int set = 0; set < 12; ++set)
        for (int position = 0; position < 10; ++position) {
            const char* names = OldBlockNames(static_cast<uint16_t>(set * 256 + position));
            if (!names)
                continue;
            ++inTable;
            const std::string list(names);
            EXPECT_EQ(list.size() % 4, 3u) << list; // names of 3 characters, commas between
        }
    EXPECT_EQ(inTable, 119);
    EXPECT_EQ(OldBlockNames(0), nullptr);
    EXPECT_STREQ(OldBlockNames(0x000A), "2AH");
    EXPECT_STREQ(OldBlockNames(0x0C00), "2AH");

    // Codes outside the table (12 and 3072 are loaded from a file above).
    for (uint16_t code : {uint16_t(0x0B0A), uint16_t(0xFFFF)}) {
        TModel one(context);
        one.ConvertOldBlock(0, 0, code);
        EXPECT_EQ(StackNames(one, 0, 0), (Names{"2AH"})) << code;
    }
    // A full stack has its top block replaced.
    TModel full(context);
    Stack(full, 0, 0, {"30H", "30V", "44H", "44V", "42V", "42H", "10N", "10E"});
    full.ConvertOldBlock(0, 0, 0x0600 + 3); // 20H
    EXPECT_EQ(full.GetBlockName(0, 0, 7), "20H");
    EXPECT_EQ(full.GetBlockName(0, 0, 6), "10N");
    // Cells outside the grid get nothing.
    TModel outside(context);
    outside.ConvertOldBlock(40, 3, 768);
    outside.ConvertOldBlock(3, 30, 768);
    EXPECT_EQ(std::count(outside.Cells.begin(), outside.Cells.end(), -1), 6400);
}

} // namespace
