// SPDX-License-Identifier: MIT
#include "environment/StillQuads.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr int kLines = PictureCover::kLines;

// Grid lines evenly from `from` to `to` (window pixels).
void Lines(double from, double to, double (&lines)[kLines])
{
    for (int i = 0; i < kLines; ++i)
        lines[i] = from + (to - from) * i / (kLines - 1);
}

// How many quads hold each pixel centre of a width x height window.
std::vector<int> Coverage(const std::vector<StillQuad>& quads, int width, int height)
{
    std::vector<int> count(std::size_t(width) * height, 0);
    for (const StillQuad& q : quads)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (x + 0.5 >= q.x0 && x + 0.5 < q.x1 && y + 0.5 >= q.y0 && y + 0.5 < q.y1)
                    ++count[std::size_t(y) * width + x];
    return count;
}

bool SameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// A grid with 150 frames of drops near the middle, as the picture pass lets them fall.
RippleGrid Rippled(int width, int height)
{
    RippleGrid grid;
    grid.Setup(width, height);
    for (int frame = 0; frame < 150; ++frame) {
        grid.AddDrop(width / 2 + 50 * (frame % 9 - 4), height / 2 + 50);
        grid.Update();
    }
    return grid;
}

}  // namespace

// The picture wider than the window (1920 x 1080: cut at both sides) and
// narrower than it (the backdrop shows in strips at both sides): either way
// every pixel of the window is drawn exactly once and nothing outside it.
TEST(StillQuads, CoverTheWindowOnceWithoutReachingOutside)
{
    const struct {
        int width, height;
        double left, right;
    } windows[] = {{192, 108, -52.0, 244.0}, {160, 120, 3.3, 156.6}};
    for (const auto& w : windows) {
        double columnX[kLines], rowY[kLines];
        Lines(w.left, w.right, columnX);
        Lines(0.0, w.height, rowY);
        std::vector<StillQuad> quads;
        BuildStillQuads(Rippled(w.width, w.height), columnX, rowY, w.width, w.height, quads);
        for (const StillQuad& q : quads) {
            EXPECT_TRUE(q.x0 >= 0.0f && q.x1 <= w.width && q.y0 >= 0.0f && q.y1 <= w.height);
            EXPECT_TRUE(q.x0 < q.x1 && q.y0 < q.y1);
        }
        const std::vector<int> count = Coverage(quads, w.width, w.height);
        int wrong = 0;
        for (int c : count)
            wrong += c != 1;
        EXPECT_EQ(wrong, 0) << w.width << "x" << w.height;
    }
}

// At rest the still is sampled where it lies: every corner's coordinate is
// its own window position over the window size.
TEST(StillQuads, AtRestEveryRectangleSamplesTheStillInPlace)
{
    const int width = 160, height = 120;
    double columnX[kLines], rowY[kLines];
    Lines(-30.5, 190.5, columnX);
    Lines(0.0, height, rowY);
    RippleGrid grid;
    grid.Setup(width, height);
    std::vector<StillQuad> quads;
    BuildStillQuads(grid, columnX, rowY, width, height, quads);
    ASSERT_FALSE(quads.empty());
    const double tolerance = 1.0 / (1 << 18);
    for (const StillQuad& q : quads) {
        const float xs[4] = {q.x0, q.x1, q.x1, q.x0}, ys[4] = {q.y0, q.y0, q.y1, q.y1};
        for (int k = 0; k < 4; ++k) {
            EXPECT_NEAR(q.u[k], xs[k] / width, tolerance);
            EXPECT_NEAR(q.v[k], ys[k] / height, tolerance);
        }
    }
}

// The grid line (index) at window position at, or -1.
int LineAt(const double (&lines)[kLines], double at)
{
    for (int i = 0; i < kLines; ++i)
        if (std::fabs(lines[i] - at) < 1e-3)
            return i;
    return -1;
}

