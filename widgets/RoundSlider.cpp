// SPDX-License-Identifier: MIT
#include "widgets/RoundSlider.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionSlider>

namespace {

// The 8 x 8 checkerboard pattern: set bits take the background colour,
// clear bits the foreground colour.
QBrush CheckerBrush(const QColor& background, const QColor& foreground)
{
    QImage pattern(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y) {
        const unsigned bits = (y % 2 == 0) ? 0x55 : 0xAA;
        for (int x = 0; x < 8; ++x) {
            const bool set = bits & (0x80u >> x);
            pattern.setPixelColor(x, y, set ? background : foreground);
        }
    }
    return QBrush(pattern);
}

}  // namespace

RoundSlider::RoundSlider(QWidget* parent) : RoundSlider(Qt::Horizontal, parent) {}

RoundSlider::RoundSlider(Qt::Orientation orientation, QWidget* parent) : QSlider(orientation, parent)
{
    m_checkerBrush = CheckerBrush(m_thumbColour, QColor(0, 255, 0));
    setMouseTracking(true);
}

bool RoundSlider::IsThumbHighlighted() const
{
    return hasFocus() || isSliderDown() || m_thumbHot;
}

QRect RoundSlider::SubControl(QStyle::SubControl part) const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_Slider, &option, part, this);
}

void RoundSlider::mouseMoveEvent(QMouseEvent* event)
{
    QSlider::mouseMoveEvent(event);
    const bool hot = SubControl(QStyle::SC_SliderHandle).contains(event->position().toPoint());
    if (hot != m_thumbHot) {
        m_thumbHot = hot;
        update();
    }
}

void RoundSlider::leaveEvent(QEvent* event)
{
    if (m_thumbHot) {
        m_thumbHot = false;
        update();
    }
    QSlider::leaveEvent(event);
}

void RoundSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // The style draws the channel and the tick marks; the thumb is ours.
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.subControls = QStyle::SC_SliderGroove;
    if (tickPosition() != NoTicks) {
        option.subControls |= QStyle::SC_SliderTickmarks;
    }
    option.activeSubControls = QStyle::SC_None;
    style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
    DrawChannelOutline(painter);
    DrawThumb(painter);
    DrawEndDots(painter);
}

// A one-pixel frame just inside the channel: light on top and left, dark on
// bottom and right.
void RoundSlider::DrawChannelOutline(QPainter& painter) const
{
    const QRect r = SubControl(QStyle::SC_SliderGroove).adjusted(1, 1, -1, -1);
    if (r.width() < 2 || r.height() < 2) {
        return;
    }
    painter.fillRect(r.left(), r.top(), r.width(), 1, m_channelLight);
    painter.fillRect(r.left(), r.top(), 1, r.height(), m_channelLight);
    painter.fillRect(r.left(), r.bottom(), r.width(), 1, m_channelDark);
    painter.fillRect(r.right(), r.top(), 1, r.height(), m_channelDark);
}

void RoundSlider::DrawThumb(QPainter& painter) const
{
    const QRect thumb = SubControl(QStyle::SC_SliderHandle);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(m_thumbOutline, 1));
    if (IsThumbHighlighted()) {
        // The pattern moves with the thumb.
        painter.setBrushOrigin(thumb.left() % 8, thumb.top() % 8);
        painter.setBrush(m_checkerBrush);
    } else {
        painter.setBrush(m_thumbColour);
    }
    painter.drawEllipse(QRectF(thumb).adjusted(0.5, 0.5, -0.5, -0.5));
    painter.restore();
}

// The dots stand on the side without tick marks: the top corners of a
// horizontal slider (the bottom ones with ticks above), the left edge of a
// vertical one (the right edge with ticks on the left). First white, then
// green.
void RoundSlider::DrawEndDots(QPainter& painter) const
{
    const QRect client = rect();
    const bool ticksFirst = tickPosition() == TicksAbove;  // TicksLeft is the same value
    QPoint first, second;
    if (orientation() == Qt::Horizontal) {
        const int y = ticksFirst ? client.bottom() + 1 - kDotSize : client.top();
        first = QPoint(client.left(), y);
        second = QPoint(client.right() + 1 - kDotSize, y);
    } else {
        const int x = ticksFirst ? client.right() + 1 - kDotSize : client.left();
        first = QPoint(x, client.top());
        second = QPoint(x, client.bottom() + 1 - kDotSize);
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(m_thumbColour, 1));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(first, QSizeF(kDotSize, kDotSize)).adjusted(0.5, 0.5, -0.5, -0.5));
    painter.setBrush(m_dotColour);
    painter.drawEllipse(QRectF(second, QSizeF(kDotSize, kDotSize)).adjusted(0.5, 0.5, -0.5, -0.5));
    painter.restore();
}
