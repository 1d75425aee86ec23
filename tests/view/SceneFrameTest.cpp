#include "platform/MessageBox.h"
#include "platform/MsvcRandom.h"
#include "settings/ProgramValues.h"
#include "tests/support/GlTestContext.h"
#include "tests/support/SceneFixture.h"
#include "tests/support/TestEnvironment.h"
#include "view/scene/AquariumScene.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

TEST(ScreenTables, ResolutionIndexAndTankBoxFollowTheirOwnTables)
{
    struct Row {
        int w, h, index;
        float xMin, xMax;
    };
    const Row rows[] = {
        {1024, 768, 0, -49, 49},  {1280, 1024, 1, -49, 49}, {1680, 1050, 2, -54, 54},
        {1440, 900, 3, -55, 55},  {1600, 900, 5, -58, 58},  {800, 600, 1, -49, 49},
        {1280, 960, 1, -49, 49},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.w) + "x" + std::to_string(r.h));
        EXPECT_EQ(ResolutionIndexFor(r.w, r.h), r.index);
        const TankBox box = ComputeTankBoxFor(r.w, r.h);
        EXPECT_FLOAT_EQ(box.xMin, r.xMin);
        EXPECT_FLOAT_EQ(box.xMax, r.xMax);
        EXPECT_FLOAT_EQ(box.yMin, -21);
        EXPECT_FLOAT_EQ(box.yMax, 21);
        EXPECT_FLOAT_EQ(box.zBack, -50);
        EXPECT_FLOAT_EQ(box.zFront, 0);
    }
}

TEST(ScreenTables, SizesWithoutATankEntryTakeTheNearestListedBox)
{
    // Indexed but not in the tank table: the nearest width decides.
    EXPECT_EQ(ResolutionIndexFor(1920, 1080), 7);
    EXPECT_FLOAT_EQ(ComputeTankBoxFor(1920, 1080).xMax, 54);   // nearest: 1680 x 1050
    EXPECT_EQ(ResolutionIndexFor(1366, 768), 6);
    EXPECT_FLOAT_EQ(ComputeTankBoxFor(1366, 768).xMax, 55);    // nearest: 1440 x 900
    EXPECT_EQ(ResolutionIndexFor(1280, 800), 4);
    EXPECT_FLOAT_EQ(ComputeTankBoxFor(1280, 800).xMax, 49);    // 1280 wide, nearest height 960
    EXPECT_EQ(ResolutionIndexFor(3840, 2160), 1);
    EXPECT_FLOAT_EQ(ComputeTankBoxFor(3840, 2160).xMin, -54);
    EXPECT_FLOAT_EQ(ComputeTankBoxFor(320, 200).xMin, -49);
}

using SceneFrame = SceneFixture;

TEST_F(SceneFrame, ProjectionIsTheScreenFrustumAndTheCameraLooksDownMinusZ)
{
    struct Case {
        int w, h;
    };
    for (Case c : {Case{1680, 1050}, Case{768, 1024}}) {
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
        EXPECT_FLOAT_EQ(ambient[3], 1.0f);
        EXPECT_NEAR(density, c.density, 1e-7);
        // No density, no fog: the same colours without the per-pixel cost.
        EXPECT_EQ(bool(glIsEnabled(GL_FOG)), c.density > 0);
        EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
        // Lighting is switched off again before the flakes and strips.
        EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
        glGetLightfv(GL_LIGHT1, GL_POSITION, position);
        EXPECT_GT(position[3], 0.5f);  // a positional light
    }
}

