#include "hardening_checks.h"

#include "common/io_error.h"
#include "common/program_folder.h"
#include "imaging/bitmap_file.h"
#include "library/background.h"
#include "library/block_list.h"
#include "model/chunk_stream.h"
#include "model/model.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <sstream>

namespace {

using SetRows = std::vector<std::vector<std::string>>;

constexpr QRgb kMagenta = 0x00FF00FFu;
// The set of the picture check: as many rows as a set may have, empty but the
// rows of the blocks whose pictures are compared with the sheet, which reach to
// them (the last row to the last variation a row may have).
constexpr int kPictureSetRows = kMaxRows;
constexpr std::pair<int, int> kSampledBlocks[] = {{0, 0}, {1, 1}, {10, 6}, {19, 12}};

int PictureRowLength(int row) {
    int length = 0;
    for (const auto& [sampledRow, variation] : kSampledBlocks)
        if (sampledRow == row)
            length = std::max(length, variation + 1);
    return length;
}

// The block index of (row, variation) in the picture check's set, and with
// row = kPictureSetRows the number of its blocks.
int PictureBlockIndex(int row, int variation) {
    int index = variation;
    for (int r = 0; r < row; ++r)
        index += PictureRowLength(r);
    return index;
}

// The block sets of the model checks: orientation letters of every kind, a
// block that does not turn, a set with three orientations and a name used twice.
const std::vector<SetRows>& WorldSets() {
    static const std::vector<SetRows> sets = {
        {
            {"30H", "30V"},
            {"44H", "44V"},
            {"42V", "42H"},
            {"10N", "10E", "10S", "10W"},
            {"12J", "12K", "12L", "12M"},
            {"45F", "2AH", "51S", "40H"},
            {"43N", "43S", "41H", "50H"},
        },
        {
            {"13N", "13E", "13W"},
            {"30H"},
        },
    };
    return sets;
}

QByteArray SetBytes(const std::string& title, const SetRows& rows) {
    QByteArray bytes(160, '\0');
    QByteArray field(63, '\0');
    std::memcpy(field.data(), title.data(), std::min<size_t>(title.size(), 63));
    bytes += field;
    bytes += '\0';
    bytes += static_cast<char>(rows.size());
    for (const auto& row : rows) {
        bytes += static_cast<char>(row.size());
        for (const std::string& name : row)
            bytes += QByteArray(name.data(), 3);
    }
    return bytes;
}

// A sheet with a coloured picture in every cell of the grid; the top-left
// pixel of each picture is magenta.
QImage SheetImage(int rows, int variations, int seed) {
    QImage sheet(33 * std::max(variations, 1) + 1, 33 * std::max(rows, 1) + 1, QImage::Format_RGB32);
    sheet.fill(qRgb(255, 255, 255));
    for (int r = 0; r < rows; ++r)
        for (int v = 0; v < variations; ++v)
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x) {
                    const QRgb color = x == 0 && y == 0 ? qRgb(255, 0, 255)
                                                        : qRgb((seed * 40 + r * 9) & 255, (v * 17 + x) & 255,
                                                               (y * 5 + 60) & 255);
                    sheet.setPixel(1 + 33 * v + x, 1 + 33 * r + y, color);
                }
    return sheet;
}

bool WriteFile(const QString& fileName, const QByteArray& bytes) {
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A short, printable form of a text for reports.
std::string Shown(const std::string& text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size() && i < 40; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 32 && c < 127) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    if (text.size() > 40)
        out += "...(" + std::to_string(text.size()) + " bytes)";
    return out + "\"";
}

// Collects problems, keeping the report short.
class Problems {
public:
    template <typename... Parts> void Add(const Parts&... parts) {
        if (++m_count > 8)
            return;
        std::ostringstream line;
        (line << ... << parts);
        if (!m_text.empty())
            m_text += "; ";
        m_text += line.str();
    }
    void Take(const std::string& other, const char* where) {
        if (!other.empty())
            Add(where, ": ", other);
    }
    bool Empty() const { return m_count == 0; }
    std::string Text() const {
        return m_count > 8 ? m_text + "; and " + std::to_string(m_count - 8) + " more" : m_text;
    }

private:
    std::string m_text;
    int m_count = 0;
};

// Something in the model to see whether a refused load leaves it alone.
void Arrange(TModel& model, const TBlockList& library) {
    auto index = [&](const char* name) { return std::max(0, library.IndexFromName(name)); };
    model.SetBlockIndex(1, 1, index("30H"), 0);
    model.SetBlockIndex(1, 1, index("44H"), 1);
    model.SetBlockIndex(3, 2, index("10N"), 0);
    model.Description.DescriptionText = "Before";
    model.Author.AuthorName = "Someone";
    model.TextOverlay.Text = "Kept";
    model.TextOverlay.TextCol = 2;
    model.Background.Color = 0x00123456;
    model.SetBackgroundKind(bkGradient);
    model.Modified = true;
}

// An independent reading of a set file: the rows (names up to the first zero
// byte) and the title; nullopt when the file ends before its rows do.
struct ParsedSet {
    std::vector<std::string> rows;
    std::string title;
};

std::optional<ParsedSet> ParseSetFile(const QByteArray& bytes) {
    constexpr qsizetype kRowCount = 224;
    if (bytes.size() <= kRowCount)
        return std::nullopt;
    auto byte = [&](qsizetype at) { return static_cast<unsigned char>(bytes[at]); };
    ParsedSet parsed;
    qsizetype at = kRowCount + 1;
    for (int row = 0; row < byte(kRowCount); ++row) {
        if (at >= bytes.size())
            return std::nullopt;
        const qsizetype size = 3 * qsizetype{byte(at++)};
        if (at + size > bytes.size())
            return std::nullopt;
        const char* names = bytes.constData() + at;
        parsed.rows.emplace_back(names, strnlen(names, static_cast<size_t>(size)));
        at += size;
    }
    parsed.title.assign(bytes.constData() + 160, strnlen(bytes.constData() + 160, 63));
    return parsed;
}

