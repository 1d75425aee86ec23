// SPDX-License-Identifier: MIT
#include "fish/FishMeshData.h"
#include "fish/FishModel.h"
#include "fish/FishTextureLayout.h"
#include "fish/FishVertexSink.h"
#include "fish/FishWave.h"
#include "tests/support/GlTestContext.h"

#include <GL/gl.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <numeric>
#include <vector>

namespace {

constexpr float kDegToRad = 0.017453292f;
using Vec3 = std::array<float, 3>;
using Strip = std::vector<Vec3>;

// Records the positions the model emits, strip by strip.
class Capture : public FishVertexSink {
public:
    void BeginStrip() override { strips.emplace_back(); }
    void Vertex(const float p[3], const float*, const float*) override { strips.back().push_back({p[0], p[1], p[2]}); }
    void EndStrip() override {}
    std::vector<Strip> strips;
};

// The five waves of one fish, advanced together.
struct Waves {
    FishWave tail = FishWave::Tail(), dorsal = FishWave::Dorsal(), pectoral = FishWave::Pectoral();
    FishWave pelvic = FishWave::Pelvic(), caudal = FishWave::Caudal();

    explicit Waves(int frames = 0)
    {
        for (int i = 0; i < frames; ++i)
            for (FishWave* w : {&tail, &dorsal, &pectoral, &pelvic, &caudal})
                w->Advance();
    }
    FishPose Pose(float size, float yaw) const
    {
        FishPose pose{size, {}, &tail, &dorsal, &pectoral, &pelvic, &caudal};
        std::fill(std::begin(pose.yaw), std::end(pose.yaw), yaw);
        return pose;
    }
};

std::vector<Strip> Draw(const FishPose& pose)
{
    Capture capture;
    FishModel model;
    model.SetVertexSink(&capture);
    model.Draw(pose);
    return capture.strips;
}

// Sub-meshes in drawing order (the Part order): rings, strips per draw (both
// sides) and the extents of the stored shape.
struct PartInfo {
    int rings, strips;
    float xMin, xMax, zMin, zMax;
    FishTextureLayout::Region region;
};
const PartInfo kParts[FishMeshData::kPartCount] = {
    {18, 10, -0.427f, 0.316f, -0.183f, 0.197f, FishTextureLayout::kBody},
    {7, 6, -0.50f, -0.40f, -0.03f, 0.085f, FishTextureLayout::kBody},
    {7, 6, -0.50f, -0.40f, -0.12f, -0.03f, FishTextureLayout::kBody},
    {16, 1, -0.26f, 0.32f, 0.055f, 0.27f, FishTextureLayout::kDorsalFin},
    {23, 2, -0.25f, -0.115f, -0.15f, -0.015f, FishTextureLayout::kPectoralFin},
    {10, 2, -0.25f, -0.02f, -0.27f, -0.165f, FishTextureLayout::kPelvicFin},
    {16, 1, 0.0f, 0.38f, -0.244f, -0.072f, FishTextureLayout::kAnalFin},
    {24, 1, 0.275f, 0.50f, -0.136f, 0.135f, FishTextureLayout::kCaudalFin},
    {6, 4, -0.394f, -0.348f, -0.010f, 0.038f, FishTextureLayout::kEye},
};

const FishSubMesh& Mesh(int part) { return FishMeshData::Instance().Mesh(FishMeshData::Part(part)); }

// First strips of the snout tip and the pectoral fins: after 10 body, 6 + 6
// snout and 1 dorsal fin strips.
constexpr int kUpperSnoutStrip = 10, kPectoralStrip = 23;

// Rotates (x, y) by -degrees about z.
void Unrotate(float degrees, float& x, float& y)
{
    const float a = -degrees * kDegToRad;
    const float rx = std::cos(a) * x - std::sin(a) * y;
    y = std::sin(a) * x + std::cos(a) * y;
    x = rx;
}

bool Contains(const std::vector<Strip>& strips, const Vec3& v, float tolerance)
{
    for (const Strip& strip : strips)
        for (const Vec3& w : strip)
            if (std::fabs(w[0] - v[0]) < tolerance && std::fabs(w[1] - v[1]) < tolerance &&
                std::fabs(w[2] - v[2]) < tolerance)
                return true;
    return false;
}

}  // namespace

