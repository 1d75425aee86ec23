// SPDX-License-Identifier: MIT
#include "tests/support/SceneFixture.h"
#include "base/TankBox.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

TEST(ScreenTables, ListedSizesKeepTheirValuesAndOthersTakeTheNearestShape)
{
    struct Row {
        int w, h, index;
        float xMin, xMax;
    };
    const Row rows[] = {
        {1024, 768, 0, -49, 49},  {1280, 1024, 1, -49, 49}, {1680, 1050, 2, -54, 54},
        {1440, 900, 3, -55, 55},  {1600, 900, 5, -58, 58},  {1366, 768, 6, -58, 58},
        {1280, 800, 4, -55, 55},  {1920, 1080, 7, -58, 58},
        // In one table only: that table decides its half, the nearest shape
        // in the other the rest (4:3 takes 1024 x 768's picture width).
        {800, 600, 0, -49, 49}, {1280, 960, 0, -49, 49},
        // In neither: the nearest shape, ties to the nearest width.
        {2560, 1440, 7, -58, 58}, {3840, 2160, 7, -58, 58}, {1920, 1200, 2, -54, 54},
        {3440, 1440, 7, -58, 58}, {1080, 1920, 1, -49, 49}, {320, 200, 4, -55, 55},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.w) + "x" + std::to_string(r.h));
        EXPECT_EQ(ResolutionIndexFor(r.w, r.h), r.index);
        const TankBox box = ComputeTankBoxFor(r.w, r.h);
        EXPECT_FLOAT_EQ(box.xMin, r.xMin);
        EXPECT_FLOAT_EQ(box.xMax, r.xMax);
    }
}

using SceneFrame = SceneFixture;
struct Size {
    int w, h;
};

TEST_F(SceneFrame, ProjectionIsTheScreenFrustumAndTheCameraLooksDownMinusZ)
{
    for (const auto& c : {Size{1680, 1050}, Size{768, 1024}}) {
        auto scene = MakeScene(c.w, c.h);
        scene->RenderFrame();
        GLfloat p[16], m[16];
        GLint viewport[4];
        glGetFloatv(GL_PROJECTION_MATRIX, p);
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        glGetIntegerv(GL_VIEWPORT, viewport);
        const double k = 0.4;
        const double halfW = c.w > c.h ? k * c.w / c.h : k;
        const double halfH = c.w > c.h ? k : k * c.h / c.w;
        EXPECT_NEAR(p[0], 1.0 / halfW, 1e-5);
        EXPECT_NEAR(p[5], 1.0 / halfH, 1e-5);
        EXPECT_NEAR(p[10], -1001.0 / 999.0, 1e-5);
        EXPECT_NEAR(p[14], -2000.0 / 999.0, 1e-5);
        EXPECT_NEAR(p[11], -1.0, 1e-6);
        // gluLookAt from (0, 0, -10) towards -z: a pure translation by +10.
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(m[i], (i == 14) ? 10.0 : (i % 5 == 0 ? 1.0 : 0.0), 1e-5) << "element " << i;
        // The viewport is the screen, not the drawing surface.
        EXPECT_EQ(viewport[2], c.w);
        EXPECT_EQ(viewport[3], c.h);
    }
}

TEST_F(SceneFrame, LightAndFogFollowTheSettingsEveryFrame)
{
    auto scene = MakeScene(1024, 768);
    struct Case {
        int light, fog;
        float level, density;
    };
    for (Case c : {Case{0, 25, 1.0f, 0.0f}, Case{100, 0, 0.0f, 0.0125f}, Case{40, 10, 0.6f, 0.0075f}}) {
        Program().aquarium.light = c.light;
        Program().aquarium.fog = c.fog;
        scene->RenderFrame();
        GLfloat ambient[4], diffuse[4], position[4], density = -1;
        glGetLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
        glGetLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
        glGetFloatv(GL_FOG_DENSITY, &density);
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(ambient[i], c.level, 1e-6);
            EXPECT_NEAR(diffuse[i], c.level, 1e-6);
        }
        EXPECT_NEAR(density, c.density, 1e-7);
        // No density, no fog: the same colours without the per-pixel cost.
        EXPECT_EQ(bool(glIsEnabled(GL_FOG)), c.density > 0);
        EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
        // Lighting is switched off again before the flakes and strips.
        EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
        glGetLightfv(GL_LIGHT1, GL_POSITION, position);
        EXPECT_GT(position[3], 0.5f);  // a positional light
    }
    GLint fogMode = 0;
    glGetIntegerv(GL_FOG_MODE, &fogMode);
    EXPECT_EQ(fogMode, GL_EXP);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST) && glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(SceneFrame, MissingTempDirectoryStopsTheSetUpWithItsMessage)
{
    ScopedEnv tmp("TMPDIR", "/nonexistent-plovi-tmp");
    AquariumScene scene;
    scene.SetScreenSize(1024, 768);
    EXPECT_FALSE(scene.InitScene());
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], "Error Find TempPath.");
}

