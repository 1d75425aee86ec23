// SPDX-License-Identifier: MIT
#include "base/CommandCodes.h"
#include "base/TankBox.h"
#include "environment/TextureLoader.h"
#include "fish/FishModel.h"
#include "fish/FishPicker.h"
#include "fish/FishSchool.h"
#include "fish/FishVertexSink.h"
#include "tests/support/SceneFixture.h"
#include "tests/support/TranslucentPicture.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <cmath>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// While every fish is opaque the frame draws the picture first, without the
// depth test, and the backdrop only where the picture lets it show; otherwise
// the fish go first and the depth test keeps the picture behind them. Both
// orders must give the same pixels in every look.
class PictureFirst : public SceneFixture {
protected:
    static constexpr int kWidth = 640, kHeight = 400;
    PictureFirst() : SceneFixture(kWidth, kHeight) {}
    // Exact pixels are the fixed-function drawing's promise.
    ScopedEnv m_fixedFunction{"PLOVI_GL", "1.1"};

    using Look = std::function<void(AquariumScene&)>;

    // The last of 40 frames of a fresh scene from the start state, with a
    // settings home of its own, after `look` changed its values.
    std::vector<unsigned char> LastFrame(const Look& look, bool pictureFirst)
    {
        TempDir home;
        ScopedEnv config("XDG_CONFIG_HOME", home.Path().c_str());
        ResetProgramValues();
        MsvcRandom::Reset();
        auto scene = MakeScene(kWidth, kHeight);
        look(*scene);
        scene->SetPictureFirstAllowed(pictureFirst);
        for (int frame = 0; frame < 40; ++frame)
            scene->RenderFrame();
        std::vector<unsigned char> pixels(std::size_t(kWidth) * kHeight * 4);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        scene->Release();
        return pixels;
    }
};


TEST_F(PictureFirst, EveryLookDrawsTheSamePixelsInBothOrders)
{
    GLuint translucent = 0;
    const std::pair<const char*, Look> looks[] = {
        {"built-in picture", [](AquariumScene&) {}},
        {"fog and half light",
         [](AquariumScene& s) {
             s.Values().aquarium.fog = 10;
             s.Values().aquarium.light = 60;
         }},
        {"gradient backdrop",
         [](AquariumScene& s) {
             s.Values().aquarium.backFixed = 0;
             s.Values().aquarium.backGradual = 1;
             s.Values().aquarium.backColor1 = 0x00FF8000;
             s.Values().aquarium.backColor2 = 0x000040FF;
         }},
        {"own picture with clear texels",
         [&](AquariumScene& s) {
             translucent = TranslucentPicture();
             s.SetCustomImageTexture(translucent);
             s.Values().ownImageOn = true;
             s.Values().aquarium.backFixed = 0;
             s.Values().aquarium.backGradual = 1;
         }},
    };
    for (const auto& [name, look] : looks) {
        SCOPED_TRACE(name);
        const std::vector<unsigned char> first = LastFrame(look, true);
        const std::vector<unsigned char> behind = LastFrame(look, false);
        std::size_t differing = 0;
        for (std::size_t i = 0; i < first.size(); ++i)
            differing += first[i] != behind[i];
        EXPECT_EQ(differing, 0u);
    }
    glDeleteTextures(1, &translucent);
}

// The order is exact only while every fish lies in front of the picture: a
// fish behind it shows over the picture drawn first, where the depth test
// would have hidden it.
TEST_F(PictureFirst, AFishBehindThePictureWouldShowOverItWhenThePictureGoesFirst)
{
    const Look behind = [](AquariumScene& s) {
        for (int& count : s.Values().speciesCount)
            count = 0;
        s.Values().speciesCount[0] = 1;
        s.FishAt(0).SetPosition(0.0f, 2.0f, -125.0f);
        s.FishAt(0).FaceHeading(0.0f);
    };
    const std::vector<unsigned char> first = LastFrame(behind, true);
    const std::vector<unsigned char> depthTested = LastFrame(behind, false);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < first.size(); i += 4)
        differing += first[i] != depthTested[i] || first[i + 1] != depthTested[i + 1] || first[i + 2] != depthTested[i + 2];
    EXPECT_GT(differing, 50u) << "pixels where the fish shows through";
}

namespace {

// The farthest any vertex of the fish model lies from the fish's centre.
class ReachSink : public FishVertexSink {
public:
    void BeginStrip() override {}
    void Vertex(const float p[3], const float[3], const float[2]) override
    {
        reach = std::fmax(reach, std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]));
    }
    void EndStrip() override {}
    float reach = 0.0f;
};

