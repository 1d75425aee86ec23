// SPDX-License-Identifier: MIT
#include "tests/support/SceneFixture.h"

#include <GL/gl.h>
#include <array>
#include <utility>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// The frame's half-height at distance 1 (its screens here are wider than tall).
constexpr double kHalfHeight = AquariumScene::kFrustumK;

// Where the frame's line of sight through pixel (px, py) meets the food
// drop depth (world units; eye at z = -10, drops at z = -90).
std::array<float, 2> DropPoint(int w, int h, int px, int py)
{
    const double halfH = kHalfHeight * 80.0;
    return {float((px - w / 2.0) / (h / 2.0) * halfH), float((h / 2.0 - py) / (h / 2.0) * halfH)};
}

void SetMode(AquariumScene& scene, int mode)
{
    int command = mode;
    scene.PollCommand(command);
}

// Frames run until the pending feed click is used up, or -1 after `limit`.
int FramesUntilFed(AquariumScene& scene, int limit)
{
    for (int frame = 1; frame <= limit; ++frame) {
        scene.RenderFrame();
        if (!scene.FeedClickPending())
            return frame;
    }
    return -1;
}

int ActiveFlakes(AquariumScene& scene)
{
    int n = 0;
    for (int i = 0; i < FoodFlake::kSlots; ++i)
        n += scene.FlakeAt(i).Active() ? 1 : 0;
    return n;
}

}  // namespace

class Picking : public SceneFixture {
protected:
    // Only the first `n` slots hold fish.
    void KeepFish(int n)
    {
        for (int& count : g_speciesCount)
            count = 0;
        g_speciesCount[0] = n;
    }
};

TEST_F(Picking, AFeedClickDropsAFlakeUnderThePointerAcrossTheWholeTank)
{
    for (const auto& [w, h] : {std::pair{1024, 768}, std::pair{1680, 1050}}) {
        auto scene = MakeScene(w, h);
        KeepFish(0);
        for (int px : {8, w / 2, w - 8}) {
            SCOPED_TRACE(std::to_string(w) + " wide, x " + std::to_string(px));
            const int py = h / 2 + 120;
            scene->OnLeftButtonDown(px, py);
            scene->OnLeftButtonUp(px, py);
            const int frames = FramesUntilFed(*scene, 60);
            ASSERT_GT(frames, 0) << "the click never found its point";
            const int slot = ActiveFlakes(*scene) - 1;
            ASSERT_GE(slot, 0);
            const auto [x, y] = DropPoint(w, h, px, py);
            const float* anchor = scene->FlakeAt(slot).Anchor();
            // A strip is found within its half-width plus half the pick box.
            EXPECT_NEAR(anchor[0], x, 1.3f);
            EXPECT_NEAR(anchor[1], y - 2.0f, 1.3f);
            EXPECT_FLOAT_EQ(anchor[2], FoodFlake::kDropDepth);
        }
        EXPECT_EQ(ActiveFlakes(*scene), 3);
    }
}

TEST_F(Picking, AClickAboveTheTankWaitsUntilThePointerMovesOverIt)
{
    auto scene = MakeScene(1024, 768);
    KeepFish(0);
    scene->OnLeftButtonDown(300, 4);  // above the tank's top
    scene->OnLeftButtonUp(300, 4);
    EXPECT_EQ(FramesUntilFed(*scene, 100), -1);
    EXPECT_TRUE(scene->Feeder().HasX());
    EXPECT_FALSE(scene->Feeder().HasY());
    EXPECT_EQ(ActiveFlakes(*scene), 0);

    scene->OnMouseMove(700, 500);
    ASSERT_GT(FramesUntilFed(*scene, 60), 0);
    ASSERT_EQ(ActiveFlakes(*scene), 1);
    // x was held from the click; y comes from where the pointer is now.
    EXPECT_NEAR(scene->FlakeAt(0).Anchor()[0], DropPoint(1024, 768, 300, 4)[0], 1.3f);
    EXPECT_NEAR(scene->FlakeAt(0).Anchor()[1], DropPoint(1024, 768, 700, 500)[1] - 2.0f, 1.3f);
}

