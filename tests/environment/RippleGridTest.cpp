// SPDX-License-Identifier: MIT
#include "environment/RippleDistanceTable.h"
#include "environment/RippleGrid.h"
#include "environment/RippleWaveTable.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

namespace {

bool AllAtBase(const RippleGrid& grid)
{
    for (int i = 0; i < RippleGrid::kCells; ++i)
        for (int j = 0; j < RippleGrid::kCells; ++j)
            if (grid.CellAt(i, j).s != grid.CellAt(i, j).s0 || grid.CellAt(i, j).t != grid.CellAt(i, j).t0)
                return false;
    return true;
}

// The texture coordinates of one cell summed over every slot, without the
// shortcuts Update() takes for drops that are far away or silent.
void ReferenceCoordinates(const RippleGrid& grid, int i, int j, float& s, float& t)
{
    s = grid.CellAt(i, j).s0;
    t = grid.CellAt(i, j).t0;
    for (int k = 0; k < RippleGrid::kDrops; ++k) {
        const RippleGrid::DropInfo d = grid.Drop(k);
        const int di = i - d.column, dj = j - d.row;
        const RippleDistanceTable::Entry& e = RippleDistanceTable::Get().At(std::abs(di), std::abs(dj));
        const int v = std::min(255, std::max(0, d.age - e.delay));
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
    EXPECT_FLOAT_EQ(grid.CellAt(10, 20).x, 2.0f * 10 / 31 - 1);
    EXPECT_FLOAT_EQ(grid.CellAt(10, 20).t0, 20.0f / 31);
    grid.Update();
    EXPECT_TRUE(AllAtBase(grid));
    // A new Setup clears every drop of a rippling grid.
    for (int f = 0; f < 60; ++f, grid.Update())
        grid.AddDrop(512, 434);
    EXPECT_FALSE(AllAtBase(grid));
    grid.Setup(800, 600);
    grid.Update();
    EXPECT_TRUE(AllAtBase(grid));
}

// A full grid: every slot holds a drop at the centre of a 1024 x 768 window.
TEST(RippleGrid, CentreDropsLandInTheirCellAndTheHundredAndFirstIsIgnored)
{
    RippleGrid grid;
    grid.Setup(1024, 768);
    for (int k = 0; k < RippleGrid::kDrops; ++k)
        grid.AddDrop(512, 434);
    const RippleGrid::DropInfo d = grid.Drop(0);
    EXPECT_EQ((std::vector<int>{d.column, d.row, d.age, d.lifetime}), (std::vector<int>{16, 18, 4, 162}));
    grid.Update();
    grid.AddDrop(0, 0);
    for (int k = 0; k < RippleGrid::kDrops; ++k) {
        ASSERT_TRUE(grid.SlotBusy(k)) << "slot " << k;
        ASSERT_EQ(grid.Drop(k).column, 16) << "slot " << k;
        ASSERT_EQ(grid.Drop(k).age, 5) << "slot " << k;
    }
    for (int f = 1; f < 157; ++f)
        grid.Update();
    EXPECT_TRUE(grid.SlotBusy(0));
    grid.Update();
    EXPECT_FALSE(grid.SlotBusy(0));
    // The first freed slot takes the next drop.
    grid.AddDrop(0, 0);
    EXPECT_EQ(grid.Drop(0).column, 0);
    EXPECT_EQ(grid.Drop(0).age, 4);
    EXPECT_FALSE(grid.SlotBusy(1));
}

TEST(RippleGrid, DropsOutsideTheWindowLandOnTheNearestEdgeCell)
{
    const int cases[][6] = {
        // width, height, x, y, column, row
        {1024, 768, 1024, 768, 31, 31},    {1024, 768, 1023, 767, 31, 31},  {1024, 768, 0, 0, 0, 0},
        {1024, 768, -1, -5000, 0, 0},      {1024, 768, INT_MIN, INT_MAX, 0, 31},
        {1024, 768, INT_MAX, INT_MIN, 31, 0}, {1024, 768, 5000000, 384, 31, 16},
        {0, -3, 7, -7, 31, 0},  // a degenerate window still gives valid cells
    };
    for (const auto& [width, height, x, y, column, row] : cases) {
        SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
        RippleGrid grid;
        grid.Setup(width, height);
        grid.AddDrop(x, y);
        EXPECT_EQ(grid.Drop(0).column, column);
        EXPECT_EQ(grid.Drop(0).row, row);
        EXPECT_GT(grid.Drop(0).lifetime, 4);
        grid.Update();  // must stay inside the grid and the tables
    }
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
        for (int i = 0; frame % 37 == 36 && i < RippleGrid::kCells; ++i)
            for (int j = 0; j < RippleGrid::kCells; ++j) {
                float s, t;
                ReferenceCoordinates(grid, i, j, s, t);
                ASSERT_TRUE(grid.CellAt(i, j).s == s && grid.CellAt(i, j).t == t)
                    << "frame " << frame << " cell " << i << "," << j;
            }
    }
}
