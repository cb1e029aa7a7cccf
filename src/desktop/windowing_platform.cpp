#include "desktop/windowing_platform.h"

#include <QtGlobal>

QString PreferredWindowingPlatform(const std::function<QString(const char*)>& env, const QStringList& args) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    if (!env("QT_QPA_PLATFORM").trimmed().isEmpty())
        return QString();
    for (const QString& arg : args.mid(1))
        if (arg == QLatin1String("-platform") || arg == QLatin1String("--platform") ||
            arg.startsWith(QLatin1String("-platform=")) || arg.startsWith(QLatin1String("--platform=")))
            return QString();
    if (env("XDG_SESSION_TYPE").trimmed().compare(QLatin1String("wayland"), Qt::CaseInsensitive) != 0)
        return QString();
    // X11 through XWayland first; Qt tries the next plugin when no X server answers.
    return QStringLiteral("xcb;wayland");
#else
    Q_UNUSED(env);
    Q_UNUSED(args);
    return QString();
#endif
}

void ChooseWindowingPlatform(int argc, char** argv) {
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const QString platform =
        PreferredWindowingPlatform([](const char* name) { return qEnvironmentVariable(name); }, args);
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform.toLocal8Bit());
}
