// SPDX-License-Identifier: MIT
#include "fish/Fish.h"
#include "fish/FishSchool.h"
#include "fish/SlotAssignment.h"
#include "platform/MsvcRandom.h"
#include "settings/ProgramValues.h"

#include <gtest/gtest.h>

namespace {

class FishSchoolPasses : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramValues();
        MsvcRandom::Reset();
        for (int i = 0; i < FishSchool::kSlots; ++i)  // far apart, at rest
            Put(i, -200.0f + 20.0f * float(i), 0.0f, -90.0f, 0.0f);
    }

    // Fish i at rest at (x, y, z) facing `heading`, its box up to date.
    void Put(int i, float x, float y, float z, float heading, float shrinkBy = 0.0f)
    {
        fish[i].SetPosition(x, y, z);
        fish[i].FaceHeading(heading);
        fish[i].SetPitch(0.0f);
        fish[i].Grow(shrinkBy, false);
        fish[i].UpdateExtents();
    }

    Fish fish[FishSchool::kSlots];
};

}  // namespace

TEST_F(FishSchoolPasses, HeadOnTheSmallerFishReverses)
{
    Put(0, 0.0f, 0.0f, -90.0f, 0.0f);          // towards -x
    Put(1, 1.0f, 0.0f, -90.0f, 180.0f, 0.5f);  // towards +x, smaller
    FishSchool::AvoidCollisions(fish, 1, 0);     // fish 1 not active yet: nothing to avoid
    EXPECT_FALSE(fish[0].Touching() || fish[1].Touching());
    FishSchool::AvoidCollisions(fish, 2, 0);
    EXPECT_TRUE(fish[0].Touching());
    EXPECT_TRUE(fish[1].Touching());
    EXPECT_FLOAT_EQ(fish[0].TargetHeading(), 0.0f);
    EXPECT_FLOAT_EQ(fish[1].TargetHeading(), 360.0f);

    Put(0, 0.0f, 0.0f, -90.0f, 0.0f, 1.0f);  // now fish 0 is the smaller one
    Put(1, 1.0f, 0.0f, -90.0f, 180.0f);
    FishSchool::AvoidCollisions(fish, 2, 0);
    EXPECT_FLOAT_EQ(fish[0].TargetHeading(), -180.0f);
    EXPECT_FLOAT_EQ(fish[1].TargetHeading(), 180.0f);
}

// Once its neighbour is gone (its species count went down) a fish swims
// alone with no pair to test: the old overlap must still be forgotten, or it
// would never make a wander decision again and keep crawling at 0.05.
TEST_F(FishSchoolPasses, ALoneFishForgetsAnOldOverlapAndWandersOn)
{
    Put(0, 0.0f, 0.0f, -90.0f, 0.0f);
    Put(1, 0.5f, 0.0f, -90.0f, 0.0f);
    FishSchool::AvoidCollisions(fish, 2, 0);
    ASSERT_TRUE(fish[0].Touching());
    int decisions = 0;
    for (int frame = 0; frame < 1000; ++frame) {
        const int before = fish[0].WanderTimer();
        fish[0].Step();
        FishSchool::AvoidCollisions(fish, 1, 0);
        ASSERT_FALSE(fish[0].Touching()) << frame;
        decisions += fish[0].WanderTimer() < before;
    }
    EXPECT_GE(decisions, 4);
}

