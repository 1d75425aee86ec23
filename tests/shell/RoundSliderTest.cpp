// SPDX-License-Identifier: MIT
#include "widgets/RoundSlider.h"

#include "tests/shell/PixelProbe.h"

#include <QStyleOptionSlider>
#include <gtest/gtest.h>

using namespace PixelProbe;

namespace {

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);

QRect Part(RoundSlider& slider, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(&slider);
    option.orientation = slider.orientation();
    option.minimum = slider.minimum();
    option.maximum = slider.maximum();
    option.sliderPosition = slider.sliderPosition();
    option.sliderValue = slider.value();
    option.tickPosition = slider.tickPosition();
    option.upsideDown = slider.orientation() == Qt::Vertical;
    return slider.style()->subControlRect(QStyle::CC_Slider, &option, part, &slider);
}

TEST(RoundSliderLook, SolidRedThumbCheckeredWhilePressedAndGreenChannelOutline)
{
    RoundSlider slider;
    slider.resize(200, 30);
    slider.setValue(40);
    const QPoint centre = Part(slider, QStyle::SC_SliderHandle).center();
    QImage image = Render(slider);
    EXPECT_EQ(image.pixel(centre), kRed.rgb());
    EXPECT_EQ(image.pixel(centre + QPoint(1, 0)), kRed.rgb());

    slider.setSliderDown(true);
    EXPECT_TRUE(slider.IsThumbHighlighted());
    image = Render(slider);
    const QRgb here = image.pixel(centre);
    EXPECT_TRUE(here == kRed.rgb() || here == kGreen.rgb());
    EXPECT_NE(image.pixel(centre + QPoint(1, 0)), here);
    EXPECT_NE(image.pixel(centre + QPoint(0, 1)), here);
    EXPECT_EQ(image.pixel(centre + QPoint(1, 1)), here);

    // The outline runs one pixel inside the channel, away from the thumb.
    const QRect channel = Part(slider, QStyle::SC_SliderGroove).adjusted(1, 1, -1, -1);
    const int x = channel.right() - 10;
    EXPECT_EQ(image.pixel(x, channel.top()), kGreen.rgb());
    EXPECT_EQ(image.pixel(x, channel.bottom()), kGreen.rgb());
}

TEST(RoundSliderLook, EndDotsStandAwayFromTheTicks)
{
    const struct {
        Qt::Orientation orientation;
        QSlider::TickPosition ticks;
        QPoint white, green;  // dot centres in a 120 x 40 (or 40 x 120) slider
    } cases[] = {
        {Qt::Horizontal, QSlider::NoTicks, {3, 3}, {116, 3}},
        {Qt::Horizontal, QSlider::TicksBelow, {3, 3}, {116, 3}},
        {Qt::Horizontal, QSlider::TicksAbove, {3, 36}, {116, 36}},
        {Qt::Vertical, QSlider::NoTicks, {3, 3}, {3, 116}},
        {Qt::Vertical, QSlider::TicksLeft, {36, 3}, {36, 116}},
    };
    for (const auto& c : cases) {
        RoundSlider slider(c.orientation);
        slider.setTickPosition(c.ticks);
        slider.resize(c.orientation == Qt::Horizontal ? QSize(120, 40) : QSize(40, 120));
        slider.setValue(50);
        const QImage image = Render(slider);
        EXPECT_EQ(image.pixel(c.white), QColor(Qt::white).rgb()) << c.orientation << " " << c.ticks;
        EXPECT_EQ(image.pixel(c.green), kGreen.rgb()) << c.orientation << " " << c.ticks;
        // Red rim: the dot's top-middle pixel.
        EXPECT_GT(qRed(image.pixel(c.white - QPoint(0, 3))), 200);
    }
}

}  // namespace
