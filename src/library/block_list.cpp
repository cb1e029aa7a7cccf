#include "library/block_list.h"

#include "common/program_folder.h"
#include "imaging/bitmap.h"
#include "imaging/bitmap_file.h"

#include <QFileInfo>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <array>
#include <bit>
#include <exception>
#include <unordered_map>

namespace {

constexpr QRgb kMagentaRgb = 0x00FF00FFu;

// The sets lost when set `failed` (0-based) could not be loaded: it and the
// ones numbered after it that the scan would have gone on to.
QString MissingSets(const QString& folder, int failed) {
    int last = failed;
    while (last + 1 < kMaxSets && QFileInfo::exists(folder + QString::asprintf("sd%02d.csd", last + 2)))
        ++last;
    if (last == failed)
        return QStringLiteral("Block set %1 is not available.").arg(failed + 1);
    return QStringLiteral("Block sets %1 to %2 are not available.").arg(failed + 1).arg(last + 1);
}

int MapSlot(int set, int row, int variation) {
    return (set * kMaxRows + row) * kMaxVariations + variation;
}

bool MapInTable(int set, int row, int variation) {
    return set >= 0 && set < kMaxSets && row >= 0 && row < kMaxRows && variation >= 0 &&
           variation < kMaxVariations;
}

// The picture at (left, top) of the sheet, 32 x 32, opaque except where the
// sheet is exactly magenta or has no pixel at all.
QImage CutPicture(const QImage& sheet, int left, int top) {
    QImage picture(kBlockSize, kBlockSize, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    const int width = std::min(kBlockSize, sheet.width() - left);
    const int height = std::min(kBlockSize, sheet.height() - top);
    for (int y = 0; y < height; ++y) {
        const QRgb* from = reinterpret_cast<const QRgb*>(sheet.constScanLine(top + y)) + left;
        QRgb* to = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb rgb = from[x] & 0x00FFFFFFu;
            if (rgb != kMagentaRgb)
                to[x] = rgb | 0xFF000000u;
        }
    }
    return picture;
}

// Copies the opaque pixels of a block picture; the others leave the target as it was.
void DrawMasked(QImage& target, const QImage& picture, int x, int y) {
    if (target.isNull() || picture.isNull())
        return;
    if (!DirectTarget(target)) {
        QPainter painter(&target);
        painter.drawImage(x, y, picture);
        return;
    }
    const int left = std::max(0, x);
    const int top = std::max(0, y);
    const int right = std::min<int64_t>(target.width(), int64_t{x} + picture.width());
    const int bottom = std::min<int64_t>(target.height(), int64_t{y} + picture.height());
    if (left >= right || top >= bottom)
        return;
    // Raw rows, and a select rather than a branch, so that the compiler can
    // copy several pixels at once: a full model draws thousands of pictures.
    const qsizetype targetStride = target.bytesPerLine();
    const qsizetype pictureStride = picture.bytesPerLine();
    uchar* targetBits = target.bits();
    const uchar* pictureBits = picture.constBits();
    const int width = right - left;
    for (int ty = top; ty < bottom; ++ty) {
        const QRgb* from = reinterpret_cast<const QRgb*>(pictureBits + (ty - y) * pictureStride) + (left - x);
        QRgb* to = reinterpret_cast<QRgb*>(targetBits + ty * targetStride) + left;
        for (int i = 0; i < width; ++i)
            to[i] = qAlpha(from[i]) != 0 ? from[i] : to[i];
    }
}

// Bit x of row y set where the 32 x 32 picture's pixel (x, y) covers what is
// under it (alpha not 0).
using TRowMasks = std::array<uint32_t, kBlockSize>;

TRowMasks RowMasks(const uchar* bits, qsizetype stride) {
    TRowMasks masks{};
    for (int row = 0; row < kBlockSize; ++row) {
        const QRgb* from = reinterpret_cast<const QRgb*>(bits + row * stride);
        uint32_t mask = 0;
        for (int i = 0; i < kBlockSize; ++i)
            mask |= static_cast<uint32_t>((from[i] & 0xFF000000u) != 0) << i;
        masks[static_cast<size_t>(row)] = mask;
    }
    return masks;
}

// The pictures of a stack (bottom first, 32 x 32, 32 bits a pixel, with their
// row masks) over the 32 x 32 square at bits. Each row is made from the top
// down: a pixel takes the first picture that covers it, the square keeps its
// own pixel where none does, which is what drawing the pictures one over the
// other from the bottom gives. The masks tell which pixels a picture still
// gets without looking at them, so that a level hidden by the ones above costs
// nothing and a row is done once every pixel of it is taken.
void ComposeStack(uchar* bits, qsizetype stride, const uchar* const* pictures, const qsizetype* strides,
                  const TRowMasks* const* masks, int levels) {
    for (int row = 0; row < kBlockSize; ++row) {
        QRgb* to = reinterpret_cast<QRgb*>(bits + row * stride);
        uint32_t open = ~uint32_t{0}; // pixels no picture has taken yet
        for (int level = levels - 1; level >= 0 && open != 0; --level) {
            const uint32_t covers = (*masks[level])[static_cast<size_t>(row)];
            const uint32_t take = covers & open;
            if (take == 0)
                continue;
            const QRgb* from = reinterpret_cast<const QRgb*>(pictures[level] + row * strides[level]);
            if (take == covers) {
                // Nothing above hides any of it: the picture's own alpha selects,
                // a select rather than a branch, so that several pixels go at once.
                for (int i = 0; i < kBlockSize; ++i)
                    to[i] = (from[i] & 0xFF000000u) != 0 ? from[i] : to[i];
            } else {
                for (uint32_t rest = take; rest != 0; rest &= rest - 1) {
                    const int i = std::countr_zero(rest);
                    to[i] = from[i];
                }
            }
            open &= ~take;
        }
    }
}

void FillRect(QImage& target, int64_t left, int64_t top, int64_t right, int64_t bottom, QRgb color) {
    left = std::max<int64_t>(left, 0);
    top = std::max<int64_t>(top, 0);
    right = std::min<int64_t>(right, target.width());
    bottom = std::min<int64_t>(bottom, target.height());
    if (left >= right)
        return;
    for (int64_t y = top; y < bottom; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(target.scanLine(static_cast<int>(y)));
        std::fill(line + left, line + right, color);
    }
}

} // namespace

