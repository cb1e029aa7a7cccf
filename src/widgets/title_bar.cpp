#include "widgets/title_bar.h"

namespace {

// A window that shows a title and a normal border now.
bool HasNormalTitle(const QWidget* form) {
    if (!form || !form->isWindow())
        return false;
    const Qt::WindowFlags flags = form->windowFlags();
    const Qt::WindowType type = form->windowType();
    if (type != Qt::Window && type != Qt::Dialog)
        return false;
    if (flags.testFlag(Qt::FramelessWindowHint))
        return false;
    // A customised frame shows a title only when it asks for one.
    if (flags.testFlag(Qt::CustomizeWindowHint) && !flags.testFlag(Qt::WindowTitleHint))
        return false;
    return true;
}

} // namespace

TTitlebar::TTitlebar(QWidget* owner) : QObject(owner), m_form(owner) {}

void TTitlebar::SetVisible(bool visible) {
    if (m_form) {
        if (!visible && !m_hidden && HasNormalTitle(m_form)) {
            m_shownFlags = m_form->windowFlags();
            // The border stays: only the title (and its buttons) goes.
            Qt::WindowFlags hidden = m_shownFlags | Qt::CustomizeWindowHint;
            hidden &= ~(Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                        Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint);
            Apply(hidden);
            m_hidden = true;
        } else if (visible && m_hidden) {
            Apply(m_shownFlags);
            m_hidden = false;
        }
    }
    m_visible = visible;
}

void TTitlebar::Apply(Qt::WindowFlags flags) {
    // Changing the flags makes a new native window and hides it; the client
    // area keeps its size and the outer corner its place.
    const bool wasVisible = m_form->isVisible();
    const bool placed = wasVisible || m_form->testAttribute(Qt::WA_Moved);
    const QPoint outerCorner = m_form->pos();
    const QSize client = m_form->size();
    m_form->setWindowFlags(flags);
    if (placed)
        m_form->move(outerCorner);
    m_form->resize(client);
    if (wasVisible)
        m_form->show();
    m_form->update();
}
