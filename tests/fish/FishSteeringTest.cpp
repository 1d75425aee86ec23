#include "fish/Fish.h"
#include "fish/FishDirections.h"
#include "platform/MsvcRandom.h"
#include "settings/ProgramValues.h"
#include "view/scene/TankBox.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

// The next Rand() value, without using it up.
int PeekRand()
{
    const std::uint32_t state = MsvcRandom::State();
    const int value = Rand();
    MsvcRandom::Reset(state);
    return value;
}

class FishSteering : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramValues();
        MsvcRandom::Reset();
        fish.SetPosition(0.0f, 0.0f, -95.0f);  // outside the front band
    }

    // A fish at rest facing `heading`, then steered once.
    float Steered(float heading, int kind, bool sense = false, float value = 0.0f)
    {
        fish.FaceHeading(heading);
        fish.SteerHeading(value, sense, kind);
        return fish.TargetHeading();
    }

    float Pitched(float target, int kind, bool sense = false, float value = 0.0f)
    {
        fish.SetPitch(target);
        fish.SteerPitch(value, sense, kind);
        return fish.TargetPitch();
    }

    Fish fish;
};

}  // namespace

TEST(FishDirections, QuadrantsIncludeTheirBoundsOnBothSidesOfZero)
{
    for (float v : {0.0f, 45.0f, 90.0f, 270.0f, 360.0f, -90.0f, -45.0f, -270.0f, -360.0f})
        EXPECT_TRUE(FacesMinusX(v)) << v;
    for (float v : {90.5f, 180.0f, 269.5f, -90.5f, -180.0f, -269.5f})
        EXPECT_FALSE(FacesMinusX(v)) << v;
    for (float v : {0.0f, 90.0f, 180.0f, -180.0f, -270.0f, -360.0f})
        EXPECT_TRUE(FacesPlusZ(v)) << v;
    for (float v : {180.5f, 270.0f, 359.0f, -1.0f, -90.0f, -179.5f})
        EXPECT_FALSE(FacesPlusZ(v)) << v;
}

TEST(FishDirections, AngleBetweenLinesHandlesSteepAndPerpendicularLines)
{
    EXPECT_NEAR(AngleBetweenLines(0.0f, 1.0f), 45.0f, 1e-3f);
    EXPECT_NEAR(AngleBetweenLines(1.0f, 0.0f), 45.0f, 1e-3f);
    EXPECT_NEAR(AngleBetweenLines(1.0f, -1.0f), 90.0f, 0.01f);   // 1 + m1 m2 = 0
    EXPECT_NEAR(AngleBetweenLines(0.0f, LineSlope(1.0f, 0.0f)), 90.0f, 0.01f);
    EXPECT_FLOAT_EQ(LineSlope(2.0f, 0.00005f), 20000.0f);
    EXPECT_FLOAT_EQ(LineSlope(2.0f, 4.0f), 0.5f);
}

TEST_F(FishSteering, ConstructorDrawsPitchHeadingAndWanderTimerInOrder)
{
    MsvcRandom::Reset();
    const int first = Rand(), second = Rand(), third = Rand();
    MsvcRandom::Reset();
    Fish fresh;
    EXPECT_FLOAT_EQ(fresh.TargetPitch(), float(first % 45));
    EXPECT_FLOAT_EQ(fresh.TargetHeading(), float(second % 180));
    EXPECT_EQ(fresh.WanderTimer(), third % 200);
    EXPECT_FLOAT_EQ(fresh.Size(), 3.0f);
    EXPECT_FLOAT_EQ(fresh.Speed(), 0.2f);
    EXPECT_FLOAT_EQ(fresh.Heading(), 0.0f);
    EXPECT_FLOAT_EQ(fresh.Pitch(), 0.0f);
    // Never updated: a box of the unscaled extents around the origin.
    EXPECT_NEAR(fresh.CollisionBox().xMax, 0.3219f, 1e-4f);
    EXPECT_NEAR(fresh.CollisionBox().yMin, -0.0908f, 1e-4f);
    EXPECT_NEAR(fresh.CollisionBox().zMax, 0.5f, 1e-4f);
}

TEST_F(FishSteering, PlaceDrawsAPositionInTheMiddleOfTheTank)
{
    TankBox tank;  // y -21..21
    const int rx = PeekRand();
    fish.Place(tank);
    EXPECT_FLOAT_EQ(fish.X(), float(rx % 60 - 30));
    for (int i = 0; i < 200; ++i) {
        fish.Place(tank);
        EXPECT_GE(fish.X(), -30.0f);
        EXPECT_LE(fish.X(), 29.0f);
        EXPECT_GE(fish.Y(), -20.0f);
        EXPECT_LE(fish.Y(), 9.0f);
        EXPECT_GE(fish.Z(), -95.0f);
        EXPECT_LE(fish.Z(), -86.0f);
        EXPECT_EQ(fish.Wall(), Fish::kFree);
    }
}

