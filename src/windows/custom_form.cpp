#include "windows/custom_form.h"

#include "windows/focus_target.h"
#include "windows/hint_line.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QSettings>

namespace {

const char* const kHideHint = "Click to hide this box";
const char* const kMoveHint = "Drag to move this box";
const char* const kSizeHint = "Drag to size this box";

QSettings OpenSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quadrantine"),
                     QStringLiteral("Cubestacks"));
}

// A stored number: decimal text, or hexadecimal after "0x" / "0X" (32 bits,
// taken as signed); anything else, or a number that does not fit, is the default.
int ParseStoredInt(const QVariant& value, int defaultValue) {
    if (!value.isValid())
        return defaultValue;
    const QString text = value.toString();
    static const QRegularExpression decimal(QStringLiteral("^[+-]?[0-9]+$"));
    static const QRegularExpression hexadecimal(QStringLiteral("^0[xX][0-9A-Fa-f]+$"));
    bool ok = false;
    if (hexadecimal.match(text).hasMatch()) {
        const uint number = text.mid(2).toUInt(&ok, 16);
        return ok ? static_cast<int>(number) : defaultValue;
    }
    if (decimal.match(text).hasMatch()) {
        const int number = text.toInt(&ok, 10);
        return ok ? number : defaultValue;
    }
    return defaultValue;
}

} // namespace

TCustomForm::TCustomForm(const QString& name, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(name);
    QFont systemFont(QStringLiteral("System"));
    systemFont.setPixelSize(13);
    setFont(systemFont);
    resize(104, 115);
    setMouseTracking(true);
    InstallHintFilter();
    // Every mouse and key event of the box and its children passes here first.
    qApp->installEventFilter(this);
}

TCustomForm::~TCustomForm() {
    if (qApp)
        qApp->removeEventFilter(this);
    if (RememberPlace)
        SavePlacement(PlacementKey());
}

QString TCustomForm::PlacementKey() const {
    return QStringLiteral("Windows/") + objectName();
}

void TCustomForm::ReadPlacement() {
    if (RememberPlace)
        LoadPlacement(PlacementKey(), plPosition, QRect(DockLeft, DockTop, DockWidth, DockHeight));
}

void TCustomForm::LoadPlacement(const QString& key, int what, const QRect& defaults) {
    QSettings settings = OpenSettings();
    settings.beginGroup(key);
    if (what & plPosition)
        move(ParseStoredInt(settings.value(QStringLiteral("Left")), defaults.left()),
             ParseStoredInt(settings.value(QStringLiteral("Top")), defaults.top()));
    if (what & plSize) {
        const int width = ParseStoredInt(settings.value(QStringLiteral("Width")), defaults.width());
        const int height = ParseStoredInt(settings.value(QStringLiteral("Height")), defaults.height());
        // A stored size no window can take is no size.
        resize(width > 0 ? width : defaults.width(), height > 0 ? height : defaults.height());
    }
    SavedVisible = ParseStoredInt(settings.value(QStringLiteral("Visible")), 1) != 0;
    settings.endGroup();
}

void TCustomForm::SavePlacement(const QString& key) const {
    QSettings settings = OpenSettings();
    settings.beginGroup(key);
    settings.setValue(QStringLiteral("Left"), QString::number(x()));
    settings.setValue(QStringLiteral("Top"), QString::number(y()));
    settings.setValue(QStringLiteral("Width"), QString::number(width()));
    settings.setValue(QStringLiteral("Height"), QString::number(height()));
    settings.setValue(QStringLiteral("Visible"), QString::fromLatin1(isVisible() ? "1" : "0"));
    settings.endGroup();
}

void TCustomForm::SetHint(const QString& text) {
    if (statusTip() != text)
        setStatusTip(text);
}

int TCustomForm::HitTest(const QPoint& pos) {
    if (pos.y() < TitleHeight) {
        if (pos.x() > width() - CloseWidth) {
            SetHint(QString::fromLatin1(kHideHint));
            return HTSYSMENU;
        }
        if (pos.x() <= DragWidth) {
            SetHint(QString::fromLatin1(kMoveHint));
            return HTCAPTION;
        }
        return HTCLIENT;
    }
    if (pos.y() > height() - GripHeight && Sizeable) {
        SetHint(QString::fromLatin1(kSizeHint));
        return HTBOTTOM;
    }
    SetHint(QString());
    return HTCLIENT;
}

void TCustomForm::FormClose(TCloseAction& action) {
    action = caNone;
    AskFocusTargetToClose();
}

void TCustomForm::closeEvent(QCloseEvent* event) {
    TCloseAction action = caHide;
    FormClose(action);
    switch (action) {
    case caNone:
        event->ignore();
        break;
    case caHide:
        event->ignore();
        hide();
        break;
    case caMinimize:
        event->ignore();
        showMinimized();
        break;
    case caFree:
        event->accept();
        deleteLater();
        break;
    }
}

void TCustomForm::keyPressEvent(QKeyEvent* event) {
    // Where no window manager turns Alt+F4 into a close request, the box does.
    if (event->key() == Qt::Key_F4 && (event->modifiers() & Qt::AltModifier)) {
        event->accept();
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool TCustomForm::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
        break;
    default:
        return false;
    }
    if (!watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != this)
        return false;
    if (event->type() == QEvent::KeyRelease) {
        ReturnFocus();
        return false;
    }
    return MouseEvent(event);
}

bool TCustomForm::MouseEvent(QEvent* event) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint global = mouse->globalPosition().toPoint();
    const QPoint local = mapFromGlobal(global);

    switch (event->type()) {
    case QEvent::MouseMove:
        if (m_grab == grMove) {
            move(global - m_grabOffset);
            return true;
        }
        if (m_grab == grSize) {
            resize(width(), std::max(global.y() - m_grabOffset.y(), TitleHeight + GripHeight + 1));
            return true;
        }
        if (m_grab == grHide)
            return true;
        if (rect().contains(local)) {
            HitTest(local);
            ReturnFocus();
        }
        return false;

    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        if (m_grab != grNone)
            return true;
        if (!rect().contains(local))
            return false;
        const int region = HitTest(local);
        if (region == HTCLIENT)
            return false;
        // The strips belong to the box, whatever lies on them.
        if (mouse->button() == Qt::LeftButton) {
            if (region == HTCAPTION) {
                m_grab = grMove;
                m_grabOffset = global - pos();
            } else if (region == HTBOTTOM) {
                m_grab = grSize;
                m_grabOffset = QPoint(0, global.y() - height());
            } else {
                m_grab = grHide;
            }
        }
        return true;
    }

    case QEvent::MouseButtonRelease: {
        bool taken = false;
        if (m_grab != grNone) {
            if (mouse->button() != Qt::LeftButton)
                return true;
            const TGrab grab = m_grab;
            m_grab = grNone;
            taken = true;
            if (grab == grHide && rect().contains(local) && HitTest(local) == HTSYSMENU)
                hide();
        } else if (rect().contains(local) && HitTest(local) != HTCLIENT) {
            taken = true; // the release of a press the strip took
        }
        ReturnFocus();
        return taken;
    }

    default:
        return false;
    }
}