struct TBlockList::Lookup {
    Lookup() { ClearAll(); }
    void ClearAll() {
        names.clear();
        maps.fill(-1);
        masks.clear();
        sheets.fill(QString());
        cut.fill(false);
    }
    std::unordered_map<std::string, int32_t> names; // the lowest index of each name
    std::array<int16_t, kMaxSets * kMaxRows * kMaxVariations> maps;
    // The row masks of picture i of ImageList, made when it was cut, with the
    // cache key of the picture they were made from.
    struct Masks {
        qint64 picture = 0;
        TRowMasks rows{};
    };
    std::vector<Masks> masks;
    // The sheet file of each set, and whether its pictures have been cut.
    std::array<QString, kMaxSets> sheets;
    std::array<bool, kMaxSets> cut{};
    bool picturesWhenAsked = false;
};

TBlockList::TBlockList(TPictureLoading loading, const QString& systemFolder)
    : m_lookup(std::make_unique<Lookup>()) {
    m_lookup->picturesWhenAsked = loading == TPictureLoading::WhenAsked;
    ImageList.reserve(kMaxBlocks);
    m_lookup->names.reserve(kMaxBlocks);
    Clear();
    LoadSets(systemFolder);
}

TBlockList::~TBlockList() = default;

void TBlockList::Clear() {
    std::fill_n(Blocks.begin(), Count, BlockEntry()); // only Append writes entries, at Count
    Count = 0;
    RowCount.fill(0);
    // The pictures go with the table, so that picture i stays the picture of block i.
    ImageList.clear();
    m_lookup->ClearAll();
}

