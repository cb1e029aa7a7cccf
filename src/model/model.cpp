#include "model/model.h"

#include "library/block_list.h"
#include "model/model_render_cache.h"

#include <algorithm>
#include <optional>

namespace {

// The letters each tool turns an orientation letter into; 0: not turned.
struct TurnRow {
    char letter, rotate, rotateBack, turn;
};
constexpr TurnRow kTurnTable[] = {
    {'N', 'E', 'W', 'S'}, {'E', 'S', 'N', 'W'}, {'S', 'W', 'E', 'N'}, {'W', 'N', 'S', 'E'},
    {'H', 'V', 'V', 0},   {'V', 'H', 'H', 0},   {'J', 'K', 'M', 'L'}, {'K', 'L', 'J', 'M'},
    {'L', 'M', 'K', 'J'}, {'M', 'J', 'L', 'K'},
};

// The orientation letter a tool turns a letter into; nullopt when the tool
// does not turn that letter.
std::optional<char> TurnedLetter(int32_t tool, char letter) {
    for (const TurnRow& row : kTurnTable) {
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

int32_t IndexOfName(const TBlockList* list, const std::string& name) {
    return list ? list->IndexFromName(name) : -1;
}

int32_t SelectedBlock(const TBlockList* list) {
    return list ? list->GetSelectedIndex() : -1;
}

} // namespace

QSize ModelImageSize(const QSize& window) {
    return {std::clamp(window.width(), 0, kMaxImageWidth), std::clamp(window.height(), 0, kMaxImageHeight)};
}

QSize WindowGrid(const QSize& window) {
    const QSize image = ModelImageSize(window);
    return {image.width() / kCellSize, (image.height() + kCellSize - 1) / kCellSize};
}

TModel::TModel(const TModelContext& context)
    : m_context(context), m_render(std::make_unique<TModelRenderCache>()) {
    Clear(false);
}

TModel::TModel(const TModelContext& context, TDeferredRender)
    : m_context(context), m_render(std::make_unique<TModelRenderCache>()) {
    ClearFields(false);
}

TModel::~TModel() = default;

void TModel::SetContext(const TModelContext& context) {
    m_context = context;
}

void TModel::ClearFields(bool useAuthorDefaults) {
    TModelData& data = *this;
    data = TModelData();
    const TModelDefaults& defaults = m_context.Defaults;
    if (useAuthorDefaults) {
        Author.AuthorName = defaults.AuthorName;
        Author.Country = defaults.AuthorCountry;
        Author.Age = defaults.AuthorAge;
    }
    Author.OwnerName = defaults.OwnerName;
    const QSize grid = WindowGrid(m_context.WindowSize);
    Cols = grid.width();
    Rows = grid.height();
}

void TModel::SizeBackground() {
    const QSize image = ImageSize();
    if (image.width() == m_background.Width && image.height() == m_background.Height)
        return;
    m_background.SetWidth(image.width());
    m_background.SetHeight(image.height());
    m_backgroundRendered = false;
}

void TModel::SetBackgroundSize(int32_t width, int32_t height) {
    m_background.SetWidth(width);
    m_background.SetHeight(height);
    m_backgroundRendered = false;
}

void TModel::RenderBackground() {
    m_backgroundRendered = false;
    m_background.WindowSize = m_context.WindowSize;
    m_background.PictureFolder = m_context.PictureFolder;
    m_background.Code = Background.Code;
    m_background.Color = Background.Color;
    m_background.SetKind(Background.Kind);
    m_backgroundRendered = true;
}

void TModel::SetBackgroundKind(uint8_t kind) {
    Background.Kind = kind;
    RenderBackground();
}

void TModel::SetData(const TModelData& data) {
    TModelData& own = *this;
    own = data;
    const bool shown = m_backgroundRendered && m_background.WindowSize == m_context.WindowSize &&
                       m_background.PictureFolder == m_context.PictureFolder &&
                       static_cast<const TBackgroundSettings&>(m_background) == Background;
    if (!shown)
        RenderBackground();
}

void TModel::Clear(bool useAuthorDefaults) {
    ClearFields(useAuthorDefaults);
    SizeBackground();
    RenderBackground();
}

int32_t TModel::GetBlockIndex(int32_t x, int32_t y, int32_t level) const {
    return InGrid(x, y, level) ? Cells[static_cast<size_t>(CellOffset(x, y, level))] : -1;
}

void TModel::SetBlockIndex(int32_t x, int32_t y, int32_t index, int32_t level) {
    if (InGrid(x, y, level))
        Cells[static_cast<size_t>(CellOffset(x, y, level))] = index;
}

std::string TModel::GetBlockName(int32_t x, int32_t y, int32_t level) const {
    const TBlockList* list = m_context.Library;
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
        const int32_t selected = SelectedBlock(m_context.Library);
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
        } else if (tool == tlRotate && IndexOfName(m_context.Library, *turned) == -1) {
            // One more step, as a block with only three orientations skips the missing one.
            turned = TurnedName(tool, *turned);
        }
        const int32_t index = turned ? IndexOfName(m_context.Library, *turned) : -1;
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
        const int32_t selected = SelectedBlock(m_context.Library);
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
        if (tool == tlRotate && IndexOfName(m_context.Library, *turned) == -1)
            turned = TurnedName(tool, *turned);
        return turned && IndexOfName(m_context.Library, *turned) != -1;
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
    TModelData data = source.Data();
    data.Version = Version;
    data.Version2 = Version2;
    data.Modified = true;
    SetData(data);
}

int32_t TModel::CellDataSize() const {
    int32_t size = 0;
    for (int32_t y = 0; y < Rows; ++y)
        for (int32_t x = 0; x < Cols; ++x)
            if (IsOccupied(x, y))
                size += 2 + 3 * (TopLevel(x, y) + 1);
    return size;
}
