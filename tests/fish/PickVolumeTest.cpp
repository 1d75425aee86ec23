// SPDX-License-Identifier: MIT
#include "base/CommandCodes.h"
#include "fish/FeedPicker.h"
#include "fish/Fish.h"
#include "fish/FishPicker.h"
#include "fish/FishRenderer.h"
#include "fish/PickStrips.h"
#include "fish/PickVolume.h"
#include "platform/MsvcRandom.h"
#include "settings/ProgramValues.h"
#include "tests/fish/SelectionReference.h"
#include "tests/support/GlTestContext.h"
#include "tests/support/TestEnvironment.h"
#include "view/scene/AquariumScene.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <random>
#include <tuple>
#include <vector>

namespace {

// Matrices, matrix mode, render mode and stack depths.
std::vector<GLfloat> MatrixState()
{
    std::vector<GLfloat> v(36);
    glGetFloatv(GL_MODELVIEW_MATRIX, &v[0]);
    glGetFloatv(GL_PROJECTION_MATRIX, &v[16]);
    int k = 32;
    for (GLenum e : {GL_MATRIX_MODE, GL_RENDER_MODE, GL_MODELVIEW_STACK_DEPTH, GL_PROJECTION_STACK_DEPTH})
        glGetFloatv(e, &v[k++]);
    return v;
}

void DrawQuad(const float (&quad)[4][3])
{
    glBegin(GL_QUADS);
    for (const float* corner : quad)
        glVertex3fv(corner);
    glEnd();
}

}  // namespace

TEST(PickVolume, HitsOnlyWhatIsUnderThePointerAndLeavesTheMatricesAlone)
{
    GlTestContext gl(64, 64);
    ASSERT_TRUE(gl.Ok());
    glViewport(0, 0, 1024, 768);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.53, 0.53, -0.4, 0.4, 1, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 0, -10, 0, 0, -500, 0, 1, 0);
    const std::vector<GLfloat> before = MatrixState();
    float camera[16], atQuad[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, camera);
    PickVolume::Translate(camera, 0.0f, 0.0f, -70.0f, atQuad);
    const float a[3] = {-0.5f, -0.5f, 0}, b[3] = {0.5f, -0.5f, 0}, c[3] = {0.5f, 0.5f, 0}, d[3] = {-0.5f, 0.5f, 0};
    const float behind[3][3] = {{-1, -1, 70}, {1, -1, 70}, {0, 1, 70}};  // behind the eye
    const struct {
        int x, y;
        bool hit;
    } cases[] = {{512, 384, true}, {520, 380, true}, {0, 0, false}, {700, 384, false}};
    for (const auto& k : cases) {
        PickVolume volume(k.x, k.y, 15);
        volume.SetModelView(atQuad);
        EXPECT_EQ(volume.HitsQuad(a, b, c, d), k.hit) << k.x << ", " << k.y;
        EXPECT_FALSE(volume.HitsTriangle(behind[0], behind[1], behind[2]));
        EXPECT_EQ(MatrixState(), before) << k.x << ", " << k.y;
    }
    // A strip too short to hold a quad draws nothing.
    PickVolume volume(512, 384, 15);
    volume.SetModelView(atQuad);
    const float strip[9] = {-0.5f, -0.5f, 0, 0.5f, -0.5f, 0, 0, 0.5f, 0};
    EXPECT_FALSE(volume.HitsQuadStrip(strip, 3));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// The CPU pickers against the GL selection pass they replace, on the same