TEST(FishModel, WithWavesAtRestAndEqualYawsTheFishIsSymmetric)
{
    const auto missingMirrors = [](std::vector<Strip> strips, float yaw, size_t stripsToCheck) {
        for (Strip& strip : strips)
            for (Vec3& v : strip)
                Unrotate(yaw, v[0], v[1]);
        int missing = 0;
        for (size_t s = 0; s < stripsToCheck; ++s)
            for (const Vec3& v : strips[s])
                missing += Contains(strips, {v[0], -v[1], v[2]}, 1e-4f) ? 0 : 1;
        return missing;
    };
    for (float yaw : {0.0f, 40.0f, -125.0f}) {
        const std::vector<Strip> strips = Draw(Waves().Pose(3.0f, yaw));
        EXPECT_EQ(missingMirrors(strips, yaw, strips.size()), 0) << yaw;
    }
    EXPECT_GT(missingMirrors(Draw(Waves(11).Pose(3.0f, 0.0f)), 0.0f, 1), 0);  // a beating tail sways
}

// The nose (-1, 0, 0) turns to (-cos h, -sin h); each body ring by its own yaw.
TEST(FishModel, TheNoseFollowsTheHeadingAndEachBodyRingItsOwnYaw)
{
    const Waves rest;
    for (float heading : {0.0f, 90.0f, 200.0f, -60.0f}) {
        SCOPED_TRACE(heading);
        FishPose pose = rest.Pose(3.0f, heading);
        for (int i = 0; i < FishPose::kRings; ++i)
            pose.yaw[i] = heading - float(i);  // mid-turn: the tail trails
        const std::vector<Strip> strips = Draw(pose);
        const Vec3& tip = strips[kUpperSnoutStrip].back();
        EXPECT_NEAR(tip[0], -1.5f * std::cos(heading * kDegToRad), 1e-4f);
        EXPECT_NEAR(tip[1], -1.5f * std::sin(heading * kDegToRad), 1e-4f);
        const FishSubMesh& body = Mesh(FishMeshData::kBody);
        for (int r = 0; r < body.rings; ++r) {
            float x = strips[0][2 * r + 1][0], y = strips[0][2 * r + 1][1];  // ring r, point 1
            Unrotate(pose.yaw[r], x, y);
            EXPECT_NEAR(x, body.position[r][1][0] * 3.0f, 1e-4f) << r;
            EXPECT_NEAR(y, body.position[r][1][1] * 3.0f, 1e-4f) << r;
        }
    }
}

TEST(FishModel, SizeScalesGeometryAndSwayButNotThePectoralFlap)
{
    const Waves waves(13);
    ASSERT_NE(waves.pectoral[1], 0.0f);
    ASSERT_NE(waves.tail[17], 0.0f);
    const std::vector<Strip> small = Draw(waves.Pose(2.0f, 0.0f)), large = Draw(waves.Pose(4.0f, 0.0f));
    ASSERT_EQ(small.size(), large.size());
    for (size_t s = 0; s < small.size(); ++s)
        for (size_t j = 0; j < small[s].size(); ++j) {
            const Vec3 &a = small[s][j], &b = large[s][j];
            EXPECT_NEAR(b[0], 2.0f * a[0], 1e-4f) << s << "/" << j;
            EXPECT_NEAR(b[2], 2.0f * a[2], 1e-4f) << s << "/" << j;
            if ((s == kPectoralStrip || s == kPectoralStrip + 1) && j % 2 == 0)  // size * stored + flap
                EXPECT_NEAR(std::fabs(2.0f * a[1] - b[1]), std::fabs(waves.pectoral[1]), 1e-4f) << j;
            else
                EXPECT_NEAR(b[1], 2.0f * a[1], 1e-4f) << s << "/" << j;
        }
}

