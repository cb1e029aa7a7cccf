#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// The windowing platform the program asks Qt for. Its boxes place themselves
// beside the main window and stay above it, which a native Wayland window
// cannot do; so in a Wayland session the program runs through XWayland, and
// falls back to the Wayland plugin only where no X server answers. A platform
// the user chose (QT_QPA_PLATFORM, or -platform on the command line) wins.
//
// env: reads an environment variable; args: the command line, program first.
// Returns the QT_QPA_PLATFORM value to use, or an empty text to leave Qt's own
// choice alone.
QString PreferredWindowingPlatform(const std::function<QString(const char*)>& env, const QStringList& args);

// Sets QT_QPA_PLATFORM by PreferredWindowingPlatform for this process, before
// the application object is made.
void ChooseWindowingPlatform(int argc, char** argv);