// driver: for fish in many poses and for the feed strips at many sway
// offsets, at pointer positions around what is tested and anywhere on (and
// off) the screen, at several screen sizes. Every sample must agree.
class PickAgreement : public ::testing::TestWithParam<std::pair<int, int>> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_gl.Ok());
        ResetProgramValues();
        MsvcRandom::Reset();
        const auto [width, height] = GetParam();
        m_width = width;
        m_height = height;
        m_scene.SetScreenSize(width, height);
        ASSERT_TRUE(m_scene.InitScene());
        m_scene.RenderFrame();  // leaves the camera current, as the pick passes see it
    }
    void TearDown() override
    {
        m_scene.Release();
        ResetProgramValues();
    }

    // A pointer near (cx, cy) most of the time, otherwise anywhere on the
    // screen or a little off it.
    std::pair<int, int> Pointer(double cx, double cy)
    {
        if (std::uniform_int_distribution<int>(0, 9)(m_random) < 8) {
            std::uniform_int_distribution<int> near(-30, 30);
            return {int(cx) + near(m_random), int(cy) + near(m_random)};
        }
        return {std::uniform_int_distribution<int>(-40, m_width + 40)(m_random),
                std::uniform_int_distribution<int>(-40, m_height + 40)(m_random)};
    }

    // Where a world point appears in the frame (client pixels, y down).
    std::pair<double, double> OnScreen(float x, float y, float z) const
    {
        GLdouble model[16], projection[16];
        GLint viewport[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, model);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        GLdouble wx = 0, wy = 0, wz = 0;
        gluProject(x, y, z, model, projection, viewport, &wx, &wy, &wz);
        return {wx, viewport[3] - wy};
    }

    GlTestContext m_gl{64, 64};
    AquariumScene m_scene;
    std::mt19937 m_random{20261207};
    int m_width = 0, m_height = 0;
};

TEST_P(PickAgreement, FishPicksMatchGlSelection)
{
    FishRenderer renderer;
    int samples = 0, hits = 0;
    for (int round = 0; round < 120; ++round) {
        for (int slot = 0; slot < 20; ++slot) {
            Fish& fish = m_scene.FishAt(slot);
            for (int step = 0; step < 7; ++step)
                fish.Step();  // a new pose: bent, pitched, beating
            const auto [cx, cy] = OnScreen(fish.X(), fish.Y(), fish.Z());
            const auto [x, y] = Pointer(cx, cy);
            const std::uint32_t random = MsvcRandom::State();
            Fish reference = fish, cpu = fish;
            const float at[3] = {fish.X(), fish.Y(), fish.Z()};
            const bool expected = SelectionReference::SelectOneObject(x, y, FishPicker::kPickSize, at, [&] {
                reference.Step();
                renderer.DrawAtPosition(reference.DrawPose());
            });
            MsvcRandom::Reset(random);
            const bool got = FishPicker::PickFish(&cpu, 1, renderer, x, y, CMD_NONE) == 0;
            ASSERT_EQ(got, expected) << "fish " << slot << " round " << round << " at " << x << ", " << y;
            ++samples;
            hits += expected;
        }
    }
    // Both answers occur often, so agreement means something.
    EXPECT_GT(hits, samples / 5) << hits << " hits of " << samples;
    EXPECT_LT(hits, samples * 4 / 5) << hits << " hits of " << samples;
    RecordProperty("fish_samples", samples);
    RecordProperty("fish_hits", hits);
}

// The whole tank at once: the first slot hit wins, overlapping fish included.
TEST_P(PickAgreement, TheFirstFishHitInSlotOrderMatchesGlSelection)
{
    FishRenderer renderer;
    Fish* school = &m_scene.FishAt(0);
    for (int round = 0; round < 60; ++round) {
        for (int slot = 0; slot < 20; ++slot)
            school[slot].Step();
        const Fish& target = school[round % 20];
        const auto [cx, cy] = OnScreen(target.X(), target.Y(), target.Z());
        const auto [x, y] = Pointer(cx, cy);
        const std::uint32_t random = MsvcRandom::State();
        std::vector<Fish> reference(school, school + 20), cpu(school, school + 20);
        int expected = -1;
        for (int slot = 0; slot < 20 && expected < 0; ++slot) {
            Fish& fish = reference[slot];
            const float at[3] = {fish.X(), fish.Y(), fish.Z()};
            if (SelectionReference::SelectOneObject(x, y, FishPicker::kPickSize, at, [&] {
                    fish.Step();
                    renderer.DrawAtPosition(fish.DrawPose());
                }))
                expected = slot;
        }
        MsvcRandom::Reset(random);
        EXPECT_EQ(FishPicker::PickFish(cpu.data(), 20, renderer, x, y, CMD_NONE), expected)
            << "round " << round << " at " << x << ", " << y;
    }
}

