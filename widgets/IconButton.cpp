// SPDX-License-Identifier: MIT
#include "widgets/IconButton.h"

#include "widgets/ArtIcon.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

namespace {

// A one-pixel frame on the edge pixels of rect: top and left edges in one
// colour, bottom and right edges in the other.
void DrawEdges(QPainter& painter, const QRect& rect, const QColor& topLeft, const QColor& bottomRight)
{
    painter.fillRect(rect.left(), rect.top(), rect.width(), 1, topLeft);
    painter.fillRect(rect.left(), rect.top(), 1, rect.height(), topLeft);
    painter.fillRect(rect.left(), rect.bottom(), rect.width(), 1, bottomRight);
    painter.fillRect(rect.right(), rect.top(), 1, rect.height(), bottomRight);
}

}  // namespace

IconButton::IconButton(QWidget* parent) : IconButton(QString(), parent) {}

IconButton::IconButton(const QString& text, QWidget* parent) : QAbstractButton(parent)
{
    setText(text);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    m_activeBackground = m_inactiveBackground = palette().color(QPalette::Button);
    m_activeText = m_inactiveText = palette().color(QPalette::ButtonText);
}

void IconButton::SetIcon(int iconId, int iconOutId, int width, int height)
{
    m_iconSize = QSize(width, height);
    m_iconIn = ArtIcon::Load(iconId, width, height);
    m_iconOut = ArtIcon::Load(iconOutId != 0 ? iconOutId : iconId, width, height);
    if (m_iconIn.isNull() || m_iconOut.isNull()) {
        m_iconIn = m_iconOut = QPixmap();
    }
    updateGeometry();
    repaint();
}

void IconButton::SetHoverBorder(bool on)
{
    m_hoverBorder = on;
    update();
}

void IconButton::SetFlat(bool on)
{
    m_flat = on;
    if (!m_flat) {
        EndHover();
    }
    update();
}

void IconButton::SetAlign(int align)
{
    m_align = align == 1 ? 1 : 0;
    updateGeometry();
    update();
}

void IconButton::SetShowText(bool on)
{
    m_showText = on;
    updateGeometry();
    update();
}

void IconButton::SetFlatFocus(bool on)
{
    m_flatFocus = on;
    update();
}

void IconButton::SetActiveColours(const QColor& background, const QColor& text)
{
    m_activeBackground = background;
    m_activeText = text;
    update();
}

void IconButton::SetInactiveColours(const QColor& background, const QColor& text)
{
    m_inactiveBackground = background;
    m_inactiveText = text;
    update();
}

bool IconButton::IsMouseOver() const
{
    return m_mouseOver;
}

QSize IconButton::sizeHint() const
{
    const QString caption = m_showText ? text() : QString();
    QSize textSize = caption.isEmpty() ? QSize(0, 0) : fontMetrics().size(Qt::TextShowMnemonic, caption);
    const QSize icon = m_iconIn.isNull() ? QSize(0, 0) : m_iconSize;
    if (m_align == 1) {
        return QSize(qMax(textSize.width(), icon.width()) + 12, textSize.height() + icon.height() + 8);
    }
    return QSize(textSize.width() + icon.width() + 18, qMax(textSize.height(), icon.height()) + 8);
}

void IconButton::SetMouseOver(bool over)
{
    if (m_mouseOver != over) {
        m_mouseOver = over;
        update();
    }
}

void IconButton::EndHover()
{
    if (mouseGrabber() == this) {
        releaseMouse();
    }
    SetMouseOver(false);
}

void IconButton::mouseMoveEvent(QMouseEvent* event)
{
    QAbstractButton::mouseMoveEvent(event);
    const bool leftDown = event->buttons() & Qt::LeftButton;
    if ((leftDown && !m_mouseOver) || !m_flat) {
        return;
    }
    if (mouseGrabber() != this) {
        grabMouse();
        SetMouseOver(true);
        return;
    }
    if (!rect().contains(event->position().toPoint())) {
        SetMouseOver(false);
        // A press dragged off keeps the grab, so the release comes here.
        if (!leftDown) {
            releaseMouse();
        }
    }
}

