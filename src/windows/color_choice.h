#pragma once

#include "imaging/color.h"

#include <functional>

class QWidget;

// The colour dialog the attributes dialog opens. The main window installs its
// own (the one that remembers the custom colours); tests install an answer.
// A chooser gets the colour to start from and returns false when cancelled.
using TColorChooser = std::function<bool(QWidget* parent, TColor& color)>;

// Asks for a colour, starting from color; on OK color holds the choice.
bool ChooseColor(QWidget* parent, TColor& color);

// An empty chooser brings back the standard colour dialog.
void SetColorChooser(TColorChooser chooser);
