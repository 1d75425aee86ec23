#include "environment/RippleDistanceTable.h"
#include "environment/RippleGrid.h"
#include "environment/RippleWaveTable.h"

#include <climits>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {
void ExpectAllAtBase(const RippleGrid& grid)
{
    for (int i = 0; i < RippleGrid::kCells; ++i) {
        for (int j = 0; j < RippleGrid::kCells; ++j) {
            const RippleGrid::Cell& c = grid.CellAt(i, j);
            ASSERT_EQ(c.s, c.s0) << "cell " << i << "," << j;
            ASSERT_EQ(c.t, c.t0) << "cell " << i << "," << j;
        }
    }
}

// The texture coordinate of one cell straight from the ripple formula: every
// slot, every cell, no shortcuts.
void ReferenceCoordinates(const RippleGrid& grid, int i, int j, float& s, float& t)
{
    const RippleGrid::Cell& cell = grid.CellAt(i, j);
    s = cell.s0;
    t = cell.t0;
    for (int k = 0; k < RippleGrid::kDrops; ++k) {
        const RippleGrid::DropInfo d = grid.Drop(k);
        const int di = i - d.column, dj = j - d.row;
        const RippleDistanceTable::Entry& e = RippleDistanceTable::Get().At(std::abs(di), std::abs(dj));
        int v = d.age - e.delay;
        v = v < 0 ? 0 : (v > 255 ? 255 : v);
        const double fade = 1.0 - d.age / 256.0;
        const double a = d.age < 256 ? 0.02 * fade * fade : 0.0;
        const double w = RippleWaveTable::Get().At(v);
        s = float(s + a * e.ux * (di < 0 ? -1.0 : 1.0) * w);
        t = float(t + a * e.uy * (dj < 0 ? -1.0 : 1.0) * w);
    }
}
}  // namespace

TEST(RippleGrid, SetupLaysOutTheGridAndLeavesItStill)
{
    RippleGrid grid;
    grid.Setup(1024, 768);
    EXPECT_FLOAT_EQ(grid.CellAt(0, 0).x, -1.0f);
    EXPECT_FLOAT_EQ(grid.CellAt(31, 31).y, 1.0f);
    EXPECT_FLOAT_EQ(grid.CellAt(31, 0).s0, 1.0f);
    EXPECT_FLOAT_EQ(grid.CellAt(0, 31).t0, 1.0f);
    EXPECT_FLOAT_EQ(grid.CellAt(10, 20).x, 2.0f * 10 / 31 - 1);
    EXPECT_FLOAT_EQ(grid.CellAt(10, 20).t0, 20.0f / 31);
    for (int k = 0; k < RippleGrid::kDrops; ++k)
        ASSERT_FALSE(grid.SlotBusy(k));
    grid.Update();
    ExpectAllAtBase(grid);

    // A rippling grid is still again after a new Setup: the size change
    // clears every drop.
    for (int f = 0; f < 60; ++f) {
        grid.AddDrop(512, 434);
        grid.Update();
    }
    EXPECT_NE(grid.CellAt(18, 18).s, grid.CellAt(18, 18).s0);
    grid.Setup(800, 600);
    EXPECT_EQ(grid.Width(), 800);
    grid.Update();
    ExpectAllAtBase(grid);
}

TEST(RippleGrid, CentreDropLandsInItsCellAndLivesItsLifetime)
{
    RippleGrid grid;
    grid.Setup(1024, 768);
    grid.AddDrop(512, 434);
    RippleGrid::DropInfo d = grid.Drop(0);
    EXPECT_EQ(d.column, 16);
    EXPECT_EQ(d.row, 18);
    EXPECT_EQ(d.age, 4);
    EXPECT_EQ(d.lifetime, 162);
    // Busy until its age reaches the lifetime: 158 frames after it fell.
    for (int f = 0; f < 157; ++f)
        grid.Update();
    EXPECT_TRUE(grid.SlotBusy(0));
    grid.Update();
    EXPECT_FALSE(grid.SlotBusy(0));
    // The freed slot takes the next drop; the other slots were never used.
    grid.AddDrop(0, 0);
    EXPECT_EQ(grid.Drop(0).column, 0);
    EXPECT_EQ(grid.Drop(0).age, 4);
    EXPECT_FALSE(grid.SlotBusy(1));
}

