// SPDX-License-Identifier: MIT
#include "environment/RippleDistanceTable.h"
#include "environment/RippleWaveTable.h"

#include <gtest/gtest.h>

TEST(RippleDistanceTable, ListedDelaysAndDirectionsAndUnitLengthEverywhere)
{
    const RippleDistanceTable& table = RippleDistanceTable::Get();
    const struct {
        int a, b, delay;  // -1: not listed
        double ux, uy;
    } listed[] = {{0, 0, 0, 0.0, 0.0},     {1, 0, 25, 1.0, 0.0},   {0, 1, 25, 0.0, 1.0},
                  {1, 1, 36, 0.707107, 0.707107}, {2, 0, 51, 1.0, 0.0}, {3, 4, -1, 0.6, 0.8},  {0, 7, -1, 0.0, 1.0},
                  {0, 31, 800, 0.0, 1.0},  {31, 31, 1131, 0.707107, 0.707107}};
    for (const auto& e : listed) {
        EXPECT_TRUE(e.delay < 0 || table.At(e.a, e.b).delay == e.delay)
            << e.a << "," << e.b << " has delay " << table.At(e.a, e.b).delay;
        EXPECT_EQ(table.At(e.a, e.b).ux, e.ux) << e.a << "," << e.b;
        EXPECT_EQ(table.At(e.a, e.b).uy, e.uy) << e.a << "," << e.b;
    }
    for (int a = 0; a < 32; ++a)
        for (int b = 0; b < 32; ++b) {
            const RippleDistanceTable::Entry& e = table.At(a, b);
            ASSERT_EQ(e.delay, table.At(b, a).delay) << a << "," << b;
            ASSERT_NEAR(e.ux * e.ux + e.uy * e.uy, (a || b) ? 1.0 : 0.0, 2e-6) << a << "," << b;
        }
}

TEST(RippleWaveTable, ListedEntriesAndTwoCrests)
{
    const RippleWaveTable& wave = RippleWaveTable::Get();
    const std::pair<int, double> listed[] = {{0, 0.0},          {1, 2.96058e-06},   {55, 0.0999838},
                                             {114, 1.5e-05},    {115, 1.5e-05},     {169, 0.0624766},
                                             {228, 1.15624e-06}, {254, 0.0185598}, {255, 0.0}};
    for (const auto& [v, value] : listed)
        EXPECT_EQ(wave.At(v), value) << "phase " << v;
    // Between the listed entries the profile stays non-negative and below its
    // two crests: the first before the trough, the second after it.
    for (int v = 0; v < 255; ++v) {
        ASSERT_GE(wave.At(v), 0.0) << "phase " << v;
        ASSERT_LE(wave.At(v), wave.At(v < 115 ? 55 : 169)) << "phase " << v;
    }
}
