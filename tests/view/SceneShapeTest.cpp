// SPDX-License-Identifier: MIT
#include "tests/support/SceneFixture.h"

#include <GL/gl.h>
#include <array>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

using SceneShape = SceneFixture;

namespace {

// What a pass could leak into the passes after it.
struct GlState {
    std::vector<GLboolean> enables;
    std::array<GLfloat, 4> colour{};
    std::array<GLfloat, 16> modelView{}, projection{};
    GLint modelViewDepth = 0, projectionDepth = 0, matrixMode = 0, texture = 0;

    static GlState Read()
    {
        GlState s;
        for (GLenum cap : {GL_TEXTURE_2D, GL_BLEND, GL_DEPTH_TEST, GL_LIGHTING, GL_LIGHT1, GL_FOG,
                           GL_COLOR_MATERIAL, GL_CULL_FACE, GL_SCISSOR_TEST, GL_ALPHA_TEST})
            s.enables.push_back(glIsEnabled(cap));
        glGetFloatv(GL_CURRENT_COLOR, s.colour.data());
        glGetFloatv(GL_MODELVIEW_MATRIX, s.modelView.data());
        glGetFloatv(GL_PROJECTION_MATRIX, s.projection.data());
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &s.modelViewDepth);
        glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &s.projectionDepth);
        glGetIntegerv(GL_MATRIX_MODE, &s.matrixMode);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &s.texture);
        return s;
    }
    bool operator==(const GlState& o) const
    {
        return enables == o.enables && colour == o.colour && modelView == o.modelView &&
               projection == o.projection && modelViewDepth == o.modelViewDepth &&
               projectionDepth == o.projectionDepth && matrixMode == o.matrixMode && texture == o.texture;
    }
};

void SetMode(AquariumScene& scene, int mode)
{
    int command = mode;
    scene.PollCommand(command);
}

}  // namespace

// Each pass alone, entered with a colour and a texture binding no pass would
// choose, leaves every enable, the colour, the binding and both matrix stacks
// as it found them, also when it has work to do (a pending click).
TEST_F(SceneShape, EveryPassLeavesTheGlStateAsItFoundIt)
{
    auto scene = MakeScene(1024, 768);
    scene->RenderFrame();
    const int w = scene->ScreenWidth(), h = scene->ScreenHeight();
    struct Pass {
        const char* name;
        int mode;
        std::function<void()> run;
    };
    const Pass passes[] = {
        {"backdrop", CMD_FEED, [&] { scene->DrawBackdropPass(); }},
        {"fish", CMD_FEED, [&] { scene->FishPass(); }},
        {"picture", CMD_FEED, [&] { scene->PicturePass(); }},
        {"picture plan", CMD_FEED, [&] { scene->PlanPicturePass(); }},
        {"planned backdrop", CMD_FEED, [&] { scene->PlannedBackdropPass(); }},
        {"picture first", CMD_FEED, [&] { scene->PictureUnderFishPass(); }},
        {"ripple", CMD_FEED, [&] { scene->RipplePass(); }},
        {"food", CMD_FEED, [&] { scene->FoodPass(); }},
        {"feed pick", CMD_FEED, [&] { scene->OnLeftButtonDown(w / 2, h / 2); scene->FeedModePass(); }},
        {"fish pick", CMD_TOUCH, [&] { scene->OnLeftButtonDown(w / 2, h / 2); scene->FishPickPass(); }},
    };
    scene->DropFlake(0.0f, 0.0f);  // so the food pass draws
    for (const Pass& pass : passes) {
        SCOPED_TRACE(pass.name);
        SetMode(*scene, pass.mode);
        glColor4f(0.25f, 0.5f, 0.75f, 0.5f);
        glBindTexture(GL_TEXTURE_2D, 0);
        const GlState before = GlState::Read();
        pass.run();
        EXPECT_TRUE(GlState::Read() == before);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
}

// Two scenes on one context, each with values of its own, drawn frame by
// frame in turn: each moves only its own active fish, lights with its own
// setting and reads nothing of the other's values.
TEST_F(SceneShape, TwoScenesWithTheirOwnValuesDoNotAffectEachOther)
{
    ProgramValues few, many;
    AquariumScene a(few), b(many);
    a.SetScreenSize(1024, 768);
    b.SetScreenSize(1280, 1024);
    ASSERT_TRUE(a.InitScene());
    ASSERT_TRUE(b.InitScene());
    for (int i = 0; i < kSpeciesCount; ++i)
        few.speciesCount[i] = many.speciesCount[i] = 0;
    few.speciesCount[2] = 3;
    many.speciesCount[7] = 12;
    few.aquarium.light = 0;
    many.aquarium.light = 60;
    const float restX = a.FishAt(5).X(), restZ = a.FishAt(5).Z();
    const float bStartX = b.FishAt(10).X(), bStartZ = b.FishAt(10).Z();
    for (int frame = 0; frame < 40; ++frame) {
        a.RenderFrame();
        GLfloat ambient[4];
        glGetLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
        EXPECT_FLOAT_EQ(ambient[0], 1.0f) << "frame " << frame;
        b.RenderFrame();
        glGetLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
        EXPECT_FLOAT_EQ(ambient[0], 0.4f) << "frame " << frame;
    }
    // Slot 5 is beyond a's three fish and stays where it was; it is one of
    // b's twelve, so b's slot 10 swims.
    EXPECT_FLOAT_EQ(a.FishAt(5).X(), restX);
    EXPECT_FLOAT_EQ(a.FishAt(5).Z(), restZ);
    EXPECT_TRUE(b.FishAt(10).X() != bStartX || b.FishAt(10).Z() != bStartZ);
    EXPECT_FALSE(Program().ownImageOn);
    EXPECT_EQ(a.ScreenWidth(), 1024);
    EXPECT_EQ(b.ScreenWidth(), 1280);
}

// Release deletes every texture and display list the scene made; a scene
// built again on the same context draws as before.
TEST_F(SceneShape, ReleaseDeletesEveryGlNameAndTheSceneBuildsAgain)
{
    auto first = MakeScene(1024, 768);
    first->RenderFrame();
    std::vector<unsigned> textures, lists;
    first->OwnedGlNames(textures, lists);
    ASSERT_EQ(textures.size(), 21u);
    ASSERT_EQ(lists.size(), 1u);
    for (unsigned t : textures)
        EXPECT_TRUE(t != 0 && glIsTexture(t)) << "texture " << t;
    EXPECT_TRUE(glIsList(lists[0]));

    first->Release();
    for (unsigned t : textures)
        EXPECT_FALSE(glIsTexture(t)) << "texture " << t << " outlived its scene";
    EXPECT_FALSE(glIsList(lists[0]));
    std::vector<unsigned> left, leftLists;
    first->OwnedGlNames(left, leftLists);
    for (unsigned t : left)
        EXPECT_EQ(t, 0u);
    first->Release();  // twice is harmless
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    auto second = MakeScene(1024, 768);
    second->RenderFrame();
    second->OwnedGlNames(textures, lists);
    for (unsigned t : textures)
        EXPECT_TRUE(glIsTexture(t));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