TEST_F(FishSchoolPasses, SideBySideTheFrontFishSpeedsUp)
{
    Put(0, 0.0f, 0.0f, -90.0f, 0.0f);  // both towards -x: fish 0 leads
    Put(1, 1.0f, 0.0f, -90.0f, 0.0f);
    fish[1].SetSpeed(0.3f);
    FishSchool::AvoidCollisions(fish, 2, 0);
    EXPECT_FLOAT_EQ(fish[0].Speed(), 0.3f);  // one step of 0.1 towards 0.4
    FishSchool::AvoidCollisions(fish, 2, 1);  // from the other fish's side
    EXPECT_FLOAT_EQ(fish[0].Speed(), 0.4f);
    EXPECT_FLOAT_EQ(fish[1].Speed(), 0.3f);

    Put(2, 100.0f, 0.0f, -90.0f, 180.0f);  // towards +x the larger x leads
    Put(3, 101.0f, 0.0f, -90.0f, 180.0f);
    FishSchool::AvoidCollisions(fish, 4, 2);
    EXPECT_FLOAT_EQ(fish[3].Speed(), 0.3f);
    EXPECT_FLOAT_EQ(fish[2].Speed(), 0.2f);
    for (int i = 0; i < 4; ++i)
        EXPECT_FLOAT_EQ(fish[i].TargetHeading(), i < 2 ? 0.0f : 180.0f);
}

TEST_F(FishSchoolPasses, CrossingFishSwerveAwayByTenToNineteenDegrees)
{
    Put(0, 0.0f, 0.0f, -90.0f, 0.0f);
    Put(1, 0.5f, 0.0f, -89.0f, 60.0f);
    FishSchool::AvoidCollisions(fish, 2, 0);
    // Fish 0 is behind (smaller z) and faces -x: sense false turns it up.
    EXPECT_GE(fish[0].TargetHeading(), 10.0f);
    EXPECT_LE(fish[0].TargetHeading(), 19.0f);
    EXPECT_FLOAT_EQ(fish[1].TargetHeading(), 60.0f);
}

TEST_F(FishSchoolPasses, SeparationPitchesTheLowerSlotAwayFromCloseNeighbours)
{
    Put(0, 0.0f, 2.0f, -90.0f, 0.0f);
    Put(1, 3.0f, 0.0f, -88.0f, 0.0f);  // within 5 on every axis
    Put(2, 2.0f, 4.0f, -90.0f, 0.0f);  // close to both
    Put(3, 9.0f, 2.0f, -90.0f, 0.0f);  // too far in x
    FishSchool school;
    for (int i = 0; i < 4; ++i)
        school.RecordPosition(i, fish[i]);
    school.Separate(fish, 4);
    EXPECT_FLOAT_EQ(fish[0].TargetPitch(), 0.0f);   // +1 from fish 1, -1 from fish 2
    EXPECT_FLOAT_EQ(fish[1].TargetPitch(), -1.0f);  // below fish 2
    EXPECT_FLOAT_EQ(fish[2].TargetPitch(), 0.0f);   // only ever the first of a pair
    EXPECT_FLOAT_EQ(fish[3].TargetPitch(), 0.0f);
    school.Separate(fish, 2);  // fish 2 and 3 no longer active
    EXPECT_FLOAT_EQ(fish[0].TargetPitch(), 1.0f);
    EXPECT_FLOAT_EQ(fish[1].TargetPitch(), -1.0f);
}

TEST(FishSpecies, CountsMapOntoConsecutiveSlotsUpTo20)
{
    ResetProgramValues();
    int counts[kSpeciesCount] = {2, 3};
    int species[kMaxFish];
    ASSERT_EQ(AssignSpeciesToSlots(counts, species), 5);
    const int before[] = {0, 0, 1, 1, 1, -1};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(species[i], before[i]) << i;
    counts[0] = 3;  // slot 2 changes species, slot 5 becomes active
    ASSERT_EQ(AssignSpeciesToSlots(counts, species), 6);
    const int after[] = {0, 0, 0, 1, 1, 1, -1};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(species[i], after[i]) << i;

    const int many[kSpeciesCount] = {-3, 15, 0, 10, 4};  // negative counts as 0
    ASSERT_EQ(AssignSpeciesToSlots(many, species), 20);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(species[i], i < 15 ? 1 : 3) << i;
    const int none[kSpeciesCount] = {};
    EXPECT_EQ(AssignSpeciesToSlots(none, species), 0);
    EXPECT_EQ(species[0], -1);
}