// The rules every loaded block library keeps; the pictures of the blocks of
// the first picturedSets sets are cut, the others' are not (yet).
std::string LibraryProblems(const TBlockList& list, int picturedSets = kMaxSets) {
    Problems problems;
    if (list.Count < 0 || list.Count > kMaxBlocks)
        return "Count " + std::to_string(list.Count);
    if (list.SetCount < 0 || list.SetCount > kMaxSets)
        return "SetCount " + std::to_string(list.SetCount);
    if (static_cast<int32_t>(list.ImageList.size()) != list.Count)
        problems.Add(list.ImageList.size(), " pictures for ", list.Count, " blocks");
    int32_t blocks = 0;
    for (int set = 0; set < list.SetCount; ++set) {
        const int32_t rows = list.RowCount[static_cast<size_t>(set)];
        if (rows < 0 || rows > kMaxRows) {
            problems.Add("set ", set, " has ", rows, " rows");
            continue;
        }
        for (int row = 0; row < rows; ++row) {
            const int32_t last = list.LastVariation[static_cast<size_t>(set)][static_cast<size_t>(row)];
            if (last < -1 || last >= kMaxVariations)
                problems.Add("set ", set, " row ", row, " has LastVariation ", last);
            else
                blocks += last + 1;
        }
    }
    if (blocks != list.Count)
        problems.Add("the rows hold ", blocks, " blocks, Count is ", list.Count);
    for (int32_t i = 0; i < list.Count; ++i) {
        const BlockEntry& entry = list.Blocks[static_cast<size_t>(i)];
        const bool inTable = entry.Set < list.SetCount && entry.Row < kMaxRows &&
                             entry.Row < list.RowCount[entry.Set] &&
                             entry.Variation <= list.LastVariation[entry.Set][entry.Row];
        if (!inTable)
            problems.Add("block ", i, " has the map ", +entry.Set, "/", +entry.Row, "/", +entry.Variation);
        if (list.IndexFromMap(entry.Set, entry.Row, entry.Variation) != i)
            problems.Add("block ", i, " is not found by its map");
        if (entry.Name.size() != 3 || entry.Name.find('\0') != std::string::npos)
            problems.Add("block ", i, " has the name ", Shown(entry.Name));
        const int32_t byName = list.IndexFromName(entry.Name);
        if (byName < 0 || byName > i || list.Blocks[static_cast<size_t>(byName)].Name != entry.Name)
            problems.Add("block ", i, " ", Shown(entry.Name), " is found by name as ", byName);
        if (static_cast<size_t>(i) < list.ImageList.size()) {
            const QImage& picture = list.ImageList[static_cast<size_t>(i)];
            if (entry.Set >= picturedSets) {
                if (!picture.isNull())
                    problems.Add("picture ", i, " was cut before it was asked for");
            } else if (picture.size() != QSize(kBlockSize, kBlockSize) ||
                       picture.format() != QImage::Format_ARGB32_Premultiplied) {
                problems.Add("picture ", i, " is not a 32 x 32 masked picture");
            }
        }
    }
    for (int32_t i = list.Count; i < kMaxBlocks; ++i) {
        const BlockEntry& entry = list.Blocks[static_cast<size_t>(i)];
        if (!entry.Name.empty() || entry.Set || entry.Row || entry.Variation) {
            problems.Add("the free slot ", i, " is not empty");
            break;
        }
    }
    return problems.Text();
}

// The sheet of every set of the set file check: two rows of two pictures.
const QImage& SetSheet() {
    static const QImage sheet = SheetImage(2, 2, 3);
    return sheet;
}

// The picture of block (row, variation) against the sheet it was cut from:
// the sheet's pixels, opaque, except magenta and what lies outside the sheet.
std::string CutProblems(const QImage& picture, const QImage& sheet, int row, int variation) {
    for (int y = 0; y < kBlockSize; ++y) {
        const QRgb* got = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < kBlockSize; ++x) {
            const int sx = 1 + kSheetPitch * variation + x;
            const int sy = 1 + kSheetPitch * row + y;
            QRgb expected = 0;
            if (sx < sheet.width() && sy < sheet.height()) {
                const QRgb rgb = sheet.pixel(sx, sy) & 0x00FFFFFFu;
                if (rgb != kMagenta)
                    expected = rgb | 0xFF000000u;
            }
            if (got[x] != expected) {
                std::ostringstream text;
                text << "picture of row " << row << " variation " << variation << " has " << std::hex
                     << got[x] << " at " << std::dec << x << "," << y << " where the sheet gives " << std::hex
                     << expected;
                return text.str();
            }
        }
    }
    return {};
}

QByteArray OldModelBytes(int cols, int rows, int entrySize, const std::vector<uint16_t>& codes,
                         const char* text, int textCol, int textRow) {
    QByteArray bytes("MdF\x1A\x04\x00", 6);
    bytes += QByteArray(4, '\0');
    bytes += static_cast<char>(cols);
    bytes += static_cast<char>(rows);
    bytes += static_cast<char>(textCol);
    bytes += static_cast<char>(textRow);
    bytes += static_cast<char>(entrySize & 0xFF);
    bytes += static_cast<char>(entrySize >> 8);
    bytes += QByteArray(48, '\0');
    const size_t entries = static_cast<size_t>(cols * rows * 2);
    for (size_t i = 0; i < entries; ++i) {
        const uint16_t code = codes.empty() ? 0 : codes[i % codes.size()];
        bytes += static_cast<char>(code & 0xFF);
        bytes += static_cast<char>(code >> 8);
    }
    bytes += QByteArray(text);
    return bytes;
}

