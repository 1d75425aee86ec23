// SPDX-License-Identifier: MIT
#include "fish/Fish.h"
#include "fish/FishDirections.h"
#include "platform/MsvcRandom.h"
#include "settings/ProgramValues.h"
#include "base/TankBox.h"

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

// One steer from `from`; the result is fixed + sign * (add + Rand() % mod).
struct Steer {
    float from;
    int kind;
    bool sense;
    float value, fixed, sign = 0;
    int add = 0, mod = 0;
};

float Expected(const Steer& s) { return s.fixed + s.sign * float(s.add + (s.mod ? PeekRand() % s.mod : 0)); }

class FishSteering : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramValues();
        MsvcRandom::Reset();
        fish.SetPosition(0.0f, 0.0f, -95.0f);  // outside the front band
    }

    float Steered(float heading, int kind, bool sense = false, float value = 0.0f)
    {
        fish.FaceHeading(heading);
        fish.SteerHeading(value, sense, kind);
        return fish.TargetHeading();
    }

    Fish fish;
};

}  // namespace

TEST(FishDirections, QuadrantsIncludeTheirBoundsAndLinesMayBeSteep)
{
    for (float v : {0.0f, 45.0f, 90.0f, 270.0f, 360.0f, -90.0f, -45.0f, -270.0f, -360.0f})
        EXPECT_TRUE(FacesMinusX(v)) << v;
    for (float v : {90.5f, 180.0f, 269.5f, -90.5f, -180.0f, -269.5f})
        EXPECT_FALSE(FacesMinusX(v)) << v;
    for (float v : {0.0f, 90.0f, 180.0f, -180.0f, -270.0f, -360.0f})
        EXPECT_TRUE(FacesPlusZ(v)) << v;
    for (float v : {180.5f, 270.0f, 359.0f, -1.0f, -90.0f, -179.5f})
        EXPECT_FALSE(FacesPlusZ(v)) << v;
    EXPECT_NEAR(AngleBetweenLines(0.0f, 1.0f), 45.0f, 1e-3f);
    EXPECT_NEAR(AngleBetweenLines(1.0f, -1.0f), 90.0f, 0.01f);  // 1 + m1 m2 = 0
    EXPECT_NEAR(AngleBetweenLines(0.0f, LineSlope(1.0f, 0.0f)), 90.0f, 0.01f);
    EXPECT_FLOAT_EQ(LineSlope(2.0f, 4.0f), 0.5f);
}

// A new fish draws its target pitch, target heading and wander timer in that
// order; placing it draws a position in the middle of the tank.
TEST_F(FishSteering, ANewFishDrawsItsStartAndIsPlacedInTheMiddleOfTheTank)
{
    MsvcRandom::Reset();
    const int first = Rand(), second = Rand(), third = Rand();
    MsvcRandom::Reset();
    Fish fresh;
    EXPECT_FLOAT_EQ(fresh.TargetPitch(), float(first % 45));
    EXPECT_FLOAT_EQ(fresh.TargetHeading(), float(second % 180));
    EXPECT_EQ(fresh.WanderTimer(), third % 200);
    TankBox tank;  // y -21..21
    for (int i = 0; i < 200; ++i) {
        fresh.Place(tank);
        EXPECT_TRUE(fresh.X() >= -30.0f && fresh.X() <= 29.0f) << fresh.X();
        EXPECT_TRUE(fresh.Y() >= -20.0f && fresh.Y() <= 9.0f) << fresh.Y();
        EXPECT_TRUE(fresh.Z() >= -95.0f && fresh.Z() <= -86.0f) << fresh.Z();
        EXPECT_EQ(fresh.Wall(), Fish::kFree);
    }
}

