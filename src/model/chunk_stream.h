#pragma once

#include <QIODevice>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

// The chunk record stream of model files: a 2-byte tag, a 4-byte little-endian
// length and the data, whose values are laid out by a type string of one letter
// per value: b (1 byte), d (4 bytes little-endian), s (text and a zero byte,
// at most 1023 characters), l (length only; the caller writes the data).
// Every read or write that fails raises IoError.

constexpr int kChunkBufferSize = 1024;
constexpr int kChunkMaxData = kChunkBufferSize - 1;

// A value to write: an integer (booleans, bytes, colours) or a text of ANSI bytes.
using ChunkValue = std::variant<int64_t, std::string>;

// Where a decoded value goes.
using ChunkTarget = std::variant<uint8_t*, bool*, int32_t*, uint32_t*, std::string*>;

void ChunkWrite(QIODevice& file, std::string_view tag, std::initializer_list<ChunkValue> values,
                std::string_view types);

// Reads one chunk: the tag (at most 2 characters, up to a zero byte) and
// min(Length, 1023) data bytes into data, which the caller zero-fills first.
// Returns the number of data bytes read (0 for a zero or negative length).
int ChunkRead(QIODevice& file, std::string& tag, uint8_t (&data)[kChunkBufferSize]);

// Decodes the first `size` bytes of data into the targets. A number that would
// run past those bytes decodes as zero; a text that starts past them, or an empty
// text, leaves its target unchanged.
void ChunkDecode(std::initializer_list<ChunkTarget> targets, std::string_view types, const uint8_t* data,
                 int size);

// N bytes of value, least significant first; N = 0 means 4; bytes past the fourth are zero.
void WriteLE(QIODevice& file, int64_t value, int n);

// Exactly n bytes (1 to 255): the characters of s, cut or padded with zero bytes.
void WriteFixedString(QIODevice& file, std::string_view s, int n);

// The characters of s with no length or terminator; an empty s writes the
// format mark 02 04.
void WriteFileTag(QIODevice& file, std::string_view s);

// Writes all bytes or raises IoError.
void WriteBytes(QIODevice& file, const char* data, qint64 size);

// Reads exactly size bytes or raises IoError ("Read beyond end of file").
void ReadBytes(QIODevice& file, char* data, qint64 size);
