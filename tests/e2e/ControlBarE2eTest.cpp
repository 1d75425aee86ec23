// SPDX-License-Identifier: MIT
#include "tests/e2e/ScreenFixture.h"

#include <QColor>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// Places on the bar, in screen pixels (the bar stands at 0, 0; its template
// is in dialog units of 2 pixels).
const QPoint kTouchButton(180, 35);   // Touch Fish: 63, 10, 54, 15
const QPoint kExitButton(924, 35);    // Exit: 435, 10, 54, 15
const QRect kExitIcon(873, 19, 32, 32);  // left in the button, its caption beside it
const QRect kClock(998, 22, 120, 30);
const QPoint kBarSurface(700, 20);    // between two buttons
const int kBarBottom = 64;            // the bar's window ends above this row

bool IsClockGreen(QRgb p) { return qGreen(p) > 200 && qRed(p) < 80 && qBlue(p) < 80; }
// A food flake: RGB(243, 225, 159), unlit.
bool IsFlake(QRgb p) { return qRed(p) > 200 && qGreen(p) > 180 && qBlue(p) > 110 && qBlue(p) < 210; }

// The bounding box of the lit pixels of an area (empty when it is dark).
QRect LitBox(const QImage& shot, const QRect& area)
{
    QRect box;
    const QRect inside = area.intersected(shot.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (IsLit(shot.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

template <int Width, int Height>
class BarFixture : public ScreenFixture<Width, Height> {
protected:
    using Base = ScreenFixture<Width, Height>;

    // Starts the aquarium and waits until its bar is on the screen.
    std::unique_ptr<Process> StartWithBar()
    {
        auto plovi = this->m_session.Start();
        EXPECT_TRUE(this->m_session.WaitForWindow(*plovi)) << plovi->Err();
        EXPECT_TRUE(this->m_session.WaitForWindow(*plovi, 10, "^Plovi 1")) << "no control bar";
        // Mapped is not painted: on a busy machine the first tank frames and
        // the tune's start come before the bar's first paint.
        EXPECT_TRUE(WaitUntil(
            [&] { return CountPixels(Shot(), QRect(0, 0, 240, 50), IsLit) > 240 * 50 / 2; },
            10))
            << "the bar was never painted";
        Pause(1.0);   // first frames and clock ticks
        return plovi;
    }

    void Click(const QPoint& at) const { Base::s_screen->Click(at); }

    QImage Shot() const { return Base::s_screen->Screenshot(); }
};

using ControlBarE2e = BarFixture<1680, 1050>;
using NarrowControlBarE2e = BarFixture<1024, 768>;

// The fish of a one-fish dark tank, from two looks in a row: the middle of
// its lit pixels and its velocity in pixels per second.
struct FishMotion {
    QPointF centre;
    QPointF velocity;
    bool seen = false;
    double Speed() const { return std::hypot(velocity.x(), velocity.y()); }
};

}  // namespace

TEST_F(ControlBarE2e, StandsAboveTheAquariumWithARunningClockAndExitEndsWithCodeZero)
{
    auto plovi = StartWithBar();
    // With no sound server the audio start-up can hold the first ticks back
    // for a few seconds; the clock must show within that.
    QImage first;
    WaitUntil([&] { first = Shot(); return CountPixels(first, kClock, IsClockGreen) > 150; }, 8);
    ASSERT_FALSE(first.isNull());
    EXPECT_GT(CountPixels(first, kClock, IsClockGreen), 150) << "no green segments in the clock";
    // The bar's blue is painted over the aquarium.
    const QColor bar(first.pixel(kBarSurface));
    EXPECT_GT(bar.blue(), bar.red() + 40) << bar.name().toStdString();
    // Its colour key never reaches the screen: those pixels are cut out.
    EXPECT_EQ(CountPixels(first, QRect(0, 0, 1680, kBarBottom), [](QRgb p) { return p == qRgb(211, 218, 229); }), 0);

    // The seconds move on.
    Pause(1.1);
    EXPECT_NE(first.copy(kClock), Shot().copy(kClock));

    Click(kExitButton);
    auto result = plovi->Wait(5);
    ASSERT_TRUE(result) << "still running after Exit";
    EXPECT_EQ(result->signal, 0);
    EXPECT_EQ(result->exitCode, 0);
}

TEST_F(ControlBarE2e, FeedClickOnACutOutOfTheBarDropsAFlakeThere)
{
    // No fish to eat the flake, and a black tank to see it against.
    m_session.WriteSettings(DarkTankSettings());
    auto plovi = StartWithBar();
    // Inside the bar's window (2016 x 64) but past its rounded end: cut out.
    const QPoint cutOut(1600, 62);
    const QRect below(cutOut.x() - 60, kBarBottom, 120, 240);
    const QImage before = Shot();
    EXPECT_FALSE(IsLit(before.pixel(cutOut))) << "the aquarium should show through";
    EXPECT_EQ(LitBox(before, below), QRect());

    Click(cutOut);   // the bar starts in feed mode
    const double clicked = Now();
    QImage after;
    ASSERT_TRUE(WaitUntil(
        [&] {
            after = Shot();
            return CountPixels(after, below, IsFlake) > 5;
        },
        5))
        << "no flake below the click";
    // Typically 0.06-0.2 s. At 50 frames a second the strips find any point
    // within 21 frames (0.42 s); the bound leaves room for a loaded machine
    // and for a flake that happens to tumble edge-on.
    const double seenAfter = Now() - clicked;
    EXPECT_LT(seenAfter, 1.0);
    RecordProperty("flake_seen_after_ms", int(seenAfter * 1000));
    // It falls near the pointer, nowhere else in the tank. Near: the strip
    // that finds x lies up to about 18 pixels off, and the flake starts up
    // to 1.38 units (about 22 pixels) to either side of its drop point.
    const QRect flake = LitBox(after, below);
    EXPECT_LT(std::abs(flake.center().x() - cutOut.x()), 60) << flake.x() << "," << flake.y();
    EXPECT_LT(flake.center().y() - cutOut.y(), 80) << flake.x() << "," << flake.y();
    EXPECT_EQ(LitBox(after, QRect(0, kBarBottom, 1400, 1050 - kBarBottom)), QRect());
    EXPECT_TRUE(plovi->Running());
}

TEST_F(ControlBarE2e, TouchFishThenAClickOnAFishMakesItDart)
{
    m_session.WriteSettings(DarkTankSettings({1}));
    auto plovi = StartWithBar();
    const QRect tank(0, kBarBottom, 1680, 1050 - kBarBottom);
    auto look = [&] {
        const QRect first = LitBox(Shot(), tank);
        const double read = Now();
        const QRect second = LitBox(Shot(), tank);
        const QPointF moved = QRectF(second).center() - QRectF(first).center();
        return FishMotion{QRectF(second).center(), moved / std::max(0.01, Now() - read),
                          !first.isEmpty() && !second.isEmpty()};
    };
    Click(kTouchButton);
    Pause(0.2);

    // A fish at rest swims at most a few world units a second; a touched one
    // darts off at the top speed of 0.4 units a frame. The click must land
    // on the moving fish, so aim where it is heading and try a few times.
    bool darted = false;
    std::string log;
    for (int attempt = 0; attempt < 6 && !darted; ++attempt) {
        const FishMotion before = look();
        ASSERT_TRUE(before.seen) << "the fish is not in the tank";
        if (before.Speed() > 150) {   // already fast: a dart would not show
            Pause(0.5);
            continue;
        }
        Click((before.centre + before.velocity * 0.1).toPoint());
        const FishMotion after = look();
        log += " before " + std::to_string(int(before.Speed())) + " after " + std::to_string(int(after.Speed())) + ";";
        darted = after.Speed() > 2.0 * before.Speed() + 60.0;
        if (!darted)
            Pause(0.7);   // let a missed or spent dart pass
    }
    EXPECT_TRUE(darted) << "pixels per second:" << log;
}

TEST_F(NarrowControlBarE2e, ExitShowsWholeAndTheCutOffClockIsLeftOut)
{
    auto plovi = StartWithBar();
    const QImage shot = Shot();
    // The clock would start at x 998 and run off this 1024-pixel screen.
    EXPECT_EQ(CountPixels(shot, QRect(998, 22, 26, 30), IsClockGreen), 0);
    // The last button, Exit, is whole: its red power sign shows.
    EXPECT_GT(CountPixels(shot, kExitIcon,
                    [](QRgb p) { return qRed(p) > 180 && qGreen(p) < 90 && qBlue(p) < 90; }),
              40);
}