QByteArray LE(uint32_t value, int size) {
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

QByteArray ChunkBytes(const char* tag, const QByteArray& data) {
    return QByteArray(tag, 2) + LE(static_cast<uint32_t>(data.size()), 4) + data;
}

QByteArray BmpBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    writer.write(image);
    return bytes;
}

// A bitmap file by hand: the file header, a 40-byte info header, then extra
// (palette or masks) and the pixel data.
QByteArray HandBmp(int width, int height, int bits, int compression, int colorsUsed, const QByteArray& extra,
                   const QByteArray& pixels) {
    const uint32_t offset = 14 + 40 + static_cast<uint32_t>(extra.size());
    QByteArray bytes("BM");
    bytes += LE(offset + static_cast<uint32_t>(pixels.size()), 4);
    bytes += LE(0, 4);
    bytes += LE(offset, 4);
    bytes += LE(40, 4);
    bytes += LE(static_cast<uint32_t>(width), 4);
    bytes += LE(static_cast<uint32_t>(height), 4);
    bytes += LE(1, 2);
    bytes += LE(static_cast<uint32_t>(bits), 2);
    bytes += LE(static_cast<uint32_t>(compression), 4);
    bytes += LE(static_cast<uint32_t>(pixels.size()), 4);
    bytes += LE(2835, 4);
    bytes += LE(2835, 4);
    bytes += LE(static_cast<uint32_t>(colorsUsed), 4);
    bytes += LE(0, 4);
    return bytes + extra + pixels;
}

} // namespace

// ---------------------------------------------------------------- the world

THardeningWorld::THardeningWorld()
    : m_dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/cubestacks-hardening-XXXXXX")
                                                      : QDir::tempPath() + "/cubestacks-hardening-XXXXXX") {
    m_oldFolder = ProgramFolder();
    m_oldMessages = MessagesEnabled();
    m_oldPresenter = CurrentMessagePresenter();

    QDir root(m_dir.path());
    for (const char* folder : {"program/System", "program/Models", "sets/System", "pictures/System"})
        root.mkpath(QString::fromLatin1(folder));

    const QString system = ProgramPath() + "System/";
    const std::vector<SetRows>& sets = WorldSets();
    for (size_t s = 0; s < sets.size(); ++s) {
        const QString base = system + QString::asprintf("sd%02d", static_cast<int>(s + 1));
        size_t widest = 1;
        for (const auto& row : sets[s])
            widest = std::max(widest, row.size());
        WriteFile(base + ".csd", SetBytes("Set " + std::to_string(s + 1), sets[s]));
        WriteFile(base + ".csb", EncodeBitmap24(SheetImage(static_cast<int>(sets[s].size()),
                                                           static_cast<int>(widest), static_cast<int>(s))));
    }
    QImage picture(48, 40, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 5, y * 6, (x + y) * 2));
    WriteFile(system + "bdAL1.csb", EncodeBitmap24(picture));
    WriteFile(system + "bdSS1.csb", EncodeBitmap24(SheetImage(0, 0, 0).copy(0, 0, 1, 1)));
    WriteFile(system + "bdBAD.csb", QByteArray("BM this is no bitmap"));

    // A sheet much smaller than its sets: most pictures lie outside it.
    const QByteArray smallSheet = EncodeBitmap24(SetSheet());
    for (int set = 1; set <= kMaxSets; ++set)
        WriteFile(SetsPath() + QString::asprintf("System/sd%02d.csb", set), smallSheet);

    SetRows full(kPictureSetRows);
    for (int r = 0; r < kPictureSetRows; ++r)
        for (int v = 0; v < PictureRowLength(r); ++v)
            full[static_cast<size_t>(r)].push_back(
                {static_cast<char>('A' + r), static_cast<char>('a' + v), 'N'});
    WriteFile(PicturesPath() + "System/sd01.csd", SetBytes("Pictures", full));

    SetMessagePresenter(&m_presenter);
    SetMessagesEnabled(true);
    SetProgramFolder(ProgramPath());
    m_library = std::make_unique<TBlockList>();
    m_model = std::make_unique<TModel>(Context());
    Arrange(*m_model, *m_library);
    m_arranged = std::make_unique<TModelData>(m_model->Data());
    m_readBack = std::make_unique<TModel>(Context());
    m_background = std::make_unique<TBackground>();
    m_background->WindowSize = QSize(512, 384);
    m_background->SetWidth(80);
    m_background->SetHeight(60);
    m_background->Code = "AL1";
    m_background->Color = 0x00336699;
    m_background->PictureFolder = PicturesPath() + "System/";
}

THardeningWorld::~THardeningWorld() {
    m_background.reset();
    m_readBack.reset();
    m_model.reset();
    m_library.reset();
    SetProgramFolder(m_oldFolder);
    SetMessagesEnabled(m_oldMessages);
    SetMessagePresenter(m_oldPresenter);
}

const TModelData& THardeningWorld::Arranged() const {
    return *m_arranged;
}

TModelContext THardeningWorld::Context() const {
    TModelContext context;
    context.Library = m_library.get();
    context.WindowSize = WindowSize();
    context.Defaults.GridVisible = true;
    return context;
}

QString THardeningWorld::ProgramPath() const {
    return m_dir.path() + "/program/";
}
QString THardeningWorld::SetsPath() const {
    return m_dir.path() + "/sets/";
}
QString THardeningWorld::PicturesPath() const {
    return m_dir.path() + "/pictures/";
}

// ---------------------------------------------------------------- models

// A model's value apart from its state flags and versions, each stack up to
// its first empty level with its blocks by name.
TModelData Kept(const TModel& model) {
    TModelData data = model.Data();
    const TModelData saved = model.FileData();
    data.Cells = saved.Cells;
    data.Version = saved.Version;
    data.Version2 = saved.Version2;
    data.Modified = saved.Modified;
    data.Truncated = saved.Truncated;
    return data;
}

