// SPDX-License-Identifier: MIT
#include "environment/ScreenBounds.h"

#include <gtest/gtest.h>

namespace {

// A camera at the origin looking down -z with a 90-degree square frustum
// (near 1, far 100) onto a 200 x 100 viewport at (10, 20): a point at
// (x, y, -d) lands at window (10 + 100 * (x / d + 1), 20 + 50 * (y / d + 1)).
constexpr double kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
constexpr double kFrustum[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -101.0 / 99, -1, 0, 0, -200.0 / 99, 0};
constexpr int kViewport[4] = {10, 20, 200, 100};

}  // namespace

// The rectangle holds every corner's image, widened by the margin: the
// near face of a box reaches further out than the far one.
TEST(ScreenBounds, ABoxBecomesTheRectangleAroundItsCornersWithAMargin)
{
    ScreenBounds bounds;
    bounds.AddBox({-0.5f, -0.25f, -4.0f}, {0.5f, 0.25f, -2.0f}, kIdentity, kFrustum, kViewport);
    ASSERT_EQ(bounds.Rects().size(), 1u);
    const ScreenBounds::Rect& r = bounds.Rects()[0];
    const int m = ScreenBounds::kMargin;
    // Near face at d = 2: x from 10 + 100 * 0.75 = 85 to 135, y from 20 + 50 * 0.875 = 63.75 to 76.25.
    EXPECT_EQ(r.x0, 85 - m);
    EXPECT_EQ(r.x1, 135 + m);
    EXPECT_EQ(r.y0, 63 - m);
    EXPECT_EQ(r.y1, 77 + m);
    EXPECT_FALSE(bounds.Whole());
}

// Cut to the viewport; nothing for a box wholly outside it; the whole
// viewport once a box reaches the eye's plane, whatever came before.
TEST(ScreenBounds, CutToTheViewportAndWholeForABoxAtTheEye)
{
    ScreenBounds bounds;
    bounds.AddBox({-5.0f, -5.0f, -2.0f}, {5.0f, 5.0f, -2.0f}, kIdentity, kFrustum, kViewport);
    ASSERT_EQ(bounds.Rects().size(), 1u);
    const ScreenBounds::Rect& r = bounds.Rects()[0];
    EXPECT_TRUE(r.x0 == 10 && r.y0 == 20 && r.x1 == 210 && r.y1 == 120);
    bounds.AddBox({30.0f, 0.0f, -2.0f}, {40.0f, 1.0f, -2.0f}, kIdentity, kFrustum, kViewport);
    EXPECT_EQ(bounds.Rects().size(), 1u);
    bounds.AddBox({-1.0f, -1.0f, -2.0f}, {1.0f, 1.0f, 0.5f}, kIdentity, kFrustum, kViewport);
    EXPECT_TRUE(bounds.Whole());
    EXPECT_TRUE(bounds.Rects().empty());
    bounds.Clear();
    EXPECT_FALSE(bounds.Whole());
}
