// SPDX-License-Identifier: MIT
#include "environment/RippleGrid.h"
#include "environment/TexelOpacity.h"
#include "platform/MsvcRandom.h"
#include "tests/support/GlTestContext.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <vector>

namespace {

// A size x size RGBA texture, opaque grey but for the texels listed, which get
// the alpha given; plain linear filter, the wrap mode given.
struct Texel {
    int x, y;
    unsigned char alpha;
};
GLuint MakeTexture(int size, std::vector<Texel> holes, GLint wrap = GL_REPEAT, GLint minFilter = GL_LINEAR)
{
    std::vector<unsigned char> texels(size_t(size) * size * 4, 200);
    for (size_t i = 3; i < texels.size(); i += 4)
        texels[i] = 255;
    for (const Texel& t : holes)
        texels[(size_t(t.y) * size + t.x) * 4 + 3] = t.alpha;
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    return name;
}

int CountOpaque(const bool (&opaque)[RippleGrid::kPolygons * RippleGrid::kPolygons])
{
    int n = 0;
    for (bool o : opaque)
        n += o;
    return n;
}

// The picture pass's state as the scene has it: texturing, lighting with
// colour tracking, see-through blending, an opaque white colour.
void PictureState()
{
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT1);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1, 1, 1, 1);
}

}  // namespace

// A box of texture coordinates is opaque only when no texel that the linear
// filter (plus a texel of rounding) can reach is see-through, across the wrap.
TEST(TexelOpacity, ABoxIsOpaqueOnlyWhenTheFilterCannotReachASeeThroughTexel)
{
    GlTestContext gl(16, 16);
    ASSERT_TRUE(gl.Ok());
    struct Case {
        const char* what;
        GLint wrap;
        double sMin, sMax, tMin, tMax;
        bool opaque;
    };
    // 64 texels a side; texel (10, 40) half see-through, texel (63, 5) clear.
    const double texel = 1.0 / 64;
    const GLuint repeat = MakeTexture(64, {{10, 40, 128}, {63, 5, 0}});
    const GLuint clamp = MakeTexture(64, {{10, 40, 128}, {63, 5, 0}}, GL_CLAMP_TO_EDGE);
    for (const Case& c : {
             Case{"far from both", GL_REPEAT, 20 * texel, 30 * texel, 20 * texel, 30 * texel, true},
             Case{"over the half one", GL_REPEAT, 9 * texel, 11 * texel, 39 * texel, 41 * texel, false},
             Case{"two texels short of it", GL_REPEAT, 13.6 * texel, 20 * texel, 40 * texel, 40 * texel, true},
             Case{"its footprint plus slack", GL_REPEAT, 12.4 * texel, 20 * texel, 40 * texel, 40 * texel, false},
             Case{"across the wrap at s = 0", GL_REPEAT, 0.0, 2 * texel, 4 * texel, 6 * texel, false},
             Case{"below s = 0, wrapped", GL_REPEAT, -0.02, -0.01, 4 * texel, 6 * texel, false},
             Case{"clamped at s = 0", GL_CLAMP_TO_EDGE, 0.0, 2 * texel, 4 * texel, 6 * texel, true},
             Case{"wider than the texture", GL_REPEAT, -1.0, 2.0, 4 * texel, 6 * texel, false},
             Case{"not a number", GL_REPEAT, 0.0 / 0.0, 0.5, 0.2, 0.3, false},
         }) {
        SCOPED_TRACE(c.what);
        glBindTexture(GL_TEXTURE_2D, c.wrap == GL_REPEAT ? repeat : clamp);
        TexelOpacity opacity;
        ASSERT_TRUE(opacity.Refresh());
        EXPECT_EQ(opacity.Opaque(c.sMin, c.sMax, c.tMin, c.tMax), c.opaque);
    }
    GLuint names[2] = {repeat, clamp};
    glDeleteTextures(2, names);
}

// What cannot be judged is never called opaque; new texels under the same
// name are seen on the next refresh.
TEST(TexelOpacity, MipmappedOrMissingPicturesAreNotJudgedAndChangedTexelsAreReread)
{
    GlTestContext gl(16, 16);
    ASSERT_TRUE(gl.Ok());
    TexelOpacity opacity;
    const GLuint mipmapped = MakeTexture(16, {}, GL_REPEAT, GL_LINEAR_MIPMAP_NEAREST);
    EXPECT_FALSE(opacity.Refresh());
    EXPECT_FALSE(opacity.Opaque(0.2, 0.3, 0.2, 0.3));
    GLuint empty = 0;
    glGenTextures(1, &empty);
    glBindTexture(GL_TEXTURE_2D, empty);
    EXPECT_FALSE(opacity.Refresh());

    const GLuint texture = MakeTexture(16, {});
    ASSERT_TRUE(opacity.Refresh());
    EXPECT_TRUE(opacity.Opaque(0.0, 1.0, 0.0, 1.0));
    const unsigned char clear[4] = {0, 0, 0, 0};
    glTexSubImage2D(GL_TEXTURE_2D, 0, 8, 8, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, clear);
    ASSERT_TRUE(opacity.Refresh());
    EXPECT_FALSE(opacity.Opaque(0.0, 1.0, 0.0, 1.0));
    GLuint names[3] = {mipmapped, empty, texture};
    glDeleteTextures(3, names);
}

