// SPDX-License-Identifier: MIT
#include "environment/BackgroundPicture.h"
#include "environment/RippleGrid.h"
#include "platform/MsvcRandom.h"
#include "tests/support/GlTestContext.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <vector>

TEST(RipplePicture, WidthFollowsTheScreenClassAndUnknownClassesGetTheDefault)
{
    const float expected[] = {49.9f, 53.1f, 49.9f, 64, 64, 64, 71, 71, 110, 49.9f};
    for (int index = -1; index <= 8; ++index)
        EXPECT_FLOAT_EQ(BackgroundPictureScaleX(index), expected[index + 1]) << "class " << index;
}

TEST(RipplePicture, EachFrameDrawsTwiceAndDropsAtTheSecondDrawsSpot)
{
    GlTestContext gl(64, 64);
    ASSERT_TRUE(gl.Ok());
    RippleGrid grid;
    grid.Setup(1024, 768);
    MsvcRandom::Reset();
    Rand();
    const int offset = -200 + 50 * (Rand() % 9);
    const auto afterTwo = MsvcRandom::State();
    MsvcRandom::Reset();

    GLint depthBefore = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    DrawRippledPicture(grid, 0, 0, 1024, 768);
    EXPECT_EQ(MsvcRandom::State(), afterTwo);
    const RippleGrid::DropInfo drop = grid.Drop(0);
    EXPECT_EQ(drop.column, (512 + offset) * 32 / 1024);
    EXPECT_EQ(drop.row, 18);   // 434 of 768 pixels up
    EXPECT_EQ(drop.age, 5);    // added, then advanced once
    // The pass leaves the matrix stack as it found it.
    GLint depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

namespace {

// A 1024 x 512 mipmapped texture whose first level is grey and every smaller
// level magenta, with the filter the background loader gives.
GLuint PoisonedMipmapTexture()
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    int level = 0;
    for (int w = 1024, h = 512; w >= 1 || h >= 1; w /= 2, h /= 2, ++level) {
        const int lw = w > 0 ? w : 1, lh = h > 0 ? h : 1;
        std::vector<unsigned char> texels(size_t(lw) * lh * 4, 255);
        for (size_t i = 0; i < texels.size(); i += 4) {
            texels[i + 0] = level == 0 ? 128 : 255;
            texels[i + 1] = level == 0 ? 128 : 0;
            texels[i + 2] = level == 0 ? 128 : 255;
        }
        glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA, lw, lh, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        if (lw == 1 && lh == 1)
            break;
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    return name;
}

int MagentaPixels(int width, int height)
{
    std::vector<unsigned char> pixels(size_t(width) * height * 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    int count = 0;
    for (size_t i = 0; i < pixels.size(); i += 4)
        count += pixels[i] > 200 && pixels[i + 1] < 60 && pixels[i + 2] > 200;
    return count;
}

void SceneCamera(int screenWidth, int screenHeight)
{
    const double aspect = double(screenWidth) / screenHeight;
    glViewport(0, 0, screenWidth, screenHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.4 * aspect, 0.4 * aspect, -0.4, 0.4, 1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, 10.0f);
    glEnable(GL_TEXTURE_2D);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// The ripple as the running aquarium has it: a drop on one of the nine
// spots every frame, long enough for every slot to be busy.
void SteadyRipple(RippleGrid& grid, int width, int height)
{
    grid.Setup(width, height);
    MsvcRandom::Reset();
    for (int frame = 0; frame < 400; ++frame) {
        Rand();
        grid.AddDrop(width / 2 - 200 + 50 * (Rand() % 9), height / 2 + 50);
        grid.Update();
    }
}

}  // namespace

// The pass draws with plain GL_LINEAR where the loader's nearest-level
// mipmap filter would use the first level anyway. With every smaller level
// poisoned, the rippling picture drawn with the loader's filter shows no
// poison at any screen class, so the shortcut changes no pixel; the pass
// must also leave the loader's filter on the texture.
TEST(RipplePicture, PlainLinearFilterOnlyWhereTheMipmapFilterUsesTheFirstLevel)
{
    GlTestContext gl(1920, 1080);
    ASSERT_TRUE(gl.Ok());
    const GLuint texture = PoisonedMipmapTexture();
    struct Case {
        int width, height, screenClass;
        bool poisonVisible;
        float shrink;
    };
    // The last case is the probe's control: a picture drawn at a quarter of
    // its size must show the smaller levels.
    for (Case c : {Case{1680, 1050, 2, false, 1}, Case{1920, 1080, 7, false, 1},
                   Case{1024, 768, 0, false, 1}, Case{1280, 1024, 1, false, 1},
                   Case{1024, 768, 0, true, 0.25f}}) {
        SCOPED_TRACE(c.width);
        RippleGrid grid;
        SteadyRipple(grid, c.width, c.height);
        // The loader's own filter, drawn directly.
        SceneCamera(c.width, c.height);
        glPushMatrix();
        glTranslatef(0.0f, 0.0f, -110.0f);
        glScalef(BackgroundPictureScaleX(c.screenClass) * c.shrink, 40.0f * c.shrink, 1.0f);
        grid.Draw();
        glPopMatrix();
        const int direct = MagentaPixels(c.width, c.height);
        EXPECT_EQ(direct > 0, c.poisonVisible) << direct << " poisoned pixels";
        if (c.shrink != 1)
            continue;
        // The pass itself.
        SceneCamera(c.width, c.height);
        DrawRippledPicture(grid, texture, c.screenClass, c.width, c.height);
        const int pass = MagentaPixels(c.width, c.height);
        EXPECT_EQ(pass > 0, c.poisonVisible) << pass << " poisoned pixels";
        // ... and leaves the texture with the filter the loader gave it.
        glBindTexture(GL_TEXTURE_2D, texture);
        GLint filter = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
        EXPECT_EQ(filter, GL_LINEAR_MIPMAP_NEAREST);
    }
    glDeleteTextures(1, &texture);
}
