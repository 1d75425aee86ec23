#include "fish/Fish.h"
#include "platform/MsvcRandom.h"
#include "settings/ProgramValues.h"
#include "tests/support/GlTestContext.h"

#include <algorithm>
#include <cmath>
#include <GL/gl.h>
#include <gtest/gtest.h>

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

    // Starts a turn from `from` to `to` (degrees).
    void StartTurn(float from, float to)
    {
        fish.FaceHeading(from);
        const float by = to - from;
        // Facing -x, sense false turns up; facing +x, sense true does.
        const bool up = by > 0;
        const bool sense = FacesMinusXNow() ? !up : up;
        fish.SteerHeading(std::fabs(by), sense, Fish::kTurnBy);
        ASSERT_FLOAT_EQ(fish.TargetHeading(), to);
    }

    bool FacesMinusXNow() const
    {
        const float h = fish.Heading();
        return (h >= 0 && h <= 90) || (h >= 270 && h <= 360) || (h >= -90 && h <= 0) ||
               (h >= -360 && h <= -270);
    }

    Fish fish;
};

}  // namespace

// ---------------------------------------------------------------- turning

TEST_F(FishMotion, TurningFrom1To359GoesUpThrough180)
{
    StartTurn(1.0f, 359.0f);
    float previous = fish.Heading();
    bool passed180 = false;
    for (int frame = 0; frame < 600; ++frame) {
        fish.StepTurn();
        ASSERT_GE(fish.Heading(), previous);
        ASSERT_LE(fish.Heading() - previous, 2.0f);
        passed180 = passed180 || (fish.Heading() >= 179.0f && fish.Heading() <= 181.0f);
        previous = fish.Heading();
    }
    EXPECT_TRUE(passed180);
    EXPECT_FLOAT_EQ(fish.Heading(), 359.0f);
    EXPECT_TRUE(fish.TurnDone());
}

TEST_F(FishMotion, RingsTrailTheHeadByUpToOneDegreeEachDuringATurn)
{
    StartTurn(0.0f, 60.0f);
    for (int frame = 0; frame < 30; ++frame)
        fish.StepTurn();
    ASSERT_FALSE(fish.TurnDone());
    // Far from the target the spread is a full degree per ring.
    const float h = fish.Heading();
    ASSERT_GT(60.0f - h, 17.0f);
    for (int i = 0; i < Fish::kRings; ++i)
        EXPECT_EQ(fish.RingYaw(i), int(h - float(i))) << i;
    // Near the target it shrinks with the angle left.
    while (60.0f - fish.Heading() > 8.5f)
        fish.StepTurn();
    const float near = fish.Heading();
    const float spread = (60.0f - near) / 17.0f;
    EXPECT_EQ(fish.RingYaw(17), int(near - 17.0f * spread));
    EXPECT_EQ(fish.RingYaw(0), int(near));
}

TEST_F(FishMotion, RingsSettleOnTheTargetInWholeDegreeSteps)
{
    StartTurn(0.0f, 40.0f);
    fish.StepTurn();  // the turn starts on the next step
    ASSERT_FALSE(fish.TurnDone());
    while (!fish.TurnDone())
        fish.StepTurn();
    ASSERT_FALSE(fish.RingsSettled());
    int before[Fish::kRings];
    for (int frame = 0; frame < 60 && !fish.RingsSettled(); ++frame) {
        for (int i = 0; i < Fish::kRings; ++i)
            before[i] = fish.RingYaw(i);
        fish.StepTurn();
        for (int i = 0; i < Fish::kRings; ++i) {
            const int step = fish.RingYaw(i) - before[i];
            EXPECT_LE(fish.RingYaw(i), 40) << i;
            if (before[i] < 40) {
                EXPECT_TRUE(step == 1 || step == 2) << "ring " << i << " step " << step;
            } else {
                EXPECT_EQ(step, 0) << i;
            }
        }
    }
    EXPECT_TRUE(fish.RingsSettled());
    for (int i = 0; i < Fish::kRings; ++i)
        EXPECT_EQ(fish.RingYaw(i), 40);
}

TEST_F(FishMotion, NegativeTurnsSpreadTheOtherWay)
{
    StartTurn(0.0f, -50.0f);
    for (int frame = 0; frame < 15; ++frame)
        fish.StepTurn();
    EXPECT_LT(fish.Heading(), 0.0f);
    for (int i = 1; i < Fish::kRings; ++i)
        EXPECT_GE(fish.RingYaw(i), fish.RingYaw(i - 1)) << i;
    while (!fish.RingsSettled())
        fish.StepTurn();
    EXPECT_EQ(fish.RingYaw(17), -50);
}

TEST_F(FishMotion, ASmallRetargetAfterATurnIsStillFollowed)
{
    // A target moved by 2 degrees or less would otherwise leave the head off
    // target for good, deaf to every later steer.
    StartTurn(30.0f, 32.0f);
    for (int frame = 0; frame < 10; ++frame)
        fish.StepTurn();
    EXPECT_FLOAT_EQ(fish.Heading(), 32.0f);
    fish.SteerHeading(0.0f, false, Fish::kAboutTurn);
    EXPECT_FLOAT_EQ(fish.TargetHeading(), 212.0f);
}

