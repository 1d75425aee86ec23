#include "environment/RippleDistanceTable.h"
#include "environment/RippleWaveTable.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(RippleDistanceTable, DelaysGrowAbout26FramesPerCellAndTruncate)
{
    const RippleDistanceTable& table = RippleDistanceTable::Get();
    EXPECT_EQ(table.At(0, 0).delay, 0);
    EXPECT_EQ(table.At(1, 0).delay, 25);
    EXPECT_EQ(table.At(0, 1).delay, 25);
    EXPECT_EQ(table.At(1, 1).delay, 36);
    EXPECT_EQ(table.At(2, 0).delay, 51);
    EXPECT_EQ(table.At(0, 31).delay, 800);
    EXPECT_EQ(table.At(31, 31).delay, 1131);
    // Symmetric in its two offsets.
    for (int a = 0; a < 32; ++a)
        for (int b = 0; b < 32; ++b)
            ASSERT_EQ(table.At(a, b).delay, table.At(b, a).delay) << a << "," << b;
}

TEST(RippleDistanceTable, DirectionsAreUnitVectorsToSixDigitsAndZeroAtTheCentre)
{
    const RippleDistanceTable& table = RippleDistanceTable::Get();
    EXPECT_EQ(table.At(0, 0).ux, 0.0);
    EXPECT_EQ(table.At(0, 0).uy, 0.0);
    EXPECT_EQ(table.At(3, 4).ux, 0.6);
    EXPECT_EQ(table.At(3, 4).uy, 0.8);
    EXPECT_EQ(table.At(0, 7).ux, 0.0);
    EXPECT_EQ(table.At(0, 7).uy, 1.0);
    EXPECT_EQ(table.At(1, 1).ux, 0.707107);
    for (int a = 0; a < 32; ++a) {
        for (int b = 0; b < 32; ++b) {
            if (a == 0 && b == 0)
                continue;
            const RippleDistanceTable::Entry& e = table.At(a, b);
            ASSERT_NEAR(e.ux * e.ux + e.uy * e.uy, 1.0, 2e-6) << a << "," << b;
        }
    }
}

TEST(RippleWaveTable, ListedCrestsAndTroughsAndExactZeroEnds)
{
    const RippleWaveTable& wave = RippleWaveTable::Get();
    EXPECT_EQ(wave.At(0), 0.0);
    EXPECT_EQ(wave.At(1), 2.96058e-06);
    EXPECT_EQ(wave.At(55), 0.0999838);
    EXPECT_EQ(wave.At(114), 1.5e-05);
    EXPECT_EQ(wave.At(115), 1.5e-05);
    EXPECT_EQ(wave.At(169), 0.0624766);
    EXPECT_EQ(wave.At(228), 1.15624e-06);
    EXPECT_EQ(wave.At(254), 0.0185598);
    EXPECT_EQ(wave.At(255), 0.0);
}

TEST(RippleWaveTable, FollowsTheDampedCrestCurveAndNeverGoesNegative)
{
    const RippleWaveTable& wave = RippleWaveTable::Get();
    const double pi = 3.14159265358979323846;
    for (int v = 0; v < 255; ++v) {
        const double s = std::sin(pi * (v - 0.9) / 113.6);
        const double curve = 0.1266 * std::exp(-v / 240.0) * s * s;
        ASSERT_NEAR(wave.At(v), curve, 0.0004) << "phase " << v;
        ASSERT_GE(wave.At(v), 0.0) << "phase " << v;
    }
    // Two crests: the first is the highest point of the whole profile, the
    // second the highest after the trough.
    for (int v = 0; v < 256; ++v)
        ASSERT_LE(wave.At(v), wave.At(55)) << "phase " << v;
    for (int v = 115; v < 256; ++v)
        ASSERT_LE(wave.At(v), wave.At(169)) << "phase " << v;
}
