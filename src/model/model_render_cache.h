#pragma once

#include "model/text_overlay_layer.h"

#include <QFont>
#include <cstdint>
#include <string>

// What a model keeps between draws: the font made from its font fields and
// its rendered text overlay. Never copied between models.
struct TModelRenderCache {
    bool fontValid = false;
    std::string fontName;
    int32_t fontHeight = 0;
    uint8_t fontStyle = 0;
    QFont font;

    TTextOverlayLayer overlay;
};
