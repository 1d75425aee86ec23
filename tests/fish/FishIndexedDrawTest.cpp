// SPDX-License-Identifier: MIT
// Drawing a fish from one indexed array per group of parts must give the
// very pixels of its quad strips: the same triangles, split the same way, in
// the same order. A textured, lit fish, bent and seen from several sides,
// with and without its hidden body faces, is drawn both ways and compared
// byte for byte.
#include "fish/FishModel.h"
#include "fish/FishWave.h"
#include "tests/support/GlTestContext.h"

#include <GL/gl.h>
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr int kSize = 256;

struct Waves {
    FishWave tail = FishWave::Tail(), dorsal = FishWave::Dorsal(), pectoral = FishWave::Pectoral();
    FishWave pelvic = FishWave::Pelvic(), caudal = FishWave::Caudal();

    explicit Waves(int frames)
    {
        for (int i = 0; i < frames; ++i)
            for (FishWave* w : {&tail, &dorsal, &pectoral, &pelvic, &caudal})
                w->Advance();
    }
    FishPose Pose(float bend)
    {
        FishPose pose{3.0f, {}, &tail, &dorsal, &pectoral, &pelvic, &caudal};
        for (int i = 0; i < FishPose::kRings; ++i)
            pose.yaw[i] = bend * float(i) / FishPose::kRings;
        return pose;
    }
};

// A texture whose every texel differs from its neighbours, so a texture
// coordinate interpolated differently shows.
GLuint NoiseTexture()
{
    std::vector<unsigned char> texels(64 * 64 * 4);
    unsigned state = 12345;
    for (unsigned char& t : texels) {
        state = state * 1103515245u + 12345u;
        t = static_cast<unsigned char>(state >> 16);
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 64, 64, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return name;
}

}  // namespace

TEST(FishIndexedDraw, GivesThePixelsOfTheStripsExactly)
{
    GlTestContext gl(kSize, kSize);
    ASSERT_TRUE(gl.Ok());
    glViewport(0, 0, kSize, kSize);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.3, 0.3, -0.3, 0.3, 1.0, 20.0);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_TEXTURE_2D);
    const GLuint texture = NoiseTexture();
    Waves waves(37);
    const auto draw = [&](float yaw, float pitch, bool cull, bool indexed) {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(0.0f, 0.0f, -6.0f);
        glRotatef(pitch, 1.0f, 0.0f, 0.0f);
        glRotatef(yaw, 0.0f, 1.0f, 0.0f);
        glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
        FishModel model;
        model.SetCullHiddenBodyFaces(cull);
        model.SetIndexedDraw(indexed);
        model.Draw(waves.Pose(yaw > 100.0f ? -35.0f : 35.0f));
        std::vector<unsigned char> pixels(kSize * kSize * 4);
        glReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    };
    for (bool cull : {false, true}) {
        for (float yaw : {0.0f, 70.0f, 160.0f, 250.0f}) {
            for (float pitch : {-50.0f, 0.0f, 35.0f}) {
                SCOPED_TRACE(testing::Message() << "cull " << cull << " yaw " << yaw << " pitch " << pitch);
                const std::vector<unsigned char> strips = draw(yaw, pitch, cull, false);
                const std::vector<unsigned char> indexed = draw(yaw, pitch, cull, true);
                int fish = 0;
                for (std::size_t i = 3; i < strips.size(); i += 4)
                    fish += strips[i] != 0;
                ASSERT_GT(fish, 2000) << "the fish is in view";
                int differ = 0;
                for (std::size_t i = 0; i < strips.size(); ++i)
                    differ += strips[i] != indexed[i];
                EXPECT_EQ(differ, 0);
            }
        }
    }
    // The arrays are the drawing's own business.
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    glDeleteTextures(1, &texture);
}