void TBlockList::LoadSets(const QString& systemFolder) {
    std::vector<std::string> rows;
    TBlockSelection& selection = Selection;
    SetCount = 0;
    selection.CurrentSet = 0;
    LoadError.clear();
    LoadNotice.clear();
    QStringList cutSheets;
    QString folder = systemFolder.isEmpty() ? DataFolder(QStringLiteral("System")) : systemFolder;
    if (!folder.endsWith('/'))
        folder += '/';
    int loading = 0;
    try {
        for (int set = 0; set < kMaxSets; ++set) {
            loading = set;
            const QString base = folder + QString::asprintf("sd%02d", set + 1);
            if (!QFileInfo::exists(base + QStringLiteral(".csd")))
                break;
            if (Count >= kMaxBlocks)
                break; // the table is full: a further set would have no blocks
            std::string title;
            ReadSetFile(base + QStringLiteral(".csd"), rows, title);
            const QString sheet = base + QStringLiteral(".csb");
            if (m_lookup->picturesWhenAsked)
                CheckBitmapFile(sheet);
            else
                Sheet = LoadBitmapFile(sheet);
            if (BitmapFileEndsEarly(sheet))
                cutSheets << QStringLiteral(
                                 "Block picture file %1 ends early: the pictures of its missing rows "
                                 "are black.")
                                 .arg(QFileInfo(sheet).fileName());
            m_lookup->sheets[static_cast<size_t>(set)] = sheet;
            m_lookup->cut[static_cast<size_t>(set)] = !m_lookup->picturesWhenAsked;

            // Rows past the 20th and names past the 13th in a row are ignored, and
            // so is everything from the row that no longer fits into the table.
            int keptRows = 0;
            const int rowCount = std::min<int>(static_cast<int>(rows.size()), kMaxRows);
            for (int row = 0; row < rowCount; ++row) {
                const std::string& names = rows[static_cast<size_t>(row)];
                const int variations = std::min<int>(static_cast<int>(names.size() / 3), kMaxVariations);
                if (variations > 0 && Count >= kMaxBlocks)
                    break;
                int appended = 0;
                for (; appended < variations && Count < kMaxBlocks; ++appended)
                    Append(static_cast<uint8_t>(set), static_cast<uint8_t>(row),
                           static_cast<uint8_t>(appended),
                           names.substr(static_cast<size_t>(3 * appended), 3));
                LastVariation[set][row] = appended - 1;
                selection.SelectedVariation[set][row] = 0;
                keptRows = row + 1;
            }
            RowCount[set] = keptRows;
            SetTitle[set] = title;
            selection.SelectedRow[set] = 0;
            SetCount = set + 1;
        }
    } catch (const SetFileEndsEarly&) {
        LoadError = QStringLiteral("Block set file %1 could not be read: the file ends early. %2")
                        .arg(QString::asprintf("sd%02d.csd", loading + 1), MissingSets(folder, loading));
    } catch (const std::exception& e) {
        QString reason = QString::fromStdString(e.what());
        if (reason.isEmpty())
            reason = QStringLiteral("The block sets could not be loaded");
        LoadError = reason + QStringLiteral(". ") + MissingSets(folder, loading);
    }
    LoadNotice = cutSheets.join(QLatin1Char('\n'));
    Sheet = QImage();
}

void TBlockList::Append(uint8_t set, uint8_t row, uint8_t variation, const std::string& name) {
    if (Count >= kMaxBlocks || !MapInTable(set, row, variation))
        return;
    if (m_lookup->picturesWhenAsked) {
        ImageList.emplace_back(); // cut by LoadPictures
    } else {
        ImageList.push_back(CutPicture(AsBitmap(Sheet), 1 + kSheetPitch * variation, 1 + kSheetPitch * row));
        SetMasks(ImageList.size() - 1);
    }

    BlockEntry& entry = Blocks[static_cast<size_t>(Count)];
    entry.Set = set;
    entry.Row = row;
    entry.Variation = variation;
    entry.Name = name.substr(0, 3);
    m_lookup->names.try_emplace(entry.Name, Count);
    int16_t& slot = m_lookup->maps[static_cast<size_t>(MapSlot(set, row, variation))];
    if (slot < 0)
        slot = static_cast<int16_t>(Count);
    ++Count;
}