TEST_F(FishSteering, SwingGoesUpBelowAHalfTurnAndDownAbove)
{
    int d = PeekRand() % 170;
    EXPECT_FLOAT_EQ(Steered(100.0f, Fish::kSwing), 100.0f + float(d));
    d = PeekRand() % 170;
    EXPECT_FLOAT_EQ(Steered(200.0f, Fish::kSwing), 200.0f - float(d));
}

TEST_F(FishSteering, AboutTurnAddsOrTakes180)
{
    EXPECT_FLOAT_EQ(Steered(100.0f, Fish::kAboutTurn), 280.0f);
    EXPECT_FLOAT_EQ(Steered(180.0f, Fish::kAboutTurn), 360.0f);
    EXPECT_FLOAT_EQ(Steered(200.0f, Fish::kAboutTurn), 20.0f);
    EXPECT_FLOAT_EQ(Steered(-100.0f, Fish::kAboutTurn), 80.0f);
}

TEST_F(FishSteering, SideOfNudgeAvoidReverseAndTurnByFollowsSenseAndFacing)
{
    // Facing -x (heading 0): sense true turns down, sense false up.
    int r = PeekRand() % 15;
    EXPECT_FLOAT_EQ(Steered(0.0f, Fish::kNudge, true), -float(r));
    r = PeekRand() % 15;
    EXPECT_FLOAT_EQ(Steered(0.0f, Fish::kNudge, false), float(r));
    r = 10 + PeekRand() % 10;
    EXPECT_FLOAT_EQ(Steered(30.0f, Fish::kAvoid, true), 30.0f - float(r));
    // Facing +x (heading 180) the sides swap.
    r = 10 + PeekRand() % 10;
    EXPECT_FLOAT_EQ(Steered(180.0f, Fish::kAvoid, true), 180.0f + float(r));
    EXPECT_FLOAT_EQ(Steered(0.0f, Fish::kReverse, true), -180.0f);
    EXPECT_FLOAT_EQ(Steered(180.0f, Fish::kReverse, true), 360.0f);
    // Turn by: the whole degrees of |value|.
    EXPECT_FLOAT_EQ(Steered(0.0f, Fish::kTurnBy, false, -37.8f), 37.0f);
    EXPECT_FLOAT_EQ(Steered(0.0f, Fish::kTurnBy, true, 12.9f), -12.0f);
}

TEST_F(FishSteering, QuarterTurnOnlyInTheFrontBand)
{
    fish.SetPosition(0.0f, 0.0f, -80.0f);
    EXPECT_FLOAT_EQ(Steered(90.0f, Fish::kQuarterTurn), 180.0f);
    EXPECT_FLOAT_EQ(Steered(200.0f, Fish::kQuarterTurn), 110.0f);
    EXPECT_FLOAT_EQ(Steered(0.0f, Fish::kQuarterTurn), -90.0f);
    EXPECT_FLOAT_EQ(Steered(-180.0f, Fish::kQuarterTurn), -270.0f);
    EXPECT_FLOAT_EQ(Steered(-200.0f, Fish::kQuarterTurn), -110.0f);
    fish.SetPosition(0.0f, 0.0f, -65.0f);
    EXPECT_FLOAT_EQ(Steered(90.0f, Fish::kQuarterTurn), 180.0f);
    for (float z : {-95.0f, -75.0f, -60.0f, -50.0f}) {
        fish.SetPosition(0.0f, 0.0f, z);
        EXPECT_FLOAT_EQ(Steered(90.0f, Fish::kQuarterTurn), 90.0f) << z;
    }
}

TEST_F(FishSteering, UnknownKindsChangeNothingAndResultsStayWithin360)
{
    EXPECT_FLOAT_EQ(Steered(50.0f, 3), 50.0f);
    EXPECT_FLOAT_EQ(Steered(50.0f, 8), 50.0f);
    EXPECT_FLOAT_EQ(Steered(300.0f, Fish::kReverse, false), 360.0f);
    EXPECT_FLOAT_EQ(Steered(-300.0f, Fish::kReverse, true), -360.0f);
    EXPECT_FLOAT_EQ(Steered(350.0f, Fish::kTurnBy, false, 90.0f), 360.0f);
}

