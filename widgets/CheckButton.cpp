// SPDX-License-Identifier: MIT
#include "widgets/CheckButton.h"

#include "widgets/ArtIcon.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

CheckButton::CheckButton(QWidget* parent) : CheckButton(0, QString(), parent) {}

CheckButton::CheckButton(int controlId, const QString& text, QWidget* parent)
    : QAbstractButton(parent), m_controlId(controlId)
{
    setText(text);
    setCheckable(true);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractButton::clicked, this, &CheckButton::PostCommand);
}

void CheckButton::SetCheck(int value, bool redraw)
{
    setChecked(value == 1 || value == 2);
    if (redraw) {
        repaint();
    }
}

int CheckButton::GetCheck() const
{
    return isChecked() ? 1 : 0;
}

void CheckButton::SetIcons(int tickedIconId, int clearIconId)
{
    m_iconSize = ArtIcon::Size(tickedIconId);
    m_tickedIcon = ArtIcon::Load(tickedIconId, m_iconSize, m_iconSize);
    m_clearIcon = ArtIcon::Load(clearIconId, m_iconSize, m_iconSize);
    updateGeometry();
    repaint();
}

void CheckButton::SetColours(const QColor& mark, const QColor& clear)
{
    m_markColour = mark;
    m_clearColour = clear;
    update();
}

void CheckButton::SetTextOnLeft(bool on)
{
    m_textOnLeft = on;
    update();
}

void CheckButton::SetCaptionAlignment(Qt::Alignment alignment)
{
    m_captionAlignment = alignment & Qt::AlignHorizontal_Mask;
    update();
}

void CheckButton::SetControlId(int id)
{
    m_controlId = id;
}

int CheckButton::ControlId() const
{
    return m_controlId;
}

bool CheckButton::IsHovered() const
{
    return m_hovered;
}

QSize CheckButton::sizeHint() const
{
    const int mark = HasIcons() ? m_iconSize : kMarkSize;
    if (text().isEmpty())
        return QSize(kInset + mark + kInset, mark);
    const QSize caption = CaptionSize();
    return QSize(kInset + mark + kGap + caption.width() + kInset, qMax(mark, caption.height()));
}

QSize CheckButton::CaptionSize() const
{
    return fontMetrics().boundingRect(QRect(0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX), CaptionFlags(), text()).size();
}

int CheckButton::CaptionFlags() const
{
    return int(m_captionAlignment) | Qt::AlignVCenter | Qt::TextWordWrap;
}

QRect CheckButton::MarkSquare() const
{
    const QRect area = rect().adjusted(kInset, kInset, -kInset, -kInset);
    const int side = HasIcons() ? m_iconSize : kMarkSize;
    // The square's top follows the area's size, not its top: one pixel above
    // centre for the usual inset. A box too low for that keeps the mark
    // inside its top and bottom, as far as its height allows. Icons stand at
    // the top.
    int top = HasIcons() ? 0 : (area.height() - side) / 2 + 2;
    top = qMax(0, qMin(top, height() - side));
    QRect square(area.left(), top, side, side);
    if (m_textOnLeft)
        square.moveLeft(area.right() + 1 - side);
    return square;
}

QRect CheckButton::CaptionArea() const
{
    // The full height: the face's inset is no reason to cut the letters of a
    // caption in a box that is barely taller than the font.
    const QRect square = MarkSquare();
    QRect area(kInset, 0, width() - 2 * kInset, height());
    if (m_textOnLeft)
        area.setRight(square.left() - 1 - kGap);
    else
        area.setLeft(square.right() + 1 + kGap);
    return area;
}

// Through the queue: the parent's handler runs after this click is done.
void CheckButton::PostCommand()
{
    QMetaObject::invokeMethod(
        this, [this] { emit commandPosted(m_controlId); }, Qt::QueuedConnection);
}

void CheckButton::SetHovered(bool hovered)
{
    if (m_hovered != hovered) {
        m_hovered = hovered;
        update();
    }
}

bool CheckButton::HasIcons() const
{
    return !m_tickedIcon.isNull() && !m_clearIcon.isNull() && m_iconSize > 0;
}

void CheckButton::mouseMoveEvent(QMouseEvent* event)
{
    QAbstractButton::mouseMoveEvent(event);
    SetHovered(rect().contains(event->position().toPoint()));
}

void CheckButton::leaveEvent(QEvent* event)
{
    SetHovered(false);
    QAbstractButton::leaveEvent(event);
}

void CheckButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool pressed = isDown();
    DrawFace(painter);
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
    DrawMark(painter, MarkSquare(), pressed);
    if (!text().isEmpty()) {
        DrawCaption(painter, CaptionArea(), pressed);
    }
}

// Not hovered, the face is what lies behind the box (a dialog's face, or a
// group's frame that the box sits in), so the box never cuts a frame line.
void CheckButton::DrawFace(QPainter& painter) const
{
    if (!m_hovered) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(palette().color(QPalette::Light));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    painter.restore();
}

void CheckButton::DrawMark(QPainter& painter, const QRect& square, bool pressed) const
{
    const QPoint shift = pressed ? QPoint(1, 1) : QPoint(0, 0);
    if (HasIcons()) {
        const QPixmap& icon = isChecked() ? m_tickedIcon : m_clearIcon;
        const QPoint at = square.topLeft() + shift;
        painter.drawPixmap(at, isEnabled() ? icon : ArtIcon::Greyed(icon, this));
        return;
    }
    const QColor fill = !isEnabled() ? palette().color(QPalette::Dark) : isChecked() ? m_markColour : m_clearColour;
    const QRectF outer = QRectF(square.translated(shift)).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(fill);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawEllipse(outer);
    painter.setPen(QPen(m_clearColour, 1));
    painter.drawEllipse(outer.adjusted(1, 1, -1, -1));
    painter.restore();
}

void CheckButton::DrawCaption(QPainter& painter, QRect area, bool pressed) const
{
    if (pressed) {
        area.translate(1, 1);
    }
    const int flags = CaptionFlags();
    painter.setFont(font());
    if (!isEnabled()) {
        painter.setPen(palette().color(QPalette::Light));
        painter.drawText(area.translated(1, 1), flags, text());
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawText(area, flags, text());
        return;
    }
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(area, flags, text());
}