void IconButton::mouseReleaseEvent(QMouseEvent* event)
{
    // The grab goes before the click is reported, so whatever the click opens
    // (a dialog, a message box) gets the mouse. A pointer still over the
    // button keeps the hover look; the next move takes the grab again.
    if (event->button() == Qt::LeftButton && mouseGrabber() == this) {
        releaseMouse();
        if (!rect().contains(event->position().toPoint())) {
            SetMouseOver(false);
        }
    }
    QAbstractButton::mouseReleaseEvent(event);
}

void IconButton::leaveEvent(QEvent* event)
{
    // Only reaches a button without the grab: the pointer left after a click.
    if (mouseGrabber() != this) {
        SetMouseOver(false);
    }
    QAbstractButton::leaveEvent(event);
}

void IconButton::focusOutEvent(QFocusEvent* event)
{
    SetMouseOver(false);
    QAbstractButton::focusOutEvent(event);
}

void IconButton::hideEvent(QHideEvent* event)
{
    EndHover();
    QAbstractButton::hideEvent(event);
}

void IconButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        EndHover();
    }
    QAbstractButton::changeEvent(event);
}

void IconButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool pressed = isDown();
    const bool focused = hasFocus();
    const bool lit = m_mouseOver || pressed;
    QRect area = rect();
    if (!m_flat && focused) {
        DrawEdges(painter, area, Qt::black, Qt::black);
        area.adjust(1, 1, -1, -1);
    }
    painter.fillRect(area, lit ? m_activeBackground : m_inactiveBackground);
    DrawBorder(painter, area, pressed);

    const QString caption = m_showText ? text() : QString();
    QRect captionArea = area;
    if (!m_iconIn.isNull()) {
        captionArea = DrawIcon(painter, area, !caption.isEmpty(), pressed);
    }
    if (!caption.isEmpty()) {
        DrawCaption(painter, captionArea, caption, pressed, lit);
    }
    if (focused && (!m_flat || m_flatFocus)) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = area.adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void IconButton::DrawBorder(QPainter& painter, const QRect& area, bool pressed) const
{
    const QPalette& colours = palette();
    const QColor highlight = colours.color(QPalette::Light);
    const QColor shadow = colours.color(QPalette::Dark);
    if (pressed && !m_flat) {
        DrawEdges(painter, area, shadow, shadow);
    } else if (pressed && m_hoverBorder) {
        DrawEdges(painter, area, shadow, highlight);
    } else if (!m_flat) {
        DrawEdges(painter, area, highlight, colours.color(QPalette::Shadow));
        DrawEdges(painter, area.adjusted(1, 1, -1, -1), colours.color(QPalette::Midlight), shadow);
    } else if (m_mouseOver && m_hoverBorder) {
        DrawEdges(painter, area, highlight, shadow);
    }
}

// Draws the icon and returns the area left for the caption.
QRect IconButton::DrawIcon(QPainter& painter, const QRect& area, bool hasCaption, bool pressed) const
{
    QRect captionArea = area;
    const int width = m_iconSize.width();
    const int height = m_iconSize.height();
    QPoint at;
    if (m_align == 0) {
        at.setX(hasCaption ? area.left() + 3 : area.left() + (area.width() - width) / 2);
        at.setY(area.top() + (area.height() - height) / 2);
        if (hasCaption) {
            captionArea.setLeft(area.left() + width + 3);
        }
    } else {
        at.setX(area.left() + (area.width() - width) / 2);
        at.setY(hasCaption ? area.top() : area.top() + (area.height() - height) / 2);
        if (hasCaption) {
            captionArea.setTop(area.top() + height);
        }
    }
    if (pressed) {
        at += QPoint(1, 1);
    }
    const QPixmap& icon = (m_mouseOver || pressed) ? m_iconIn : m_iconOut;
    painter.drawPixmap(at, isEnabled() ? icon : ArtIcon::Greyed(icon, this));
    return captionArea;
}

void IconButton::DrawCaption(QPainter& painter, QRect area, const QString& caption, bool pressed, bool lit) const
{
    if (pressed) {
        area.translate(1, 1);
    }
    const int flags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    painter.setFont(font());
    if (!isEnabled()) {
        // Embossed: a highlight copy one pixel down-right under a shadow copy.
        painter.setPen(palette().color(QPalette::Light));
        painter.drawText(area.translated(1, 1), flags, caption);
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawText(area, flags, caption);
        return;
    }
    painter.setPen(lit ? m_activeText : m_inactiveText);
    painter.drawText(area, flags, caption);
}
