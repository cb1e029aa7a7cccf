#include "windows/custom_form.h"

#include "windows/focus_target.h"
#include "windows/hint_line.h"
#include "windows/settings_store.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

const char* const kHideHint = "Click to hide this box";
const char* const kMoveHint = "Drag to move this box";
const char* const kSizeHint = "Drag to size this box";

} // namespace

TCustomForm::TCustomForm(const QString& name, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint) {
    setObjectName(name);
    // A box that appears leaves the keyboard where it is (with the main window).
    setAttribute(Qt::WA_ShowWithoutActivating);
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
    if (what & plPosition)
        move(ReadIntSetting(key, QStringLiteral("Left"), defaults.left()),
             ReadIntSetting(key, QStringLiteral("Top"), defaults.top()));
    if (what & plSize) {
        const int width = ReadIntSetting(key, QStringLiteral("Width"), defaults.width());
        const int height = ReadIntSetting(key, QStringLiteral("Height"), defaults.height());
        // A stored size no window can take is no size.
        resize(width > 0 ? width : defaults.width(), height > 0 ? height : defaults.height());
    }
    SavedVisible = ReadFlagSetting(key, QStringLiteral("Visible"), true);
}

void TCustomForm::SavePlacement(const QString& key) const {
    WriteIntSetting(key, QStringLiteral("Left"), x());
    WriteIntSetting(key, QStringLiteral("Top"), y());
    WriteIntSetting(key, QStringLiteral("Width"), width());
    WriteIntSetting(key, QStringLiteral("Height"), height());
    WriteFlagSetting(key, QStringLiteral("Visible"), isVisible() || m_hiddenWithOwner);
}

void TCustomForm::HideWithOwner() {
    if (!isVisible())
        return;
    m_hiddenWithOwner = true;
    hide();
}

void TCustomForm::ShowWithOwner() {
    if (!m_hiddenWithOwner)
        return;
    m_hiddenWithOwner = false;
    // The window system may have minimised the box along with its owner.
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
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
            ReturnFocusOnHover();
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