std::string ModelDifference(const TModel& expected, const TModel& actual, bool asSaved) {
    if (asSaved)
        return ModelDataDifference(expected.FileData(), actual.FileData());
    return ModelDataDifference(Kept(expected), Kept(actual));
}

std::string CellProblems(const TModel& model, int32_t x, int32_t y, int32_t blockCount, bool contiguous) {
    Problems problems;
    int32_t height = model.Levels;
    for (int32_t level = 0; level < model.Levels; ++level) {
        const int32_t index = model.GetBlockIndex(x, y, level);
        if (index < -1 || index >= blockCount)
            problems.Add("cell ", x, ",", y, " level ", level, " holds ", index);
        if (index == -1 && height == model.Levels)
            height = level;
        if (contiguous && index != -1 && level > height)
            problems.Add("cell ", x, ",", y, " has a block at level ", level, " above the empty level ",
                         height);
    }
    const int32_t top = std::max(0, height - 1);
    const int32_t free = height < model.Levels ? height : model.Levels - 1;
    if (model.TopLevel(x, y) != top)
        problems.Add("cell ", x, ",", y, " TopLevel ", model.TopLevel(x, y), " for ", height, " blocks");
    if (model.FreeLevel(x, y) != free)
        problems.Add("cell ", x, ",", y, " FreeLevel ", model.FreeLevel(x, y), " for ", height, " blocks");
    if (model.IsOccupied(x, y) != (height > 0))
        problems.Add("cell ", x, ",", y, " IsOccupied ", model.IsOccupied(x, y), " for ", height, " blocks");
    const int32_t topBlock = height > 0 ? model.GetBlockIndex(x, y, height - 1) : -1;
    if (model.GetTopBlock(x, y) != topBlock)
        problems.Add("cell ", x, ",", y, " GetTopBlock ", model.GetTopBlock(x, y), " instead of ", topBlock);
    return problems.Text();
}

std::string ModelGridProblems(const TModel& model, int32_t blockCount, bool contiguous) {
    if (model.Levels < 1 || model.Levels > kMaxLevels || model.Cols < 0 || model.Rows < 0 ||
        int64_t{model.Cols} * model.Rows * model.Levels > kCellStoreSize)
        return "a grid of " + std::to_string(model.Cols) + " x " + std::to_string(model.Rows) + " x " +
               std::to_string(model.Levels) + " does not fit the cell store";
    Problems problems;
    int32_t dataSize = 0;
    for (int32_t y = 0; y < model.Rows; ++y)
        for (int32_t x = 0; x < model.Cols; ++x) {
            problems.Take(CellProblems(model, x, y, blockCount, contiguous), "grid");
            if (model.IsOccupied(x, y))
                dataSize += 2 + 3 * (model.TopLevel(x, y) + 1);
        }
    if (model.CellDataSize() != dataSize)
        problems.Add("CellDataSize ", model.CellDataSize(), " for stacks of ", dataSize, " bytes");
    return problems.Text();
}

std::string CheckModelFile(THardeningWorld& world, const QByteArray& bytes) {
    const QString models = world.ProgramPath() + "Models/";
    const QString input = models + "input.cst";
    if (!WriteFile(input, bytes))
        return "cannot write " + input.toStdString();
    const TBlockList& library = world.Library();

    // The world's model holds the arranged value again (its background is
    // rendered again only when the last input changed it).
    TModel& model = world.Model();
    const TModelData& arranged = world.Arranged();
    model.SetData(arranged);
    const QImage background = model.BackgroundBitmap();

    const int messages = world.MessagesShown();
    bool loaded = false;
    bool raised = false;
    try {
        loaded = model.LoadFromFile(input);
    } catch (const IoError&) {
        raised = true;
    }
    Problems problems;
    if (!loaded) {
        if (!raised && world.MessagesShown() == messages)
            problems.Add("a file was refused without a word");
        if (!(model.Data() == arranged)) // the flags are part of the value
            problems.Add("a refused file changed the model: ", ModelDataDifference(arranged, model.Data()));
        if (model.BackgroundBitmap() != background)
            problems.Add("a refused file changed the background picture");
        return problems.Text();
    }

    const QSize grid = WindowGrid(THardeningWorld::WindowSize());
    if (model.Cols != grid.width() || model.Rows != grid.height())
        problems.Add("the loaded grid is ", model.Cols, " x ", model.Rows, ", not the window grid");
    problems.Take(ModelGridProblems(model, library.Count, false), "loaded");
    if (model.Modified)
        problems.Add("a loaded model is marked modified");
    if (model.BackgroundBitmap().size() != model.ImageSize())
        problems.Add("the background is not of the model image's size");
    if (!problems.Empty())
        return problems.Text();

    // Saved and loaded again, the model stays the same, and saves to the same
    // bytes: the bytes a save writes, taken in memory, read back from a file.
    const QString saved = models + "saved.cst";
    const QByteArray bytesSaved = model.FileBytes();
    if (!WriteFile(saved, bytesSaved))
        return "cannot write " + saved.toStdString();
    try {
        TModel& again = world.ReadBack();
        if (!again.LoadFromFile(saved))
            return "a saved model was refused when read back";
        if (!(model.FileData() == again.FileData()))
            problems.Take(ModelDifference(model, again, true), "saved and read back");
        if (again.FileBytes() != bytesSaved)
            problems.Add("a model read back saves to other bytes");
    } catch (const IoError& error) {
        return std::string("a saved model could not be read back: ") + error.what();
    }

    static QImage image;
    if (image.size() != model.ImageSize())
        image = QImage(model.ImageSize(), QImage::Format_RGB32);
    image.fill(0);
    TCanvas canvas(&image);
    model.Draw(canvas);
    model.DrawCell(canvas, 0, 0);
    model.DrawCell(canvas, model.Cols - 1, model.Rows - 1);
    model.DrawCell(canvas, model.TextOverlay.TextCol, model.TextOverlay.TextRow);
    // Drawing an overlay text with a shadow makes the shadow 2.
    if (!model.TextOverlay.Text.empty() && model.TextOverlay.Shadow != 0 && model.TextOverlay.Shadow != 2)
        problems.Add("drawing left the shadow at ", model.TextOverlay.Shadow);
    return problems.Text();
}

