#include "common/io_error.h"
#include "common/messages.h"
#include "common/save_file.h"
#include "library/background.h"
#include "library/block_list.h"
#include "model/chunk_stream.h"
#include "model/model.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr char kSignature[] = "MdF\x1A";
constexpr int kSignatureSize = 4;
constexpr uint8_t kChunkMark[2] = {0x02, 0x04};
constexpr uint8_t kOldMark[2] = {0x04, 0x00};
constexpr int kOldHeaderSize = 64;
constexpr int kOldEntrySize = 4;
constexpr uint16_t kSectionEnd = 0xFFFF;
constexpr int kNameSize = 3;
constexpr char kCopyright[] = "Quadrantine Cubestacks model file. Copyright (c) Quadrantine.";

// What a text chunk value stores: the text up to its first zero byte.
std::string Stored(const std::string& text) {
    return std::string(text.c_str());
}

// Shortens the longest of the texts, again and again, until their lengths
// together fit the budget, so that no chunk outgrows what a reader reads back.
void FitTexts(std::vector<std::string*> texts, size_t budget) {
    auto total = [&] {
        size_t sum = 0;
        for (const std::string* text : texts)
            sum += text->size();
        return sum;
    };
    for (size_t sum = total(); sum > budget; sum = total()) {
        std::string* longest = texts.front();
        size_t second = 0;
        for (std::string* text : texts) {
            if (text->size() > longest->size())
                longest = text;
        }
        for (const std::string* text : texts) {
            if (text != longest)
                second = std::max(second, text->size());
        }
        const size_t excess = sum - budget;
        const size_t cut = std::clamp<size_t>(longest->size() - second, 1, excess);
        longest->resize(longest->size() - std::min(cut, longest->size()));
    }
}

uint16_t Word(const uint8_t* bytes) {
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

int32_t LengthField(QIODevice& file) {
    uint8_t header[6] = {};
    if (file.peek(reinterpret_cast<char*>(header), 6) != 6)
        return 0;
    return static_cast<int32_t>(header[2] | (header[3] << 8) | (header[4] << 16) |
                                (static_cast<uint32_t>(header[5]) << 24));
}

} // namespace

// ---------------------------------------------------------------- writing

TModelData TModel::FittedData() const {
    TModelData data = Data();
    // Every chunk keeps within the 1023 data bytes a reader takes.
    std::string& description = data.Description.DescriptionText;
    description = Stored(description);
    FitTexts({&description}, kChunkMaxData - 4 - 1 - 1);
    TAuthorRecord& author = data.Author;
    author.AuthorName = Stored(author.AuthorName);
    author.OwnerName = Stored(m_context.Defaults.OwnerName);
    author.Country = Stored(author.Country);
    FitTexts({&author.AuthorName, &author.OwnerName, &author.Country}, kChunkMaxData - 3 - 4);
    std::string& text = data.TextOverlay.Text;
    text = Stored(text);
    FitTexts({&text}, kChunkMaxData - 1 - 12);
    std::string& fontName = data.TextOverlay.Font.FontName;
    fontName = Stored(fontName);
    FitTexts({&fontName}, kChunkMaxData - 8 - 1);
    std::string& code = data.Background.Code;
    code = Stored(code);
    FitTexts({&code}, kChunkMaxData - 1 - 8);
    return data;
}

TModelData TModel::FileData() const {
    TModelData data = FittedData();
    data.Version = kModelVersion;
    data.Version2 = kModelVersion;
    data.Modified = false;
    data.Truncated = false;
    TFontRecord& font = data.TextOverlay.Font;
    font.FontStyle = TFontRecord().FontStyle; // not stored
    if (font.FontName.empty())
        font.FontName = TFontRecord().FontName; // an empty text leaves a cleared model's

    // Stacks up to their first empty level, each block the first of its name
    // in the library; a block the library lacks reads back as an empty level.
    const TBlockList* list = m_context.Library;
    data.Cells = EmptyCells();
    for (int32_t y = 0; y < Rows; ++y) {
        for (int32_t x = 0; x < Cols; ++x) {
            for (int32_t level = 0; level < Levels; ++level) {
                const int32_t index = GetBlockIndex(x, y, level);
                const int32_t stored =
                    index == -1 || !list ? -1 : list->IndexFromName(GetBlockName(x, y, level));
                if (stored == -1)
                    break;
                data.Cells[static_cast<size_t>(CellOffset(x, y, level))] = stored;
            }
        }
    }
    return data;
}

