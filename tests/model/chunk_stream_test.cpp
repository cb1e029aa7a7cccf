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
    uint8_t data[kChunkBufferSize] = {};
    std::string tag;
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
    EXPECT_EQ(bytes.mid(6 + 1 + 1022), QByteArray("x\0", 2));
    QBuffer readOnly(&bytes);
    readOnly.open(QIODevice::ReadOnly);
    EXPECT_THROW(ChunkWrite(readOnly, "VR", {int64_t{1}}, "d"), IoError);
}

// Every type reads back; an empty text does not overwrite; decoding never
// reads past the bytes read: missing bytes of a number count as zero, a text
// ends with them.
TEST_F(ChunkStreamTest, EveryTypeReadsBackWithinTheBytesRead) {
    ChunkWrite(buffer, "AU",
               {std::string("Ann"), std::string(), int64_t{-42}, int64_t{300}, int64_t{0xC0C0C0}, int64_t{1}},
               "ssdbdb");
    buffer.seek(0);
    const int n = ChunkRead(buffer, tag, data);
    EXPECT_EQ(tag, "AU");
    EXPECT_EQ(n, 4 + 1 + 4 + 1 + 4 + 1);
    std::string name, country = "keep";
    int32_t age = 0;
    uint8_t small = 0;
    uint32_t colour = 0;
    bool flag = false;
    ChunkDecode({&name, &country, &age, &small, &colour, &flag}, "ssdbdb", data, n);
    EXPECT_EQ(name + country, "Annkeep");
    EXPECT_EQ(age, -42);
    EXPECT_EQ(small, 300 & 0xFF);
    EXPECT_EQ(colour, 0xC0C0C0u);
    EXPECT_TRUE(flag);

    std::fill(std::begin(data), std::end(data), uint8_t{0x7F}); // garbage beyond what was read
    const uint8_t read[] = {1, 0, 0, 0, 0x22, 0x11};
    std::copy(std::begin(read), std::end(read), data);
    int32_t a = 0, b = -1;
    std::string text = "unchanged";
    ChunkDecode({&a, &b, &text}, "dds", data, 6);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 0x1122);
    EXPECT_EQ(text, "unchanged");
    ChunkDecode({&text}, "s", data + 4, 2);
    EXPECT_EQ(text, "\x22\x11");
}

TEST_F(ChunkStreamTest, UnknownTypeLettersAreReportedOrSkippedSilently) {
    ChunkWrite(buffer, "TX", {int64_t{5}, int64_t{6}}, "qd");
    EXPECT_EQ(Hex(bytes), "54 58 04 00 00 00 06 00 00 00"); // the unknown value adds nothing
    const uint8_t four[4] = {9, 0, 0, 0};
    int32_t x = 0, y = 0;
    ChunkDecode({&x, &y}, "zd", four, 4);
    EXPECT_EQ(y, 9); // the position did not move
    ASSERT_EQ(presenter().shown.size(), 2u);
    EXPECT_EQ(presenter().shown[0].text, "Invalid ChunkWrite call: TX");
    EXPECT_EQ(presenter().shown[1].text, "Invalid ChunkDecode call: -- p: 0   pBuf: 0   Type: 122");
    SetMessagesEnabled(false);
    ChunkDecode({&x}, "?", four, 4);
    ChunkWrite(buffer, "XX", {int64_t{1}}, "?");
    EXPECT_EQ(presenter().shown.size(), 2u);
}

TEST_F(ChunkStreamTest, ReadLimitsAndEndOfFile) {
    // A length of zero, a negative length, and one over the buffer.
    bytes = QByteArray("A\0\0\0\0\0NG\xFB\xFF\xFF\xFF"
                       "BG\xD0\x07\0\0",
                       18) +
            QByteArray(2000, 'z');
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
