#include "model/model.h"

#include "common/main_window_size.h"
#include "common/program_folder.h"
#include "library/background.h"
#include "library/block_list.h"
#include "model/model_defaults.h"
#include "model/model_render_cache.h"

#include <algorithm>
#include <optional>

namespace {

// The orientation letter a tool turns a letter into; nullopt when the tool
// does not turn that letter.
std::optional<char> TurnedLetter(int32_t tool, char letter) {
    struct Row {
        char letter, rotate, rotateBack, turn;
    };
    static constexpr Row kTable[] = {
        {'N', 'E', 'W', 'S'}, {'E', 'S', 'N', 'W'}, {'S', 'W', 'E', 'N'}, {'W', 'N', 'S', 'E'},
        {'H', 'V', 'V', 0},   {'V', 'H', 'H', 0},   {'J', 'K', 'M', 'L'}, {'K', 'L', 'J', 'M'},
        {'L', 'M', 'K', 'J'}, {'M', 'J', 'L', 'K'},
    };
    for (const Row& row : kTable) {
        if (row.letter != letter)
            continue;
        const char to = tool == tlRotate ? row.rotate : tool == tlRotateBack ? row.rotateBack : row.turn;
        if (to == 0)
            return std::nullopt;
        return to;
    }
    return std::nullopt;
}

// One step of a tool on a block name: the name with its third character
// turned, or nullopt when that character does not turn.
std::optional<std::string> TurnedName(int32_t tool, const std::string& name) {
    if (name.size() < 3)
        return std::nullopt;
    const std::optional<char> letter = TurnedLetter(tool, name[2]);
    if (!letter)
        return std::nullopt;
    std::string turned = name;
    turned[2] = *letter;
    return turned;
}

int32_t IndexOfName(const std::string& name) {
    const TBlockList* list = BlockList();
    return list ? list->IndexFromName(name) : -1;
}

int32_t SelectedBlock() {
    const TBlockList* list = BlockList();
    return list ? list->GetSelectedIndex() : -1;
}

} // namespace

QSize ModelImageSize() {
    const QSize window = MainWindowSize();
    return {std::clamp(window.width(), 0, kMaxImageWidth), std::clamp(window.height(), 0, kMaxImageHeight)};
}

QSize WindowGrid() {
    const QSize image = ModelImageSize();
    return {image.width() / kCellSize, (image.height() + kCellSize - 1) / kCellSize};
}

TModel::TModel()
    : Background(std::make_unique<TBackground>()), m_render(std::make_unique<TModelRenderCache>()) {
    Clear(false);
}

TModel::TModel(TDeferredRender)
    : Background(std::make_unique<TBackground>()), m_render(std::make_unique<TModelRenderCache>()) {
    ClearFields(false);
}

TModel::~TModel() = default;

void TModel::ClearFields(bool useAuthorDefaults) {
    Version = kModelVersion;
    Version2 = kModelVersion;
    Description = TDescriptionRecord();
    Author = TAuthorRecord();
    if (useAuthorDefaults) {
        const TModelDefaults& defaults = ModelDefaults();
        Author.AuthorName = defaults.AuthorName;
        Author.Country = defaults.AuthorCountry;
        Author.Age = defaults.AuthorAge;
    }
    Author.OwnerName = ProgramOwnerName();
    TextOverlay = TTextOverlayRecord();

    Background->Code.clear();
    Background->Color = clBlack;
    Background->Kind = bkColor;

    Modified = false;
    Truncated = false;
    const QSize grid = WindowGrid();
    Cols = grid.width();
    Rows = grid.height();
    Levels = kMaxLevels;
    Cells.fill(-1);
}

void TModel::SizeBackground() {
    const QSize image = ModelImageSize();
    Background->SetWidth(image.width());
    Background->SetHeight(image.height());
}

void TModel::Clear(bool useAuthorDefaults) {
    ClearFields(useAuthorDefaults);
    SizeBackground();
    Background->SetKind(bkColor);
}

int32_t TModel::GetBlockIndex(int32_t x, int32_t y, int32_t level) const {
    return InGrid(x, y, level) ? Cells[static_cast<size_t>(CellOffset(x, y, level))] : -1;
}

void TModel::SetBlockIndex(int32_t x, int32_t y, int32_t index, int32_t level) {
    if (InGrid(x, y, level))
        Cells[static_cast<size_t>(CellOffset(x, y, level))] = index;
}

std::string TModel::GetBlockName(int32_t x, int32_t y, int32_t level) const {
    const TBlockList* list = BlockList();
    const int32_t index = GetBlockIndex(x, y, level);
    if (!list || index < 0)
        return std::string();
    return list->NameFromIndex(index);
}

bool TModel::IsOccupied(int32_t x, int32_t y) const {
    return GetBlockIndex(x, y, 0) != -1;
}

int32_t TModel::TopLevel(int32_t x, int32_t y) const {
    for (int32_t level = 0; level < Levels; ++level)
        if (GetBlockIndex(x, y, level) == -1)
            return std::max(0, level - 1);
    return std::max(0, Levels - 1);
}

int32_t TModel::FreeLevel(int32_t x, int32_t y) const {
    for (int32_t level = 0; level < Levels; ++level)
        if (GetBlockIndex(x, y, level) == -1)
            return level;
    return std::max(0, Levels - 1);
}

int32_t TModel::GetTopBlock(int32_t x, int32_t y) const {
    return GetBlockIndex(x, y, TopLevel(x, y));
}

