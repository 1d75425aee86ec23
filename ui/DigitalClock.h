// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QImage>
#include <QPolygon>
#include <QRect>
#include <QWidget>
#include <vector>

// A seven-segment clock showing hours, minutes and seconds (24-hour form,
// leading zeros, two colons, nothing blinks). It draws into an off-screen
// picture that is created on the first paint and only copied to the screen
// when painting, so the twice-a-second update never flickers. Until that
// first paint the setters only store their values.
class DigitalClock : public QWidget {
    Q_OBJECT
public:
    // Everything one clock picture is made of, in widget pixels.
    struct Shapes {
        int d = 0;                        // segment length
        int x0 = 0;                       // left edge of the first digit
        int digitX[6] = {};               // left edges: hours tens, units, minutes..., seconds...
        std::vector<QPolygon> segments;   // lit segments, filled and outlined
        std::vector<QRect> dots;          // colon dots: the pixels each ellipse spans
    };

    static constexpr int kGap = 5;   // pixels between the two digits of a pair

    explicit DigitalClock(QWidget* parent = nullptr);

    // Each stores its value(s) and redraws the picture at once (nothing to
    // redraw before the first paint).
    void SetBackgroundColour(const QColor& colour);
    void SetSegmentColour(const QColor& colour);
    void SetTime(int hours, int minutes, int seconds);

    // The geometry of a clock of width x height pixels with the given top
    // margin showing the given time. Pure: no painting.
    static Shapes Layout(int width, int height, int margin, int hours, int minutes, int seconds);

    // Segment letters lit for a digit: "ABCDEF" for 0 ... ; "" for a value
    // that is not a digit. A top, B upper right, C lower right, D bottom,
    // E lower left, F upper left, G middle.
    static const char* SegmentsOf(int digit);

    // The off-screen picture (null before the first paint).
    const QImage& Picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Redraw();

    QColor m_segmentColour;
    QColor m_backgroundColour;
    QImage m_picture;
    int m_hours = 0;
    int m_minutes = 0;
    int m_seconds = 0;
    int m_margin = 0;   // top margin in pixels, fixed at the first paint
};