void TModel::WriteModel(QIODevice& file) const {
    WriteFileTag(file, std::string_view(kSignature, kSignatureSize));
    WriteFileTag(file, std::string_view());

    const TModelData stored = FittedData();
    const TDescriptionRecord& description = stored.Description;
    const TAuthorRecord& author = stored.Author;
    const TTextOverlayRecord& overlay = stored.TextOverlay;
    ChunkWrite(file, "CR", {std::string(kCopyright)}, "s");
    ChunkWrite(file, "VR", {int64_t{kModelVersion}, int64_t{kModelVersion}}, "dd");
    ChunkWrite(file, "DE",
               {int64_t{description.DescriptionCode}, int64_t{description.DescriptionFlag},
                description.DescriptionText},
               "dbs");
    ChunkWrite(file, "AU", {author.AuthorName, author.OwnerName, author.Country, int64_t{author.Age}},
               "sssd");
    ChunkWrite(file, "TX",
               {overlay.Text, int64_t{overlay.TextCol}, int64_t{overlay.TextRow}, int64_t{overlay.Shadow}},
               "sddd");
    ChunkWrite(file, "FT",
               {int64_t{overlay.Font.FontHeight}, int64_t{overlay.Font.FontColor}, overlay.Font.FontName},
               "dds");
    const TBackgroundSettings& background = stored.Background;
    ChunkWrite(file, "BG", {background.Code, int64_t{background.Color}, int64_t{background.Kind}}, "sdd");
    ChunkWrite(file, "GM", {int64_t{Levels}, int64_t{Cols}, int64_t{Rows}}, "ddd");

    ChunkWrite(file, "MH", {int64_t{CellDataSize() + 2}}, "l");
    for (int32_t y = 0; y < Rows; ++y) {
        for (int32_t x = 0; x < Cols; ++x) {
            if (!IsOccupied(x, y))
                continue;
            const int32_t top = TopLevel(x, y);
            WriteLE(file, top + x * 16 + y * 1024, 2);
            for (int32_t level = 0; level <= top; ++level)
                WriteFixedString(file, GetBlockName(x, y, level), kNameSize);
        }
    }
    WriteLE(file, kSectionEnd, 2);
    ChunkWrite(file, "00", {int64_t{0}}, "b");
}

QByteArray TModel::FileBytes() const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    WriteModel(buffer);
    return bytes;
}

void TModel::SaveToFile(const QString& fileName) {
    // The earlier file is replaced only once the new one is completely written.
    SaveFileContents(fileName, FileBytes(), "model");

    Author.OwnerName = m_context.Defaults.OwnerName;
    Modified = false;
    Truncated = false;
}

// ---------------------------------------------------------------- reading

void TModel::FitToWindowGrid(int32_t cols, int32_t rows) {
    const QSize grid = WindowGrid(m_context.WindowSize);
    if (grid.width() < cols || grid.height() < rows) {
        Tell(kMsgLargerGrid);
        Truncated = true;
    }
    Cols = grid.width();
    Rows = grid.height();
}

bool TModel::ReadChunkFormat(QIODevice& file, const QString& shownName) {
    std::string tag;
    uint8_t data[kChunkBufferSize];
    do {
        const qint64 start = file.pos();
        const int32_t length = LengthField(file);
        std::memset(data, 0, sizeof data);
        const int n = ChunkRead(file, tag, data);
        if (tag == "VR") {
            ChunkDecode({&Version, &Version2}, "dd", data, n);
            if (Version > kModelVersion) {
                Tell(kMsgNewerVersion);
                return false;
            }
            ClearFields(false);
        } else if (tag == "DE") {
            ChunkDecode(
                {&Description.DescriptionCode, &Description.DescriptionFlag, &Description.DescriptionText},
                "dbs", data, n);
        } else if (tag == "AU") {
            ChunkDecode({&Author.AuthorName, &Author.OwnerName, &Author.Country, &Author.Age}, "sssd", data,
                        n);
        } else if (tag == "TX") {
            ChunkDecode({&TextOverlay.Text, &TextOverlay.TextCol, &TextOverlay.TextRow, &TextOverlay.Shadow},
                        "sddd", data, n);
        } else if (tag == "FT") {
            ChunkDecode(
                {&TextOverlay.Font.FontHeight, &TextOverlay.Font.FontColor, &TextOverlay.Font.FontName},
                "dds", data, n);
        } else if (tag == "BG") {
            // Rendered once the whole file is read.
            ChunkDecode({&Background.Code, &Background.Color, &Background.Kind}, "sdd", data, n);
        } else if (tag == "GM") {
            int32_t levels = 0, cols = 0, rows = 0;
            ChunkDecode({&levels, &cols, &rows}, "ddd", data, n);
            // Stacks higher than the program makes do not fit the cell store.
            if (levels < 1 || levels > kMaxLevels) {
                Tell(kMsgInvalidData, {shownName});
                return false;
            }
            Levels = levels;
            FitToWindowGrid(cols, rows);
        } else if (tag == "MH") {
            // The section is read here, whatever its length field says.
            if (!file.seek(file.pos() - n))
                throw IoError("Cannot seek in model file " + shownName.toStdString());
            for (;;) {
                uint8_t word[2];
                ReadBytes(file, reinterpret_cast<char*>(word), 2);
                const uint16_t cell = Word(word);
                if (cell == kSectionEnd)
                    break;
                const int32_t count = (cell & 7) + 1;
                const int32_t x = (cell >> 4) & 63;
                const int32_t y = (cell >> 10) & 63;
                char names[kMaxLevels * kNameSize];
                ReadBytes(file, names, count * kNameSize);
                const TBlockList* list = m_context.Library;
                for (int32_t level = 0; level < count; ++level) {
                    const char* at = names + level * kNameSize;
                    const std::string name(at, strnlen(at, kNameSize));
                    const int32_t index = list ? list->IndexFromName(name) : -1;
                    if (index != -1)
                        SetBlockIndex(x, y, index, level);
                }
            }
            continue;
        }
        // A chunk longer than the reader takes: go on after its whole data.
        if (length > n && !file.seek(start + 6 + length))
            throw IoError("Read beyond end of file");
    } while (tag != "00");
    return true;
}

