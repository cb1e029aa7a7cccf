#include "model/chunk_stream.h"

#include "common/io_error.h"
#include "common/messages.h"

#include <algorithm>
#include <cstring>

namespace {

int64_t AsInteger(const ChunkValue& value) {
    if (const auto* number = std::get_if<int64_t>(&value))
        return *number;
    return 0;
}

} // namespace

void WriteBytes(QIODevice& file, const char* data, qint64 size) {
    if (size <= 0)
        return;
    if (file.write(data, size) != size)
        throw IoError("Write error: " + DeviceError(file));
}

void ReadBytes(QIODevice& file, char* data, qint64 size) {
    if (size <= 0)
        return;
    const qint64 got = file.read(data, size);
    if (got != size)
        throw IoError(got < 0 ? "Read error: " + DeviceError(file) : std::string("Read beyond end of file"));
}

void WriteLE(QIODevice& file, int64_t value, int n) {
    if (n == 0)
        n = 4;
    char bytes[256] = {};
    n = std::clamp(n, 1, 255);
    const uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < n && i < 4; ++i)
        bytes[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    WriteBytes(file, bytes, n);
}

void WriteFixedString(QIODevice& file, std::string_view s, int n) {
    n = std::clamp(n, 1, 255);
    char bytes[256] = {};
    std::memcpy(bytes, s.data(), std::min<size_t>(s.size(), static_cast<size_t>(n)));
    WriteBytes(file, bytes, n);
}

void WriteFileTag(QIODevice& file, std::string_view s) {
    if (s.empty()) {
        const char mark[2] = {0x02, 0x04};
        WriteBytes(file, mark, 2);
        return;
    }
    WriteBytes(file, s.data(), static_cast<qint64>(s.size()));
}

void ChunkWrite(QIODevice& file, std::string_view tag, std::initializer_list<ChunkValue> values,
                std::string_view types) {
    // The data is built whole, so that the length always matches the bytes that
    // follow, even for a chunk that a reader cannot take back in one piece.
    std::string data;
    data.reserve(kChunkBufferSize);
    int64_t lengthOnly = 0;
    bool writeData = true;
    size_t i = 0;
    for (const ChunkValue& value : values) {
        const char type = i < types.size() ? types[i] : '\0';
        ++i;
        switch (type) {
        case 'b':
            data.push_back(static_cast<char>(AsInteger(value) & 0xFF));
            break;
        case 'd': {
            const uint32_t v = static_cast<uint32_t>(AsInteger(value));
            for (int k = 0; k < 4; ++k)
                data.push_back(static_cast<char>((v >> (8 * k)) & 0xFF));
            break;
        }
        case 's': {
            const std::string* text = std::get_if<std::string>(&value);
            const char* s = text ? text->c_str() : "";
            // A zero byte ends a text on reading, so the text is taken up to it.
            const size_t length = std::min<size_t>(std::strlen(s), kChunkMaxData);
            data.append(s, length);
            data.push_back('\0');
            break;
        }
        case 'l':
            lengthOnly += AsInteger(value);
            writeData = false;
            break;
        default:
            ShowAppMessage(kMsgChunkWrite, {std::string(tag)});
            break;
        }
    }
    WriteFixedString(file, tag, 2);
    WriteLE(file, static_cast<int64_t>(data.size()) + lengthOnly, 4);
    if (writeData)
        WriteBytes(file, data.data(), static_cast<qint64>(data.size()));
}

int ChunkRead(QIODevice& file, std::string& tag, uint8_t (&data)[kChunkBufferSize]) {
    char tagBytes[3] = {};
    ReadBytes(file, tagBytes, 2);
    tag.assign(tagBytes, std::strlen(tagBytes));
    uint8_t lengthBytes[4] = {};
    ReadBytes(file, reinterpret_cast<char*>(lengthBytes), 4);
    const int32_t length = static_cast<int32_t>(lengthBytes[0] | (lengthBytes[1] << 8) | (lengthBytes[2] << 16) |
                                                (static_cast<uint32_t>(lengthBytes[3]) << 24));
    const int n = std::clamp<int32_t>(length, 0, kChunkMaxData);
    ReadBytes(file, reinterpret_cast<char*>(data), n);
    return n;
}

void ChunkDecode(std::initializer_list<ChunkTarget> targets, std::string_view types, const uint8_t* data,
                 int size) {
    size = std::clamp(size, 0, kChunkMaxData);
    int p = 0;
    auto byteAt = [&](int at) -> uint32_t { return at >= 0 && at < size ? data[at] : 0; };
    int index = 0;
    for (const ChunkTarget& target : targets) {
        const char type = static_cast<size_t>(index) < types.size() ? types[static_cast<size_t>(index)] : '\0';
        switch (type) {
        case 'b': {
            const uint8_t value = static_cast<uint8_t>(byteAt(p));
            if (auto* b = std::get_if<uint8_t*>(&target))
                **b = value;
            else if (auto* f = std::get_if<bool*>(&target))
                **f = value != 0;
            else if (auto* d = std::get_if<int32_t*>(&target))
                **d = value;
            else if (auto* u = std::get_if<uint32_t*>(&target))
                **u = value;
            p += 1;
            break;
        }
        case 'd': {
            const uint32_t value = byteAt(p) | (byteAt(p + 1) << 8) | (byteAt(p + 2) << 16) | (byteAt(p + 3) << 24);
            if (auto* d = std::get_if<int32_t*>(&target))
                **d = static_cast<int32_t>(value);
            else if (auto* u = std::get_if<uint32_t*>(&target))
                **u = value;
            else if (auto* b = std::get_if<uint8_t*>(&target))
                **b = static_cast<uint8_t>(value);
            else if (auto* f = std::get_if<bool*>(&target))
                **f = value != 0;
            p += 4;
            break;
        }
        case 's': {
            if (p >= size || data[p] == 0) {
                p += 1;
                break;
            }
            int end = p;
            while (end < size && data[end] != 0)
                ++end;
            if (auto* s = std::get_if<std::string*>(&target))
                (*s)->assign(reinterpret_cast<const char*>(data + p), static_cast<size_t>(end - p));
            p = end + 1;
            break;
        }
        default:
            ShowAppMessage(kMsgChunkDecode, {index, p, static_cast<int>(static_cast<unsigned char>(type))});
            break;
        }
        ++index;
    }
}