TEST_F(SceneFrame, FixedStateMakesAlphaZeroInvisible)
{
    auto scene = MakeScene(1024, 768);
    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint fogMode = 0;
    glGetIntegerv(GL_FOG_MODE, &fogMode);
    EXPECT_EQ(fogMode, GL_EXP);
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

TEST(CommandPoll, MouseModesAreCopiedAndDialogCodesBecomeNone)
{
    AquariumScene scene;
    EXPECT_EQ(scene.Mode(), CMD_FEED);
    for (int code : {CMD_TOUCH, CMD_FEED, CMD_ZOOMIN, CMD_ZOOMOUT, CMD_NONE}) {
        int command = code;
        EXPECT_EQ(scene.PollCommand(command), AquariumScene::TickAction::None);
        EXPECT_EQ(scene.Mode(), code);
        EXPECT_EQ(command, code);
    }
    int command = CMD_MUSIC;
    EXPECT_EQ(scene.PollCommand(command), AquariumScene::TickAction::ShowMusicDialog);
    EXPECT_EQ(command, CMD_NONE);
    EXPECT_EQ(scene.Mode(), CMD_NONE);
    command = CMD_IMAGE;
    EXPECT_EQ(scene.PollCommand(command), AquariumScene::TickAction::ShowImageDialog);
    EXPECT_EQ(command, CMD_NONE);
    EXPECT_EQ(scene.Mode(), CMD_NONE);
    command = CMD_EXIT;
    EXPECT_EQ(scene.PollCommand(command), AquariumScene::TickAction::Exit);
    EXPECT_EQ(scene.Mode(), CMD_EXIT);
}

TEST(MusicHandOver, BuiltinTuneIsSilentWhileUserMusicIsOnAndRestartsOnce)
{
    ResetProgramValues();
    AquariumScene scene;
    EXPECT_EQ(scene.HandOverMusic(), AquariumScene::MusicAction::StopBuiltin);
    EXPECT_EQ(scene.HandOverMusic(), AquariumScene::MusicAction::StopBuiltin);
    Program().customMusicPlaying = false;
    EXPECT_EQ(scene.HandOverMusic(), AquariumScene::MusicAction::RestartBuiltin);
    EXPECT_EQ(scene.HandOverMusic(), AquariumScene::MusicAction::None);
    EXPECT_EQ(scene.HandOverMusic(), AquariumScene::MusicAction::None);
    Program().customMusicPlaying = true;
    EXPECT_EQ(scene.HandOverMusic(), AquariumScene::MusicAction::StopBuiltin);
    Program().customMusicPlaying = false;
    EXPECT_EQ(scene.HandOverMusic(), AquariumScene::MusicAction::RestartBuiltin);
}

TEST(MouseState, FeedClicksArePendingAndTouchKeepsTheButtonDown)
{
    AquariumScene scene;
    scene.OnMouseMove(10, 20);
    scene.OnLeftButtonDown(300, 200);
    EXPECT_TRUE(scene.ButtonDown());
    EXPECT_TRUE(scene.FeedClickPending());
    EXPECT_EQ(scene.ModeCursorId(), 164);
    scene.OnLeftButtonUp(300, 200);
    EXPECT_FALSE(scene.ButtonDown());
    EXPECT_EQ(scene.ModeCursorId(), 163);

    AquariumScene touch;
    int command = CMD_TOUCH;
    touch.PollCommand(command);
    touch.OnLeftButtonDown(5, 5);
    EXPECT_FALSE(touch.FeedClickPending());
    touch.OnLeftButtonUp(5, 5);
    EXPECT_TRUE(touch.ButtonDown());   // consumed by the touch pass, not the release
    EXPECT_EQ(touch.ModeCursorId(), 159);

    const struct {
        int mode, up, down;
    } cursors[] = {{CMD_ZOOMIN, 167, 177}, {CMD_ZOOMOUT, 169, 178}};
    for (auto c : cursors) {
        AquariumScene s;
        int code = c.mode;
        s.PollCommand(code);
        EXPECT_EQ(s.ModeCursorId(), c.up);
        s.OnLeftButtonDown(1, 1);
        EXPECT_EQ(s.ModeCursorId(), c.down);
    }
    AquariumScene none;
    int code = CMD_NONE;
    none.PollCommand(code);
    EXPECT_EQ(none.ModeCursorId(), 0);
}
