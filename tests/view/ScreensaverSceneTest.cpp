// SPDX-License-Identifier: MIT
#include "settings/ProgramValues.h"
#include "settings/SettingsFile.h"
#include "tests/support/SceneFixture.h"
#include "base/TankBox.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <vector>

TEST(ScreenTables, WindowsOfAnySizeTakeTheClassOfTheNearestShape)
{
    const struct {
        int w, h, index;
    } rows[] = {
        {1024, 768, 0}, {1280, 1024, 1}, {1680, 1050, 2}, {1440, 900, 3}, {1280, 800, 4}, {1366, 768, 6},
        {400, 300, 0},   // a preview: 4:3
        {320, 256, 1},   // 5:4
        {640, 400, 4},   // 16:10, nearest width among 1280 and 1680
        {2560, 1440, 7}, // 16:9, nearest width 1920
        {300, 400, 1},   // taller than wide: the squarest
    };
    for (const auto& r : rows)
        EXPECT_EQ(ResolutionIndexByShape(r.w, r.h), r.index) << r.w << "x" << r.h;
}

class ScreensaverScene : public SceneFixture {
protected:
    ScreensaverScene() : SceneFixture(400, 300) {}

    std::unique_ptr<AquariumScene> MakeModuleScene(int w, int h)
    {
        auto scene = std::make_unique<AquariumScene>();
        scene->SetSettingsReadOnly(true);
        scene->FitToScreen(w, h);
        EXPECT_TRUE(scene->InitScene());
        return scene;
    }
};

TEST_F(ScreensaverScene, APreviewSizedWindowIsFilledToItsSideEdges)
{
    auto scene = MakeModuleScene(400, 300);
    for (int frame = 0; frame < 3; ++frame)
        scene->RenderFrame();
    std::vector<unsigned char> rgba(400 * 300 * 4);
    glReadPixels(0, 0, 400, 300, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    // The lower two thirds of the outermost columns (the top edge is the
    // water's dark surface by design).
    for (int x : {3, 6, 393, 396}) {
        int black = 0;
        for (int y = 0; y < 200; ++y) {
            const unsigned char* p = &rgba[(y * 400 + x) * 4];
            black += p[0] < 8 && p[1] < 8 && p[2] < 8;
        }
        EXPECT_LT(black, 10) << "column " << x;
    }
}

TEST_F(ScreensaverScene, SettingsAreReadAsTheDesktopReadsThemButNeverWritten)
{
    auto desktop = MakeScene(1024, 768);
    const ProgramValues written = Program();
    const std::string path = SettingsFile::ResolvePath();
    ASSERT_EQ(std::remove(path.c_str()), 0) << "the desktop scene wrote no settings file";

    ResetProgramValues();
    MsvcRandom::Reset();
    auto module = MakeModuleScene(1024, 768);
    struct stat st;
    EXPECT_NE(::stat(path.c_str(), &st), 0) << "the module wrote the settings file";
    for (int i = 0; i < kSpeciesCount; ++i)
        EXPECT_EQ(Program().speciesCount[i], written.speciesCount[i]) << "species " << i;
    EXPECT_EQ(Program().aquarium.fog, written.aquarium.fog);
    EXPECT_EQ(Program().aquarium.light, written.aquarium.light);
    EXPECT_EQ(Program().aquarium.showTerra, written.aquarium.showTerra);
}
