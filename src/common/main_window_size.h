#pragma once

#include <QSize>
#include <functional>

// The main window's current width and height in pixels. The model sizes its
// grid from it and the background scales its tiles by it. The main window
// installs itself as the source; without one (the converter, most tests) the
// size set last is used, 1024 x 768 at start.
QSize MainWindowSize();
void SetMainWindowSize(const QSize& size);
void SetMainWindowSizeSource(std::function<QSize()> source); // empty: back to the fixed size
