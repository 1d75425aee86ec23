// SPDX-License-Identifier: MIT
#include "fish/Fish.h"
#include "fish/FishDirections.h"
#include "platform/MsvcRandom.h"
#include "settings/ProgramValues.h"
#include "tests/support/GlTestContext.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <vector>

namespace {

class FishMotion : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramValues();
        MsvcRandom::Reset();
        fish.SetSwimBox(-30.0f, 30.0f, -6.0f, 11.0f, -98.0f, -85.0f);
        fish.SetPosition(0.0f, 0.0f, -92.0f);
        fish.SetPitch(0.0f);
        fish.SetSpeed(0.2f);
    }

    // Starts a turn from `from` to `to` (degrees). Facing -x, sense false
    // turns up; facing +x, sense true does.
    void StartTurn(float from, float to)
    {
        fish.FaceHeading(from);
        const bool up = to > from;
        fish.SteerHeading(std::fabs(to - from), FacesMinusX(from) ? !up : up, Fish::kTurnBy);
        ASSERT_FLOAT_EQ(fish.TargetHeading(), to);
    }

    void PlaceFacing(float heading, float x, float y, float z)
    {
        fish.FaceHeading(heading);
        fish.SetPosition(x, y, z);
    }

    Fish fish;
};

}  // namespace

// ---------------------------------------------------------------- turning

// Angles are not wrapped: 359 from 1 is reached by turning up through 180,
// 2 degrees every third frame, and a fish finishes one turn before it takes
// another.
TEST_F(FishMotion, ATurnFrom1To359GoesUpThrough180AndIgnoresOtherSteersUntilDone)
{
    StartTurn(1.0f, 359.0f);
    bool passed180 = false;
    int frames = 0;
    for (float previous = fish.Heading(); fish.Heading() != 359.0f && frames < 1000; ++frames) {
        for (int kind : {0, 1, 2, 4, 5, 6, 7})
            fish.SteerHeading(90.0f, false, kind);
        ASSERT_FLOAT_EQ(fish.TargetHeading(), 359.0f);
        fish.StepTurn();
        ASSERT_GE(fish.Heading(), previous);
        ASSERT_LE(fish.Heading() - previous, 2.0f);
        passed180 = passed180 || std::fabs(fish.Heading() - 180.0f) <= 1.0f;
        previous = fish.Heading();
    }
    EXPECT_TRUE(passed180);
    EXPECT_EQ(frames, 3 * 179);
    EXPECT_TRUE(fish.TurnDone());
    // A finished turn retargeted by 2 degrees or less is still followed, or
    // the head would stay off target for good, deaf to every later steer.
    fish.SteerHeading(2.0f, true, Fish::kTurnBy);
    for (int frame = 0; frame < 10; ++frame)
        fish.StepTurn();
    EXPECT_FLOAT_EQ(fish.Heading(), 357.0f);
    fish.SteerHeading(0.0f, false, Fish::kAboutTurn);
    EXPECT_FLOAT_EQ(fish.TargetHeading(), 177.0f);
}

// A steer that would pass +-360 is not swallowed by the range: the fish's
// angles move by a whole turn first (the same pose), and it turns the short
// way, here by the nudge of the back wall off the x axis towards +z.
TEST_F(FishMotion, ASteerPast360TurnsTheShortWayFromTheSamePose)
{
    for (float from : {360.0f, -360.0f}) {
        SCOPED_TRACE(from);
        MsvcRandom::Reset(from > 0 ? 1 : 5);  // nudges of 11 and 9
        fish.FaceHeading(from);
        const bool sense = from < 0;  // the side that leaves the range
        const std::uint32_t state = MsvcRandom::State();
        const int d = Rand() % 15;
        MsvcRandom::Reset(state);
        ASSERT_GT(d, 2);
        fish.SteerHeading(0.0f, sense, Fish::kNudge);
        EXPECT_FLOAT_EQ(fish.Heading(), 0.0f);
        for (int i = 0; i < Fish::kRings; ++i)
            EXPECT_EQ(fish.RingYaw(i), 0) << i;
        const float target = from > 0 ? float(d) : -float(d);
        EXPECT_FLOAT_EQ(fish.TargetHeading(), target);
        int frames = 0;
        do {
            fish.StepTurn();
            ++frames;
            ASSERT_LE(std::fabs(fish.Heading()), float(d));
        } while (!fish.TurnDone() && frames < 100);
        EXPECT_EQ(frames, 3 * ((d + 1) / 2));  // 2 degrees every third frame
        EXPECT_FLOAT_EQ(fish.Heading(), target);
    }
}

