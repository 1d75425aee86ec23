// SPDX-License-Identifier: MIT
#include "tests/support/SceneFixture.h"

#include <GL/gl.h>
#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {
constexpr int kW = 1024, kH = 768;
using Rgb = std::array<int, 3>;

Rgb PixelAt(int x, int y)  // GL window coordinates, origin bottom left
{
    unsigned char p[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
}

std::vector<unsigned char> Screen()
{
    std::vector<unsigned char> pixels(size_t(kW) * kH * 4);
    glReadPixels(0, 0, kW, kH, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// A picture whose left half is pure black (keyed out to alpha 0, as the
// background loader does) and whose right half is opaque: red, or red and
// white stripes 4 texels wide.
unsigned MakePicture(bool stripes)
{
    const int size = 128;
    std::vector<unsigned char> rgba(size_t(size) * size * 4, 0);
    for (int y = 0; y < size; ++y)
        for (int x = size / 2; x < size; ++x) {
            unsigned char* p = &rgba[(size_t(y) * size + x) * 4];
            p[0] = p[3] = 255;
            p[1] = p[2] = stripes && (x / 4) % 2 == 0 ? 255 : 0;
        }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}
}  // namespace

// A 1024 x 768 scene with no fish and the first-run settings, showing a test
// picture as the user's own image in front of a blue backdrop with the
// black-to-green gradient enabled.
class BackgroundLayers : public SceneFixture {
protected:
    BackgroundLayers() : SceneFixture(kW, kH) {}
    void SetUp() override
    {
        SceneFixture::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        m_scene = MakeScene(kW, kH);
        for (int& count : Program().speciesCount)
            count = 0;
        Program().aquarium.backColor = 0x00FF0000;  // blue
        Program().aquarium.backGradual = 1;         // green at the top, black at the bottom
    }

    // The backdrop is drawn before the frame sets its fog, so the first frame
    // still has the set-up fog on it; from the second frame on the settings rule.
    void ShowPictureAndRender(bool stripes, int frames)
    {
        Program().ownImageOn = true;
        m_scene->SetCustomImageTexture(MakePicture(stripes));
        for (int i = 0; i < frames; ++i)
            m_scene->RenderFrame();
    }

    std::unique_ptr<AquariumScene> m_scene;
};

TEST_F(BackgroundLayers, KeyedOutPixelsShowTheGradientWhenOnElseTheFixedColourElseTheClearColour)
{
    // The gradient runs from colour 2 at the bottom to colour 1 at the top,
    // over the fixed colour that every start switches on.
    ShowPictureAndRender(false, 2);
    const Rgb top = PixelAt(200, kH - 4), middle = PixelAt(200, kH / 2), bottom = PixelAt(200, 4);
    EXPECT_TRUE(top[1] > 200 && top[1] >= middle[1] && middle[1] > bottom[1] && bottom[1] < 80)
        << "green " << top[1] << ", " << middle[1] << ", " << bottom[1];
    EXPECT_EQ(top[0] + top[2] + middle[0] + middle[2] + bottom[0] + bottom[2], 0);
    for (int y : {8, kH / 2, kH - 8})
        EXPECT_EQ(PixelAt(800, y), (Rgb{255, 0, 0})) << "y " << y;

    Program().aquarium.backGradual = 0;
    m_scene->RenderFrame();
    for (int y : {8, kH / 2, kH - 8})
        EXPECT_EQ(PixelAt(200, y), (Rgb{0, 0, 255})) << "the fixed colour, y " << y;
    // At 1024 x 768 the picture is 53.1 of 53.33 half-widths wide: its right
    // edge lies 2.2 pixels inside the screen, and it fills the whole height.
    EXPECT_EQ(PixelAt(kW - 1, kH / 2), (Rgb{0, 0, 255}));
    for (int y : {0, kH / 2, kH - 1})
        EXPECT_EQ(PixelAt(kW - 5, y), (Rgb{255, 0, 0})) << "y " << y;

    Program().aquarium.backFixed = 0;
    m_scene->RenderFrame();
    EXPECT_EQ(PixelAt(200, kH / 2), (Rgb{0, 0, 0}));
}

TEST_F(BackgroundLayers, PictureRipplesAroundTheMiddleAndStaysStillAtTheEdges)
{
    ShowPictureAndRender(true, 2);
    const std::vector<unsigned char> still = Screen();
    for (int i = 0; i < 90; ++i)
        m_scene->RenderFrame();
    const std::vector<unsigned char> rippled = Screen();
    auto changedIn = [&](int x0, int x1, int y0, int y1) {
        int changed = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)  // red or green differs
                changed += std::memcmp(&still[(size_t(y) * kW + x) * 4], &rippled[(size_t(y) * kW + x) * 4], 2) != 0;
        return changed;
    };
    // The stripe edges right of the middle bend under the rings, while the
    // rings, falling silent after about ten cells, never reach the outer
    // columns or the bottom rows of the picture.
    EXPECT_GT(changedIn(kW / 2, kW / 2 + 250, kH / 2 - 150, kH / 2 + 250), 300);
    EXPECT_EQ(changedIn(kW - 40, kW, 0, kH), 0);
    EXPECT_EQ(changedIn(0, kW, 0, 150), 0);
}