// A press in feed mode leaves a click pending for the feed pick; a release
// clears the button except in touch mode, where the press stays down until
// the touch pass takes it. Each mode has its own cursor, another while down.
TEST(MouseState, FeedClicksArePendingAndTouchKeepsTheButtonDown)
{
    const struct {
        int mode, up, down;
        bool pending, downAfterRelease;
    } modes[] = {{CMD_FEED, 163, 164, true, false},     {CMD_TOUCH, 158, 159, false, true},
                 {CMD_ZOOMIN, 167, 177, false, false},  {CMD_ZOOMOUT, 169, 178, false, false},
                 {CMD_NONE, 0, 0, false, false}};
    for (const auto& m : modes) {
        SCOPED_TRACE(m.mode);
        AquariumScene scene;
        if (m.mode != CMD_FEED) {  // a new scene starts in feed mode
            int code = m.mode;
            scene.PollCommand(code);
        }
        EXPECT_EQ(scene.Mode(), m.mode);
        EXPECT_EQ(scene.ModeCursorId(), m.up);
        scene.OnMouseMove(10, 20);
        scene.OnLeftButtonDown(300, 200);
        EXPECT_TRUE(scene.ButtonDown());
        EXPECT_EQ(scene.FeedClickPending(), m.pending);
        EXPECT_EQ(scene.ModeCursorId(), m.down);
        scene.OnLeftButtonUp(300, 200);
        EXPECT_EQ(scene.ButtonDown(), m.downAfterRelease);
        EXPECT_EQ(scene.ModeCursorId(), m.downAfterRelease ? m.down : m.up);
    }
}

// The background picture reaches the side and bottom edges of screens the
// tables do not list (wide, very wide, 4K, 16:10, small and portrait), drawn
// at their full size, as the desktop program draws them.
TEST(ScreenFill, TheBackgroundPictureCoversUnlistedScreensFromEdgeToEdge)
{
    struct Screen {
        int w, h;
    };
    for (const Screen s : {Screen{800, 600}, Screen{1920, 1200}, Screen{2560, 1440}, Screen{3440, 1440},
                           Screen{3840, 2160}, Screen{1080, 1920}}) {
        SCOPED_TRACE(std::to_string(s.w) + "x" + std::to_string(s.h));
        GlTestContext gl(s.w, s.h);
        ASSERT_TRUE(gl.Ok());
        TempDir dir;
        ScopedEnv runtime("XDG_RUNTIME_DIR", dir.Path().c_str());
        ScopedEnv config("XDG_CONFIG_HOME", (dir.Path() + "config").c_str());
        ResetProgramValues();
        AquariumScene scene;
        scene.SetScreenSize(s.w, s.h);
        ASSERT_TRUE(scene.InitScene());
        scene.RenderFrame();
        // The outermost columns on each side, over the middle third of the
        // height (the top is the water's dark surface by design). 4:3 keeps
        // the listed 4:3 width, whose picture stops 2 pixels short of each
        // edge.
        for (int x : {3, s.w - 4}) {
            std::vector<unsigned char> column(size_t(s.h) * 4);
            glReadPixels(x, 0, 1, s.h, GL_RGBA, GL_UNSIGNED_BYTE, column.data());
            int black = 0;
            for (int y = s.h / 3; y < 2 * s.h / 3; ++y) {
                const unsigned char* p = &column[size_t(y) * 4];
                black += p[0] < 8 && p[1] < 8 && p[2] < 8;
            }
            EXPECT_LT(black, s.h / 30) << "column " << x;
        }
        // And the bottom edge, over the middle third of the width (on a
        // portrait screen the picture must grow to reach it).
        std::vector<unsigned char> row(size_t(s.w) * 4);
        glReadPixels(0, 0, s.w, 1, GL_RGBA, GL_UNSIGNED_BYTE, row.data());
        int black = 0;
        for (int x = s.w / 3; x < 2 * s.w / 3; ++x) {
            const unsigned char* p = &row[size_t(x) * 4];
            black += p[0] < 8 && p[1] < 8 && p[2] < 8;
        }
        EXPECT_LT(black, s.w / 30) << "bottom row";
        scene.Release();
    }
}