// ------------------------------------------------------------------ walls

TEST_F(FishMotion, TheXMinimumTurnsTheFishAroundAtOnceAndHoldsItWhileFarOff)
{
    fish.FaceHeading(0.0f);  // towards -x
    fish.SetPosition(-29.9f, 0.0f, -92.0f);
    fish.Move();
    EXPECT_EQ(fish.Wall(), Fish::kAtXMin);
    EXPECT_FLOAT_EQ(fish.TargetHeading(), 180.0f);
    EXPECT_NEAR(fish.X(), -29.9f - 0.2f + 0.1f, 1e-4f);
    EXPECT_NEAR(fish.Speed(), 0.19f, 1e-6f);  // slowing near the wall
    // Facing the wall, 180 degrees off the target: no move, no new bounds test.
    const float x = fish.X(), z = fish.Z();
    fish.Move();
    fish.Move();
    EXPECT_FLOAT_EQ(fish.X(), x);
    EXPECT_FLOAT_EQ(fish.Z(), z);
    EXPECT_EQ(fish.Wall(), Fish::kAtXMin);
    EXPECT_FLOAT_EQ(fish.TargetHeading(), 180.0f);
    // The next turn step completes the whole turn in one frame.
    fish.StepTurn();
    EXPECT_FLOAT_EQ(fish.Heading(), 180.0f);
    for (int i = 0; i < Fish::kRings; ++i)
        EXPECT_EQ(fish.RingYaw(i), 180) << i;
    fish.Move();
    EXPECT_GT(fish.X(), x);
}

TEST_F(FishMotion, AFishAtTheXMinimumAlreadyHeadingForPlusXIsNotTurnedAgain)
{
    fish.FaceHeading(180.0f);
    fish.SetPosition(-31.0f, 0.0f, -92.0f);
    for (int frame = 0; frame < 10; ++frame) {
        fish.StepTurn();
        fish.Move();
        EXPECT_FLOAT_EQ(fish.TargetHeading(), 180.0f);
        EXPECT_NE(fish.Wall(), Fish::kAtXMin);
    }
    EXPECT_GT(fish.X(), -31.0f + 1.0f);
}

TEST_F(FishMotion, TheXMaximumTurnsBackTowardsMinusX)
{
    fish.FaceHeading(180.0f);  // towards +x
    fish.SetPosition(29.9f, 0.0f, -92.0f);
    fish.Move();
    EXPECT_EQ(fish.Wall(), Fish::kAtXMax);
    EXPECT_FLOAT_EQ(fish.TargetHeading(), 360.0f);
    EXPECT_NEAR(fish.X(), 29.9f + 0.2f - 0.1f, 1e-4f);
    fish.Move();
    EXPECT_FLOAT_EQ(fish.TargetHeading(), 360.0f);
}

TEST_F(FishMotion, BackAndFrontWallsNudgeOnceAndStopTheDepthMove)
{
    MsvcRandom::Reset(7);  // a sequence whose first nudge is not 0
    fish.FaceHeading(270.0f);  // towards -z
    fish.SetPosition(0.0f, 0.0f, -97.9f);
    fish.Move();
    EXPECT_EQ(fish.Wall(), Fish::kAtBack);
    const float nudged = fish.TargetHeading();
    EXPECT_NE(nudged, 270.0f);
    EXPECT_LE(std::fabs(nudged - 270.0f), 14.0f);
    const float z = fish.Z();
    fish.Move();
    EXPECT_FLOAT_EQ(fish.Z(), z);  // no further z decrease
    EXPECT_FLOAT_EQ(fish.TargetHeading(), nudged);

    fish.FaceHeading(90.0f);  // towards +z
    fish.SetPosition(0.0f, 0.0f, -85.1f);
    fish.Move();
    EXPECT_EQ(fish.Wall(), Fish::kAtFront);
    const float front = fish.TargetHeading();
    EXPECT_LE(std::fabs(front - 90.0f), 14.0f);
    const float z2 = fish.Z();
    fish.Move();
    EXPECT_FLOAT_EQ(fish.Z(), z2);  // no further z increase
    EXPECT_FLOAT_EQ(fish.TargetHeading(), front);
}

TEST_F(FishMotion, TopAndBottomMirrorThePitchAndHoldTheFishInside)
{
    fish.FaceHeading(0.0f);
    fish.SetPitch(20.0f);
    fish.SetPosition(0.0f, 10.99f, -92.0f);
    fish.Move();
    EXPECT_EQ(fish.Wall(), Fish::kAtTop);
    EXPECT_FLOAT_EQ(fish.Y(), 11.0f);
    EXPECT_FLOAT_EQ(fish.TargetPitch(), -20.0f);
    EXPECT_NEAR(fish.Speed(), 0.1f, 1e-6f);

    fish.SetPitch(-20.0f);
    fish.SetPosition(0.0f, -5.99f, -92.0f);
    fish.Move();
    EXPECT_EQ(fish.Wall(), Fish::kAtBottom);
    EXPECT_FLOAT_EQ(fish.Y(), -6.0f);
    EXPECT_FLOAT_EQ(fish.TargetPitch(), 20.0f);
}