// What the renderer's fast path asks of a rectangle, to the bit: opposite
// edges change each coordinate by the same float. And the ripple is still
// there: every corner lies on the grid, within a pixel of the grid's own
// texture coordinate there, moved by the drops.
TEST(StillQuads, RippledRectanglesAreExactlyAffineAndFollowTheGrid)
{
    const int width = 320, height = 200;
    double columnX[kLines], rowY[kLines];
    Lines(0.0, width, columnX);
    Lines(0.0, height, rowY);
    const RippleGrid grid = Rippled(width, height);
    std::vector<StillQuad> quads;
    BuildStillQuads(grid, columnX, rowY, width, height, quads);
    double largestMove = 0.0;
    int sheared = 0;
    for (const StillQuad& q : quads) {
        for (const float* c : {q.u, q.v}) {
            EXPECT_TRUE(SameBits(c[2] - c[3], c[1] - c[0]));
            EXPECT_TRUE(SameBits(c[3] - c[0], c[2] - c[1]));
        }
        // A shear is kept only where it moves the picture by half a pixel
        // or more across the rectangle; the rest are upright, which the
        // renderer samples fastest.
        const double shear = std::max(std::fabs(q.u[3] - q.u[0]) * width, std::fabs(q.v[1] - q.v[0]) * height);
        if (shear > 0.0) {
            EXPECT_GE(shear, 0.5 - 1e-4);
            ++sheared;
        }
        const float xs[4] = {q.x0, q.x1, q.x1, q.x0}, ys[4] = {q.y0, q.y0, q.y1, q.y1};
        for (int k = 0; k < 4; ++k) {
            const int i = LineAt(columnX, xs[k]), j = LineAt(rowY, ys[k]);
            ASSERT_TRUE(i >= 0 && j >= 0) << xs[k] << ", " << ys[k];
            const RippleGrid::Cell& corner = grid.CellAt(i, j);
            EXPECT_NEAR(q.u[k] * width, corner.s * width, 1.0);
            EXPECT_NEAR(q.v[k] * height, corner.t * height, 1.0);
            largestMove = std::max(largestMove, double(std::fabs(q.u[k] - corner.s0)));
        }
    }
    EXPECT_GT(largestMove * width, 0.1);   // the drops did move the picture
    EXPECT_GT(sheared, 0);
}

// The renderer pays for every rectangle, so the cells the ripple has not
// reached come merged: a grid at rest over the whole window is one
// rectangle, and a few drops' rings leave most of the window to a few.
TEST(StillQuads, CellsAtRestComeAsFewLargeRectangles)
{
    const int width = 320, height = 200;
    double columnX[kLines], rowY[kLines];
    Lines(0.0, width, columnX);
    Lines(0.0, height, rowY);
    RippleGrid grid;
    grid.Setup(width, height);
    std::vector<StillQuad> quads;
    BuildStillQuads(grid, columnX, rowY, width, height, quads);
    EXPECT_EQ(quads.size(), 1u);

    for (int frame = 0; frame < 40; ++frame) {
        grid.AddDrop(width / 4, height / 4);
        grid.Update();
    }
    BuildStillQuads(grid, columnX, rowY, width, height, quads);
    const std::size_t cells = (kLines - 1) * (kLines - 1);
    std::size_t identity = 0;
    for (const StillQuad& q : quads)
        identity += q.u[0] == q.x0 / width && q.u[1] == q.x1 / width && q.v[2] == q.y1 / height;
    EXPECT_GT(quads.size(), 1u) << "no cell moved";
    EXPECT_LT(quads.size(), cells / 4);
    EXPECT_GT(identity, 0u);
    EXPECT_EQ(Coverage(quads, width, height), std::vector<int>(std::size_t(width) * height, 1));
}

TEST(StillQuads, LinesThatDoNotRiseOrAnEmptyWindowGiveNothing)
{
    double columnX[kLines], rowY[kLines];
    Lines(0.0, 100.0, columnX);
    Lines(0.0, 100.0, rowY);
    RippleGrid grid;
    std::vector<StillQuad> quads(3);
    BuildStillQuads(grid, columnX, rowY, 0, 100, quads);
    EXPECT_TRUE(quads.empty());
    rowY[5] = NAN;
    BuildStillQuads(grid, columnX, rowY, 100, 100, quads);
    EXPECT_TRUE(quads.empty());
    Lines(100.0, 0.0, rowY);
    BuildStillQuads(grid, columnX, rowY, 100, 100, quads);
    EXPECT_TRUE(quads.empty());
}
