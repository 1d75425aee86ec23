// SPDX-License-Identifier: MIT
#include "ui/DigitalClock.h"

#include <QPainter>
#include <QPalette>
#include <array>

namespace {

// A vertex of a segment in tenths of the segment length d, from the top
// left of the digit cell. Tenths keep the truncation exact: 0.3 x 30 is 9,
// not the 8 a binary 0.3 would give.
struct Tenths {
    int kx, ky;
};

// The seven segments A..G as polygons in a cell d wide and 2d high.
const std::array<std::vector<Tenths>, 7> kSegments = {{
    {{1, 0}, {9, 0}, {7, 2}, {3, 2}},                         // A top
    {{10, 1}, {10, 8}, {9, 9}, {8, 8}, {8, 3}},               // B upper right
    {{10, 11}, {10, 18}, {8, 16}, {8, 11}, {9, 10}},          // C lower right
    {{1, 19}, {9, 19}, {7, 17}, {3, 17}},                     // D bottom
    {{0, 11}, {0, 18}, {2, 16}, {2, 11}, {1, 10}},            // E lower left
    {{0, 1}, {0, 8}, {1, 9}, {2, 8}, {2, 3}},                 // F upper left
    {{3, 9}, {7, 9}, {8, 10}, {7, 11}, {3, 11}, {2, 10}},     // G middle
}};

const char* const kDigitSegments[10] = {
    "ABCDEF", "BC", "ABDEG", "ABCDG", "BCFG", "ACDFG", "ACDEFG", "ABC", "ABCDEFG", "ABCDFG",
};

// trunc(tenths / 10 x d) for d >= 0.
int Scaled(int tenths, int d) { return tenths * d / 10; }

void AddDigit(DigitalClock::Shapes& shapes, int digit, int x, int margin)
{
    const int d = shapes.d;
    for (const char* s = DigitalClock::SegmentsOf(digit); *s; ++s) {
        QPolygon polygon;
        for (const Tenths& v : kSegments[size_t(*s - 'A')])
            polygon << QPoint(x + Scaled(v.kx, d), margin + Scaled(v.ky, d));
        shapes.segments.push_back(polygon);
    }
}

// The two colon dots at x. Each ellipse spans the rectangle from
// (x + 0.3d, margin + 0.4d) up to, not including, (x + 0.6d, margin + 0.7d);
// the lower one is moved down by margin + 0.8d.
void AddColon(DigitalClock::Shapes& shapes, int x, int margin)
{
    const int d = shapes.d;
    const QRect upper(QPoint(x + Scaled(3, d), margin + Scaled(4, d)),
                      QPoint(x + Scaled(6, d) - 1, margin + Scaled(7, d) - 1));
    shapes.dots.push_back(upper);
    shapes.dots.push_back(upper.translated(0, margin + Scaled(8, d)));
}

// A pair value as two digits: a leading 0 below 10.
void SplitPair(int value, int& tens, int& units)
{
    tens = value < 10 ? 0 : value / 10;
    units = value < 10 ? value : value % 10;
}

}  // namespace

DigitalClock::DigitalClock(QWidget* parent)
    : QWidget(parent),
      m_segmentColour(palette().color(QPalette::ButtonText)),
      m_backgroundColour(palette().color(QPalette::Button))
{
    // The picture covers every pixel; Qt need not clear behind it.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

const char* DigitalClock::SegmentsOf(int digit)
{
    return digit >= 0 && digit <= 9 ? kDigitSegments[digit] : "";
}

DigitalClock::Shapes DigitalClock::Layout(int width, int height, int margin, int hours, int minutes,
                                          int seconds)
{
    Shapes shapes;
    const int d = shapes.d = (height - 2 * margin) / 2;
    const int x0 = shapes.x0 = (width - 8 * d - 3 * kGap) / 2;
    int tens = 0, units = 0;

    SplitPair(hours, tens, units);
    shapes.digitX[0] = x0;
    shapes.digitX[1] = x0 + kGap + d;
    AddDigit(shapes, tens, shapes.digitX[0], margin);
    AddDigit(shapes, units, shapes.digitX[1], margin);
    AddColon(shapes, x0 + kGap + 2 * d, margin);

    // A leading 1 is narrow: minutes and seconds 10..19 close up to the left.
    const int xm = x0 + 3 * d + kGap;
    const bool minutesTeen = minutes >= 10 && minutes <= 19;
    SplitPair(minutes, tens, units);
    shapes.digitX[2] = minutesTeen ? xm - 2 * kGap : xm;
    shapes.digitX[3] = minutesTeen ? xm + d - kGap : xm + kGap + d;
    AddDigit(shapes, tens, shapes.digitX[2], margin);
    AddDigit(shapes, units, shapes.digitX[3], margin);
    AddColon(shapes, xm + kGap + 2 * d, margin);

    const int xs = x0 + 6 * d + 2 * kGap;
    SplitPair(seconds, tens, units);
    if (seconds < 10) {
        shapes.digitX[4] = xs;
        shapes.digitX[5] = xs + 14 * d / 10;
    } else if (seconds <= 19) {
        shapes.digitX[4] = xs - 2 * kGap;
        shapes.digitX[5] = xs + d - kGap;
    } else {
        shapes.digitX[4] = xs;
        shapes.digitX[5] = xs + kGap + d;
    }
    AddDigit(shapes, tens, shapes.digitX[4], margin);
    AddDigit(shapes, units, shapes.digitX[5], margin);
    return shapes;
}

void DigitalClock::SetBackgroundColour(const QColor& colour)
{
    m_backgroundColour = colour;
    Redraw();
}

void DigitalClock::SetSegmentColour(const QColor& colour)
{
    m_segmentColour = colour;
    Redraw();
}

void DigitalClock::SetTime(int hours, int minutes, int seconds)
{
    m_hours = hours;
    m_minutes = minutes;
    m_seconds = seconds;
    Redraw();
}

void DigitalClock::Redraw()
{
    if (m_picture.isNull())
        return;
    if (m_picture.size() != size())
        m_picture = QImage(size(), QImage::Format_RGB32);
    m_picture.fill(m_backgroundColour);

    const Shapes shapes = Layout(width(), height(), m_margin, m_hours, m_minutes, m_seconds);
    QPainter painter(&m_picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(m_segmentColour, 1));
    painter.setBrush(m_segmentColour);
    for (const QPolygon& segment : shapes.segments)
        painter.drawPolygon(segment, Qt::OddEvenFill);
    // An outlined QRect covers one pixel more than its size each way.
    for (const QRect& dot : shapes.dots)
        painter.drawEllipse(dot.adjusted(0, 0, -1, -1));
    painter.end();
    update();
}

void DigitalClock::paintEvent(QPaintEvent*)
{
    if (m_picture.isNull()) {
        // The first paint makes the picture; the next setter fills it.
        m_margin = height() / 10;
        m_picture = QImage(size(), QImage::Format_RGB32);
        m_picture.fill(m_backgroundColour);
    }
    QPainter(this).drawImage(0, 0, m_picture);
}
