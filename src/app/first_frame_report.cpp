#include "app/first_frame_report.h"

#include "app/main_form.h"
#include "windows/splash_form.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <chrono>
#include <cstdio>

namespace {

// Taken while the program's static data is set up, before main runs.
const std::chrono::steady_clock::time_point kProgramStart = std::chrono::steady_clock::now();

void Report(const char* window) {
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - kProgramStart).count();
    std::fprintf(stderr, "cubestacks: first frame: %s %.1f ms\n", window, ms);
    std::fflush(stderr);
}

// Watches the paint events of every widget until both windows have shown.
class FirstFrameWatch : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint || !watched->isWidgetType())
            return false;
        const QWidget* window = static_cast<QWidget*>(watched)->window();
        if (!m_splash && qobject_cast<const TSplashForm*>(window)) {
            // The splash is painted before the message loop runs: its paint is its frame.
            m_splash = true;
            Report("splash");
        } else if (!m_main && qobject_cast<const TMainForm*>(window)) {
            // After this paint and the flush to the screen that ends it.
            m_main = true;
            QTimer::singleShot(0, this, [this] {
                Report("main");
                qApp->removeEventFilter(this);
                deleteLater();
            });
        }
        return false;
    }

private:
    bool m_splash = false;
    bool m_main = false;
};

} // namespace

void InstallFirstFrameReport() {
    if (qEnvironmentVariable("CUBESTACKS_REPORT_FIRST_FRAME") != QLatin1String("1") || !qApp)
        return;
    qApp->installEventFilter(new FirstFrameWatch(qApp));
}