TEST_F(FishMotion, ALaterWallOverwritesTheStateOfAnEarlierOne)
{
    fish.FaceHeading(0.0f);
    fish.SetPitch(20.0f);
    fish.SetPosition(-29.9f, 10.99f, -92.0f);
    fish.Move();
    EXPECT_EQ(fish.Wall(), Fish::kAtTop);
    EXPECT_FLOAT_EQ(fish.TargetHeading(), 180.0f);  // the x wall still turned it
}

TEST_F(FishMotion, MovesAlongTheHeadingAndRisesWithTheTargetPitch)
{
    fish.FaceHeading(30.0f);
    fish.SetPitch(10.0f);
    fish.Move();
    const float rad = 30.0f * 0.017453292f;
    EXPECT_NEAR(fish.X(), -std::cos(rad) * 0.2f, 1e-5f);
    EXPECT_NEAR(fish.Z(), -92.0f + std::sin(rad) * 0.2f, 1e-4f);
    EXPECT_NEAR(fish.Y(), std::sin(10.0f * 0.017453292f) * 0.2f, 1e-5f);
    EXPECT_EQ(fish.Wall(), Fish::kFree);
}

TEST_F(FishMotion, NoseTailAndBoxFollowTheTargetAngles)
{
    fish.FaceHeading(0.0f);
    fish.SetPosition(5.0f, 1.0f, -90.0f);
    fish.UpdateExtents();
    const float half = 0.64383f * 3.0f / 2.0f;
    EXPECT_NEAR(fish.Nose()[0], 5.0f - half, 1e-4f);
    EXPECT_NEAR(fish.Tail()[0], 5.0f + half, 1e-4f);
    EXPECT_NEAR(fish.Nose()[2], -90.0f, 1e-4f);
    EXPECT_NEAR(fish.CollisionBox().xMin, 5.0f - 2.0f * half, 1e-4f);
    EXPECT_NEAR(fish.CollisionBox().xMax, 5.0f + 2.0f * half, 1e-4f);
    // Width 1 x size: z half extent W/2 + W/4.
    EXPECT_NEAR(fish.CollisionBox().zMax - fish.CollisionBox().zMin, 2.0f * (1.5f + 0.75f), 1e-4f);

    fish.FaceHeading(90.0f);  // towards the viewer
    fish.UpdateExtents();
    EXPECT_NEAR(fish.Nose()[2], -90.0f + half, 1e-4f);
    EXPECT_NEAR(fish.Nose()[0], 5.0f, 1e-3f);
}

// ---------------------------------------------------------- whole update

TEST(FishUpdate, AWholeFrameRestoresTheMatrixAndMovesAfterDrawing)
{
    GlTestContext gl;
    ASSERT_TRUE(gl.Ok());
    MsvcRandom::Reset();
    Fish fish;
    fish.SetPosition(0.0f, 0.0f, -92.0f);
    fish.FaceHeading(0.0f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    GLint depth = 0, after = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    fish.UpdateAndDraw();
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &after);
    EXPECT_EQ(after, depth);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_LT(fish.X(), 0.0f);
    // Pitch creeps one degree per frame towards its target.
    fish.SetPitch(0.0f);
    fish.SteerPitch(3.0f, true, Fish::kByAngle);
    fish.UpdateAndDraw();
    EXPECT_FLOAT_EQ(fish.Pitch(), 1.0f);
    fish.UpdateAndDraw();
    fish.UpdateAndDraw();
    fish.UpdateAndDraw();
    EXPECT_FLOAT_EQ(fish.Pitch(), 3.0f);
}

TEST(FishUpdate, WanderDecidesEvery103To202FramesUnlessTouchingOrFollowingFood)
{
    MsvcRandom::Reset();
    Fish fish;
    fish.SetPosition(0.0f, 0.0f, -80.0f);
    fish.FaceHeading(20.0f);
    int decisions = 0, last = -1, longest = 0, shortest = 1000;
    for (int frame = 0; frame < 2000; ++frame) {
        const int before = fish.WanderTimer();
        fish.Wander();
        if (fish.WanderTimer() < before) {
            if (last >= 0) {
                longest = std::max(longest, frame - last);
                shortest = std::min(shortest, frame - last);
            }
            last = frame;
            ++decisions;
            fish.FaceHeading(fish.TargetHeading());  // let each swing finish
        }
    }
    EXPECT_GE(decisions, 9);
    // The timer restarts at 0..99 and decides once its previous value passed
    // 200: 202 - restart frames later.
    EXPECT_GE(shortest, 103);
    EXPECT_LE(longest, 202);

    const int timer = fish.WanderTimer();
    fish.SetTouching(true);
    for (int frame = 0; frame < 300; ++frame)
        fish.Wander();
    EXPECT_EQ(fish.WanderTimer(), timer);
    fish.SetTouching(false);
    fish.SetAttracted(true);
    for (int frame = 0; frame < 300; ++frame)
        fish.Wander();
    EXPECT_EQ(fish.WanderTimer(), timer);
}