// The body rings trail the head by one degree each while the target is far,
// by less near it, then catch up in whole-degree steps of 1 to 2.
TEST_F(FishMotion, RingsSpreadBehindTheHeadAndSettleInWholeDegrees)
{
    for (float target : {60.0f, -60.0f}) {
        SCOPED_TRACE(target);
        const float sign = target > 0 ? 1.0f : -1.0f;
        StartTurn(0.0f, target);
        for (int frame = 0; frame < 30; ++frame)
            fish.StepTurn();
        float h = fish.Heading();
        ASSERT_GT(std::fabs(target - h), 17.0f);
        for (int i = 0; i < Fish::kRings; ++i)
            EXPECT_EQ(fish.RingYaw(i), int(h - sign * float(i))) << i;
        while (std::fabs(target - fish.Heading()) > 8.5f)
            fish.StepTurn();
        h = fish.Heading();
        EXPECT_EQ(fish.RingYaw(0), int(h));
        EXPECT_EQ(fish.RingYaw(17), int(h - (target - h)));  // 17 rings x (angle left / 17)

        while (!fish.TurnDone())
            fish.StepTurn();
        ASSERT_FALSE(fish.RingsSettled());
        for (int frame = 0; frame < 60 && !fish.RingsSettled(); ++frame) {
            int before[Fish::kRings];
            for (int i = 0; i < Fish::kRings; ++i)
                before[i] = fish.RingYaw(i);
            fish.StepTurn();
            for (int i = 0; i < Fish::kRings; ++i) {
                const int step = int(sign) * (fish.RingYaw(i) - before[i]);
                const bool settled = before[i] == int(target);
                EXPECT_TRUE(settled ? step == 0 : step == 1 || step == 2) << "ring " << i << " step " << step;
            }
        }
        EXPECT_TRUE(fish.RingsSettled());
        for (int i = 0; i < Fish::kRings; ++i)
            EXPECT_EQ(fish.RingYaw(i), int(target)) << i;
    }
}

// ------------------------------------------------------------------ walls

// Past an x wall the fish turns around at once: it holds still while far off
// its new heading, and the next turn step completes the whole turn.
TEST_F(FishMotion, XWallsTurnTheFishAroundAtOnceAndHoldItWhileFarOff)
{
    const struct {
        float heading, x, target;
        int wall;
    } walls[] = {{0.0f, -29.9f, 180.0f, Fish::kAtXMin}, {180.0f, 29.9f, 360.0f, Fish::kAtXMax}};
    for (const auto& w : walls) {
        SCOPED_TRACE(w.wall);
        fish.SetSpeed(0.2f);
        PlaceFacing(w.heading, w.x, 0.0f, -92.0f);
        fish.Move();
        const float x = fish.X();
        EXPECT_NEAR(std::fabs(x), 29.9f + 0.2f - 0.1f, 1e-4f);  // pushed 0.1 back inside the wall
        EXPECT_NEAR(fish.Speed(), 0.19f, 1e-6f);                // slowing near the wall
        for (int frame = 0; frame < 2; ++frame) {
            EXPECT_EQ(fish.Wall(), w.wall);
            EXPECT_FLOAT_EQ(fish.TargetHeading(), w.target);
            fish.Move();
            EXPECT_FLOAT_EQ(fish.X(), x);
        }
        fish.StepTurn();
        EXPECT_FLOAT_EQ(fish.Heading(), w.target);
        for (int i = 0; i < Fish::kRings; ++i)
            EXPECT_EQ(fish.RingYaw(i), int(w.target)) << i;
        fish.Move();
        EXPECT_LT(std::fabs(fish.X()), std::fabs(x));  // back into the tank
    }
    // Already heading for +x past the wall: not turned again.
    PlaceFacing(180.0f, -31.0f, 0.0f, -92.0f);
    for (int frame = 0; frame < 10; ++frame) {
        fish.StepTurn();
        fish.Move();
        EXPECT_FLOAT_EQ(fish.TargetHeading(), 180.0f);
        EXPECT_NE(fish.Wall(), Fish::kAtXMin);
    }
    EXPECT_GT(fish.X(), -30.0f);
}