// A cell goes unblended only when the state makes its alpha the texel's
// alpha times exactly 1 and blending would copy such a fragment.
TEST(RippleGridOpacity, CellsAreOpaqueOnlyUnderSeeThroughBlendingWithAnOpaqueColour)
{
    GlTestContext gl(16, 16);
    ASSERT_TRUE(gl.Ok());
    RippleGrid grid;
    grid.Setup(1024, 768);
    // A clear texel at the middle of a 64-texel picture: the cells around
    // the grid's middle reach it, the rest do not.
    const GLuint texture = MakeTexture(64, {{32, 32, 0}});
    constexpr int kAll = RippleGrid::kPolygons * RippleGrid::kPolygons;
    struct Case {
        const char* what;
        void (*change)();
        int opaqueCells;   // -1: some but not all
    };
    for (const Case& c : {
             Case{"the scene's state", [] {}, -1},
             Case{"untextured", [] { glDisable(GL_TEXTURE_2D); }, kAll},
             Case{"half-transparent colour", [] { glColor4f(1, 1, 1, 0.5f); }, 0},
             Case{"additive blending", [] { glBlendFunc(GL_ONE, GL_ONE); }, 0},
             Case{"blending off", [] { glDisable(GL_BLEND); }, 0},
             Case{"lit without colour tracking", [] { glDisable(GL_COLOR_MATERIAL); }, 0},
             Case{"colour tracking the emission", [] { glColorMaterial(GL_FRONT_AND_BACK, GL_EMISSION); }, 0},
             Case{"unlit", [] { glDisable(GL_LIGHTING); }, -1},
         }) {
        SCOPED_TRACE(c.what);
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        PictureState();
        glBindTexture(GL_TEXTURE_2D, texture);
        c.change();
        bool opaque[kAll];
        grid.OpaqueCells(opaque);
        const int n = CountOpaque(opaque);
        if (c.opaqueCells < 0) {
            EXPECT_GT(n, kAll - 16);
            EXPECT_LT(n, kAll);
            EXPECT_FALSE(opaque[15 * RippleGrid::kPolygons + 15]);   // the middle cell
            EXPECT_TRUE(opaque[0]);
        } else {
            EXPECT_EQ(n, c.opaqueCells);
        }
        glPopAttrib();
    }
    glDeleteTextures(1, &texture);
}

// A rippling picture with clear, half-clear and opaque texels over a coloured
// screen gives exactly the pixels of every cell drawn blended, and the draw
// leaves blending as it found it.
TEST(RippleGridOpacity, APictureWithTransparencyDrawsTheSamePixelsAsAllBlended)
{
    const int w = 320, h = 240;
    GlTestContext gl(w, h);
    ASSERT_TRUE(gl.Ok());
    std::vector<Texel> holes;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            if (y > 50 || (x > 20 && x < 26))
                holes.push_back({x, y, (unsigned char)(y > 50 ? 0 : 100)});
    const GLuint texture = MakeTexture(64, holes);
    RippleGrid grid;
    grid.Setup(w, h);
    MsvcRandom::Reset();
    for (int frame = 0; frame < 150; ++frame) {
        grid.AddDrop(w / 2 - 40 + 10 * (Rand() % 9), h / 2);
        grid.Update();
    }
    const auto render = [&](bool split) {
        glClearColor(0.2f, 0.6f, 0.3f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        PictureState();
        glBindTexture(GL_TEXTURE_2D, texture);
        if (split) {
            grid.Draw();
            EXPECT_TRUE(glIsEnabled(GL_BLEND));
        } else {
            for (int i = 0; i < RippleGrid::kPolygons; ++i)
                for (int j = 0; j < RippleGrid::kPolygons; ++j) {
                    glBegin(GL_POLYGON);
                    for (const auto& [di, dj] : {std::pair{0, 0}, {0, 1}, {1, 1}, {1, 0}}) {
                        const RippleGrid::Cell& c = grid.CellAt(i + di, j + dj);
                        glTexCoord2f(c.s, c.t);
                        glVertex3f(c.x, c.y, 0.0f);
                    }
                    glEnd();
                }
        }
        glPopAttrib();
        std::vector<unsigned char> pixels(size_t(w) * h * 4);
        glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    };
    const std::vector<unsigned char> blended = render(false);
    const std::vector<unsigned char> split = render(true);
    size_t differing = 0;
    for (size_t i = 0; i < blended.size(); ++i)
        differing += blended[i] != split[i];
    EXPECT_EQ(differing, 0u);
    glDeleteTextures(1, &texture);
}