bool TModel::ReadOldFormat(QIODevice& file, const QString& shownName) {
    uint8_t header[kOldHeaderSize - kSignatureSize - 2];
    ReadBytes(file, reinterpret_cast<char*>(header), sizeof header);
    auto at = [&](int offset) { return header[offset - kSignatureSize - 2]; }; // offsets as in the file
    const int32_t cols = at(10);
    const int32_t rows = at(11);
    const uint16_t entrySize = static_cast<uint16_t>(at(14) | (at(15) << 8));
    if (entrySize != kOldEntrySize) {
        Tell(kMsgInvalidData, {shownName});
        return false;
    }
    TextOverlay.TextCol = at(12);
    TextOverlay.TextRow = at(13);
    FitToWindowGrid(cols, rows);

    std::vector<uint8_t> entries(static_cast<size_t>(cols * rows * kOldEntrySize));
    ReadBytes(file, reinterpret_cast<char*>(entries.data()), static_cast<qint64>(entries.size()));
    const uint8_t* entry = entries.data();
    for (int32_t y = 0; y < rows; ++y) {
        for (int32_t x = 0; x < cols; ++x, entry += kOldEntrySize) {
            ConvertOldBlock(x, y, Word(entry));
            ConvertOldBlock(x, y, Word(entry + 2));
        }
    }

    char text[kChunkMaxData + 1] = {};
    const qint64 got = file.read(text, kChunkMaxData);
    if (got < 0)
        throw IoError("Read error: " + DeviceError(file));
    TextOverlay.Text = std::string(text, strnlen(text, static_cast<size_t>(got)));
    TextOverlay.Font.FontColor = clWhite;
    TextOverlay.Shadow = 2;
    return true;
}

void TModel::TakeOver(TModel& loaded) {
    // A picture background reads a file, which may fail: it is rendered in the
    // fresh model first. The others cannot fail and are rendered in place.
    const bool picture = TBackground::IsPictureKind(loaded.Background.Kind);
    if (picture) {
        loaded.SizeBackground();
        loaded.RenderBackground();
        std::swap(m_background, loaded.m_background);
        std::swap(m_backgroundRendered, loaded.m_backgroundRendered);
    }
    TModelData& data = *this;
    data = std::move(static_cast<TModelData&>(loaded));
    Modified = false;
    if (!picture) {
        SizeBackground();
        if (!TBackground::IsColorKind(Background.Kind)) {
            // Such a kind draws nothing: what shows is the black of a cleared model.
            m_background.Color = clBlack;
            m_background.SetKind(bkColor);
        }
        RenderBackground();
    }
}

bool TModel::LoadFromFile(const QString& fileName) {
    const QFileInfo info(fileName);
    if (!info.exists())
        return false;
    const QString shownName = info.fileName();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw IoError("Cannot open model file " + shownName.toStdString() + ": " + DeviceError(file));

    char signature[kSignatureSize] = {};
    if (file.read(signature, kSignatureSize) != kSignatureSize ||
        std::memcmp(signature, kSignature, kSignatureSize) != 0) {
        Tell(kMsgInvalidHeader, {shownName});
        return false;
    }
    uint8_t mark[2];
    ReadBytes(file, reinterpret_cast<char*>(mark), 2);

    // The file is read into a fresh model, which replaces this one only when
    // the whole file was read.
    TModel loaded(m_context, TDeferredRender{});
    bool ok = false;
    if (std::memcmp(mark, kChunkMark, 2) == 0) {
        ok = loaded.ReadChunkFormat(file, shownName);
    } else if (std::memcmp(mark, kOldMark, 2) == 0) {
        ok = loaded.ReadOldFormat(file, shownName);
    } else {
        Tell(kMsgInvalidData, {shownName});
        return false;
    }
    if (!ok)
        return false;
    TakeOver(loaded);
    return true;
}
