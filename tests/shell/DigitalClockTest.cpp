// SPDX-License-Identifier: MIT
#include "ui/DigitalClock.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QTest>
#include <gtest/gtest.h>

#include <string>

namespace {

const QColor kBlack(0, 0, 0);
const QColor kGreen(0, 255, 0);

// The clock of the control bar: 120 x 30 pixels, margin 3, so d = 12 and
// x0 = (120 - 96 - 15) / 2 = 4.
constexpr int kW = 120, kH = 30, kMargin = 3;

TEST(DigitalClockLayout, DigitsStandWhereThePairRulesPutThem)
{
    // Hours at 4; minutes' pair at 4 + 36 + 5 = 45; seconds' pair at 4 + 72 + 10 = 86.
    // Each side of the 10..19 bounds of minutes and seconds.
    const struct {
        int h, m, s;
        int digitX[6];
    } table[] = {
        {9, 5, 7, {4, 21, 45, 62, 86, 102}},     // seconds' units at x + trunc(1.4 x 12)
        {12, 10, 30, {4, 21, 35, 52, 86, 103}},  // minutes 10..19 close up by 2 x gap
        {19, 19, 19, {4, 21, 35, 52, 76, 93}},   // hours 10..19 never shift
        {15, 20, 20, {4, 21, 45, 62, 86, 103}},
        {10, 9, 10, {4, 21, 45, 62, 76, 93}},
    };
    for (const auto& p : table) {
        const DigitalClock::Shapes shapes = DigitalClock::Layout(kW, kH, kMargin, p.h, p.m, p.s);
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(shapes.digitX[i], p.digitX[i]) << p.h << ":" << p.m << ":" << p.s << " digit " << i;
    }
}

TEST(DigitalClockLayout, SegmentCornersTruncate)
{
    // d = 30 (margin 0, height 60): 0.3 x 30 must truncate to 9, not 8.
    const auto big = DigitalClock::Layout(400, 60, 0, 88, 88, 88);
    ASSERT_EQ(big.d, 30);
    ASSERT_EQ(big.segments.size(), 6u * 7u);
    // Segment A of the first digit: (0.1, 0), (0.9, 0), (0.7, 0.2), (0.3, 0.2).
    EXPECT_EQ(big.segments[0], QPolygon({QPoint(big.x0 + 3, 0), QPoint(big.x0 + 27, 0), QPoint(big.x0 + 21, 6),
                                         QPoint(big.x0 + 9, 6)}));
}

class DigitalClockWidget : public ::testing::Test {
protected:
    // Shows a clock of the given size and waits for its first paint.
    void ShowClock(int width, int height)
    {
        m_clock.resize(width, height);
        m_clock.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_clock));
        QTRY_VERIFY_WITH_TIMEOUT(!m_clock.Picture().isNull(), 5000);
        m_clock.SetBackgroundColour(kBlack);
        m_clock.SetSegmentColour(kGreen);
    }
    bool Lit(int x, int y) const { return QColor(m_clock.Picture().pixel(x, y)) == kGreen; }

    DigitalClock m_clock;
};

TEST_F(DigitalClockWidget, EachDigitLightsItsSegments)
{
    // A large clock, so the middle of each segment is well inside it:
    // 240 x 60 gives margin 6 and d = 24.
    ShowClock(240, 60);
    const char* const expected[10] = {"ABCDEF", "BC",      "ABDEG", "ABCDG",   "BCFG",
                                      "ACDFG",  "ACDEFG", "ABC",   "ABCDEFG", "ABCDFG"};
    // Middle of each segment in tenths of d from the cell's top left.
    const int middle[7][2] = {{5, 1}, {9, 5}, {9, 14}, {5, 18}, {1, 14}, {1, 5}, {5, 10}};
    for (int digit = 0; digit <= 9; ++digit) {
        m_clock.SetTime(digit, 0, 0);
        const auto shapes = DigitalClock::Layout(240, 60, 6, digit, 0, 0);
        const int x = shapes.digitX[1];
        std::string lit;
        for (int s = 0; s < 7; ++s)
            if (Lit(x + middle[s][0] * 24 / 10, 6 + middle[s][1] * 24 / 10))
                lit += char('A' + s);
        EXPECT_EQ(lit, expected[digit]) << "digit " << digit;
    }
}

TEST_F(DigitalClockWidget, TimeSetBeforeTheFirstPaintReachesTheScreenCrisp)
{
    m_clock.SetTime(9, 5, 7);
    EXPECT_TRUE(m_clock.Picture().isNull());
    ShowClock(kW, kH);
    // The stored time is drawn by the first redraw after the paint.
    for (const QPolygon& segment : DigitalClock::Layout(kW, kH, kMargin, 9, 5, 7).segments)
        EXPECT_TRUE(Lit(segment.boundingRect().center().x(), segment.boundingRect().center().y()));
    // Both colons' two dots lit (at x0 + gap + 2d + 3 and 41 pixels on; the
    // lower dot margin + trunc(0.8d) below the upper), the space between
    // the pairs dark, only two colours.
    for (int x : {37, 78})
        EXPECT_TRUE(Lit(x, 8) && Lit(x, 20) && !Lit(x, 15)) << x;
    EXPECT_FALSE(Lit(1, 15));
    const QImage picture = m_clock.Picture();
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const QColor c(picture.pixel(x, y));
            ASSERT_TRUE(c == kGreen || c == kBlack) << x << "," << y;
        }
    // What the widget paints is the picture.
    QCoreApplication::processEvents();
    EXPECT_EQ(m_clock.grab().toImage().convertToFormat(QImage::Format_RGB32), picture);
}

}  // namespace
