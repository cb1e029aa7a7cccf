#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

// Hides or shows the title bar of the window that owns it, keeping the
// window's client area the same size and its outer top-left corner in place.
// Only a window with a title and a normal border (an ordinary window or a
// dialog) has its title hidden; a frameless window, a tool window or a popup
// is left alone. The window keeps its border while the title is hidden.
class TTitlebar : public QObject {
    Q_OBJECT
public:
    explicit TTitlebar(QWidget* owner);

    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);

    // Whether the window's title is hidden by this component now.
    bool TitleHidden() const { return m_hidden; }

private:
    void Apply(Qt::WindowFlags flags);

    QPointer<QWidget> m_form;
    bool m_visible = true;
    bool m_hidden = false;
    Qt::WindowFlags m_shownFlags;
};
