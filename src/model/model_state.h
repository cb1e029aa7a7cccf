#pragma once

#include "model/model.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// What a user edits in a model, as a plain value: the attribute records, the
// background's settings and the grid. The rendered background and the
// Modified and Truncated flags are the model's, not part of it.
struct TModelState {
    TModel::TDescriptionRecord Description;
    TModel::TAuthorRecord Author;
    TModel::TTextOverlayRecord TextOverlay;
    std::string BackgroundCode;
    TColor BackgroundColor = 0;
    uint8_t BackgroundKind = 0;
    int32_t Cols = 0;
    int32_t Rows = 0;
    int32_t Levels = 0;
    std::array<int32_t, kCellStoreSize> Cells{};
};

// The model's state now.
TModelState ModelState(const TModel& model);

// Whether two states hold the same model.
bool SameModelState(const TModelState& a, const TModelState& b);

// Puts the state into the model; the background is rendered again only when
// its settings differ (IoError for a picture that can no longer be read). The
// model's flags stay as they are.
void RestoreModelState(TModel& model, const TModelState& state);

// The memory a state holds, its texts included.
size_t ModelStateBytes(const TModelState& state);