TEST(RippleGrid, DropsOutsideTheWindowLandOnTheNearestEdgeCell)
{
    struct Case {
        int x, y, column, row;
    };
    const Case cases[] = {
        {1024, 768, 31, 31},     {1023, 767, 31, 31},   {0, 0, 0, 0},
        {-1, -5000, 0, 0},       {INT_MIN, INT_MAX, 0, 31}, {INT_MAX, INT_MIN, 31, 0},
        {5000000, 384, 31, 16},
    };
    for (const Case& c : cases) {
        RippleGrid grid;
        grid.Setup(1024, 768);
        grid.AddDrop(c.x, c.y);
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        EXPECT_EQ(grid.Drop(0).column, c.column);
        EXPECT_EQ(grid.Drop(0).row, c.row);
        EXPECT_GT(grid.Drop(0).lifetime, 4);
        grid.Update();   // must stay inside the grid and the tables
    }
    // A degenerate window still gives valid cells.
    RippleGrid tiny;
    tiny.Setup(0, -3);
    EXPECT_EQ(tiny.Width(), 1);
    EXPECT_EQ(tiny.Height(), 1);
    tiny.AddDrop(7, -7);
    EXPECT_EQ(tiny.Drop(0).column, 31);
    EXPECT_EQ(tiny.Drop(0).row, 0);
    tiny.Update();
}

TEST(RippleGrid, BusyGridIgnoresTheHundredAndFirstDrop)
{
    RippleGrid grid;
    grid.Setup(1024, 768);
    for (int k = 0; k < RippleGrid::kDrops; ++k)
        grid.AddDrop(512, 434);
    for (int k = 0; k < RippleGrid::kDrops; ++k)
        ASSERT_TRUE(grid.SlotBusy(k));
    grid.Update();
    grid.AddDrop(0, 0);
    for (int k = 0; k < RippleGrid::kDrops; ++k) {
        ASSERT_EQ(grid.Drop(k).column, 16) << "slot " << k;
        ASSERT_EQ(grid.Drop(k).age, 5) << "slot " << k;
    }
}

TEST(RippleGrid, RingTravelsOutwardsAboutOneCellPer26Frames)
{
    RippleGrid grid;
    grid.Setup(1024, 1024);
    grid.AddDrop(320, 320);   // column 10, row 10
    ASSERT_EQ(grid.Drop(0).column, 10);
    // Five cells away the delay is 129 frames: still before it arrives.
    while (grid.Drop(0).age < 129)
        grid.Update();
    const RippleGrid::Cell& right = grid.CellAt(15, 10);
    const RippleGrid::Cell& below = grid.CellAt(10, 5);
    EXPECT_EQ(right.s, right.s0);
    EXPECT_EQ(below.t, below.t0);
    // Twenty frames later the ring has reached it and pushes it away from
    // the drop: rightwards on the right, downwards below.
    while (grid.Drop(0).age < 149)
        grid.Update();
    EXPECT_GT(right.s, right.s0);
    EXPECT_EQ(right.t, right.t0);
    EXPECT_LT(below.t, below.t0);
    EXPECT_EQ(below.s, below.s0);
    // Cells ten or more away never move before the drop falls silent.
    while (grid.Drop(0).age < 300) {
        grid.Update();
        ASSERT_EQ(grid.CellAt(20, 10).s, grid.CellAt(20, 10).s0);
        ASSERT_EQ(grid.CellAt(10, 0).t, grid.CellAt(10, 0).t0);
    }
    // Once silent, the grid is back at rest.
    ExpectAllAtBase(grid);
}

TEST(RippleGrid, UpdateMatchesTheFullSumOverEverySlotAndCell)
{
    // Many overlapping drops of every age, including reused slots whose
    // earlier ring was cut short.
    RippleGrid grid;
    grid.Setup(1920, 1080);
    unsigned seed = 7;
    for (int frame = 0; frame < 420; ++frame) {
        seed = seed * 1103515245u + 12345u;
        grid.AddDrop(int(seed >> 8) % 2200 - 140, int(seed >> 4) % 1200 - 60);
        grid.Update();
        if (frame % 37 != 36)
            continue;
        for (int i = 0; i < RippleGrid::kCells; ++i) {
            for (int j = 0; j < RippleGrid::kCells; ++j) {
                float s, t;
                ReferenceCoordinates(grid, i, j, s, t);
                ASSERT_EQ(grid.CellAt(i, j).s, s) << "frame " << frame << " cell " << i << "," << j;
                ASSERT_EQ(grid.CellAt(i, j).t, t) << "frame " << frame << " cell " << i << "," << j;
            }
        }
    }
}
