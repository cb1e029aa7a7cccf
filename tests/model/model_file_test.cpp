#include "common/io_error.h"
#include "library/block_list.h"
#include "model/chunk_stream.h"
#include "model/old_block_codes.h"
#include "model_fixture.h"

#include <QBuffer>
#include <QDir>
#include <QtEndian>
#include <sstream>

namespace {

using Names = std::vector<std::string>;

QString Escaped(QString text) {
    return text.replace("\r", "\\r").replace("\n", "\\n").replace("\t", "\\t");
}

QStringList Fields(const TModel& m) {
    auto text = [](const std::string& ansi) {
        const QString shown = Escaped(QString::fromLatin1(ansi));
        return (shown.size() > 40 ? shown.left(3) + QString("...(%1)").arg(ansi.size()) : shown)
            .toStdString();
    };
    const auto& o = m.TextOverlay;
    const auto& b = m.Background;
    std::ostringstream f;
    f << "version=" << m.Version << "\nmodified=" << m.Modified
      << "\ndescription=" << text(m.Description.DescriptionText) << "\ncode=" << m.Description.DescriptionCode
      << "\nflag=" << m.Description.DescriptionFlag << "\nauthor=" << text(m.Author.AuthorName)
      << "\nage=" << m.Author.Age << "\ncountry=" << text(m.Author.Country)
      << "\nowner=" << text(m.Author.OwnerName) << "\ntext=" << text(o.Text) << "\nat=" << o.TextCol << ","
      << o.TextRow << "\nshadow=" << o.Shadow << "\nfont=" << text(o.Font.FontName)
      << "\nheight=" << o.Font.FontHeight << "\ncolour=" << std::hex << o.Font.FontColor << std::dec
      << "\nstyle=" << int(o.Font.FontStyle) << "\nbg=" << text(b.Code) << "\nbgcolour=" << std::hex
      << b.Color << std::dec << "\nbgkind=" << int(b.Kind);
    return QString::fromStdString(f.str()).split('\n');
}

std::string Describe(const TModel& m, const TModelContext& context) {
    const QStringList fields = Fields(m), fresh = Fields(TModel(context));
    std::ostringstream out;
    out << m.Cols << "x" << m.Rows << "x" << m.Levels << (m.Truncated ? " truncated" : "");
    for (qsizetype i = 0; i < fields.size(); ++i)
        if (fields[i] != fresh[i])
            out << " " << fields[i].toStdString();
    for (int y = 0; y < m.Rows; ++y)
        for (int x = 0; x < m.Cols; ++x) {
            int top = m.Levels - 1;
            while (top >= 0 && m.GetBlockIndex(x, y, top) == -1)
                --top;
            if (top >= 0)
                out << "; " << x << "," << y << ":";
            for (int level = 0; level <= top; ++level)
                out << " " << (m.GetBlockIndex(x, y, level) == -1 ? "-" : m.GetBlockName(x, y, level));
        }
    const QImage& bg = m.BackgroundBitmap();
    out << "; bg " << bg.width() << "x" << bg.height() << " " << std::hex
        << (bg.pixel(bg.width() / 2, bg.height() / 2) & 0xFFFFFF);
    return out.str();
}

class ModelFileTest : public ModelTest {
protected:
    QString path(const QString& name) const { return folder->file("Models/" + name); }

