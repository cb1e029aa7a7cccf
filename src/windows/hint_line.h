#pragma once

#include <QString>
#include <functional>

class QWidget;

// The program's hint line. Hints are never shown as pop-ups: the hint of
// whatever is under the mouse pointer (a widget's status tip, or its nearest
// parent's when it has none of its own) and of a highlighted menu item goes to
// one sink, which the toolbox's hint line shows. An application-wide event
// filter follows the pointer and takes the hint over each time the program
// becomes idle, so that handlers that change status tips as the pointer moves
// are followed. Tooltips are swallowed.

using HintSink = std::function<void(const QString&)>;

// Installs the sink (empty: none). It is called each time the hint changes.
void SetHintLine(HintSink sink);

// The program's current hint text.
QString CurrentHint();
// Sets the hint now; the sink hears of it when it differs from the last one.
void SetCurrentHint(const QString& text);

// The hint a widget shows: its status tip, or its nearest parent's that has one.
QString WidgetHint(const QWidget* widget);

// Installs the application-wide event filter once; later calls do nothing.
void InstallHintFilter();

// Takes the hint of the widget under the pointer now rather than at the next idle moment.
void UpdateHintNow();

// Tests: no sink, an empty hint, the pointer forgotten.
void ResetHintLine();
