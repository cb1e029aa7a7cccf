#include "common/io_error.h"
#include "common/messages.h"
#include "common/program_folder.h"
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

void TModel::WriteModel(QIODevice& file, const std::string& ownerName) const {
    WriteFileTag(file, std::string_view(kSignature, kSignatureSize));
    WriteFileTag(file, std::string_view());

    // Every chunk keeps within the 1023 data bytes a reader takes.
    std::string description = Stored(Description.DescriptionText);
    FitTexts({&description}, kChunkMaxData - 4 - 1 - 1);
    std::string author = Stored(Author.AuthorName);
    std::string owner = Stored(ownerName);
    std::string country = Stored(Author.Country);
    FitTexts({&author, &owner, &country}, kChunkMaxData - 3 - 4);
    std::string text = Stored(TextOverlay.Text);
    FitTexts({&text}, kChunkMaxData - 1 - 12);
    std::string fontName = Stored(TextOverlay.Font.FontName);
    FitTexts({&fontName}, kChunkMaxData - 8 - 1);
    std::string code = Stored(Background->Code);
    FitTexts({&code}, kChunkMaxData - 1 - 8);

    ChunkWrite(file, "CR", {std::string(kCopyright)}, "s");
    ChunkWrite(file, "VR", {int64_t{kModelVersion}, int64_t{kModelVersion}}, "dd");
    ChunkWrite(file, "DE",
               {int64_t{Description.DescriptionCode}, int64_t{Description.DescriptionFlag}, description},
               "dbs");
    ChunkWrite(file, "AU", {author, owner, country, int64_t{Author.Age}}, "sssd");
    ChunkWrite(
        file, "TX",
        {text, int64_t{TextOverlay.TextCol}, int64_t{TextOverlay.TextRow}, int64_t{TextOverlay.Shadow}},
        "sddd");
    ChunkWrite(file, "FT",
               {int64_t{TextOverlay.Font.FontHeight}, int64_t{TextOverlay.Font.FontColor}, fontName}, "dds");
    ChunkWrite(file, "BG", {code, int64_t{Background->Color}, int64_t{Background->Kind}}, "sdd");
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

void TModel::SaveToFile(const QString& fileName) {
    const std::string owner = ProgramOwnerName();

    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        WriteModel(buffer, owner);
    }

    // The earlier file is replaced only once the new one is completely written.
    SaveFileContents(fileName, bytes, "model");

    Author.OwnerName = owner;
    Modified = false;
    Truncated = false;
}

// ---------------------------------------------------------------- reading

void TModel::FitToWindowGrid(int32_t cols, int32_t rows) {
    const QSize grid = WindowGrid();
    if (grid.width() < cols || grid.height() < rows) {
        ShowAppMessage(kMsgLargerGrid);
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
                ShowAppMessage(kMsgNewerVersion);
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
            ChunkDecode({&Background->Code, &Background->Color, &Background->Kind}, "sdd", data, n);
        } else if (tag == "GM") {
            int32_t levels = 0, cols = 0, rows = 0;
            ChunkDecode({&levels, &cols, &rows}, "ddd", data, n);
            // Stacks higher than the program makes do not fit the cell store.
            if (levels < 1 || levels > kMaxLevels) {
                ShowAppMessage(kMsgInvalidData, {shownName});
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
                const TBlockList* list = BlockList();
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
        ShowAppMessage(kMsgInvalidData, {shownName});
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
    const uint8_t kind = loaded.Background->Kind;
    if (kind >= bkStretch && kind <= bkTile) {
        loaded.SizeBackground();
        loaded.Background->SetKind(kind);
        std::swap(Background, loaded.Background);
    } else {
        Background->Code = loaded.Background->Code;
        SizeBackground();
        if (kind > bkTile) { // such a kind draws nothing: what shows is the black of a cleared model
            Background->Color = clBlack;
            Background->SetKind(bkColor);
        }
        Background->Color = loaded.Background->Color;
        Background->SetKind(kind);
    }

    Version = loaded.Version;
    Version2 = loaded.Version2;
    Description = std::move(loaded.Description);
    Author = std::move(loaded.Author);
    TextOverlay = std::move(loaded.TextOverlay);
    Modified = false;
    Truncated = loaded.Truncated;
    Cols = loaded.Cols;
    Rows = loaded.Rows;
    Levels = loaded.Levels;
    Cells = loaded.Cells;
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
        ShowAppMessage(kMsgInvalidHeader, {shownName});
        return false;
    }
    uint8_t mark[2];
    ReadBytes(file, reinterpret_cast<char*>(mark), 2);

    // The file is read into a fresh model, which replaces this one only when
    // the whole file was read.
    TModel loaded{TDeferredRender{}};
    bool ok = false;
    if (std::memcmp(mark, kChunkMark, 2) == 0) {
        ok = loaded.ReadChunkFormat(file, shownName);
    } else if (std::memcmp(mark, kOldMark, 2) == 0) {
        ok = loaded.ReadOldFormat(file, shownName);
    } else {
        ShowAppMessage(kMsgInvalidData, {shownName});
        return false;
    }
    if (!ok)
        return false;
    TakeOver(loaded);
    return true;
}