void TBlockList::SetMasks(size_t index) {
    const QImage& picture = ImageList[index];
    if (m_lookup->masks.size() < ImageList.size())
        m_lookup->masks.resize(ImageList.size());
    m_lookup->masks[index] = {picture.cacheKey(), RowMasks(picture.constBits(), picture.bytesPerLine())};
}

bool TBlockList::LoadPictures(int32_t set) {
    if (set < 0 || set >= SetCount || m_lookup->cut[static_cast<size_t>(set)])
        return true;
    m_lookup->cut[static_cast<size_t>(set)] = true;
    QImage sheet;
    try {
        sheet = LoadBitmapFile(m_lookup->sheets[static_cast<size_t>(set)]);
    } catch (const std::exception& e) {
        LoadError = QString::fromStdString(e.what());
        return false;
    }
    for (int32_t index = 0; index < Count && static_cast<size_t>(index) < ImageList.size(); ++index) {
        const BlockEntry& entry = Blocks[static_cast<size_t>(index)];
        if (entry.Set != set)
            continue;
        ImageList[static_cast<size_t>(index)] =
            CutPicture(sheet, 1 + kSheetPitch * entry.Variation, 1 + kSheetPitch * entry.Row);
        SetMasks(static_cast<size_t>(index));
    }
    return true;
}

std::string TBlockList::NameFromMap(uint8_t set, uint8_t row, uint8_t variation) const {
    const int32_t index = IndexFromMap(set, row, variation);
    return index < 0 ? std::string("100") : Blocks[static_cast<size_t>(index)].Name;
}

int32_t TBlockList::IndexFromMap(uint8_t set, uint8_t row, uint8_t variation) const {
    if (!MapInTable(set, row, variation))
        return -1;
    return m_lookup->maps[static_cast<size_t>(MapSlot(set, row, variation))];
}

int32_t TBlockList::IndexFromName(const std::string& name) const {
    const auto found = m_lookup->names.find(name);
    return found == m_lookup->names.end() ? -1 : found->second;
}

bool TBlockList::IsValidName(const std::string& name) const {
    return IndexFromName(name) >= 0;
}

void TBlockList::MapFromIndex(int32_t index, int32_t& set, int32_t& row, int32_t& variation) const {
    // An index without a block reads as the map of an empty slot, (0, 0, 0).
    const BlockEntry empty;
    const BlockEntry& entry = index >= 0 && index < Count ? Blocks[static_cast<size_t>(index)] : empty;
    set = entry.Set;
    row = entry.Row;
    variation = entry.Variation;
}

std::string TBlockList::NameFromIndex(int32_t index) const {
    return index >= 0 && index < Count ? Blocks[static_cast<size_t>(index)].Name : std::string();
}

int32_t TBlockList::GetSelectedIndex() const {
    if (SelectedIndex == -1)
        return -1;
    const TBlockSelection& selection = Selection;
    const int set = selection.CurrentSet;
    if (set < 0 || set >= kMaxSets)
        return -1;
    const int row = selection.SelectedRow[static_cast<size_t>(set)];
    if (row < 0 || row >= kMaxRows)
        return -1;
    const int variation = selection.SelectedVariation[static_cast<size_t>(set)][static_cast<size_t>(row)];
    if (variation < 0 || variation > 255)
        return -1;
    return IndexFromMap(static_cast<uint8_t>(set), static_cast<uint8_t>(row),
                        static_cast<uint8_t>(variation));
}

void TBlockList::SelectIndex(int32_t index) {
    SelectedIndex = index;
    if (index < 0 || index >= Count)
        return;
    const BlockEntry& entry = Blocks[static_cast<size_t>(index)];
    TBlockSelection& selection = Selection;
    selection.CurrentSet = entry.Set;
    selection.SelectedRow[entry.Set] = entry.Row;
    selection.SelectedVariation[entry.Set][entry.Row] = entry.Variation;
}