// ---------------------------------------------------------------- set files

std::string CheckSetFile(THardeningWorld& world, const QByteArray& bytes) {
    const int copies = bytes.isEmpty() ? 1 : static_cast<unsigned char>(bytes[0]) % kMaxSets + 1;
    const QByteArray setBytes = bytes.mid(1);
    const QString system = world.SetsPath() + "System/";
    if (!WriteFile(system + "sd01.csd", setBytes))
        return "cannot write the set file";
    // The other copies are links to the first, made or taken away as their number changes.
    for (int& linked = world.SetCopies(); linked != copies;) {
        const bool more = linked < copies;
        const QString name = system + QString::asprintf("sd%02d.csd", more ? linked + 1 : linked);
        if (!(more ? QFile::link(QStringLiteral("sd01.csd"), name) : QFile::remove(name)))
            return "cannot link or remove " + name.toStdString();
        linked += more ? 1 : -1;
    }

    Problems problems;
    const std::optional<ParsedSet> parsed = ParseSetFile(setBytes);
    std::vector<std::string> rows;
    std::string title;
    bool read = true;
    try {
        ReadSetFile(system + "sd01.csd", rows, title);
    } catch (const IoError&) {
        read = false;
    }
    if (read != parsed.has_value())
        return read ? "a set file that ends early was read" : "a whole set file was refused";
    if (parsed) {
        if (rows != parsed->rows)
            problems.Add("the rows read are not the rows of the file");
        if (title != parsed->title)
            problems.Add("the title ", Shown(title), " is not ", Shown(parsed->title));
    }

    // Every set is a copy of the file: the pictures of the first stand for all of theirs.
    TBlockList list(TBlockList::TPictureLoading::WhenAsked, system);
    if (list.SetCount > 0 && !list.LoadPictures(0))
        problems.Add("the pictures of the first set could not be cut: ", list.LoadError.toStdString());
    problems.Take(LibraryProblems(list, 1), "library");
    for (int32_t i = 0; i < list.Count && problems.Empty(); ++i) {
        const BlockEntry& entry = list.Blocks[static_cast<size_t>(i)];
        if (entry.Set == 0 && entry.Row < 2 && entry.Variation < 2) // those the sheet holds
            problems.Take(
                CutProblems(list.ImageList[static_cast<size_t>(i)], SetSheet(), entry.Row, entry.Variation),
                "first set");
    }
    if (!parsed) {
        if (list.LoadError.isEmpty() || list.Count != 0 || list.SetCount != 0)
            problems.Add("a set file that ends early gave ", list.SetCount, " sets");
        return problems.Text();
    }
    if (!list.LoadError.isEmpty())
        problems.Add("loading failed: ", list.LoadError.toStdString());

    int64_t perSet = 0;
    for (size_t row = 0; row < parsed->rows.size() && row < static_cast<size_t>(kMaxRows); ++row)
        perSet += std::min<int64_t>(static_cast<int64_t>(parsed->rows[row].size() / 3), kMaxVariations);
    const int64_t expected = std::min<int64_t>(kMaxBlocks, perSet * copies);
    if (list.Count != expected)
        problems.Add(copies, " sets of ", perSet, " blocks gave ", list.Count, " blocks");
    if (list.SetCount > copies || (list.SetCount < copies && list.Count < kMaxBlocks))
        problems.Add(copies, " set files gave ", list.SetCount, " sets");
    for (int32_t i = 0; i < list.Count && problems.Empty(); ++i) {
        const BlockEntry& entry = list.Blocks[static_cast<size_t>(i)];
        if (entry.Row >= parsed->rows.size())
            continue;
        const std::string& names = parsed->rows[entry.Row];
        if (names.compare(3 * size_t{entry.Variation}, 3, entry.Name) != 0)
            problems.Add("block ", i, " is named ", Shown(entry.Name), " in a row of ", Shown(names));
    }
    for (int set = 0; set < list.SetCount; ++set)
        if (list.SetTitle[static_cast<size_t>(set)] != parsed->title)
            problems.Add("set ", set, " has the title ", Shown(list.SetTitle[static_cast<size_t>(set)]));
    return problems.Text();
}

// ---------------------------------------------------------------- pictures

