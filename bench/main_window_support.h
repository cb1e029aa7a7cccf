#pragma once

// Shared by the benchmarks of the real main window: waiting until it is on the
// screen, and a main that keeps the run's settings and recovery copies apart
// from the user's.

#include "bench_support.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>

// Runs the event loop until the window is on the screen, for at most 5 seconds.
inline bool WaitUntilExposed(QWidget& widget) {
    const QDeadlineTimer deadline(5000);
    while (!(widget.windowHandle() && widget.windowHandle()->isExposed()) && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    QApplication::processEvents();
    return widget.windowHandle() && widget.windowHandle()->isExposed();
}

// The main of a main-window benchmark: settings and recovery copies of a run of its own.
inline int RunMainWindowBenchmarks(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath("data").toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.filePath("settings"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.filePath("settings"));
    return RunBenchmarks<QApplication>(argc, argv);
}
