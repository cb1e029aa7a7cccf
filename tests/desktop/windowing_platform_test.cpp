#include "desktop/windowing_platform.h"

#include <QtTest>
#include <gtest/gtest.h>

namespace {

QString Choose(const QMap<QString, QString>& env, const QStringList& args = {QStringLiteral("cubestacks")}) {
    return PreferredWindowingPlatform(
        [&env](const char* name) { return env.value(QString::fromLatin1(name)); }, args);
}

TEST(WindowingPlatform, AWaylandSessionRunsThroughXWaylandUnlessTheUserChose) {
    const QString wayland = QStringLiteral("wayland");
    // A Wayland session: X11 first, the Wayland plugin where no X server answers.
    EXPECT_EQ(Choose({{"XDG_SESSION_TYPE", wayland}, {"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}}),
              QStringLiteral("xcb;wayland"));
    EXPECT_EQ(Choose({{"XDG_SESSION_TYPE", "Wayland"}}), QStringLiteral("xcb;wayland"));
    // The user's own choice wins, in the environment or on the command line.
    EXPECT_EQ(Choose({{"XDG_SESSION_TYPE", wayland}, {"QT_QPA_PLATFORM", wayland}}), QString());
    EXPECT_EQ(Choose({{"XDG_SESSION_TYPE", wayland}},
                     {QStringLiteral("cubestacks"), QStringLiteral("-platform"), wayland}),
              QString());
    EXPECT_EQ(Choose({{"XDG_SESSION_TYPE", wayland}},
                     {QStringLiteral("cubestacks"), QStringLiteral("--platform=offscreen")}),
              QString());
    // A file named like the option is no choice of platform.
    EXPECT_EQ(Choose({{"XDG_SESSION_TYPE", wayland}},
                     {QStringLiteral("cubestacks"), QStringLiteral("platform.cst")}),
              QStringLiteral("xcb;wayland"));
    // Elsewhere Qt's own choice stands.
    EXPECT_EQ(Choose({{"XDG_SESSION_TYPE", "x11"}, {"DISPLAY", ":0"}}), QString());
    EXPECT_EQ(Choose({{"WAYLAND_DISPLAY", "wayland-0"}}), QString());
}

} // namespace
