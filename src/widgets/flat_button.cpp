#include "widgets/flat_button.h"

#include "imaging/bitmap.h"

#include <QAction>
#include <QActionGroup>
#include <QHash>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

TFlatButton::TFlatButton(QWidget* owner) : QWidget(owner) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    resize(32, 32);
}

TFlatButton::~TFlatButton() {
    delete m_popup;
}

void TFlatButton::SetGlyph(const QImage& glyph) {
    m_glyph = glyph.isNull() ? QImage() : glyph.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    FitToGlyph();
    update();
}

void TFlatButton::SetNumGlyphs(int count) {
    m_numGlyphs = std::clamp(count, 1, 4);
    FitToGlyph();
    update();
}

void TFlatButton::SetBackColor(TColor color) {
    m_backColor = color;
    update();
}

void TFlatButton::SetxOffset(int offset) {
    m_xOffset = offset;
    update();
}

void TFlatButton::SetyOffset(int offset) {
    m_yOffset = offset;
    update();
}

void TFlatButton::SetLatch(bool latch) {
    m_latch = latch;
}

void TFlatButton::SetChecked(bool checked) {
    if (m_latch)
        SetState(checked ? bsLatched : bsUp);
    else
        update();
}

void TFlatButton::SetEnabled(bool enabled) {
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    if (!enabled && m_pressing) {
        // A press cut short by disabling leaves the button as it was before it.
        m_pressing = false;
        m_state = m_state == bsPressedLatched ? bsLatched : bsUp;
    }
    update();
}

void TFlatButton::SetMenu(QMenu* menu) {
    m_menu = menu;
}

void TFlatButton::SetState(int state) {
    if (m_state == state)
        return;
    m_state = state;
    repaint();
}

void TFlatButton::FitToGlyph() {
    if (!m_glyph.isNull())
        resize(m_glyph.width() / m_numGlyphs, m_glyph.height());
}

QSize TFlatButton::sizeHint() const {
    if (m_glyph.isNull())
        return size();
    return QSize(m_glyph.width() / m_numGlyphs, m_glyph.height());
}

void TFlatButton::PaintWork() {
    const int width = std::max(this->width(), 1);
    const int height = std::max(this->height(), 1);
    m_work = NewBitmap(width, height);
    const QRgb back = ColorToRgb(m_backColor);
    m_work.fill(back);

    // Which column, and whether it moves by the offsets.
    int column = 0;
    bool moved = false;
    bool veiled = false;
    if (!m_enabled) {
        column = m_numGlyphs == 1 ? 0 : 1;
        veiled = m_numGlyphs == 1;
    } else if (m_state != bsUp) {
        moved = true;
        if (m_numGlyphs >= 3)
            column = (m_numGlyphs == 4 && m_state == bsLatched) ? 3 : 2;
    }

    const int columnWidth = m_glyph.isNull() ? 0 : m_glyph.width() / m_numGlyphs;
    const int glyphHeight = m_glyph.height();
    const QPoint shift = moved ? QPoint(m_xOffset, m_yOffset) : QPoint(0, 0);
    // The picture sits at the left, centred vertically.
    QRect picture(QPoint(0, (height - glyphHeight) / 2) + shift, QSize(columnWidth, glyphHeight));

    if (columnWidth > 0 && glyphHeight > 0)
        QPainter(&m_work).drawImage(picture.topLeft(), m_glyph,
                                    QRect(column * columnWidth, 0, columnWidth, glyphHeight));

    if (veiled) {
        // A checkerboard of the back colour over the picture: every pixel whose
        // coordinates are both even or both odd.
        for (int y = 0; y < height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(m_work.scanLine(y));
            for (int x = y & 1; x < width; x += 2)
                line[x] = back;
        }
    }
}

void TFlatButton::paintEvent(QPaintEvent*) {
    PaintWork();
    QPainter painter(this);
    painter.drawImage(0, 0, m_work);
}

void TFlatButton::mousePressEvent(QMouseEvent* event) {
    event->accept();
    Press(event->button(), event->modifiers(), event->position().toPoint());
}

void TFlatButton::mouseDoubleClickEvent(QMouseEvent* event) {
    // A quick second click is a click like the first.
    mousePressEvent(event);
}

void TFlatButton::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    Release(event->button(), event->modifiers(), event->position().toPoint());
}

void TFlatButton::Press(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint& pos) {
    if (button != Qt::LeftButton || !m_enabled)
        return;
    if (m_latch)
        SetState(m_state == bsUp ? bsPressedFromUp : bsPressedLatched);
    else
        SetState(bsPressed);
    m_pressing = true;
    QPointer<TFlatButton> self(this);
    emit MouseDown(button, modifiers, pos);
    if (!self || !m_menu || m_droppingDown)
        return;

    // The release that ends this press goes to the menu, not to us: once the
    // menu has closed the button comes up as if it had been released where it
    // was pressed, and a stray release arriving later is not taken for one.
    QAction* chosen = DropDown();
    if (!self)
        return;
    QPointer<QAction> command(chosen);
    Release(button, modifiers, pos);
    // The command runs with the button up again.
    if (command)
        command->trigger();
}

void TFlatButton::Release(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint& pos) {
    if (button != Qt::LeftButton || !m_enabled || !m_pressing)
        return;
    m_pressing = false;
    SetState(m_latch && m_state == bsPressedFromUp ? bsLatched : bsUp);
    QPointer<TFlatButton> self(this);
    emit MouseUp(button, modifiers, pos);
    if (self && rect().contains(pos))
        emit Click();
}

QAction* TFlatButton::DropDown() {
    const QPoint at = mapToGlobal(QPoint(0, height()));
    delete m_popup;
    m_popup = new QMenu(this);
    m_popup->setObjectName(m_menu->objectName() + QLatin1Char('_'));

    // Each item copied with what the user sees of it and the command behind it;
    // the items' own submenus are not copied.
    QHash<QAction*, QPointer<QAction>> originals; // copy -> original
    QHash<QActionGroup*, QActionGroup*> groups;
    const QList<QAction*> items = m_menu->actions();
    for (QAction* item : items) {
        auto* copy = new QAction(m_popup);
        copy->setObjectName(item->objectName() + QLatin1Char('_'));
        copy->setSeparator(item->isSeparator());
        copy->setText(item->text());
        copy->setIcon(item->icon());
        copy->setIconVisibleInMenu(item->isIconVisibleInMenu());
        copy->setFont(item->font());
        copy->setCheckable(item->isCheckable());
        copy->setChecked(item->isChecked());
        copy->setEnabled(item->isEnabled());
        copy->setVisible(item->isVisible());
        copy->setStatusTip(item->statusTip());
        copy->setWhatsThis(item->whatsThis());
        copy->setData(item->data());
        // Shown beside the caption; it acts only inside the open menu.
        copy->setShortcuts(item->shortcuts());
        copy->setShortcutContext(Qt::WidgetShortcut);
        copy->setShortcutVisibleInContextMenu(true);
        if (QActionGroup* group = item->actionGroup()) {
            QActionGroup*& mine = groups[group];
            if (!mine) {
                mine = new QActionGroup(m_popup);
                mine->setExclusionPolicy(group->exclusionPolicy());
            }
            mine->addAction(copy);
        }
        m_popup->addAction(copy);
        if (m_menu->defaultAction() == item)
            m_popup->setDefaultAction(copy);
        originals.insert(copy, item);
    }

    QPointer<TFlatButton> self(this);
    m_droppingDown = true;
    QAction* picked = m_popup->exec(at);
    if (!self)
        return nullptr;
    m_droppingDown = false;
    return picked ? originals.value(picked).data() : nullptr;
}
