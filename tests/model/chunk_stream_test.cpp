#include "support/test_support.h"

#include "common/io_error.h"
#include "model/chunk_stream.h"

#include <QBuffer>

namespace {

class ChunkStreamTest : public CubestacksTest {
protected:
    void SetUp() override { buffer.open(QIODevice::ReadWrite); }
    QByteArray bytes;
    QBuffer buffer{&bytes};
};

TEST_F(ChunkStreamTest, WritesTheDocumentedBytes) {
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
    EXPECT_EQ(Hex(bytes), "56 52 08 00 00 00 00 06 00 00 00 06 00 00 30 30 01 00 00 00 00 4D 48 0A 00 00 00 "
                          "37 00 00 41 42 FF FF FE FF FF FF 04 03 02 01 00 00 4D 64 46 1A 02 04");
    // The empty text is one zero byte; a long one 1023 characters and its zero byte.
    bytes.clear();
    buffer.seek(0);
    ChunkWrite(buffer, "DE", {std::string(), std::string(2000, 'x')}, "ss");
    ASSERT_EQ(bytes.size(), 6 + 1 + 1024);
    EXPECT_EQ(Hex(bytes.left(7)), "44 45 01 04 00 00 00");
    EXPECT_EQ(bytes.at(6 + 1 + 1022), 'x');
    EXPECT_EQ(bytes.at(6 + 1 + 1023), '\0');
    QBuffer readOnly(&bytes);
    readOnly.open(QIODevice::ReadOnly);
    EXPECT_THROW(ChunkWrite(readOnly, "VR", {int64_t{1}}, "d"), IoError);
}

TEST_F(ChunkStreamTest, EveryTypeReadsBack) {
    ChunkWrite(buffer, "AU",
               {std::string("Ann"), std::string("Own"), std::string(), int64_t{-42}, int64_t{300},
                int64_t{0xC0C0C0}},
               "sssdbd");
    buffer.seek(0);
    uint8_t data[kChunkBufferSize] = {};
    std::string tag;
    const int n = ChunkRead(buffer, tag, data);
    EXPECT_EQ(tag, "AU");
    EXPECT_EQ(n, 4 + 4 + 1 + 4 + 1 + 4);
    std::string name, owner, country = "keep";
    int32_t age = 0;
    uint8_t small = 0;
    uint32_t colour = 0;
    ChunkDecode({&name, &owner, &country, &age, &small, &colour}, "sssdbd", data, n);
    EXPECT_EQ(name, "Ann");
    EXPECT_EQ(owner, "Own");
    EXPECT_EQ(country, "keep"); // an empty text does not overwrite
    EXPECT_EQ(age, -42);
    EXPECT_EQ(small, 300 & 0xFF);
    EXPECT_EQ(colour, 0xC0C0C0u);
    bool flag = false;
    const uint8_t one[1] = {1};
    ChunkDecode({&flag}, "b", one, 1);
    EXPECT_TRUE(flag);
}

TEST_F(ChunkStreamTest, DecodingNeverReadsPastTheBytesRead) {
    // The data stops inside the second number and before the text.
    uint8_t data[kChunkBufferSize];
    std::fill(std::begin(data), std::end(data), uint8_t{0x7F}); // garbage beyond what was read
    data[0] = 1;
    data[1] = 0;
    data[2] = 0;
    data[3] = 0;
    data[4] = 0x22;
    data[5] = 0x11;
    int32_t a = 0, b = -1;
    std::string text = "unchanged";
    ChunkDecode({&a, &b, &text}, "dds", data, 6);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 0x1122); // the missing bytes count as zero
    EXPECT_EQ(text, "unchanged");
    // A text that runs to the end of what was read ends there.
    const uint8_t word[3] = {'a', 'b', 'c'};
    ChunkDecode({&text}, "s", word, 3);
    EXPECT_EQ(text, "abc");
}

TEST_F(ChunkStreamTest, UnknownTypeLettersAreReportedOrSkippedSilently) {
    ChunkWrite(buffer, "TX", {int64_t{5}, int64_t{6}}, "qd");
    ASSERT_EQ(presenter().shown.size(), 1u);
    EXPECT_EQ(presenter().shown[0].text, QStringLiteral("Invalid ChunkWrite call: TX"));
    EXPECT_EQ(Hex(bytes), "54 58 04 00 00 00 06 00 00 00"); // the unknown value adds nothing

    const uint8_t data[4] = {9, 0, 0, 0};
    int32_t x = 0, y = 0;
    ChunkDecode({&x, &y}, "zd", data, 4);
    ASSERT_EQ(presenter().shown.size(), 2u);
    EXPECT_EQ(presenter().shown[1].text,
              QStringLiteral("Invalid ChunkDecode call: -- p: 0   pBuf: 0   Type: 122"));
    EXPECT_EQ(y, 9); // the position did not move

    SetMessagesEnabled(false);
    ChunkDecode({&x}, "?", data, 4);
    ChunkWrite(buffer, "XX", {int64_t{1}}, "?");
    EXPECT_EQ(presenter().shown.size(), 2u);
}

TEST_F(ChunkStreamTest, ReadLimitsAndEndOfFile) {
    // A length of zero, a negative length, and one over the buffer.
    WriteFixedString(buffer, "A", 2);
    WriteLE(buffer, 0, 4);
    WriteFixedString(buffer, "NG", 2);
    WriteLE(buffer, -5, 4);
    WriteFixedString(buffer, "BG", 2);
    WriteLE(buffer, 2000, 4);
    WriteBytes(buffer, QByteArray(2000, 'z').constData(), 2000);
    buffer.seek(0);
    uint8_t data[kChunkBufferSize] = {};
    std::string tag;
    EXPECT_EQ(ChunkRead(buffer, tag, data), 0);
    EXPECT_EQ(tag, "A");
    EXPECT_EQ(ChunkRead(buffer, tag, data), 0);
    EXPECT_EQ(tag, "NG");
    EXPECT_EQ(ChunkRead(buffer, tag, data), kChunkMaxData);
    EXPECT_EQ(data[kChunkMaxData], 0); // the last byte of the buffer stays free
    EXPECT_EQ(buffer.pos(), 6 + 6 + 6 + kChunkMaxData);
    // The rest of the long chunk is left for the caller; reading on meets the end.
    buffer.seek(bytes.size() - 3);
    EXPECT_THROW(ChunkRead(buffer, tag, data), IoError);
}

} // namespace