// The reach of a fish at the largest size, over two minutes of turns and
// beats. The drawn pose only rotates the model as a whole about its
// centre, which keeps every distance.
float LargestFishReach()
{
    MsvcRandom::Reset(11);
    Fish fish;
    fish.Place(TankBox{});
    fish.Grow(2.0f, true);
    FishModel model;
    ReachSink sink;
    model.SetVertexSink(&sink);
    for (int frame = 0; frame < 6000; ++frame) {
        fish.Step();
        if (frame % 3 == 0)
            model.Draw(fish.DrawPose().body);
    }
    return sink.reach;
}

}  // namespace

// So no fish may ever reach the picture's plane (z = -110): twenty fish in the
// frame loop's order for five minutes from three start states, half of them
// started against the back of their depth facing straight back, at the
// surface or the bottom with a level target or resting on 360, and one fish
// after another touched to full speed and zoomed to full size. Every drawn
// position stays further in front of the picture than the fish reaches.
TEST(PictureFirstCondition, NoFishCanReachThePicturePlane)
{
    constexpr float kPictureZ = -110.0f;
    const float reach = LargestFishReach();
    ASSERT_GT(reach, 1.0f);
    const TankBox tank = ComputeTankBoxFor(1920, 1080);
    const float surface = tank.yMax - 10.0f, bottom = tank.yMin + 15.0f;
    float deepest = 0.0f;
    for (std::uint32_t seed : {1u, 2u, 3u}) {
        MsvcRandom::Reset(seed);
        std::vector<Fish> fish(FishSchool::kSlots);
        for (Fish& f : fish)
            f.Place(tank);
        for (int i = 0; i < FishSchool::kSlots; i += 2) {
            const float starts[4][2] = {{surface, 270.0f}, {bottom, 250.0f}, {0.0f, 360.0f}, {surface, 300.0f}};
            const auto& start = starts[(i / 2) % 4];
            fish[i].SetPosition(fish[i].X(), start[0], -97.9f);
            fish[i].FaceHeading(start[1]);
            fish[i].SetPitch(0.0f);
            fish[i].SetSpeed(0.4f);
        }
        FishSchool school;
        for (int frame = 0; frame < 15000; ++frame) {
            if (frame % 250 == 0) {
                Fish& picked = fish[(frame / 250) % FishSchool::kSlots];
                FishPicker::Apply(picked, CMD_TOUCH);
                FishPicker::Apply(picked, CMD_ZOOMIN);
            }
            for (int i = 0; i < FishSchool::kSlots; ++i) {
                fish[i].Step();
                FishSchool::AvoidCollisions(fish.data(), FishSchool::kSlots, i);
                school.RecordPosition(i, fish[i]);
                deepest = std::fmin(deepest, fish[i].DrawPose().z);
            }
            school.Separate(fish.data(), FishSchool::kSlots);
            ASSERT_GT(deepest - reach, kPictureZ) << "seed " << seed << " frame " << frame;
        }
    }
    RecordProperty("deepest_fish_centre", std::to_string(deepest));
    RecordProperty("fish_reach", std::to_string(reach));
}

// What decides the order: a fish texture counts as opaque when it has no
// alpha channel, or every texel of every level has alpha 255, or no image.
TEST_F(PictureFirst, ATextureIsOpaqueOnlyWhenNoTexelCanLetAnythingThrough)
{
    GLuint names[5];
    glGenTextures(5, names);
    std::vector<unsigned char> texels(8 * 8 * 4, 255);
    auto upload = [&](GLuint name, GLint format, int level = 0, int side = 8) {
        glBindTexture(GL_TEXTURE_2D, name);
        glTexImage2D(GL_TEXTURE_2D, level, format, side, side, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    };
    upload(names[0], GL_RGBA);        // alpha channel, all 255
    texels[4 * 37 + 3] = 254;
    upload(names[1], GL_RGB);         // the 254 is dropped with the channel
    upload(names[2], GL_RGBA);        // one texel not quite opaque
    texels[4 * 37 + 3] = 255;
    upload(names[3], GL_RGBA);        // level 0 opaque, level 1 not
    texels[3] = 0;
    upload(names[3], GL_RGBA, 1, 4);
    glBindTexture(GL_TEXTURE_2D, names[4]);   // a name with no image
    glBindTexture(GL_TEXTURE_2D, names[1]);
    const bool expected[5] = {true, true, false, false, true};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(TextureIsOpaque(names[i]), expected[i]) << i;
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), names[1]) << "the binding is left as it was";
    glDeleteTextures(5, names);
}
