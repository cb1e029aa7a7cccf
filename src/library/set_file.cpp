// Reading the set files (sdNN.csd): a title at offset 160 and, from offset
// 224, a row count followed by the rows of three-character block names.

#include "common/io_error.h"
#include "library/block_list.h"

#include <QFile>
#include <QFileInfo>
#include <cstring>

namespace {

constexpr qint64 kTitleOffset = 160;
constexpr int kTitleSize = 63;
constexpr qint64 kRowCountOffset = 224;
// The most a set file can ask for: the row count and 255 rows of 255 names.
constexpr qint64 kLongestSetFile = kRowCountOffset + 1 + 255 * (1 + 3 * 255);

// The text of a byte field up to its first zero byte (all of it when there is none).
std::string UpToZero(const char* bytes, size_t size) {
    const void* zero = std::memchr(bytes, 0, size);
    return std::string(bytes, zero ? static_cast<const char*>(zero) - bytes : size);
}

class SetFileReader {
public:
    explicit SetFileReader(QByteArray bytes) : m_bytes(std::move(bytes)) {}

    void Seek(qint64 position) { m_position = position; }

    const char* Read(qint64 count) {
        if (count < 0 || m_position + count > m_bytes.size())
            throw SetFileEndsEarly();
        const char* at = m_bytes.constData() + m_position;
        m_position += count;
        return at;
    }

    uint8_t ReadByte() { return static_cast<uint8_t>(*Read(1)); }

private:
    QByteArray m_bytes;
    qint64 m_position = 0;
};

} // namespace

void ReadSetFile(const QString& fileName, std::vector<std::string>& rows, std::string& title) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw IoError("Cannot open set file " + QFileInfo(fileName).fileName().toStdString() + ": " +
                      file.errorString().toStdString());
    // The file as it is, and nothing past the longest file the format can describe.
    SetFileReader reader(file.read(std::min(file.size(), kLongestSetFile)));
    file.close();

    rows.clear();
    reader.Seek(kRowCountOffset);
    const int rowCount = reader.ReadByte();
    for (int r = 0; r < rowCount; ++r) {
        const int names = reader.ReadByte();
        const char* bytes = reader.Read(3 * names);
        rows.push_back(UpToZero(bytes, static_cast<size_t>(3 * names)));
    }

    reader.Seek(kTitleOffset);
    title = UpToZero(reader.Read(kTitleSize), kTitleSize);
}