std::string CheckPicture(THardeningWorld& world, const QByteArray& bytes) {
    const QString system = world.PicturesPath() + "System/";
    if (!WriteFile(system + "sd01.csb", bytes) || !WriteFile(system + "bdAL1.csb", bytes))
        return "cannot write the picture files";

    // The background of every picture kind: the first tells whether the file
    // is readable, and its picture is the one the sheet is compared with.
    Problems problems;
    TBackground& background = world.Background();
    background.SetKind(bkColor);
    std::optional<bool> readable;
    QImage picture;
    for (int number = 0; number <= UINT8_MAX; ++number) {
        const auto kind = static_cast<uint8_t>(number);
        if (!TBackground::IsPictureKind(kind))
            continue;
        const QImage earlier = background.Bitmap;
        bool refused = false;
        try {
            background.SetKind(kind);
        } catch (const IoError&) {
            refused = true;
        }
        if (!readable.has_value()) {
            readable = !refused;
            picture = refused ? QImage() : background.Image;
            if (!refused && (picture.isNull() || picture.format() != QImage::Format_RGB32))
                return "a bitmap was read into a null image or a picture of another format";
        }
        if (refused != !*readable) {
            problems.Add("a ", *readable ? "readable" : "unreadable", " picture was ",
                         refused ? "refused" : "taken", " for kind ", +kind);
        } else if (refused) {
            if (background.Bitmap != earlier)
                problems.Add("an unreadable picture changed the background of kind ", +kind);
        } else if (background.Bitmap.size() != QSize(80, 60) ||
                   background.Bitmap.format() != QImage::Format_RGB32) {
            problems.Add("kind ", +kind, " rendered a picture of the wrong size or format");
        }
    }

    const TBlockList list(TBlockList::TPictureLoading::AtOnce, system);
    problems.Take(LibraryProblems(list), "sheet");
    if (*readable) {
        if (!list.LoadError.isEmpty() || list.Count != PictureBlockIndex(kPictureSetRows, 0))
            problems.Add("a readable sheet gave ", list.Count, " blocks: ", list.LoadError.toStdString());
        else
            for (const auto& [row, variation] : kSampledBlocks)
                problems.Take(
                    CutProblems(list.ImageList[static_cast<size_t>(PictureBlockIndex(row, variation))],
                                picture, row, variation),
                    "sheet");
    } else if (list.LoadError.isEmpty() || list.Count != 0) {
        problems.Add("an unreadable sheet gave ", list.Count, " blocks and no error");
    }
    return problems.Text();
}

// ---------------------------------------------------------------- chunks

std::string CheckChunks(const QByteArray& bytes) {
    Problems problems;

    // The whole input as a stream of chunks.
    {
        QByteArray stream = bytes;
        QBuffer buffer(&stream);
        buffer.open(QIODevice::ReadOnly);
        std::string tag;
        uint8_t data[kChunkBufferSize];
        for (int chunks = 0; chunks < 100000; ++chunks) {
            const qint64 at = buffer.pos();
            std::memset(data, 0, sizeof data);
            int n = 0;
            try {
                n = ChunkRead(buffer, tag, data);
            } catch (const IoError&) {
                break;
            }
            if (n < 0 || n > kChunkMaxData || tag.size() > 2 || tag.find('\0') != std::string::npos)
                problems.Add("ChunkRead gave ", n, " bytes and the tag ", Shown(tag));
            if (data[kChunkMaxData] != 0)
                problems.Add("ChunkRead filled the buffer's last byte");
            if (buffer.pos() != at + 6 + n)
                problems.Add("ChunkRead moved from ", at, " to ", buffer.pos(), " for ", n, " bytes");
            if (!problems.Empty())
                return problems.Text();
        }
    }

    if (bytes.isEmpty())
        return {};
    static constexpr char kLetters[] = {'b', 'd', 's', 'l', 'x'};
    const int count = static_cast<unsigned char>(bytes[0]) % 9;
    auto choice = [&](qsizetype at) {
        return at < bytes.size() ? static_cast<unsigned char>(bytes[at]) % 5 : 0;
    };
    std::string types;
    int kinds[8] = {4, 4, 4, 4, 4, 4, 4, 4};
    bool matching = count > 0;
    for (int i = 0; i < count; ++i) {
        types += kLetters[choice(1 + i)];
        kinds[i] = choice(1 + count + i);
        const char letter = types.back();
        matching = matching && ((letter == 'b' && kinds[i] == 0) || (letter == 'd' && kinds[i] == 2) ||
                                (letter == 's' && kinds[i] == 4));
    }
    const qsizetype start = std::min<qsizetype>(bytes.size(), 1 + 2 * count);
    const int size = static_cast<int>(bytes.size() - start);
    // Exactly the data's bytes on the heap, so that a read past them is caught.
    std::unique_ptr<uint8_t[]> data(new uint8_t[static_cast<size_t>(std::max(size, 1))]);
    std::memcpy(data.get(), bytes.constData() + start, static_cast<size_t>(size));

    struct Targets {
        uint8_t bytes[8] = {};
        bool flags[8] = {};
        int32_t ints[8] = {};
        uint32_t words[8] = {};
        std::string texts[8];
        ChunkTarget Of(int i, int kind) {
            switch (kind) {
            case 0:
                return &bytes[i];
            case 1:
                return &flags[i];
            case 2:
                return &ints[i];
            case 3:
                return &words[i];
            default:
                return &texts[i];
            }
        }
    };
    Targets decoded;
    auto decode = [&](Targets& into, const uint8_t* from, int length) {
        ChunkDecode({into.Of(0, kinds[0]), into.Of(1, kinds[1]), into.Of(2, kinds[2]), into.Of(3, kinds[3]),
                     into.Of(4, kinds[4]), into.Of(5, kinds[5]), into.Of(6, kinds[6]), into.Of(7, kinds[7])},
                    types, from, length);
    };
    decode(decoded, data.get(), size);
    for (const std::string& text : decoded.texts)
        if (text.size() > kChunkMaxData || text.find('\0') != std::string::npos)
            problems.Add("a decoded text of ", text.size(), " bytes");
    if (!matching || !problems.Empty())
        return problems.Text();

    // Written again and read back, the values come back unchanged.
    auto value = [&](int i) -> ChunkValue {
        if (i >= count)
            return int64_t{0};
        switch (types[static_cast<size_t>(i)]) {
        case 'b':
            return int64_t{decoded.bytes[i]};
        case 'd':
            return int64_t{decoded.ints[i]};
        default:
            return decoded.texts[i];
        }
    };
    QByteArray written;
    {
        QBuffer buffer(&written);
        buffer.open(QIODevice::WriteOnly);
        ChunkWrite(buffer, "XY",
                   {value(0), value(1), value(2), value(3), value(4), value(5), value(6), value(7)}, types);
    }
    const uint32_t length = static_cast<uint8_t>(written[2]) | static_cast<uint8_t>(written[3]) << 8 |
                            static_cast<uint8_t>(written[4]) << 16 |
                            uint32_t{static_cast<uint8_t>(written[5])} << 24;
    if (written.left(2) != "XY" || length != static_cast<uint32_t>(written.size() - 6))
        return "ChunkWrite wrote a length of " + std::to_string(length) + " for " +
               std::to_string(written.size() - 6) + " bytes";
    if (length > static_cast<uint32_t>(kChunkMaxData))
        return {}; // too long to be read back in one piece
    QBuffer buffer(&written);
    buffer.open(QIODevice::ReadOnly);
    std::string tag;
    uint8_t again[kChunkBufferSize] = {};
    const int n = ChunkRead(buffer, tag, again);
    if (tag != "XY" || n != static_cast<int>(length))
        return "a written chunk read back as " + Shown(tag) + " with " + std::to_string(n) + " bytes";
    Targets reread;
    decode(reread, again, n);
    for (int i = 0; i < count; ++i) {
        if (decoded.bytes[i] != reread.bytes[i] || decoded.ints[i] != reread.ints[i] ||
            decoded.texts[i] != reread.texts[i])
            problems.Add("value ", i, " (", types[static_cast<size_t>(i)],
                         ") changed when written and read back");
    }
    return problems.Text();
}