// Facing -x (heading 0) sense true turns down; facing +x (180) the sides swap.
// A result past +-360 comes a whole turn nearer 0 (the fish's angles move
// with it, see FishMotion).
TEST_F(FishSteering, HeadingKindsFollowSenseAndFacingAndStayWithin360)
{
    const Steer steers[] = {
        {100, Fish::kSwing, false, 0, 100, 1, 0, 170},   {200, Fish::kSwing, false, 0, 200, -1, 0, 170},
        {0, Fish::kNudge, true, 0, 0, -1, 0, 15},        {0, Fish::kNudge, false, 0, 0, 1, 0, 15},
        {30, Fish::kAvoid, true, 0, 30, -1, 10, 10},     {180, Fish::kAvoid, true, 0, 180, 1, 10, 10},
        {0, Fish::kReverse, true, 0, -180},              {180, Fish::kReverse, true, 0, 360},
        {300, Fish::kReverse, false, 0, 120},            {-300, Fish::kReverse, true, 0, -120},
        {0, Fish::kTurnBy, false, -37.8f, 37},           {0, Fish::kTurnBy, true, 12.9f, -12},
        {350, Fish::kTurnBy, false, 90, 80},            {100, Fish::kAboutTurn, false, 0, 280},
        {180, Fish::kAboutTurn, false, 0, 360},          {200, Fish::kAboutTurn, false, 0, 20},
        {-100, Fish::kAboutTurn, false, 0, 80},          {50, 3, false, 0, 50},
        {50, 8, false, 0, 50},
    };
    for (const Steer& s : steers) {
        const float expected = Expected(s);
        EXPECT_FLOAT_EQ(Steered(s.from, s.kind, s.sense, s.value), expected) << s.from << " kind " << s.kind;
    }
}

TEST_F(FishSteering, QuarterTurnOnlyInTheFrontBand)
{
    const float turns[][2] = {{90, 180}, {200, 110}, {0, -90}, {-180, -270}, {-200, -110}};
    for (float z : {-80.0f, -65.0f}) {
        fish.SetPosition(0.0f, 0.0f, z);
        for (const auto& t : turns)
            EXPECT_FLOAT_EQ(Steered(t[0], Fish::kQuarterTurn), t[1]) << z << " from " << t[0];
    }
    for (float z : {-95.0f, -75.0f, -60.0f, -50.0f}) {
        fish.SetPosition(0.0f, 0.0f, z);
        EXPECT_FLOAT_EQ(Steered(90.0f, Fish::kQuarterTurn), 90.0f) << z;
    }
}

TEST_F(FishSteering, PitchKindsStayWithin45)
{
    const Steer steers[] = {
        {20, Fish::kFlip, false, 0, 20, -1, 15, 15},   {0, Fish::kFlip, false, 0, 0, 1, 15, 15},
        {-10, Fish::kFlip, false, 0, -10, 1, 15, 15},  {30, Fish::kMirror, false, 0, -30},
        {10, Fish::kOneDegree, true, 0, 11},           {10, Fish::kOneDegree, false, 0, 9},
        {10, Fish::kByAngle, true, 20, 30},            {10, Fish::kByAngle, false, 20, -10},
        {40, Fish::kByAngle, false, 60, 40},           {-40, Fish::kByAngle, true, 60, -40},  // past -90/90
        {45, Fish::kOneDegree, true, 0, 45},           {-45, Fish::kOneDegree, false, 0, -45},
        {30, Fish::kByAngle, true, 40, 45},            {-30, Fish::kByAngle, false, 40, -45},
        {10, 1, false, 0, 10},
    };
    for (const Steer& s : steers) {
        const float expected = Expected(s);
        fish.SetPitch(s.from);
        fish.SteerPitch(s.value, s.sense, s.kind);
        EXPECT_FLOAT_EQ(fish.TargetPitch(), expected) << s.from << " kind " << s.kind;
    }
    fish.SetPitch(80.0f);
    EXPECT_FLOAT_EQ(fish.TargetPitch(), 45.0f);
}

TEST_F(FishSteering, SpeedAndSizeStepTowardsTheirGoalsWithinTheirRanges)
{
    const float speeds[][3] = {{0.1f, 0.2f, 0.2f}, {0.1f, 0.35f, 0.3f}, {0.1f, 0.35f, 0.4f},
                               {0.1f, 0.9f, 0.4f}, {0.4f, 0.05f, 0.05f}, {0.1f, 0.0f, 0.05f}};
    fish.SetSpeed(0.2f);
    for (const auto& s : speeds) {
        fish.AdjustSpeed(s[0], s[1]);
        EXPECT_FLOAT_EQ(fish.Speed(), s[2]) << "step " << s[0] << " goal " << s[1];
    }
    const float sizes[][3] = {{2.0f, 1, 4.0f}, {2.0f, 1, 4.0f}, {1.5f, 0, 2.5f}, {2.0f, 0, 2.0f}};
    for (const auto& s : sizes) {
        fish.Grow(s[0], s[1] != 0);
        EXPECT_FLOAT_EQ(fish.Size(), s[2]);
    }
}