    QByteArray Saved(TModel& model, const QString& name = QStringLiteral("saved.cst")) {
        model.SaveToFile(path(name));
        return ReadAll(path(name));
    }
};

TEST_F(ModelFileTest, ReadsTheModelFilesOfTheDataFolder) {
    for (const QString& name : QDir(DataFile("model_files", "System")).entryList(QDir::Files))
        folder->write("System/" + name, ReadAll(DataFile("model_files", "System/" + name)));
    for (const QStringList& c : DataCases("model_files")) {
        ASSERT_EQ(c.size(), 3) << c.join(' ').toStdString();
        const QStringList window = c[1].split('x');
        const TModelContext sized = Context(QSize(window.value(0).toInt(), window.value(1).toInt()));
        TModel model(sized);
        Stack(model, 5, 5, {"12J"});
        model.TextOverlay.Text = "mine";
        model.Modified = true;
        const TModelData before = model.Data();
        const QRgb background = model.BackgroundBitmap().pixel(100, 100);
        std::string got;
        try {
            got = model.LoadFromFile(DataFile("model_files", c[0])) ? "loaded " + Describe(model, sized)
                                                                    : "refused";
        } catch (const IoError& e) {
            got = std::string("error: ") + e.what();
        }
        for (const auto& shown : presenter().shown)
            got += " | " + Escaped(shown.text).toStdString();
        presenter().Clear();
        EXPECT_EQ(got, c[2].toStdString()) << c[0].toStdString();
        const bool kept =
            SameData(before, model.Data()) && model.BackgroundBitmap().pixel(100, 100) == background;
        EXPECT_TRUE(got.starts_with("loaded ") || kept) << c[0].toStdString() << " changed the model";
    }
}

TEST_F(ModelFileTest, EmptyModelAndCellSectionBytes) {
    TModel model(context);
    model.Modified = true;
    const QByteArray bytes = Saved(model);
    ASSERT_TRUE(!model.Modified && bytes.size() > 12);
    EXPECT_EQ(Hex(bytes.left(8)), "4D 64 46 1A 02 04 43 52");
    const int crLength = static_cast<int>(qFromLittleEndian<quint32>(bytes.constData() + 8));
    ASSERT_TRUE(crLength > 1 && crLength <= 1023) << crLength;
    EXPECT_EQ(bytes.mid(12, crLength).indexOf('\0'), crLength - 1);
    EXPECT_EQ(Hex(bytes.mid(12 + crLength)), Layout("empty_model.hex"));

    Stack(model, 31, 23, {"30H", "30V", "44H", "44V", "42V", "42H", "10N", "10E"});
    Stack(model, 3, 2, {"30H", "44H"});
    for (const auto& [x, level, name] : {std::tuple{1, 0, "30H"}, {1, 2, "44H"}, {5, 1, "30H"}})
        model.SetBlockIndex(x, x, Index(name), level);
    EXPECT_EQ(model.CellDataSize(), 5 + 8 + 26);
    EXPECT_EQ(Hex(Saved(model).right(6 + 41 + 7)), Layout("cell_section.hex"));
}

TEST_F(ModelFileTest, RoundTripKeepsEverythingTheFileCarries) {
    context.Defaults.OwnerName = "Quadrantine owner";
    TModel model(context);
    model.Author.AuthorName = "J\xF6rg"; // ANSI bytes travel as they are
    model.Author.Age = 1000;
    model.TextOverlay.Text = "Line one\r\nLine two\tTab";
    model.TextOverlay.Font.FontStyle = fsItalic;
    model.Background.Color = RGBColor(0, 0, 200);
    model.SetBackgroundKind(bkGradient);
    Stack(model, 31, 23, {"10N", "10E", "10S", "10W", "12J", "12K", "12L", "12M"});
    model.Author.OwnerName = "someone else";
    model.Modified = model.Truncated = true;
    QDir().mkpath(path("folder.cst"));
    EXPECT_THROW(model.SaveToFile(path("folder.cst")), IoError);
    EXPECT_TRUE(model.Modified && model.Truncated);
    const QByteArray first = Saved(model, "a.cst");
    EXPECT_TRUE(!model.Modified && !model.Truncated && model.Author.OwnerName == "Quadrantine owner");

    TModel loaded(context);
    ASSERT_TRUE(loaded.LoadFromFile(path("a.cst")));
    TModelData expected = model.Data();
    expected.TextOverlay.Font.FontStyle = fsBold;
    EXPECT_TRUE(SameData(expected, loaded.Data()));
    EXPECT_TRUE(SameData(model.FileData(), loaded.Data()));
    EXPECT_EQ(loaded.BackgroundBitmap().pixel(3, 0), qRgb(0, 0, 200)); // rendered from the file
    EXPECT_EQ(Saved(loaded, "b.cst"), first);
    expected = model.Data();
    for (qsizetype length = 6; length < first.size(); ++length) {
        EXPECT_THROW(model.LoadFromFile(WriteModelFile(*folder, "cut.cst", first.left(length))), IoError)
            << length;
        ASSERT_TRUE(SameData(expected, model.Data())) << "cut at " << length;
    }
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
    qsizetype at = 6;
    for (std::string tag; at + 6 <= bytes.size() && tag != "00";) {
        tag = bytes.mid(at, 2).toStdString();
        const qint32 length = qFromLittleEndian<qint32>(bytes.constData() + at + 2);
        EXPECT_TRUE(length <= 1023 || tag == "MH") << tag;
        at += 6 + length;
    }
    EXPECT_EQ(at, bytes.size());
    TModel loaded(context);
    ASSERT_TRUE(loaded.LoadFromFile(path("saved.cst")));
    const std::string all = loaded.Description.DescriptionText + loaded.TextOverlay.Text +
                            loaded.TextOverlay.Font.FontName + loaded.Background.Code +
                            loaded.Author.AuthorName + loaded.Author.OwnerName + loaded.Author.Country;
    EXPECT_EQ(all, std::string(1017, 'd') + std::string(1010, 't') + std::string(1014, 'f') +
                       std::string(1014, 'c') + std::string(1016 - 300 - 2, 'a') + std::string(300, 'o') +
                       "NZ");
    EXPECT_EQ(model.Description.DescriptionText.size(), 2000u);
}

TEST_F(ModelFileTest, OldBlockCodes) {
    const QString entries =
        "0001=45F,480 0009=63J 0106=10D,952 0108=12D,911 0301=30H,40H,43N,42S 0400=931,953 "
        "0407=30H,41H,42N 0508=43N,45F 0609=221,220 0707=4CN,84S 0804=31V,5FS "
        "0909=31V,36E,5AE 0A09=6A0 0B00=111 0B09=733 000A=2AH 0C00=2AH 0B0A=2AH FFFF=2AH";
    for (const QString& entry : entries.split(' '))
        EXPECT_EQ(QString(OldBlockNames(uint16_t(entry.left(4).toUInt(nullptr, 16)))), entry.mid(5));
    EXPECT_EQ(OldBlockNames(0), nullptr);

    TModel model(context);
    Stack(model, 2, 2, {"45F"});
    Stack(model, 1, 0, {"30H", "30V", "44H", "44V", "42V", "42H", "10N", "10E"});
    const auto cells = model.Cells;
    for (const auto& [x, y, code] : {std::tuple{0, 0, 0}, {40, 3, 768}, {3, 30, 768}})
        model.ConvertOldBlock(x, y, code);
    EXPECT_EQ(model.Cells, cells);
    model.ConvertOldBlock(2, 2, 768);
    model.ConvertOldBlock(1, 0, 0x0600 + 3); // 20H
    EXPECT_EQ(StackNames(model, 2, 2), (Names{"45F", "30H", "44H", "42V"}));
    EXPECT_EQ(StackNames(model, 1, 0), (Names{"30H", "30V", "44H", "44V", "42V", "42H", "10N", "20H"}));
}

class ChunkStreamTest : public CubestacksTest {
protected:
    void SetUp() override { buffer.open(QIODevice::ReadWrite); }
    QByteArray bytes;
    QBuffer buffer{&bytes};
    uint8_t data[kChunkBufferSize] = {};
    std::string tag;
};

TEST_F(ChunkStreamTest, WritesTheDocumentedBytesAndReportsUnknownTypeLetters) {
    ChunkWrite(buffer, "VR", {int64_t{1536}, int64_t{1536}}, "dd");
    ChunkWrite(buffer, "00", {int64_t{false}}, "b");
    ChunkWrite(buffer, "MH", {int64_t{10}}, "l"); // the length only: the data is the caller's
    WriteFixedString(buffer, "7", 3);
    WriteFixedString(buffer, "ABCDE", 2);
    WriteLE(buffer, 0xFFFF, 2);
    WriteLE(buffer, -2, 0);
    WriteLE(buffer, 0x01020304, 6);
    WriteFileTag(buffer, "MdF\x1A");
    WriteFileTag(buffer, "");
    ChunkWrite(buffer, "TX", {int64_t{5}, int64_t{6}}, "qd"); // the unknown value adds nothing
    EXPECT_EQ(Hex(bytes), Layout("chunks.hex"));
    const uint8_t four[4] = {9, 0, 0, 0};
    int32_t x = 0, y = 0;
    ChunkDecode({&x, &y}, "zd", four, 4);
    ASSERT_EQ(std::pair(y, presenter().shown.size()), std::pair(9, size_t(2))); // the position did not move
    EXPECT_EQ(presenter().shown[0].text + presenter().shown[1].text,
              "Invalid ChunkWrite call: TXInvalid ChunkDecode call: -- p: 0   pBuf: 0   Type: 122");
    SetMessagesEnabled(false);
    ChunkDecode({&x}, "?", four, 4);
    ChunkWrite(buffer, "XX", {int64_t{1}}, "?");
    EXPECT_EQ(presenter().shown.size(), 2u);

    bytes.clear();
    buffer.seek(0);
    ChunkWrite(buffer, "DE", {std::string(), std::string(2000, 'x')}, "ss");
    ASSERT_EQ(bytes.size(), 6 + 1 + 1024);
    EXPECT_EQ(Hex(bytes.left(7) + bytes.mid(6 + 1 + 1022)), "44 45 01 04 00 00 00 78 00");
    QBuffer readOnly(&bytes);
    readOnly.open(QIODevice::ReadOnly);
    EXPECT_THROW(ChunkWrite(readOnly, "VR", {int64_t{1}}, "d"), IoError);
}

TEST_F(ChunkStreamTest, EveryTypeReadsBackWithinTheBytesRead) {
    ChunkWrite(buffer, "AU",
               {std::string("Ann"), std::string(), int64_t{-42}, int64_t{300}, int64_t{0xC0C0C0}, int64_t{1}},
               "ssdbdb");
    buffer.seek(0);
    const int n = ChunkRead(buffer, tag, data);
    EXPECT_EQ(tag + std::to_string(n), "AU15");
    std::tuple<std::string, std::string, int32_t, uint8_t, uint32_t, bool> got{"", "keep", 0, 0, 0, false};
    auto& [name, country, age, small, colour, flag] = got;
    ChunkDecode({&name, &country, &age, &small, &colour, &flag}, "ssdbdb", data, n);
    EXPECT_EQ(got, std::tuple("Ann", "keep", -42, uint8_t(300 & 0xFF), 0xC0C0C0u, true));

    std::ranges::fill(data, uint8_t{0x7F}); // garbage beyond what was read
    std::ranges::copy(std::initializer_list<uint8_t>{1, 0, 0, 0, 0x22, 0x11}, data);
    int32_t a = 0, b = -1;
    std::string text = "unchanged";
    ChunkDecode({&a, &b, &text}, "dds", data, 6);
    EXPECT_EQ(std::tuple(a, b, text), std::tuple(1, 0x1122, "unchanged"));
    ChunkDecode({&text}, "s", data + 4, 2);
    EXPECT_EQ(text, "\x22\x11");
}

TEST_F(ChunkStreamTest, ReadLimitsAndEndOfFile) {
    bytes = QByteArray("A\0\0\0\0\0NG\xFB\xFF\xFF\xFF\x42G\xD0\x07\0\0", 18) + QByteArray(2000, 'z');
    for (const auto& [length, want] : {std::pair{0, "A"}, {0, "NG"}, {kChunkMaxData, "BG"}})
        EXPECT_EQ(std::to_string(ChunkRead(buffer, tag, data)) + tag, std::to_string(length) + want);
    EXPECT_EQ(data[kChunkMaxData], 0); // the last byte of the buffer stays free
    EXPECT_EQ(buffer.pos(), 6 + 6 + 6 + kChunkMaxData);
    buffer.seek(bytes.size() - 3);
    EXPECT_THROW(ChunkRead(buffer, tag, data), IoError);
}

} // namespace
