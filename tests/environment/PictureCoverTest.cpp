// SPDX-License-Identifier: MIT
#include "environment/PictureCover.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kLines = PictureCover::kLines;
constexpr int kCells = PictureCover::kCells;

struct Grid {
    double x[kLines];
    double y[kLines];
    std::vector<char> opaque = std::vector<char>(kCells * kCells, 1);

    // Lines evenly from (x0, y0) to (x1, y1).
    Grid(double x0, double x1, double y0, double y1)
    {
        for (int i = 0; i < kLines; ++i) {
            x[i] = x0 + (x1 - x0) * i / (kLines - 1);
            y[i] = y0 + (y1 - y0) * i / (kLines - 1);
        }
    }
    void SeeThrough(int i, int j) { opaque[kCells * i + j] = 0; }
    std::vector<PixelRect> Rects(int w, int h) const
    {
        const bool* mask = reinterpret_cast<const bool*>(opaque.data());
        return PictureCover(x, y, mask, w, h).Uncovered();
    }
};

// A pixel may be left out only when its centre lies a pixel deep inside the
// picture and a pixel away from every cell that is not opaque.
bool MayBeLeftOut(const Grid& g, double cx, double cy)
{
    if (cx < g.x[0] + 1 || cx > g.x[kLines - 1] - 1 || cy < g.y[0] + 1 || cy > g.y[kLines - 1] - 1)
        return false;
    for (int i = 0; i < kCells; ++i)
        for (int j = 0; j < kCells; ++j)
            if (!g.opaque[kCells * i + j] && cx > g.x[i] - 1 && cx < g.x[i + 1] + 1 && cy > g.y[j] - 1 &&
                cy < g.y[j + 1] + 1)
                return false;
    return true;
}

// Every rectangle inside the window, and every pixel outside all of them
// one that may be left out. Returns the share of the window left out.
double CheckCover(const Grid& g, int w, int h)
{
    const std::vector<PixelRect> rects = g.Rects(w, h);
    std::vector<char> drawn(std::size_t(w) * h, 0);
    for (const PixelRect& r : rects) {
        EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.width > 0 && r.height > 0 && r.x + r.width <= w &&
                    r.y + r.height <= h)
            << r.x << "," << r.y << " " << r.width << "x" << r.height;
        for (int y = std::max(r.y, 0); y < std::min(r.y + r.height, h); ++y)
            for (int x = std::max(r.x, 0); x < std::min(r.x + r.width, w); ++x)
                drawn[std::size_t(y) * w + x] = 1;
    }
    long leftOut = 0, wrong = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (!drawn[std::size_t(y) * w + x]) {
                ++leftOut;
                wrong += !MayBeLeftOut(g, x + 0.5, y + 0.5);
            }
    EXPECT_EQ(wrong, 0) << "pixels left out that the picture may not paint";
    return double(leftOut) / (double(w) * h);
}

}  // namespace

// The picture as the scene places it on landscape, portrait and small
// windows, with see-through cells in the places a keyed picture has them.
TEST(PictureCover, LeavesOutOnlyPixelsAnOpaqueCellIsSureToPaint)
{
    struct Case {
        const char* name;
        int w, h;
        double x0, x1, y0, y1;   // the picture's corners in window pixels
        std::vector<std::pair<int, int>> seeThrough;
        double minLeftOut, maxLeftOut;
    };
    std::vector<std::pair<int, int>> bottomRow, column;
    for (int i = 0; i < kCells; ++i) {
        bottomRow.push_back({i, 0});
        column.push_back({15, i});
    }
    const Case cases[] = {
        {"landscape, all opaque", 320, 180, -87.5, 407.5, 0, 180, {}, 0.98, 1.0},
        {"portrait band", 180, 320, -3.25, 183.5, 70.4, 249.6, {}, 0.5, 0.56},
        {"keyed bottom row", 320, 180, -87.5, 407.5, 0, 180, bottomRow, 0.9, 0.97},
        {"one see-through column", 320, 180, -87.5, 407.5, 0, 180, column, 0.9, 0.97},
        {"one cell", 320, 180, -87.5, 407.5, 0, 180, {{12, 20}}, 0.95, 0.99},
        {"picture off the window", 100, 100, 150, 300, 0, 100, {}, 0.0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Grid g(c.x0, c.x1, c.y0, c.y1);
        for (auto [i, j] : c.seeThrough)
            g.SeeThrough(i, j);
        const double leftOut = CheckCover(g, c.w, c.h);
        EXPECT_GE(leftOut, c.minLeftOut);
        EXPECT_LE(leftOut, c.maxLeftOut);
    }
}

// Uneven lines at fractions of a pixel and random see-through cells: never a
// pixel left out that might not be painted.
TEST(PictureCover, HoldsForUnevenGridsAndRandomSeeThroughCells)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> step(2.0, 9.0), start(-20.0, 20.0), unit(0.0, 1.0);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        Grid g(0, 1, 0, 1);
        g.x[0] = start(random);
        g.y[0] = start(random);
        for (int i = 1; i < kLines; ++i) {
            g.x[i] = g.x[i - 1] + step(random);
            g.y[i] = g.y[i - 1] + step(random);
        }
        const double share = round % 4 == 0 ? 0.0 : 0.01 * (round % 4);
        for (int i = 0; i < kCells; ++i)
            for (int j = 0; j < kCells; ++j)
                if (unit(random) < share)
                    g.SeeThrough(i, j);
        CheckCover(g, 200, 200);
    }
}

// When the cells cannot be placed, or see-through cells lie all over, the
// plane is drawn on the whole window in one rectangle.
TEST(PictureCover, DoubtOrScatteredHolesGiveTheWholeWindow)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Grid reversed(300, -10, 0, 200), notANumber(-10, 300, 0, 200), checkered(-10, 300, 0, 200);
    notANumber.x[7] = nan;
    for (int i = 0; i < kCells; i += 2)
        for (int j = 0; j < kCells; j += 2)
            checkered.SeeThrough(i, j);
    for (const Grid* g : {&reversed, &notANumber, &checkered}) {
        const std::vector<PixelRect> rects = g->Rects(290, 200);
        ASSERT_EQ(rects.size(), 1u);
        EXPECT_EQ(rects[0].x, 0);
        EXPECT_EQ(rects[0].y, 0);
        EXPECT_EQ(rects[0].width, 290);
        EXPECT_EQ(rects[0].height, 200);
    }
}