// The stored shape: its extents, one side only (y <= 0), unit normals and
// texture coordinates inside each part's region of the art.
TEST(FishModel, TheStoredShapeKeepsItsExtentsNormalsAndTextureRegions)
{
    for (int part = 0; part < FishMeshData::kPartCount; ++part) {
        SCOPED_TRACE(part);
        const FishSubMesh& mesh = Mesh(part);
        const PartInfo& e = kParts[part];
        ASSERT_EQ(mesh.rings, e.rings);
        const float tOffset = part <= FishMeshData::kLowerSnout ? FishTextureLayout::kBodyTOffset : 0.0f;
        float low[5] = {9, 9, 9, 9, 9}, high[5] = {-9, -9, -9, -9, -9};  // x y z s t
        for (int r = 0; r < mesh.rings; ++r)
            for (int p = 0; p < mesh.points; ++p) {
                const float *v = mesh.position[r][p], *n = mesh.normal[r][p], *t = mesh.texCoord[r][p];
                const float values[5] = {v[0], v[1], v[2], t[0], t[1] - tOffset};
                for (int c = 0; c < 5; ++c)
                    low[c] = std::fmin(low[c], values[c]), high[c] = std::fmax(high[c], values[c]);
                EXPECT_NEAR(n[0] * n[0] + n[1] * n[1] + n[2] * n[2], 1.0f, 1e-3f) << r << "/" << p;
            }
        const float got[] = {low[0], high[0], low[2], high[2]}, want[] = {e.xMin, e.xMax, e.zMin, e.zMax};
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(got[c], want[c], 0.02f) << c;
        EXPECT_LE(high[1], 1e-6f);
        EXPECT_TRUE(low[3] >= e.region.s0 && high[3] <= e.region.s1) << low[3] << ".." << high[3];
        EXPECT_TRUE(low[4] >= e.region.t0 && high[4] <= e.region.t1) << low[4] << ".." << high[4];
    }
    // The body: widest mid-way, its band running head to tail with the back on
    // top, its normals facing out.
    const FishSubMesh& body = Mesh(FishMeshData::kBody);
    EXPECT_NEAR(body.position[6][3][1], -0.082f, 1e-4f);
    EXPECT_LT(body.texCoord[0][2][0] + 0.8f, body.texCoord[17][2][0]);
    EXPECT_GT(body.texCoord[8][0][1], body.texCoord[8][5][1] + 0.3f);
    for (int r = 1; r < body.rings - 1; ++r) {
        const float(*n)[3] = body.normal[r];  // back up, belly down, flank out, no seam on the midline
        EXPECT_TRUE(n[0][2] > 0.5f && n[5][2] < -0.5f && n[2][1] < -0.5f && std::fabs(n[0][1]) < 1e-4f) << r;
    }
}

// The sink sees every strip in drawing order (820 vertices per fish); the
// OpenGL path draws the same geometry.
TEST(FishModel, EveryStripIsEmittedInOrderAndTheOpenGlPathDrawsTheSame)
{
    GlTestContext gl(256, 256);
    ASSERT_TRUE(gl.Ok());
    const Waves waves(17);
    FishPose pose = waves.Pose(3.0f, 0.0f);
    for (int i = 0; i < FishPose::kRings; ++i)
        pose.yaw[i] = 20.0f - float(i);
    const std::vector<Strip> captured = Draw(pose);
    std::vector<size_t> expected, actual;
    for (const PartInfo& p : kParts)
        expected.insert(expected.end(), size_t(p.strips), size_t(2 * p.rings));
    for (const Strip& strip : captured)
        actual.push_back(strip.size());
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(std::accumulate(actual.begin(), actual.end(), size_t(0)), 820u);

    // Feedback mode reports every vertex; an orthographic box of +-2 holds the fish.
    std::vector<GLfloat> buffer(200000);
    glViewport(0, 0, 256, 256);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2, 2, -2, 2, -2, 2);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    FishModel model;
    model.Draw(pose);
    const GLint values = glRenderMode(GL_RENDER);
    ASSERT_GT(values, 0);

    // Back to model space: window x = (x + 2) / 4 * 256, y likewise, depth = (2 - z) / 4.
    std::vector<Strip> fed(1);
    for (GLint i = 0; i < values;) {
        ASSERT_EQ(GLint(buffer[i++]), GL_POLYGON_TOKEN);
        const int count = int(buffer[i++]);
        for (int k = 0; k < count; ++k, i += 3)
            fed[0].push_back({buffer[i] / 64.0f - 2.0f, buffer[i + 1] / 64.0f - 2.0f, 2.0f - buffer[i + 2] * 4.0f});
    }
    int unmatched = 0;
    for (const Strip& strip : captured)
        for (const Vec3& v : strip)
            unmatched += Contains(fed, v, 2e-3f) ? 0 : 1;
    EXPECT_EQ(unmatched, 0);
    EXPECT_GT(fed[0].size(), 3u * 600u);  // two triangles for each of about 377 quads
}

// A lit, textured fish in a 256 x 256 view, bent and seen from any side,
// read back as RGBA bytes. The texture's every texel differs from its
// neighbours, so a texture coordinate interpolated differently shows.
class FishPhotographer {
public:
    static constexpr int kSize = 256;

