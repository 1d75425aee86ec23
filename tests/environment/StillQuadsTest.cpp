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
    // Pixel x holds its centre x + 0.5; the first in [x0, x1) is ceil(x0 - 0.5).
    const auto first = [](float edge, int limit) { return std::clamp(int(std::ceil(edge - 0.5)), 0, limit); };
    for (const StillQuad& q : quads)
        for (int y = first(q.y0, height); y < first(q.y1, height); ++y)
            for (int x = first(q.x0, width); x < first(q.x1, width); ++x)
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

// Whether quad is the whole window sampling the still in place.
bool WholeStill(const StillQuad& q, int width, int height)
{
    return q.x0 == 0.0f && q.y0 == 0.0f && q.x1 == width && q.y1 == height && q.u[0] == 0.0f &&
           q.u[1] == 1.0f && q.v[0] == 0.0f && q.v[2] == 1.0f;
}

// Pixels drawn wrongly: every pixel must be drawn, and only once, apart from
// a whole-window still at the front that the moving cells are drawn over.
int WronglyDrawn(const std::vector<StillQuad>& quads, int width, int height)
{
    const bool stillFirst = !quads.empty() && WholeStill(quads.front(), width, height);
    const std::vector<StillQuad> over(quads.begin() + (stillFirst ? 1 : 0), quads.end());
    int wrong = 0;
    for (int c : Coverage(over, width, height))
        wrong += stillFirst ? c > 1 : c != 1;
    return wrong;
}

// Drops all over the window for long enough that most cells move (by a
// sixty-fourth of a pixel or more: on a large window, since the same ripple
// moves its pixels further).
RippleGrid StormyGrid(int width, int height)
{
    RippleGrid grid;
    grid.Setup(width, height);
    for (int frame = 0; frame < 240; ++frame) {
        grid.AddDrop(width * (1 + frame % 5) / 6, height * (1 + frame / 5 % 5) / 6);
        grid.Update();
    }
    return grid;
}

}  // namespace

// The picture wider than the window (1920 x 1080: cut at both sides) and
// narrower than it (the backdrop shows in strips at both sides), with a few
// drops and with drops everywhere: either way every pixel of the window is
// drawn, only once but under a whole-window still, and nothing outside it.
TEST(StillQuads, CoverTheWindowOnceWithoutReachingOutside)
{
    const struct {
        int width, height;
        double left, right;
    } windows[] = {{192, 108, -52.0, 244.0}, {160, 120, 3.3, 156.6}};
    for (const auto& w : windows) {
        for (bool stormy : {false, true}) {
            SCOPED_TRACE(testing::Message() << w.width << "x" << w.height << (stormy ? " stormy" : " calm"));
            double columnX[kLines], rowY[kLines];
            Lines(w.left, w.right, columnX);
            Lines(0.0, w.height, rowY);
            std::vector<StillQuad> quads;
            BuildStillQuads(stormy ? StormyGrid(w.width, w.height) : Rippled(w.width, w.height), columnX, rowY,
                            w.width, w.height, quads);
            for (const StillQuad& q : quads) {
                EXPECT_TRUE(q.x0 >= 0.0f && q.x1 <= w.width && q.y0 >= 0.0f && q.y1 <= w.height);
                EXPECT_TRUE(q.x0 < q.x1 && q.y0 < q.y1);
            }
            EXPECT_EQ(WronglyDrawn(quads, w.width, w.height), 0);
        }
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

// The renderer pays for every rectangle, above all for edges that cut its
// tiles. A grid at rest is one rectangle; while a few drops' rings move
// less than three fifths of the window, the whole still comes first and
// only the moving cells over it; with drops everywhere the cells at rest
// come merged into few rectangles.
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
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_TRUE(WholeStill(quads[0], width, height));

    const auto inPlace = [&](const StillQuad& q) {
        return q.u[0] == q.x0 / width && q.u[1] == q.x1 / width && q.v[2] == q.y1 / height;
    };
    for (int frame = 0; frame < 40; ++frame) {
        grid.AddDrop(width / 4, height / 4);
        grid.Update();
    }
    BuildStillQuads(grid, columnX, rowY, width, height, quads);
    ASSERT_GT(quads.size(), 1u) << "no cell moved";
    EXPECT_TRUE(WholeStill(quads[0], width, height));
    EXPECT_EQ(std::count_if(quads.begin() + 1, quads.end(), inPlace), 0) << "a cell at rest drawn twice";

    const int large = 2;
    Lines(0.0, large * width, columnX);
    Lines(0.0, large * height, rowY);
    BuildStillQuads(StormyGrid(large * width, large * height), columnX, rowY, large * width, large * height, quads);
    const std::size_t cells = (kLines - 1) * (kLines - 1);
    const auto merged = std::count_if(quads.begin(), quads.end(), [&](const StillQuad& q) {
        return q.u[0] == q.x0 / (large * width) && q.u[1] == q.x1 / (large * width);
    });
    EXPECT_FALSE(WholeStill(quads[0], large * width, large * height));
    EXPECT_GT(merged, 0);
    EXPECT_LT(std::size_t(merged), cells / 20);
    EXPECT_EQ(WronglyDrawn(quads, large * width, large * height), 0);
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
