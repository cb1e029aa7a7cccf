#include "model/model_state.h"

#include "library/background.h"

#include <cstdint>
#include <tuple>

namespace {

auto Fields(const TModelState& s) {
    const TModel::TFontRecord& f = s.TextOverlay.Font;
    return std::tie(s.Description.DescriptionFlag, s.Description.DescriptionCode,
                    s.Description.DescriptionText, s.Author.AuthorName, s.Author.Age, s.Author.Country,
                    s.Author.OwnerName, s.TextOverlay.Text, s.TextOverlay.TextCol, s.TextOverlay.TextRow,
                    s.TextOverlay.Shadow, f.FontName, f.FontColor, f.FontHeight, f.FontStyle,
                    s.BackgroundCode, s.BackgroundColor, s.BackgroundKind, s.Cols, s.Rows, s.Levels, s.Cells);
}

// What a text holds outside itself: nothing while it fits the string's own buffer.
size_t HeapBytes(const std::string& text) {
    const auto self = reinterpret_cast<uintptr_t>(&text);
    const auto data = reinterpret_cast<uintptr_t>(text.data());
    const bool inside = data >= self && data < self + sizeof(std::string);
    return inside ? 0 : text.capacity() + 1;
}

} // namespace

TModelState ModelState(const TModel& model) {
    TModelState state;
    state.Description = model.Description;
    state.Author = model.Author;
    state.TextOverlay = model.TextOverlay;
    state.BackgroundCode = model.Background->Code;
    state.BackgroundColor = model.Background->Color;
    state.BackgroundKind = model.Background->Kind;
    state.Cols = model.Cols;
    state.Rows = model.Rows;
    state.Levels = model.Levels;
    state.Cells = model.Cells;
    return state;
}

bool SameModelState(const TModelState& a, const TModelState& b) {
    return Fields(a) == Fields(b);
}

void RestoreModelState(TModel& model, const TModelState& state) {
    model.Description = state.Description;
    model.Author = state.Author;
    model.TextOverlay = state.TextOverlay;
    model.Cols = state.Cols;
    model.Rows = state.Rows;
    model.Levels = state.Levels;
    model.Cells = state.Cells;
    TBackground& background = *model.Background;
    if (background.Code != state.BackgroundCode || background.Color != state.BackgroundColor ||
        background.Kind != state.BackgroundKind) {
        background.Code = state.BackgroundCode;
        background.Color = state.BackgroundColor;
        background.SetKind(state.BackgroundKind);
    }
}

size_t ModelStateBytes(const TModelState& state) {
    size_t bytes = sizeof(TModelState);
    for (const std::string* text : {&state.Description.DescriptionText, &state.Author.AuthorName,
                                    &state.Author.Country, &state.Author.OwnerName, &state.TextOverlay.Text,
                                    &state.TextOverlay.Font.FontName, &state.BackgroundCode})
        bytes += HeapBytes(*text);
    return bytes;
}