    FishPhotographer() : m_gl(kSize, kSize), m_waves(23)
    {
        glViewport(0, 0, kSize, kSize);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glFrustum(-0.3, 0.3, -0.3, 0.3, 1.0, 20.0);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        glEnable(GL_COLOR_MATERIAL);
        std::vector<unsigned char> texels(64 * 64 * 4);
        unsigned state = 12345;
        for (unsigned char& t : texels) {
            state = state * 1103515245u + 12345u;
            t = static_cast<unsigned char>(state >> 16);
        }
        glGenTextures(1, &m_texture);
        glBindTexture(GL_TEXTURE_2D, m_texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 64, 64, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    }
    ~FishPhotographer() { glDeleteTextures(1, &m_texture); }
    bool Ok() const { return m_gl.Ok(); }

    std::vector<unsigned char> Shoot(float yaw, float pitch, bool cull, bool indexed, bool textured)
    {
        textured ? glEnable(GL_TEXTURE_2D) : glDisable(GL_TEXTURE_2D);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(0.0f, 0.0f, -6.0f);
        glRotatef(pitch, 1.0f, 0.0f, 0.0f);
        glRotatef(yaw, 0.0f, 1.0f, 0.0f);
        glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
        FishPose pose = m_waves.Pose(3.0f, 0.0f);
        const float bend = yaw > 100.0f ? -40.0f : 40.0f;
        for (int i = 0; i < FishPose::kRings; ++i)
            pose.yaw[i] = bend * float(i) / FishPose::kRings;
        FishModel model;
        model.SetCullHiddenBodyFaces(cull);
        model.SetIndexedDraw(indexed);
        model.Draw(pose);
        std::vector<unsigned char> pixels(kSize * kSize * 4);
        glReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

private:
    GlTestContext m_gl;
    const Waves m_waves;
    GLuint m_texture = 0;
};

constexpr float kYaws[] = {0.0f, 70.0f, 160.0f, 250.0f};
constexpr float kPitches[] = {-50.0f, 0.0f, 35.0f};

// Leaving out the body's faces turned away from the eye rests on the body
// being closed and each half wound one way: then nothing of the fish looks
// different. Bent, pitched and turned fish, lit so that a face seen from
// behind would show darker, are drawn with and without; at most a pixel in a
// two hundred of the fish may differ (where faces meet edge-on), and the fish
// covers the same pixels.
TEST(FishModel, LeavingOutHiddenBodyFacesChangesNothingVisible)
{
    FishPhotographer camera;
    ASSERT_TRUE(camera.Ok());
    for (float yaw : kYaws) {
        for (float pitch : kPitches) {
            const std::vector<unsigned char> all = camera.Shoot(yaw, pitch, false, false, false);
            const std::vector<unsigned char> culled = camera.Shoot(yaw, pitch, true, false, false);
            int fish = 0, covered = 0, differ = 0;
            for (int i = 0; i < FishPhotographer::kSize * FishPhotographer::kSize; ++i) {
                const unsigned char* a = &all[std::size_t(i) * 4];
                const unsigned char* c = &culled[std::size_t(i) * 4];
                fish += a[3] != 0;
                covered += (a[3] != 0) != (c[3] != 0);
                differ += std::memcmp(a, c, 3) != 0;
            }
            EXPECT_GT(fish, 2000) << yaw << " " << pitch;
            EXPECT_EQ(covered, 0) << yaw << " " << pitch;
            EXPECT_LE(differ, fish / 200) << yaw << " " << pitch;
        }
    }
}

// Drawn from one indexed array per group of parts, a fish must give the very
// pixels of its quad strips: the same triangles, split the same way, in the
// same order. Compared byte for byte, textured, with and without the hidden
// body faces; the client array state is left as it was.
TEST(FishModel, IndexedDrawingGivesThePixelsOfTheStripsExactly)
{
    FishPhotographer camera;
    ASSERT_TRUE(camera.Ok());
    for (bool cull : {false, true}) {
        for (float yaw : kYaws) {
            for (float pitch : kPitches) {
                SCOPED_TRACE(testing::Message() << "cull " << cull << " yaw " << yaw << " pitch " << pitch);
                const std::vector<unsigned char> strips = camera.Shoot(yaw, pitch, cull, false, true);
                const std::vector<unsigned char> indexed = camera.Shoot(yaw, pitch, cull, true, true);
                int fish = 0;
                for (std::size_t i = 3; i < strips.size(); i += 4)
                    fish += strips[i] != 0;
                ASSERT_GT(fish, 2000) << "the fish is in view";
                EXPECT_TRUE(strips == indexed);
            }
        }
    }
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
}
