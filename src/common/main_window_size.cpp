#include "common/main_window_size.h"

namespace {

struct MainWindowSizeState {
    QSize fixed{1024, 768};
    std::function<QSize()> source;
};

MainWindowSizeState& State() {
    static MainWindowSizeState state;
    return state;
}

} // namespace

QSize MainWindowSize() { return State().source ? State().source() : State().fixed; }

void SetMainWindowSize(const QSize& size) { State().fixed = size; }

void SetMainWindowSizeSource(std::function<QSize()> source) { State().source = std::move(source); }
