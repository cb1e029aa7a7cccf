#include "desktop/windowing_platform.h"
#include "support/test_support.h"

#include <QMap>

TEST(WindowingPlatform, AWaylandSessionRunsThroughXWaylandUnlessTheUserChose) {
    for (const QStringList& c : DataCases("windowing_platform")) {
        QMap<QString, QString> env;
        for (const QString& pair : c[0].split('|'))
            env[pair.section('=', 0, 0)] = pair.section('=', 1);
        const auto read = [&env](const char* name) { return env.value(QString::fromLatin1(name)); };
        EXPECT_EQ(
            PreferredWindowingPlatform(read, ("cubestacks " + c.value(1)).split(' ', Qt::SkipEmptyParts)),
            c.value(2))
            << c.join(' ').toStdString();
    }
}
