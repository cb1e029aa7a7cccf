#pragma once

#include <QFont>

// The font of the program's forms: "MS Sans Serif" with a character height of
// 11 pixels (the system's sans serif stands in where that font is missing).
QFont FormFont(bool bold = false);