TEST_F(FishSteering, AFishFinishesOneTurnBeforeItAcceptsAnother)
{
    fish.FaceHeading(0.0f);
    fish.SteerHeading(50.0f, false, Fish::kTurnBy);
    ASSERT_FLOAT_EQ(fish.TargetHeading(), 50.0f);
    // Still turning: every kind is ignored.
    for (int kind : {0, 1, 2, 4, 5, 6, 7}) {
        fish.SteerHeading(90.0f, false, kind);
        EXPECT_FLOAT_EQ(fish.TargetHeading(), 50.0f) << kind;
    }
    int frames = 0;
    while (frames < 1000) {
        fish.StepTurn();
        ++frames;
        if (std::fabs(fish.Heading() - 50.0f) <= 0.1f)
            break;
        fish.SteerHeading(90.0f, false, Fish::kAboutTurn);
        ASSERT_FLOAT_EQ(fish.TargetHeading(), 50.0f);
    }
    // 25 head steps of 2 degrees, one every third frame.
    EXPECT_EQ(frames, 75);
    fish.SteerHeading(0.0f, false, Fish::kAboutTurn);
    EXPECT_FLOAT_EQ(fish.TargetHeading(), 230.0f);
}

TEST_F(FishSteering, PitchKinds)
{
    int d = 15 + PeekRand() % 15;
    EXPECT_FLOAT_EQ(Pitched(20.0f, Fish::kFlip), 20.0f - float(d));
    d = 15 + PeekRand() % 15;
    EXPECT_FLOAT_EQ(Pitched(0.0f, Fish::kFlip), float(d));
    d = 15 + PeekRand() % 15;
    EXPECT_FLOAT_EQ(Pitched(-10.0f, Fish::kFlip), -10.0f + float(d));
    EXPECT_FLOAT_EQ(Pitched(30.0f, Fish::kMirror), -30.0f);
    EXPECT_FLOAT_EQ(Pitched(10.0f, Fish::kOneDegree, true), 11.0f);
    EXPECT_FLOAT_EQ(Pitched(10.0f, Fish::kOneDegree, false), 9.0f);
    EXPECT_FLOAT_EQ(Pitched(10.0f, Fish::kByAngle, true, 20.0f), 30.0f);
    EXPECT_FLOAT_EQ(Pitched(10.0f, Fish::kByAngle, false, 20.0f), -10.0f);
    // Past +-90 either way: unchanged.
    EXPECT_FLOAT_EQ(Pitched(40.0f, Fish::kByAngle, false, 60.0f), 40.0f);
    EXPECT_FLOAT_EQ(Pitched(-40.0f, Fish::kByAngle, true, 60.0f), -40.0f);
    EXPECT_FLOAT_EQ(Pitched(10.0f, 1), 10.0f);
}

TEST_F(FishSteering, PitchStaysWithin45)
{
    EXPECT_FLOAT_EQ(Pitched(45.0f, Fish::kOneDegree, true), 45.0f);
    EXPECT_FLOAT_EQ(Pitched(-45.0f, Fish::kOneDegree, false), -45.0f);
    EXPECT_FLOAT_EQ(Pitched(30.0f, Fish::kByAngle, true, 40.0f), 45.0f);
    EXPECT_FLOAT_EQ(Pitched(-30.0f, Fish::kByAngle, false, 40.0f), -45.0f);
    fish.SetPitch(80.0f);
    EXPECT_FLOAT_EQ(fish.TargetPitch(), 45.0f);
}

TEST_F(FishSteering, SpeedTakesOneStepTowardsItsGoalWithin005To04)
{
    fish.SetSpeed(0.2f);
    fish.AdjustSpeed(0.1f, 0.35f);
    EXPECT_FLOAT_EQ(fish.Speed(), 0.3f);
    fish.AdjustSpeed(0.1f, 0.35f);
    EXPECT_FLOAT_EQ(fish.Speed(), 0.4f);
    fish.AdjustSpeed(0.1f, 0.9f);
    EXPECT_FLOAT_EQ(fish.Speed(), 0.4f);
    fish.AdjustSpeed(0.4f, 0.05f);
    EXPECT_FLOAT_EQ(fish.Speed(), 0.05f);
    fish.AdjustSpeed(0.1f, 0.0f);
    EXPECT_FLOAT_EQ(fish.Speed(), 0.05f);
    fish.SetSpeed(0.2f);
    fish.AdjustSpeed(0.1f, 0.2f);
    EXPECT_FLOAT_EQ(fish.Speed(), 0.2f);
}

TEST_F(FishSteering, SizeStaysWithin2To4)
{
    fish.Grow(2.0f, true);
    EXPECT_FLOAT_EQ(fish.Size(), 4.0f);
    fish.Grow(2.0f, true);
    EXPECT_FLOAT_EQ(fish.Size(), 4.0f);
    fish.Grow(1.5f, false);
    EXPECT_FLOAT_EQ(fish.Size(), 2.5f);
    fish.Grow(2.0f, false);
    EXPECT_FLOAT_EQ(fish.Size(), 2.0f);
}
