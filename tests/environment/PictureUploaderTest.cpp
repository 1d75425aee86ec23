// SPDX-License-Identifier: MIT
#include "environment/PictureUploader.h"
#include "tests/support/GlTestContext.h"

#include <GL/gl.h>
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace {

// The colour at the middle of a 64 x 64 viewport filled with the texture
// (lighting, blending and depth off), as R, G, B.
std::vector<std::uint8_t> DrawnColour(GLuint texture)
{
    glViewport(0, 0, 64, 64);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glColor4f(1, 1, 1, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0), glVertex2f(-1, -1);
    glTexCoord2f(1, 0), glVertex2f(1, -1);
    glTexCoord2f(1, 1), glVertex2f(1, 1);
    glTexCoord2f(0, 1), glVertex2f(-1, 1);
    glEnd();
    std::vector<std::uint8_t> rgba(4);
    glReadPixels(32, 32, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return {rgba[0], rgba[1], rgba[2]};
}

}  // namespace

// A picture given as one level of any size (a screen-size photo) must draw
// with its own colours: with the mipmapped filter of a full chain that
// texture would be incomplete and draw plain white. A full chain keeps
// drawing as before.
TEST(PictureUploader, OneLevelOfAnySizeAndAFullChainBothDraw)
{
    GlTestContext gl(64, 64);
    ASSERT_TRUE(gl.Ok());
    // n texels of one opaque colour.
    const auto flat = [](std::size_t n) {
        std::vector<std::uint8_t> texels;
        for (std::size_t i = 0; i < n; ++i)
            texels.insert(texels.end(), {10, 200, 40, 255});
        return texels;
    };
    const std::vector<std::uint8_t> single = flat(6 * 3), two = flat(2 * 2), level1 = flat(1);
    const GLuint one = PictureUploader::Upload({{single.data(), 6, 3}});
    ASSERT_NE(one, 0u);
    EXPECT_EQ(DrawnColour(one), (std::vector<std::uint8_t>{10, 200, 40}));
    GLint filter = 0;
    glBindTexture(GL_TEXTURE_2D, one);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR);

    const GLuint chain = PictureUploader::Upload({{two.data(), 2, 2}, {level1.data(), 1, 1}});
    ASSERT_NE(chain, 0u);
    EXPECT_EQ(DrawnColour(chain), (std::vector<std::uint8_t>{10, 200, 40}));
    PictureUploader::Release(one);
    PictureUploader::Release(chain);
}