// Back and front nudge the heading by at most 14 degrees and stop the depth
// move; top and bottom mirror the pitch and hold the fish inside. Each wall
// steers once.
TEST_F(FishMotion, OtherWallsSteerOnceAndHoldTheFishInside)
{
    MsvcRandom::Reset(7);
    const struct {
        float heading, pitch, y, z;
        int wall;
        float yAfter, speed;
    } walls[] = {{270.0f, 0.0f, 0.0f, -97.9f, Fish::kAtBack, 0.0f, 0.19f},
                 {90.0f, 0.0f, 0.0f, -85.1f, Fish::kAtFront, 0.0f, 0.19f},
                 {0.0f, 20.0f, 10.99f, -92.0f, Fish::kAtTop, 11.0f, 0.1f},
                 {0.0f, -20.0f, -5.99f, -92.0f, Fish::kAtBottom, -6.0f, 0.1f}};
    for (const auto& w : walls) {
        SCOPED_TRACE(w.wall);
        fish.SetSpeed(0.2f);
        fish.SetPitch(w.pitch);
        PlaceFacing(w.heading, 0.0f, w.y, w.z);
        fish.Move();
        EXPECT_EQ(fish.Wall(), w.wall);
        EXPECT_FLOAT_EQ(fish.Y(), w.yAfter);
        EXPECT_NEAR(fish.Speed(), w.speed, 1e-6f);
        EXPECT_FLOAT_EQ(fish.TargetPitch(), -w.pitch);
        const float nudged = fish.TargetHeading(), z = fish.Z();
        EXPECT_LE(std::fabs(nudged - w.heading), 14.0f);
        EXPECT_TRUE(w.wall != Fish::kAtBack || nudged != w.heading);  // seed 7 nudges the first
        fish.Move();
        EXPECT_FLOAT_EQ(fish.Z(), z);
        EXPECT_FLOAT_EQ(fish.TargetHeading(), nudged);
        EXPECT_FLOAT_EQ(fish.TargetPitch(), -w.pitch);
    }
    // A later wall overwrites the state of an earlier one, not its turn.
    fish.SetSpeed(0.2f);
    fish.SetPitch(20.0f);
    PlaceFacing(0.0f, -29.9f, 10.99f, -92.0f);
    fish.Move();
    EXPECT_EQ(fish.Wall(), Fish::kAtTop);
    EXPECT_FLOAT_EQ(fish.TargetHeading(), 180.0f);
}

// Beyond the back or front of its box a fish gives up no more depth until
// it heads back in, whatever it was doing: finishing a long turn whose
// target lies straight along x (the turn from 326 to 180 used to carry a
// fish from -99 to -107), pressed against the surface with a level target
// (the top used to overwrite the hold), or resting on 360, which a nudge
// could never move. In the end it swims back into its depth.
TEST_F(FishMotion, BeyondTheBackOrFrontAFishGivesUpNoDepthAndSwimsBackIn)
{
    const struct {
        const char* name;
        float from, to, y, z, pitch;
    } cases[] = {
        {"back, long turn to 180", 326.0f, 180.0f, 0.0f, -98.5f, 0.0f},
        {"back, turn to -180", -20.0f, -180.0f, 0.0f, -98.5f, 0.0f},
        {"back, at the surface", 270.0f, 270.0f, 11.0f, -98.2f, 0.0f},
        {"back, at the bottom", 250.0f, 250.0f, -6.0f, -98.2f, 0.0f},
        {"back, resting on 360", 360.0f, 360.0f, 0.0f, -98.5f, 10.0f},
        {"front, long turn to 180", 34.0f, 180.0f, 0.0f, -84.5f, 0.0f},
        {"front, resting on 360", 360.0f, 360.0f, 0.0f, -84.5f, -10.0f},
        {"front, at the surface", 90.0f, 90.0f, 11.0f, -84.8f, 0.0f},
    };
    for (std::uint32_t seed : {1u, 7u, 99u}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + ", seed " + std::to_string(seed));
            MsvcRandom::Reset(seed);
            if (c.from == c.to)
                fish.FaceHeading(c.from);
            else
                StartTurn(c.from, c.to);
            fish.SetPosition(0.0f, c.y, c.z);
            fish.SetPitch(c.pitch);
            fish.SetSpeed(0.4f);
            const bool back = c.z < -98.0f;
            // The first move still follows the wall state of the last bounds
            // test, which had seen no wall.
            fish.Step();
            float worst = fish.Z();
            int frame = 1;
            for (; frame < 2000 && (fish.Z() < -98.0f || fish.Z() > -85.0f); ++frame) {
                fish.Step();
                ASSERT_TRUE(back ? fish.Z() >= worst : fish.Z() <= worst) << "frame " << frame << " z " << fish.Z();
                worst = fish.Z();
            }
            EXPECT_LT(frame, 2000) << "still outside its depth at z " << fish.Z();
            EXPECT_GE(fish.Heading(), -360.0f);
            EXPECT_LE(fish.Heading(), 360.0f);
        }
    }
}

