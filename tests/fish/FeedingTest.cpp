// SPDX-License-Identifier: MIT
#include "fish/Feeding.h"
#include "fish/Fish.h"
#include "fish/FoodFlake.h"
#include "platform/MsvcRandom.h"
#include "tests/support/GlTestContext.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace {

class FeedingGl : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_gl.Ok()) << "no EGL surfaceless GL context";
        MsvcRandom::Reset();
    }
    // Drops `flake` at (x, y) at the drop depth and runs its first frame, so
    // that its world position is known.
    static const float* DropAndDraw(FoodFlake& flake, float x, float y)
    {
        flake.Drop(x, y, FoodFlake::kDropDepth);
        flake.Update();
        return flake.World();
    }
    GlTestContext m_gl{64, 64};
};

// Runs frames until the flake frees its slot; returns how many it took, or
// -1 when it is still active after `limit`.
int FramesUntilFree(FoodFlake& flake, int limit)
{
    for (int frame = 1; frame <= limit; ++frame) {
        flake.Update();
        if (!flake.Active())
            return frame;
    }
    return -1;
}

// A fish at rest facing `heading`, moved so that its nose is at `nose`.
Fish FishWithNoseAt(float heading, const float* nose)
{
    Fish fish;
    fish.FaceHeading(heading);
    fish.SetPosition(0, 0, 0);
    fish.UpdateExtents();
    const float* n = fish.Nose();
    fish.SetPosition(nose[0] - n[0], nose[1] - n[1], nose[2] - n[2]);
    fish.UpdateExtents();
    return fish;
}

}  // namespace

TEST_F(FeedingGl, AnUneatenFlakeLives1158To2200FramesAtASpeedOfItsOwn)
{
    FoodFlake flake;
    int shortest = 1 << 30, longest = 0;
    for (int drop = 0; drop < 40; ++drop) {
        flake.Drop(5.0f, -3.0f, FoodFlake::kDropDepth);
        ASSERT_TRUE(flake.Active());
        const int frames = FramesUntilFree(flake, 3000);
        shortest = std::min(shortest, frames);
        longest = std::max(longest, frames);
    }
    EXPECT_GE(shortest, 1158);
    EXPECT_LE(longest, 2202);
    EXPECT_GT(longest - shortest, 400) << "sink speeds should vary from drop to drop";
}

// The fish look for food before the flakes are updated, so a flake dropped
// in the last frame must already be where its first update will show it.
TEST(FoodFlakeDrop, AFlakeIsWhereItHangsFromTheFrameItIsDropped)
{
    MsvcRandom::Reset();
    FoodFlake flake;
    flake.Drop(12.0f, -3.0f, FoodFlake::kDropDepth);
    const float* offset = flake.Offset();
    const float expected[3] = {12.0f + offset[0], -3.0f + (1.0f - 0.2f), FoodFlake::kDropDepth + offset[2]};
    float dropped[3];
    for (int i = 0; i < 3; ++i) {
        dropped[i] = flake.World()[i];
        EXPECT_FLOAT_EQ(dropped[i], expected[i]) << i;
    }
    flake.Update();  // no GL: the update only computes the pose
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(flake.World()[i], dropped[i]) << i;
}

TEST_F(FeedingGl, OnlyAMouthInReachEatsAndTheFirstInSlotOrderWins)
{
    FoodFlake flakes[FoodFlake::kSlots];
    const float* food = DropAndDraw(flakes[3], 2.0f, 1.0f);
    const float nearby[3] = {food[0] + 1.0f, food[1] - 1.0f, food[2] + 5.0f};
    const Fish first = FishWithNoseAt(0.0f, nearby);
    const Fish second = FishWithNoseAt(180.0f, food);

    // Mouths just out of reach on each axis eat nothing.
    for (const float d : {3.05f, -3.05f})
        for (int axis = 0; axis < 3; ++axis) {
            float nose[3] = {food[0], food[1], food[2]};
            nose[axis] += axis == 2 ? 3.3f * d : d;
            Feeding::FoodEating(FishWithNoseAt(0.0f, nose), flakes, FoodFlake::kSlots);
        }
    ASSERT_TRUE(flakes[3].Alive());

    Feeding::FoodEating(first, flakes, FoodFlake::kSlots);
    EXPECT_FALSE(flakes[3].Alive());
    EXPECT_TRUE(flakes[3].Active());
    Feeding::FoodEating(second, flakes, FoodFlake::kSlots);
    EXPECT_EQ(FramesUntilFree(flakes[3], 1), 1);
}

TEST(Feeding, ElevationFigureOfAPointSeenFromTheOrigin)
{
    struct Case {
        float x, y;
        int figure;
    };
    const Case cases[] = {
        {0, 0, 0},     {0, -5, 270},  {0.00005f, 4, 90}, {5, 0, 0},   {-5, 0.00005f, 180},
        {1, 1, 45},    {1, 2, 63},    {2, 1, 26},        {-1, 1, 45}, {-1, 2, 27},
        {-2, -1, 64},  {3, -1, 72},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Feeding::ElevationFigure(c.x, c.y), c.figure) << c.x << ", " << c.y;
}

TEST_F(FeedingGl, AFishTurnsTowardsFoodWithinRangeAndSlowsNextToIt)
{
    FoodFlake flake;
    const float* w = DropAndDraw(flake, 4.0f, 6.0f);
    struct Case {
        const char* what;
        float x, z;          // the flake relative to the fish's centre
        bool attracted;
        float speed;         // from 0.4
        float targetHeading; // from 0 (facing -x); the nose is 0.97 ahead
    };
    const Case cases[] = {
        {"ahead, off the line: turn by the angle", -10, -5, true, 0.3f, -26},
        {"on the line ahead: pitch only", -10, 0, true, 0.3f, 0},
        {"behind, off the line: half turn less the angle", 10, 3, true, 0.3f, -163},
        {"at the mouth: slow right down", -2.5f, 0, true, 0.2f, 0},
        {"beyond smell", -25, 0, false, 0.4f, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fish fish;
        fish.FaceHeading(0.0f);
        fish.SetPosition(w[0] - c.x, w[1], w[2] - c.z);
        fish.SetSpeed(0.4f);
        fish.UpdateExtents();
        fish.SetAttracted(!c.attracted);
        Feeding::FoodAttraction(fish, &flake, 1);
        EXPECT_EQ(fish.Attracted(), c.attracted);
        EXPECT_FLOAT_EQ(fish.Speed(), c.speed);
        EXPECT_FLOAT_EQ(fish.TargetHeading(), c.targetHeading);
    }
}
