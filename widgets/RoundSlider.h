// SPDX-License-Identifier: MIT
#pragma once

#include <QBrush>
#include <QColor>
#include <QSlider>
#include <QStyle>

// A slider whose thumb is a red ellipse with a green outline, checkered red
// and green while the slider has the focus, is pressed or the pointer is on
// the thumb. The channel is outlined in green, and two 7 x 7 dots (white,
// green) mark the ends on the side away from the tick marks.
class RoundSlider : public QSlider {
    Q_OBJECT

public:
    explicit RoundSlider(QWidget* parent = nullptr);
    explicit RoundSlider(Qt::Orientation orientation, QWidget* parent = nullptr);

    // Whether the thumb is drawn with the checkered brush now.
    bool IsThumbHighlighted() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QRect SubControl(QStyle::SubControl part) const;
    void DrawChannelOutline(QPainter& painter) const;
    void DrawThumb(QPainter& painter) const;
    void DrawEndDots(QPainter& painter) const;

    static constexpr int kDotSize = 7;  // pixels
    const QColor m_thumbColour{255, 0, 0};
    const QColor m_channelLight{0, 255, 0};
    const QColor m_channelDark{0, 255, 0};
    const QColor m_thumbOutline{0, 255, 0};
    const QColor m_dotColour{0, 255, 0};
    QBrush m_checkerBrush;  // 8 x 8, rows alternating 0x55 and 0xAA
    bool m_thumbHot = false;
};
