// SPDX-License-Identifier: MIT
#include "environment/FastPicture.h"
#include "tests/support/SceneFixture.h"
#include "tests/support/TranslucentPicture.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// The picture on the renderer's fast path against the exact fixed-function
// drawing: the same fixed-seed frames, within PSNR 50 dB and with at most
// 0.1 % of the colour channels off by more than 8, in every look and after
// whatever redraws the still.
//
// The fast path draws two ways: into a window with a depth buffer it copies
// the picture over; into one without (as the program's window is made where
// the fast path is offered) it draws the whole frame in a target of its own
// with a depth buffer for the fish and copies that. The exact frames come
// from a surface with a depth buffer, the only kind fixed-function drawing
// can use.
class FastPictureScene : public SceneFixture {
protected:
    static constexpr int kWidth = 1024, kHeight = 768;
    explicit FastPictureScene(bool depth = true) : SceneFixture(kWidth, kHeight, depth), m_depth(depth) {}

    using Step = std::function<void(AquariumScene&, int frame)>;

    // Frames 1..frames of a fresh scene; `step` runs before each frame.
    // Returns the last frame's RGB pixels.
    std::vector<unsigned char> Run(bool fixedFunction, int frames, const Step& step, bool* fastOn = nullptr)
    {
        // The exact frames need a depth buffer: drawn on a surface of their
        // own where this fixture's has none.
        std::unique_ptr<GlTestContext> exactSurface;
        if (fixedFunction && !m_depth)
            exactSurface = std::make_unique<GlTestContext>(kWidth, kHeight, true);
        TempDir home;
        ScopedEnv config("XDG_CONFIG_HOME", home.Path().c_str());
        ScopedEnv gl("PLOVI_GL", fixedFunction ? "1.1" : nullptr);
        ResetProgramValues();
        MsvcRandom::Reset();
        auto scene = MakeScene(kWidth, kHeight);
        if (fastOn)
            *fastOn = scene->FastPictureOn();
        for (int frame = 1; frame <= frames; ++frame) {
            step(*scene, frame);
            scene->RenderFrame();
        }
        std::vector<unsigned char> pixels(std::size_t(kWidth) * kHeight * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        scene->Release();
        if (exactSurface) {
            exactSurface.reset();
            m_gl.MakeCurrent();   // the fixture's own surface again
        }
        return pixels;
    }
    bool m_depth;

    // Every look's 30th frame on both paths, within the limits.
    void ExpectLooksWithinLimits();

    struct Difference {
        double psnr;           // dB; infinite when equal
        double farOffShare;    // channels off by more than 8, share of all
    };
    static Difference Compare(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b)
    {
        double squares = 0.0;
        std::size_t farOff = 0;
        for (std::size_t i = 0; i < a.size(); ++i) {
            const int d = int(a[i]) - int(b[i]);
            squares += double(d) * d;
            farOff += std::abs(d) > 8;
        }
        const double mse = squares / double(a.size());
        return {mse == 0.0 ? INFINITY : 10.0 * std::log10(255.0 * 255.0 / mse),
                double(farOff) / double(a.size())};
    }
};


// Where the GL offers render targets and fragment programs the scene takes
// the fast path; PLOVI_GL=1.1 keeps it to fixed-function 1.1.
TEST_F(FastPictureScene, OnWhereOfferedOffWithPloviGl11)
{
    bool fast = false;
    Run(false, 1, [](AquariumScene&, int) {}, &fast);
    EXPECT_TRUE(fast) << "Mesa offers fragment programs and framebuffer objects";
    Run(true, 1, [](AquariumScene&, int) {}, &fast);
    EXPECT_FALSE(fast);
}

void FastPictureScene::ExpectLooksWithinLimits()
{
    GLuint custom = 0;
    const std::pair<const char*, Step> looks[] = {
        {"built-in picture", [](AquariumScene&, int) {}},
        {"fog and half light",
         [](AquariumScene& s, int) {
             s.Values().aquarium.fog = 10;
             s.Values().aquarium.light = 50;
         }},
        {"own picture with clear and half-clear texels",
         [&custom](AquariumScene& s, int frame) {
             if (frame == 1) {
                 custom = TranslucentPicture();
                 s.SetCustomImageTexture(custom);
                 s.Values().ownImageOn = true;
             }
         }},
        // Each change must redraw the still: a stale one would show the old
        // light, fog, backdrop or picture far beyond the limits.
        {"light, fog, backdrop and picture changed on the way",
         [&custom](AquariumScene& s, int frame) {
             if (frame == 8)
                 s.Values().aquarium.light = 70;
             if (frame == 14)
                 s.Values().aquarium.fog = 5;
             if (frame == 20) {
                 s.Values().aquarium.backColor = 0x00FF4000;
                 custom = TranslucentPicture();
                 s.SetCustomImageTexture(custom);
                 s.Values().ownImageOn = true;
             }
         }},
        {"no picture", [](AquariumScene& s, int) { s.Values().aquarium.showTerra = 0; }},
    };
    for (const auto& [name, step] : looks) {
        const std::vector<unsigned char> exact = Run(true, 30, step);
        const std::vector<unsigned char> fast = Run(false, 30, step);
        const Difference d = Compare(exact, fast);
        EXPECT_GE(d.psnr, 50.0) << name;
        EXPECT_LE(d.farOffShare, 0.001) << name;
        // A frame that shows no ripple at all would pass the limits only by
        // luck: the picture must differ from the fixed frames somewhere
        // (affine cells are not the same as two triangles).
        EXPECT_TRUE(std::string(name) == "no picture" || std::isfinite(d.psnr))
            << name << ": did the fast path draw at all?";
    }
}

TEST_F(FastPictureScene, BothPathsDrawTheSameFramesWithinTheLimits)
{
    ExpectLooksWithinLimits();
}

class FastPictureOwnFrame : public FastPictureScene {
protected:
    FastPictureOwnFrame() : FastPictureScene(false) {}
    void ExpectLayerLikeWholeFrame(bool picture);
};

TEST_F(FastPictureOwnFrame, AWindowWithoutDepthBufferGetsTheSameFramesWithinTheLimits)
{
    ExpectLooksWithinLimits();
}

// The fish layer against the frame drawn whole in the fast path's own
// target: fish that swim, turn and eat falling flakes come out the same (a
// rectangle that missed part of a fish or a flake would cut it off; only
// the picture may differ by a level or two, as this surface samples it on
// the renderer's general path), and after every frame the layer is clear
// again, so nothing of one frame can show in the next.
// With no picture the layer lies over the still of the backdrop alone.
TEST_F(FastPictureOwnFrame, TheFishLayerGivesTheWholeFramesPixelsAndEndsClear)
{
    for (const bool picture : {true, false})
        ExpectLayerLikeWholeFrame(picture);
}

void FastPictureOwnFrame::ExpectLayerLikeWholeFrame(bool picture)
{
    constexpr int kFrames = 60;
    int layerTexelsLeft = -1;
    const auto run = [&](bool layer) {
        return Run(false, kFrames + 1, [&](AquariumScene& s, int frame) {
            s.SetFishLayerAllowed(layer);
            s.Values().aquarium.showTerra = picture ? 1 : 0;
            if (frame % 6 == 0 || frame == kFrames - 1)
                s.DropFlake(float(frame % 40) - 20.0f, 10.0f);
            if (layer && frame == kFrames + 1) {
                ASSERT_NE(s.FastPath(), nullptr);
                const RenderTarget& target = s.FastPath()->Layer();
                ASSERT_NE(target.Texture(), 0u) << "the layer was never used";
                std::vector<unsigned char> texels(std::size_t(target.Width()) * target.Height() * 4);
                glBindTexture(GL_TEXTURE_2D, target.Texture());
                glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels.data());
                layerTexelsLeft = 0;
                for (std::size_t i = 3; i < texels.size(); i += 4)
                    layerTexelsLeft += texels[i] != 0;
            }
        });
    };
    const std::vector<unsigned char> layered = run(true);
    const std::vector<unsigned char> whole = run(false);
    int largest = 0;
    for (std::size_t i = 0; i < layered.size(); ++i)
        largest = std::max(largest, std::abs(int(layered[i]) - int(whole[i])));
    EXPECT_LE(largest, 2) << (picture ? "picture" : "no picture");
    EXPECT_EQ(layerTexelsLeft, 0) << (picture ? "picture" : "no picture");
}

// The targets the fast path draws into: colour stored as B,G,R,A bytes from
// an unsized RGBA texture, and no depth buffer, which would turn the
// renderer's fast path off.
TEST_F(FastPictureScene, TargetsHoldBgraColourAndNoDepth)
{
    TempDir home;
    ScopedEnv config("XDG_CONFIG_HOME", home.Path().c_str());
    auto scene = MakeScene(kWidth, kHeight);
    FastPicture fast;
    ASSERT_TRUE(fast.Init());
    ASSERT_TRUE(fast.BeginStill(320, 200));
    GLint depthBits = -1;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    fast.EndStill({1.0});
    EXPECT_EQ(depthBits, 0);
    glBindTexture(GL_TEXTURE_2D, fast.Still().Texture());
    GLint format = 0, width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(format, GL_RGBA);
    EXPECT_EQ(width, 320);
    EXPECT_TRUE(fast.StillCurrent({1.0}));
    EXPECT_FALSE(fast.StillCurrent({2.0}));
    fast.Release();
    scene->Release();
}