// ---------------------------------------------------------------- seeds

SeedList ModelFileSeeds(THardeningWorld& world) {
    SeedList seeds;
    const QString models = world.ProgramPath() + "Models/";
    const TBlockList& library = world.Library();
    auto index = [&](const char* name) { return std::max(0, library.IndexFromName(name)); };
    auto saved = [&](const std::string& name, TModel& model) {
        const QString file = models + QString::fromStdString(name);
        model.SaveToFile(file);
        seeds.emplace_back(name, ReadFile(file));
    };

    {
        TModel empty(world.Context());
        saved("empty.cst", empty);
    }
    {
        TModel model(world.Context());
        const char* names[] = {"30H", "44H", "42V", "10N", "12K", "45F", "13E", "41H"};
        for (int level = 0; level < kMaxLevels; ++level)
            model.SetBlockIndex(0, 0, index(names[level]), level);
        model.SetBlockIndex(5, 3, index("10E"), 0);
        model.SetBlockIndex(5, 4, index("2AH"), 0);
        model.SetBlockIndex(5, 4, index("51S"), 1);
        model.Description.DescriptionText = "A model with stacks";
        model.Author.AuthorName = "Tester";
        model.Author.Country = "NL";
        model.Author.Age = 42;
        model.TextOverlay.Text = "Hello\tworld & more\nsecond line";
        model.TextOverlay.TextCol = 3;
        model.TextOverlay.TextRow = 4;
        model.TextOverlay.Shadow = 1;
        model.TextOverlay.Font.FontName = "Sans";
        model.TextOverlay.Font.FontHeight = 20;
        model.TextOverlay.Font.FontColor = 0x0000FFFF;
        model.Background.Color = 0x00FF8040;
        model.SetBackgroundKind(bkGradient);
        saved("stacks.cst", model);
    }
    {
        TModel model(world.Context());
        model.SetBlockIndex(2, 2, index("30V"), 0);
        model.Background.Code = "AL1";
        model.SetBackgroundKind(bkTile);
        saved("picture.cst", model);
        model.Background.Code = "SS1";
        model.SetBackgroundKind(bkTileAcross);
        saved("one_pixel_picture.cst", model);
        model.Background.Code = "BAD";
        model.Background.Kind = bkStretch;
        saved("damaged_picture.cst", model);
    }
    {
        // Saved by a larger window: read here, the outer cells are cut off.
        TModelContext larger = world.Context();
        larger.WindowSize = QSize(1024, 768);
        TModel model(larger);
        model.SetBlockIndex(31, 23, index("44V"), 0);
        model.SetBlockIndex(25, 5, index("42H"), 0);
        model.SetBlockIndex(4, 4, index("13W"), 0);
        model.TextOverlay.Text = "Far";
        model.TextOverlay.TextCol = 30;
        model.TextOverlay.TextRow = 22;
        saved("larger_grid.cst", model);
    }

    const QByteArray head("MdF\x1A\x02\x04", 6);
    const QByteArray version = ChunkBytes("VR", LE(1536, 4) + LE(1536, 4));
    const QByteArray geometry = ChunkBytes("GM", LE(8, 4) + LE(20, 4) + LE(15, 4));
    const QByteArray section = LE(2 + 16 + 1024, 2) + "30H44H42V" + LE(0xFFFF, 2);
    const QByteArray cells = ChunkBytes("MH", section);
    const QByteArray end = ChunkBytes("00", QByteArray(1, '\0'));
    seeds.emplace_back("unknown_long_chunk.cst",
                       head + version + ChunkBytes("ZZ", QByteArray(1500, 'z')) + geometry + cells + end);
    seeds.emplace_back("newer_version.cst", head + ChunkBytes("VR", LE(1537, 4) + LE(1537, 4)) + end);
    seeds.emplace_back("three_levels.cst",
                       head + version + ChunkBytes("GM", LE(3, 4) + LE(40, 4) + LE(30, 4)) + cells + end);
    seeds.emplace_back("old.cst", OldModelBytes(20, 15, 4, {0, 768, 1025, 1280, 12, 3072, 2820, 0, 0, 513},
                                                "An old model", 2, 3));
    seeds.emplace_back("old_larger.cst", OldModelBytes(40, 30, 4, {0, 0, 0, 1793, 0, 2048}, "", 35, 28));
    seeds.emplace_back("old_entry_size.cst", OldModelBytes(2, 2, 2, {768}, "x", 0, 0));
    return seeds;
}