void TBlockList::IndexedBlockDraw(QImage& image, int32_t x, int32_t y, int32_t index) const {
    if (index < 0 || static_cast<size_t>(index) >= ImageList.size())
        return;
    DrawMasked(image, ImageList[static_cast<size_t>(index)], x, y);
}

void TBlockList::StackedBlockDraw(QImage& image, int32_t x, int32_t y, const int32_t* indices,
                                  int32_t count) const {
    if (image.isNull() || count <= 0)
        return;
    // The pictures of the stack, bottom first; indices without a picture draw nothing.
    std::array<const uchar*, kMaxStack> pictures{};
    std::array<qsizetype, kMaxStack> strides{};
    std::array<const TRowMasks*, kMaxStack> masks{};
    std::array<TRowMasks, kMaxStack> madeHere; // for pictures put into ImageList by other means
    int levels = 0;
    bool whole = DirectTarget(image) && x >= 0 && y >= 0 && int64_t{x} + kBlockSize <= image.width() &&
                 int64_t{y} + kBlockSize <= image.height() && count <= kMaxStack;
    for (int32_t i = 0; i < count && whole; ++i) {
        const int32_t index = indices[i];
        if (index < 0 || static_cast<size_t>(index) >= ImageList.size())
            continue;
        const QImage& picture = ImageList[static_cast<size_t>(index)];
        if (picture.isNull())
            continue;
        whole = picture.width() == kBlockSize && picture.height() == kBlockSize && picture.depth() == 32;
        if (!whole)
            break;
        const size_t level = static_cast<size_t>(levels++);
        pictures[level] = picture.constBits();
        strides[level] = picture.bytesPerLine();
        const std::vector<Lookup::Masks>& made = m_lookup->masks;
        if (static_cast<size_t>(index) < made.size() &&
            made[static_cast<size_t>(index)].picture == picture.cacheKey()) {
            masks[level] = &made[static_cast<size_t>(index)].rows;
        } else {
            madeHere[level] = RowMasks(pictures[level], strides[level]);
            masks[level] = &madeHere[level];
        }
    }
    if (!whole) {
        for (int32_t i = 0; i < count; ++i)
            IndexedBlockDraw(image, x, y, indices[i]);
        return;
    }
    if (levels == 0)
        return;

    ComposeStack(image.bits() + y * image.bytesPerLine() + qsizetype{x} * 4, image.bytesPerLine(),
                 pictures.data(), strides.data(), masks.data(), levels);
}

void TBlockList::IndexedBlockDraw(TCanvas& canvas, int32_t x, int32_t y, int32_t index) const {
    if (canvas.Bitmap)
        IndexedBlockDraw(*canvas.Bitmap, x, y, index);
}

void TBlockList::MappedBlockDraw(TCanvas& canvas, int32_t x, int32_t y, int32_t set, int32_t row,
                                 int32_t variation) const {
    if (!MapInTable(set, row, variation))
        return;
    IndexedBlockDraw(
        canvas, x, y,
        IndexFromMap(static_cast<uint8_t>(set), static_cast<uint8_t>(row), static_cast<uint8_t>(variation)));
}

void TBlockList::StretchBlockDraw(TCanvas& canvas, int32_t x, int32_t y, int32_t size) const {
    if (!canvas.Bitmap || canvas.Bitmap->isNull() || size <= 0)
        return;
    QImage& target = *canvas.Bitmap;
    MakeDirectTarget(target);
    const QRgb red = qRgb(255, 0, 0);
    const QRgb blue = qRgb(0, 0, 255);
    // A one-pixel red outline just inside the square, blue within.
    const int64_t left = x;
    const int64_t top = y;
    FillRect(target, left, top, left + size, top + size, red);
    if (size > 2)
        FillRect(target, left + 1, top + 1, left + size - 1, top + size - 1, blue);
}