TEST_F(Picking, AnEleventhFlakeIsNotDroppedAndTheClickIsUsedUp)
{
    auto scene = MakeScene(1024, 768);
    KeepFish(0);
    for (int i = 0; i < FoodFlake::kSlots; ++i)
        EXPECT_EQ(scene->DropFlake(float(i), 0.0f), i);
    EXPECT_EQ(scene->DropFlake(20.0f, 0.0f), -1);
    float anchors[FoodFlake::kSlots];
    for (int i = 0; i < FoodFlake::kSlots; ++i)
        anchors[i] = scene->FlakeAt(i).Anchor()[0];

    scene->OnLeftButtonDown(512, 500);
    ASSERT_GT(FramesUntilFed(*scene, 60), 0);
    EXPECT_FALSE(scene->Feeder().HasX() || scene->Feeder().HasY());
    for (int i = 0; i < FoodFlake::kSlots; ++i)
        EXPECT_FLOAT_EQ(scene->FlakeAt(i).Anchor()[0], anchors[i]);
}

// A flake dropped far from every fish draws none of them, on the very
// next frame too: before its first update the fish must not see it at the
// world origin, in the middle of where they swim.
TEST_F(Picking, AFlakeDroppedFarAwayDrawsNoFishFromTheFirstFrame)
{
    auto scene = MakeScene(1024, 768);
    KeepFish(3);
    const float places[3][3] = {{0.0f, 1.0f, -92.0f}, {6.0f, -2.0f, -90.0f}, {-5.0f, 3.0f, -95.0f}};
    for (int i = 0; i < 3; ++i) {
        scene->FishAt(i).SetPosition(places[i][0], places[i][1], places[i][2]);
        scene->FishAt(i).FaceHeading(0.0f);
    }
    scene->DropFlake(48.0f, 19.0f);
    for (int frame = 0; frame < 2; ++frame) {
        scene->RenderFrame();
        for (int i = 0; i < 3; ++i) {
            EXPECT_FALSE(scene->FishAt(i).Attracted()) << "fish " << i << " frame " << frame;
            EXPECT_FLOAT_EQ(scene->FishAt(i).TargetHeading(), 0.0f) << "fish " << i << " frame " << frame;
        }
    }
}

// The fish turns to a flake ahead of it, keeps following it after feed mode
// ends (making no wander decisions meanwhile), and eats it.
TEST_F(Picking, AFishFollowsAFlakeNearItEvenOutOfFeedModeAndEatsIt)
{
    auto scene = MakeScene(1024, 768);
    KeepFish(1);
    Fish& fish = scene->FishAt(0);
    fish.FaceHeading(0.0f);  // towards -x
    fish.SetPosition(0.0f, 2.0f, -92.0f);
    fish.SetPitch(0.0f);
    scene->DropFlake(-9.0f, 2.0f + 2.0f - 0.8f);  // hangs at y 2, a little ahead and aside
    scene->RenderFrame();
    ASSERT_TRUE(fish.Attracted());
    SetMode(*scene, CMD_TOUCH);
    const int timer = fish.WanderTimer();
    for (int i = 0; i < 5; ++i)
        scene->RenderFrame();
    EXPECT_TRUE(fish.Attracted());
    EXPECT_EQ(fish.WanderTimer(), timer);
    int eatenAt = -1;
    for (int frame = 1; frame <= 600 && eatenAt < 0; ++frame) {
        scene->RenderFrame();
        if (!scene->FlakeAt(0).Alive() || !scene->FlakeAt(0).Active())
            eatenAt = frame;
    }
    EXPECT_GT(eatenAt, 0) << "the fish never reached the flake";
}

