#include "desktop/windowing_platform.h"

#include <QtTest>
#include <gtest/gtest.h>

namespace {

QString Choose(const QMap<QString, QString>& env, const QStringList& args = {QStringLiteral("cubestacks")}) {
    return PreferredWindowingPlatform(
        [&env](const char* name) { return env.value(QString::fromLatin1(name)); }, args);
}

TEST(WindowingPlatform, AWaylandSessionRunsThroughXWaylandUnlessTheUserChose) {
    // A Wayland session: X11 first, the Wayland plugin where no X server answers. The user's own choice
    // wins, in the environment or on the command line (a file named like the option is none); elsewhere
    // Qt's own choice stands.
    const QMap<QString, QString> wayland{{"XDG_SESSION_TYPE", "wayland"}};
    for (const auto& [env, args, want] :
         {std::tuple(QMap<QString, QString>{{"XDG_SESSION_TYPE", "wayland"},
                                            {"WAYLAND_DISPLAY", "wayland-0"},
                                            {"DISPLAY", ":0"}},
                     "", "xcb;wayland"),
          std::tuple(QMap<QString, QString>{{"XDG_SESSION_TYPE", "Wayland"}}, "", "xcb;wayland"),
          std::tuple(QMap<QString, QString>{{"XDG_SESSION_TYPE", "wayland"}, {"QT_QPA_PLATFORM", "wayland"}},
                     "", ""),
          std::tuple(wayland, " -platform wayland", ""), std::tuple(wayland, " --platform=offscreen", ""),
          std::tuple(wayland, " platform.cst", "xcb;wayland"),
          std::tuple(QMap<QString, QString>{{"XDG_SESSION_TYPE", "x11"}, {"DISPLAY", ":0"}}, "", ""),
          std::tuple(QMap<QString, QString>{{"WAYLAND_DISPLAY", "wayland-0"}}, "", "")})
        EXPECT_EQ(Choose(env, QString(QStringLiteral("cubestacks") + args).split(' ')), QString(want))
            << args;
}

} // namespace