TEST_P(PickAgreement, FeedStripPicksMatchGlSelection)
{
    PickStrips strips = m_scene.Strips();
    int samples = 0, found = 0;
    for (int round = 0; round < 700; ++round) {
        const int sweeps = std::uniform_int_distribution<int>(0, 25)(m_random);
        for (int s = 0; s < sweeps; ++s)
            strips.Sweep();
        const auto [x, y] = Pointer(m_width / 2.0, m_height / 2.0);
        for (bool vertical : {true, false}) {
            const int count = vertical ? PickStrips::kVertical : PickStrips::kHorizontal;
            float expected = FeedPicker::kNoHit;
            for (int k = 0; k < count && expected == FeedPicker::kNoHit; ++k) {
                const float* at = vertical ? strips.Vertical(k) : strips.Horizontal(k);
                if (SelectionReference::SelectOneObject(x, y, FeedPicker::kPickSize, at, [vertical] {
                        DrawQuad(vertical ? PickStrips::kVerticalQuad : PickStrips::kHorizontalQuad);
                    }))
                    expected = vertical ? at[0] : at[1];
            }
            ASSERT_EQ(FeedPicker::FirstStrip(strips, vertical, x, y), expected)
                << (vertical ? "vertical" : "horizontal") << " round " << round << " at " << x << ", " << y;
            ++samples;
            found += expected != FeedPicker::kNoHit;
        }
    }
    EXPECT_GT(found, samples / 5) << found << " of " << samples;
    EXPECT_LT(found, samples * 19 / 20) << found << " of " << samples;
}

// The pick square lies under the pointer wherever it is. A speck at the
// world point the frame shows at a pixel (worked out from the frame's
// frustum by hand: K at distance 1 across the screen's shorter half) is hit
// from that pixel, at the edges and corners as in the centre, and missed
// from a pixel a little more than half the pick square away.
TEST_P(PickAgreement, ThePickSquareLiesUnderThePointerAtTheEdgesAsInTheCentre)
{
    const double pixelsPerUnit = std::min(m_width, m_height) / 2.0 / AquariumScene::kFrustumK;
    const float depth = -92.0f;
    const double distance = AquariumScene::kEyeZ - depth;
    float camera[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, camera);
    const int off = FishPicker::kPickSize / 2 + 2;
    for (int px : {3, m_width / 2, m_width - 3})
        for (int py : {3, m_height / 2, m_height - 3}) {
            const float x = float((px - m_width / 2.0) / pixelsPerUnit * distance);
            const float y = float((m_height / 2.0 - py) / pixelsPerUnit * distance);
            float at[16];
            PickVolume::Translate(camera, x, y, depth, at);
            const float speck[3][3] = {{-0.01f, -0.01f, 0}, {0.01f, -0.01f, 0}, {0, 0.01f, 0}};
            for (const auto& [dx, dy, hit] : {std::tuple{0, 0, true}, std::tuple{off, 0, false},
                                              std::tuple{-off, 0, false}, std::tuple{0, off, false}}) {
                PickVolume volume(px + dx, py + dy, FishPicker::kPickSize);
                volume.SetModelView(at);
                EXPECT_EQ(volume.HitsTriangle(speck[0], speck[1], speck[2]), hit)
                    << "speck under " << px << ", " << py << ", pointer moved by " << dx << ", " << dy;
            }
        }
}

// Wide, the common laptop, the old 4:3, a portrait screen (the narrow tank,
// whose right-hand strips stand off the screen) and a small window.
INSTANTIATE_TEST_SUITE_P(Screens, PickAgreement,
                         ::testing::Values(std::pair{1920, 1080}, std::pair{1280, 800}, std::pair{1024, 768},
                                           std::pair{800, 1280}, std::pair{640, 480}),
                         [](const auto& info) {
                             return std::to_string(info.param.first) + "x" + std::to_string(info.param.second);
                         });
