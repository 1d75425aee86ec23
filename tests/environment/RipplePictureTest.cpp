#include "environment/BackgroundPicture.h"
#include "environment/RippleGrid.h"
#include "platform/MsvcRandom.h"
#include "tests/support/GlTestContext.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

TEST(RipplePicture, WidthFollowsTheScreenClass)
{
    const float expected[8] = {53.1f, 49.9f, 64, 64, 64, 71, 71, 110};
    for (int index = 0; index < 8; ++index)
        EXPECT_FLOAT_EQ(BackgroundPictureScaleX(index), expected[index]) << "class " << index;
    EXPECT_FLOAT_EQ(BackgroundPictureScaleX(-1), 49.9f);
    EXPECT_FLOAT_EQ(BackgroundPictureScaleX(8), 49.9f);
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