SeedList SetFileSeeds() {
    SeedList seeds;
    auto seed = [&](const std::string& name, int copies, const QByteArray& set) {
        seeds.emplace_back(name, QByteArray(1, static_cast<char>(copies - 1)) + set);
    };
    seed("standard.bin", 2, SetBytes("Standard", WorldSets()[0]));
    SetRows full(kMaxRows);
    for (int r = 0; r < kMaxRows; ++r)
        for (int v = 0; v < kMaxVariations; ++v)
            full[static_cast<size_t>(r)].push_back(
                {static_cast<char>('a' + r), static_cast<char>('A' + v), 'S'});
    seed("full_table.bin", 10, SetBytes("Full", full));

    // More rows and names than the table keeps, an empty row, a zero byte in
    // a row, a title without an end.
    QByteArray odd = SetBytes(std::string(63, 'T'), {});
    odd[224] = 24;
    for (int r = 0; r < 24; ++r) {
        const int names = r == 3 ? 0 : r == 5 ? 14 : 2;
        odd += static_cast<char>(names);
        for (int v = 0; v < names; ++v)
            odd += QByteArray(r == 7 && v == 1 ? "1\0X" : "1AN", 3);
    }
    seed("odd_rows.bin", 1, odd + QByteArray("trailing bytes"));
    QByteArray shortFile = SetBytes("Short", WorldSets()[0]);
    shortFile.chop(4);
    seed("ends_early.bin", 1, shortFile);
    return seeds;
}

SeedList PictureSeeds() {
    SeedList seeds;
    seeds.emplace_back("sheet24.bmp", EncodeBitmap24(SheetImage(2, 3, 1)));
    seeds.emplace_back("one_pixel.bmp", EncodeBitmap24(SheetImage(0, 0, 0).copy(0, 0, 1, 1)));

    QImage mono(37, 5, QImage::Format_Mono);
    mono.setColorTable({qRgb(255, 0, 255), qRgb(10, 200, 30)});
    for (int y = 0; y < mono.height(); ++y)
        for (int x = 0; x < mono.width(); ++x)
            mono.setPixel(x, y, (x + y) % 3 == 0);
    seeds.emplace_back("mono.bmp", BmpBytes(mono));

    QImage indexed(35, 34, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < 16; ++i)
        table.append(qRgb(i * 16, 255 - i * 16, i == 5 ? 255 : 0));
    indexed.setColorTable(table);
    for (int y = 0; y < indexed.height(); ++y)
        for (int x = 0; x < indexed.width(); ++x)
            indexed.setPixel(x, y, static_cast<uint>((x * 3 + y) % 16));
    seeds.emplace_back("indexed8.bmp", BmpBytes(indexed));

    QImage alpha(5, 4, QImage::Format_ARGB32);
    alpha.fill(qRgba(255, 0, 255, 128));
    alpha.setPixel(1, 1, qRgba(1, 2, 3, 255));
    seeds.emplace_back("argb32.bmp", BmpBytes(alpha));

    // Run-length encoded, 8 bits: two palette colours, 4 x 2 pixels.
    const QByteArray palette = LE(0x00FF00FF, 4) + LE(0x00204080, 4);
    const QByteArray runs("\x04\x01\x00\x00\x02\x00\x02\x01\x00\x01", 10);
    seeds.emplace_back("rle8.bmp", HandBmp(4, 2, 8, 1, 2, palette, runs));
    // 16 bits with colour masks (5-6-5), 2 x 2 pixels.
    const QByteArray masks = LE(0xF800, 4) + LE(0x07E0, 4) + LE(0x001F, 4);
    const QByteArray pixels = LE(0xF81F, 2) + LE(0x07E0, 2) + LE(0x001F, 2) + LE(0xFFFF, 2);
    seeds.emplace_back("bitfields16.bmp", HandBmp(2, 2, 16, 3, 0, masks, pixels));
    // Top-down rows (a negative height), 24 bits.
    QByteArray topDown = EncodeBitmap24(SheetImage(1, 1, 2));
    const int32_t height = static_cast<uint8_t>(topDown[22]) | static_cast<uint8_t>(topDown[23]) << 8;
    topDown.replace(22, 4, LE(static_cast<uint32_t>(-height), 4));
    seeds.emplace_back("top_down.bmp", topDown);
    return seeds;
}

SeedList ChunkSeeds() {
    SeedList seeds;
    // Byte 0: the count; then the letters (0 b, 1 d, 2 s, 3 l, 4 unknown) and the
    // variables (0 byte, 1 flag, 2 integer, 3 unsigned, 4 text); then the data.
    auto seed = [&](const std::string& name, const QByteArray& letters, const QByteArray& targets,
                    const QByteArray& data) {
        seeds.emplace_back(name, QByteArray(1, static_cast<char>(letters.size())) + letters + targets + data);
    };
    seed("version.bin", QByteArray("\x01\x01", 2), QByteArray("\x02\x02", 2), LE(1536, 4) + LE(1536, 4));
    seed("description.bin", QByteArray("\x01\x00\x02", 3), QByteArray("\x02\x00\x04", 3),
         LE(2, 4) + QByteArray("\x01", 1) + QByteArray("A description", 14));
    seed("author.bin", QByteArray("\x02\x02\x02\x01", 4), QByteArray("\x04\x04\x04\x02", 4),
         QByteArray("Name\0\0NL\0", 9) + LE(30, 4));
    seed("text_without_end.bin", QByteArray("\x02\x01\x01\x01", 4), QByteArray("\x04\x02\x02\x02", 4),
         QByteArray(40, 'w'));
    seed("odd_letters.bin", QByteArray("\x03\x04\x01", 3), QByteArray("\x01\x03\x00", 3), LE(77, 4));
    // A stream of chunks as it stands, one of them with a negative length.
    seeds.emplace_back("stream.bin", ChunkBytes("VR", LE(1536, 4) + LE(1536, 4)) +
                                         QByteArray("MH\xFF\xFF\xFF\xFF", 6) +
                                         ChunkBytes("00", QByteArray(1, '\0')));
    return seeds;
}