TEST_F(Picking, ZoomActsOnceOnTheLowerSlotUnderThePointerPerPressHeldOrQuick)
{
    auto scene = MakeScene(1024, 768);
    KeepFish(2);
    // Both fish straight ahead of the eye; slot 1 is the nearer one.
    scene->FishAt(0).SetPosition(0.0f, 0.0f, -95.0f);
    scene->FishAt(1).SetPosition(0.0f, 0.0f, -86.0f);
    for (int i = 0; i < 2; ++i)
        scene->FishAt(i).FaceHeading(0.0f);

    SetMode(*scene, CMD_ZOOMIN);
    scene->OnLeftButtonDown(512, 384);
    scene->RenderFrame();
    EXPECT_FLOAT_EQ(scene->FishAt(0).Size(), 4.0f);
    EXPECT_FLOAT_EQ(scene->FishAt(1).Size(), 3.0f);
    scene->RenderFrame();  // held down: one pick per press
    EXPECT_FLOAT_EQ(scene->FishAt(0).Size(), 4.0f);
    scene->OnLeftButtonUp(512, 384);

    SetMode(*scene, CMD_ZOOMOUT);
    scene->OnLeftButtonDown(512, 384);
    scene->OnLeftButtonUp(512, 384);  // a quick click, released before the next frame
    scene->RenderFrame();
    EXPECT_FLOAT_EQ(scene->FishAt(0).Size(), 2.0f);
    scene->OnLeftButtonDown(512, 384);
    scene->RenderFrame();
    scene->OnLeftButtonUp(512, 384);
    EXPECT_FLOAT_EQ(scene->FishAt(0).Size(), 2.0f);  // and no smaller

    SetMode(*scene, CMD_ZOOMIN);
    scene->OnLeftButtonDown(512, 384);
    scene->OnLeftButtonUp(512, 384);
    scene->RenderFrame();
    EXPECT_FLOAT_EQ(scene->FishAt(0).Size(), 4.0f);
    scene->FishAt(0).Grow(2.0f, false);  // back to 2: a second pick would show
    scene->RenderFrame();
    EXPECT_FLOAT_EQ(scene->FishAt(0).Size(), 2.0f) << "one quick click acted twice";

    // A press made in feed mode is not replayed when a zoom mode is picked.
    SetMode(*scene, CMD_FEED);
    scene->OnLeftButtonDown(512, 384);
    scene->OnLeftButtonUp(512, 384);
    SetMode(*scene, CMD_ZOOMIN);
    scene->RenderFrame();
    EXPECT_FLOAT_EQ(scene->FishAt(0).Size(), 2.0f);
    GLint depth[2] = {};  // the frame leaves both stacks as it found them
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth[0]);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth[1]);
    EXPECT_TRUE(depth[0] == 1 && depth[1] == 1) << depth[0] << ", " << depth[1];
}

TEST_F(Picking, ATouchedFishDartsAwayAndAMissChangesNothing)
{
    auto scene = MakeScene(1024, 768);
    KeepFish(2);
    scene->FishAt(0).SetPosition(-20.0f, 0.0f, -86.0f);  // in the front band
    scene->FishAt(1).SetPosition(20.0f, 0.0f, -95.0f);
    for (int i = 0; i < 2; ++i) {
        scene->FishAt(i).FaceHeading(0.0f);
        scene->FishAt(i).SetSpeed(0.1f);
    }
    const Fish& target = scene->FishAt(0);
    const int px = 512 + int(target.X() / (kHalfHeight * (-10.0 - target.Z())) * 384.0);
    // A click on the fish while no mode is picked (after a dialog) is over
    // once released: picking Touch afterwards does not replay it.
    SetMode(*scene, CMD_NONE);
    scene->OnLeftButtonDown(px, 384);
    scene->OnLeftButtonUp(px, 384);
    SetMode(*scene, CMD_TOUCH);
    scene->RenderFrame();
    scene->OnLeftButtonDown(512, 100);  // open water
    scene->OnLeftButtonUp(512, 100);
    scene->RenderFrame();
    EXPECT_FALSE(scene->ButtonDown());
    for (int i = 0; i < 2; ++i)
        EXPECT_LT(scene->FishAt(i).Speed(), 0.2f);

    // The touch press stays down past the button-up until a frame takes it.
    scene->OnLeftButtonDown(px, 384);
    scene->OnLeftButtonUp(px, 384);
    EXPECT_TRUE(scene->ButtonDown());
    scene->RenderFrame();
    EXPECT_FALSE(scene->ButtonDown());
    EXPECT_FLOAT_EQ(scene->FishAt(0).Speed(), 0.4f);
    EXPECT_FLOAT_EQ(scene->FishAt(0).TargetHeading(), -90.0f);  // a quarter turn
    EXPECT_LT(scene->FishAt(1).Speed(), 0.2f);
}