// The nose and box follow the target angles, so avoidance sees the turn
// coming.
TEST_F(FishMotion, NoseAndCollisionBoxFollowTheTargetHeading)
{
    PlaceFacing(0.0f, 5.0f, 1.0f, -90.0f);
    fish.UpdateExtents();
    const float half = 0.64383f * 3.0f / 2.0f;  // half the body length at size 3
    const Fish::Box& box = fish.CollisionBox();
    EXPECT_NEAR(fish.Nose()[0], 5.0f - half, 1e-4f);
    EXPECT_NEAR(box.xMin, 5.0f - 2.0f * half, 1e-4f);
    EXPECT_NEAR(box.xMax, 5.0f + 2.0f * half, 1e-4f);
    EXPECT_NEAR(box.zMax - box.zMin, 2.0f * (1.5f + 0.75f), 1e-4f);  // width 1 x size: W/2 + W/4 each side
    fish.SteerHeading(90.0f, false, Fish::kTurnBy);  // towards the viewer
    fish.UpdateExtents();
    EXPECT_NEAR(fish.Nose()[2], -90.0f + half, 1e-4f);
}

// ---------------------------------------------------------- whole update

// The move of a whole frame is checked by the scene's picking tests; here
// the pitch creeps a degree a frame, and the pose drawn holds the pitch of
// that frame at the position before its move.
TEST(FishUpdate, AWholeFrameCreepsThePitchOneDegreeAtATime)
{
    MsvcRandom::Reset();
    Fish fish;
    fish.SetPosition(0.0f, 0.0f, -92.0f);
    fish.SetPitch(0.0f);
    fish.SteerPitch(3.0f, true, Fish::kByAngle);
    for (float expected : {1.0f, 2.0f, 3.0f, 3.0f}) {
        const float zBefore = fish.Z();
        fish.Step();
        EXPECT_FLOAT_EQ(fish.Pitch(), expected);
        EXPECT_FLOAT_EQ(fish.DrawPose().pitch, expected);
        EXPECT_FLOAT_EQ(fish.DrawPose().z, zBefore);
    }
}

// A wander decision swings a fish at rest wherever it swims in its depth,
// not only in the band in front of -90 (most fish live deeper), but not
// beyond its back wall, where the wall steers it.
TEST(FishUpdate, AWanderDecisionSwingsAFishAnywhereInItsDepth)
{
    for (float z : {-97.5f, -95.0f, -90.0f, -86.0f, -80.0f, -99.0f}) {
        SCOPED_TRACE(z);
        MsvcRandom::Reset(3);
        Fish fish;
        fish.SetSwimBox(-30.0f, 30.0f, -6.0f, 11.0f, -98.0f, -85.0f);
        fish.SetPosition(0.0f, 0.0f, z);
        fish.FaceHeading(100.0f);
        bool decided = false;
        for (int frame = 0; frame < 203; ++frame) {
            const int before = fish.WanderTimer();
            const std::uint32_t state = MsvcRandom::State();
            fish.Wander();
            if (fish.WanderTimer() >= before)
                continue;
            // Timer and speed draws, then the swing's Rand() % 170.
            MsvcRandom::Reset(state);
            Rand();
            Rand();
            const int swing = Rand() % 170;
            const bool swings = (z >= -98.0f && z <= -85.0f) || (z > -90.0f && z < -60.0f);
            EXPECT_FLOAT_EQ(fish.TargetHeading(), swings ? 100.0f + float(swing) : 100.0f);
            decided = true;
            break;
        }
        EXPECT_TRUE(decided);
    }
}

TEST(FishUpdate, WanderDecidesEvery103To202FramesUnlessTouchingOrFollowingFood)
{
    MsvcRandom::Reset();
    Fish fish;
    fish.SetPosition(0.0f, 0.0f, -80.0f);
    fish.FaceHeading(20.0f);
    std::vector<int> decisions;
    for (int frame = 0; frame < 2000; ++frame) {
        const int before = fish.WanderTimer();
        fish.Wander();
        if (fish.WanderTimer() < before) {
            decisions.push_back(frame);
            fish.FaceHeading(fish.TargetHeading());  // let each swing finish
        }
    }
    // The timer restarts at 0..99 and decides once its previous value passed
    // 200: 202 - restart frames later.
    EXPECT_GE(decisions.size(), 9u);
    for (size_t i = 1; i < decisions.size(); ++i)
        EXPECT_TRUE(decisions[i] - decisions[i - 1] >= 103 && decisions[i] - decisions[i - 1] <= 202) << i;
    const int timer = fish.WanderTimer();
    fish.SetTouching(true);  // following food: the picking tests
    for (int frame = 0; frame < 300; ++frame)
        fish.Wander();
    EXPECT_EQ(fish.WanderTimer(), timer);
}
