#include "windows/hint_line.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusTipEvent>
#include <QTimer>
#include <QWidget>

namespace {

class THintFilter : public QObject {
public:
    THintFilter() {
        m_idle.setSingleShot(true);
        m_idle.setInterval(0);
        QObject::connect(&m_idle, &QTimer::timeout, [this] { Update(); });
    }

    void Forget() {
        m_hovered = nullptr;
        m_idle.stop();
    }

    void Update() {
        m_idle.stop();
        // While a menu is open its highlighted item's hint stands.
        if (qobject_cast<QMenu*>(QApplication::activePopupWidget()))
            return;
        SetCurrentHint(WidgetHint(m_hovered));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::ToolTip:
            return true; // no pop-up hints
        case QEvent::Enter:
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
            if (watched->isWidgetType()) {
                // A mouse event that an ignoring child passed on names the
                // parent: the child under the pointer stays the one hovered.
                auto* widget = static_cast<QWidget*>(watched);
                if (event->type() == QEvent::Enter || !m_hovered || !widget->isAncestorOf(m_hovered))
                    m_hovered = widget;
                Schedule();
            }
            break;
        case QEvent::Leave:
            if (watched->isWidgetType() && watched == m_hovered) {
                auto* widget = static_cast<QWidget*>(watched);
                m_hovered = widget->isWindow() ? nullptr : widget->parentWidget();
                Schedule();
            }
            break;
        case QEvent::StatusTip:
            // Menu items announce their hints this way; widgets' own
            // announcements are covered by following the pointer.
            if (qobject_cast<QMenu*>(QApplication::activePopupWidget()) || qobject_cast<QMenu*>(watched) ||
                qobject_cast<QMenuBar*>(watched))
                SetCurrentHint(static_cast<QStatusTipEvent*>(event)->tip());
            break;
        default:
            break;
        }
        return false;
    }

private:
    void Schedule() {
        if (!m_idle.isActive())
            m_idle.start();
    }

    QPointer<QWidget> m_hovered;
    QTimer m_idle;
};

struct THintLineState {
    HintSink sink;
    QString hint;
    QPointer<THintFilter> filter;
};

THintLineState& State() {
    static THintLineState state;
    return state;
}

} // namespace

void SetHintLine(HintSink sink) {
    State().sink = std::move(sink);
}

QString CurrentHint() {
    return State().hint;
}

void SetCurrentHint(const QString& text) {
    THintLineState& state = State();
    if (state.hint == text)
        return;
    state.hint = text;
    if (state.sink)
        state.sink(text);
}

QString WidgetHint(const QWidget* widget) {
    for (; widget; widget = widget->parentWidget()) {
        const QString tip = widget->statusTip();
        if (!tip.isEmpty())
            return tip;
        if (widget->isWindow())
            break;
    }
    return QString();
}

void InstallHintFilter() {
    THintLineState& state = State();
    if (state.filter || !qApp)
        return;
    state.filter = new THintFilter;
    state.filter->setParent(qApp);
    qApp->installEventFilter(state.filter);
}

void UpdateHintNow() {
    if (THintFilter* filter = State().filter)
        filter->Update();
}

void ResetHintLine() {
    THintLineState& state = State();
    state.sink = nullptr;
    state.hint.clear();
    if (state.filter)
        state.filter->Forget();
}