bool TModel::ApplyTool(TCanvas& canvas, int32_t tool, int32_t x, int32_t y) {
    Modified = true;
    const int32_t top = TopLevel(x, y);
    switch (tool) {
    case tlPlace: {
        const int32_t selected = SelectedBlock();
        // Without a selected block there is nothing to place; storing -1 would
        // erase the top block of a full stack.
        if (selected == -1)
            return false;
        const int32_t current = GetBlockIndex(x, y, top);
        if (current != -1 && current == selected)
            return false;
        SetBlockIndex(x, y, selected, FreeLevel(x, y));
        DrawCell(canvas, x, y);
        return true;
    }
    case tlErase:
        if (!IsOccupied(x, y))
            return false;
        SetBlockIndex(x, y, -1, top);
        DrawCell(canvas, x, y);
        return true;
    case tlRotate:
    case tlRotateBack:
    case tlTurn: {
        if (!IsOccupied(x, y))
            return false;
        const std::string name = GetBlockName(x, y, top);
        std::optional<std::string> turned = TurnedName(tool, name);
        if (!turned) {
            if (tool != tlTurn)
                return false;
            turned = name; // a block that does not turn is written back as it is
        } else if (tool == tlRotate && IndexOfName(*turned) == -1) {
            // One more step, as a block with only three orientations skips the missing one.
            turned = TurnedName(tool, *turned);
        }
        const int32_t index = turned ? IndexOfName(*turned) : -1;
        // A result the library does not hold would turn the block into an
        // unrelated one; the block stays as it is.
        if (index == -1)
            return false;
        SetBlockIndex(x, y, index, top);
        DrawCell(canvas, x, y);
        return true;
    }
    default:
        return false;
    }
}

bool TModel::CanApplyTool(int32_t tool, int32_t x, int32_t y) const {
    switch (tool) {
    case tlPlace: {
        const int32_t selected = SelectedBlock();
        if (selected == -1)
            return false;
        return !IsOccupied(x, y) || GetTopBlock(x, y) != selected;
    }
    case tlRotate:
    case tlRotateBack:
    case tlTurn: {
        if (!IsOccupied(x, y))
            return false;
        const std::string name = GetBlockName(x, y, TopLevel(x, y));
        std::optional<std::string> turned = TurnedName(tool, name);
        if (!turned)
            return false;
        if (tool == tlRotate && IndexOfName(*turned) == -1)
            turned = TurnedName(tool, *turned);
        return turned && IndexOfName(*turned) != -1;
    }
    default: // tlErase and unknown tools
        return false;
    }
}

bool TModel::EdgeIsFree(int32_t direction) const {
    switch (direction) {
    case drLeft:
    case drRight: {
        const int32_t x = direction == drLeft ? 0 : Cols - 1;
        for (int32_t y = 0; y < Rows; ++y)
            if (IsOccupied(x, y))
                return false;
        return true;
    }
    case drUp:
    case drDown: {
        const int32_t y = direction == drUp ? 0 : Rows - 1;
        for (int32_t x = 0; x < Cols; ++x)
            if (IsOccupied(x, y))
                return false;
        return true;
    }
    default:
        return true;
    }
}

bool TModel::Shift(int32_t direction) {
    if (!EdgeIsFree(direction))
        return false;
    if (direction < drLeft || direction > drDown)
        return true;
    auto move = [this](int32_t x, int32_t y, int32_t toX, int32_t toY) {
        for (int32_t level = 0; level < Levels; ++level) {
            const int32_t index = GetBlockIndex(x, y, level);
            SetBlockIndex(toX, toY, index, level);
            SetBlockIndex(x, y, -1, level);
        }
    };
    switch (direction) {
    case drLeft:
        for (int32_t y = 0; y < Rows; ++y)
            for (int32_t x = 1; x < Cols; ++x)
                move(x, y, x - 1, y);
        TextOverlay.TextCol = TextOverlay.TextCol > 0 ? TextOverlay.TextCol - 1 : 0;
        break;
    case drRight:
        for (int32_t y = 0; y < Rows; ++y)
            for (int32_t x = Cols - 2; x >= 0; --x)
                move(x, y, x + 1, y);
        TextOverlay.TextCol =
            TextOverlay.TextCol + 1 < Cols ? TextOverlay.TextCol + 1 : std::max(0, Cols - 1);
        break;
    case drUp:
        for (int32_t x = 0; x < Cols; ++x)
            for (int32_t y = 1; y < Rows; ++y)
                move(x, y, x, y - 1);
        TextOverlay.TextRow = TextOverlay.TextRow > 0 ? TextOverlay.TextRow - 1 : 0;
        break;
    case drDown:
        for (int32_t x = 0; x < Cols; ++x)
            for (int32_t y = Rows - 2; y >= 0; --y)
                move(x, y, x, y + 1);
        TextOverlay.TextRow =
            TextOverlay.TextRow + 1 < Rows ? TextOverlay.TextRow + 1 : std::max(0, Rows - 1);
        break;
    }
    Modified = true;
    return true;
}

void TModel::Assign(const TModel& source) {
    Description = source.Description;
    Author = source.Author;
    TextOverlay = source.TextOverlay;
    Cols = source.Cols;
    Rows = source.Rows;
    Levels = source.Levels;
    Cells = source.Cells;
    Truncated = source.Truncated;
    Modified = true;
    // The background is rendered again at this model's own size.
    Background->Code = source.Background->Code;
    Background->Color = source.Background->Color;
    Background->SetKind(source.Background->Kind);
}

int32_t TModel::CellDataSize() const {
    int32_t size = 0;
    for (int32_t y = 0; y < Rows; ++y)
        for (int32_t x = 0; x < Cols; ++x)
            if (IsOccupied(x, y))
                size += 2 + 3 * (TopLevel(x, y) + 1);
    return size;
}
