#include "fish/FishMeshData.h"
#include "fish/FishModel.h"
#include "fish/FishTextureLayout.h"
#include "tests/fish/FishCapture.h"
#include "tests/support/GlTestContext.h"

#include <GL/gl.h>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr float kDegToRad = 0.017453292f;

// Sub-meshes in drawing order with their strips per draw (both sides).
struct PartStrips {
    FishMeshData::Part part;
    int strips;
};
constexpr PartStrips kDrawOrder[] = {
    {FishMeshData::kBody, 10},      {FishMeshData::kUpperSnout, 6}, {FishMeshData::kLowerSnout, 6},
    {FishMeshData::kDorsalFin, 1},  {FishMeshData::kPectoralFin, 2}, {FishMeshData::kPelvicFin, 2},
    {FishMeshData::kAnalFin, 1},    {FishMeshData::kCaudalFin, 1},  {FishMeshData::kEye, 4},
};

// Index of the first strip of `part` in a capture.
int FirstStrip(FishMeshData::Part part)
{
    int index = 0;
    for (const PartStrips& p : kDrawOrder) {
        if (p.part == part)
            return index;
        index += p.strips;
    }
    return -1;
}

const FishSubMesh& Mesh(FishMeshData::Part part) { return FishMeshData::Instance().Mesh(part); }

// Rotates (x, y) by -degrees about z.
void Unrotate(float degrees, float& x, float& y)
{
    const float a = -degrees * kDegToRad;
    const float rx = std::cos(a) * x - std::sin(a) * y;
    y = std::sin(a) * x + std::cos(a) * y;
    x = rx;
}

bool HasMirrorPartner(const FishCapture& capture, float x, float y, float z)
{
    for (const FishCapture::Strip& strip : capture.strips)
        for (const FishCapture::Emitted& v : strip)
            if (std::fabs(v.pos[0] - x) < 1e-4f && std::fabs(v.pos[1] + y) < 1e-4f &&
                std::fabs(v.pos[2] - z) < 1e-4f)
                return true;
    return false;
}

}  // namespace

TEST(FishModel, EmitsEveryStripInDrawingOrder)
{
    FishWaves waves;
    waves.Run(3);
    const FishCapture capture = Capture(waves.Pose(3.0f, 0.0f));
    std::vector<size_t> expected;
    for (const PartStrips& p : kDrawOrder)
        for (int s = 0; s < p.strips; ++s)
            expected.push_back(size_t(2 * Mesh(p.part).rings));
    std::vector<size_t> actual;
    for (const FishCapture::Strip& strip : capture.strips)
        actual.push_back(strip.size());
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(capture.VertexCount(), 820u);
    // Ring and point counts of the nine sub-meshes.
    const int rings[] = {18, 7, 7, 16, 23, 10, 16, 24, 6};
    const int points[] = {6, 4, 4, 2, 2, 2, 2, 2, 3};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(Mesh(kDrawOrder[i].part).rings, rings[i]) << i;
        EXPECT_EQ(Mesh(kDrawOrder[i].part).points, points[i]) << i;
    }
}

TEST(FishModel, WithWavesAtRestAndEqualYawsTheFishIsSymmetric)
{
    const FishWaves rest;  // never advanced: every element 0
    for (float yaw : {0.0f, 40.0f, -125.0f}) {
        SCOPED_TRACE(yaw);
        FishCapture capture = Capture(rest.Pose(3.0f, yaw));
        for (FishCapture::Strip& strip : capture.strips)
            for (FishCapture::Emitted& v : strip)
                Unrotate(yaw, v.pos[0], v.pos[1]);
        int missing = 0;
        for (const FishCapture::Strip& strip : capture.strips)
            for (const FishCapture::Emitted& v : strip)
                missing += HasMirrorPartner(capture, v.pos[0], v.pos[1], v.pos[2]) ? 0 : 1;
        EXPECT_EQ(missing, 0);
    }
    // A beating tail breaks the symmetry.
    FishWaves beating;
    beating.Run(11);
    const FishCapture swaying = Capture(beating.Pose(3.0f, 0.0f));
    int missing = 0;
    for (const FishCapture::Emitted& v : swaying.strips[0])
        missing += HasMirrorPartner(swaying, v.pos[0], v.pos[1], v.pos[2]) ? 0 : 1;
    EXPECT_GT(missing, 0);
}

TEST(FishModel, TheNosePointsAlongTheHeading)
{
    const FishWaves rest;
    const int tipStrip = FirstStrip(FishMeshData::kUpperSnout);
    for (float heading : {0.0f, 90.0f, 200.0f, -60.0f}) {
        const FishCapture capture = Capture(rest.Pose(3.0f, heading));
        const FishCapture::Emitted& tip = capture.strips[tipStrip].back();  // last ring: the tip
        const float h = heading * kDegToRad;
        EXPECT_NEAR(tip.pos[0], -1.5f * std::cos(h), 1e-4f) << heading;
        EXPECT_NEAR(tip.pos[1], -1.5f * std::sin(h), 1e-4f) << heading;
    }
}

TEST(FishModel, EachBodyRingTurnsWithItsOwnYaw)
{
    const FishWaves rest;
    FishPose pose = rest.Pose(3.0f, 0.0f);
    for (int i = 0; i < FishPose::kRings; ++i)
        pose.yaw[i] = 30.0f - float(i);  // mid-turn: the tail trails
    const FishCapture capture = Capture(pose);
    const FishSubMesh& body = Mesh(FishMeshData::kBody);
    for (int r = 0; r < body.rings; ++r) {
        float x = capture.strips[0][2 * r + 1].pos[0];  // ring r, point 1
        float y = capture.strips[0][2 * r + 1].pos[1];
        Unrotate(pose.yaw[r], x, y);
        EXPECT_NEAR(x, body.position[r][1][0] * 3.0f, 1e-4f) << r;
        EXPECT_NEAR(y, body.position[r][1][1] * 3.0f, 1e-4f) << r;
    }
}

TEST(FishModel, SizeScalesGeometryAndSwayButNotThePectoralFlap)
{
    FishWaves waves;
    waves.Run(13);
    ASSERT_NE(waves.pectoral[1], 0.0f);
    ASSERT_NE(waves.tail[17], 0.0f);
    const FishCapture small = Capture(waves.Pose(2.0f, 0.0f));
    const FishCapture large = Capture(waves.Pose(4.0f, 0.0f));
    ASSERT_EQ(small.VertexCount(), large.VertexCount());
    const int pectoral = FirstStrip(FishMeshData::kPectoralFin);
    for (size_t s = 0; s < small.strips.size(); ++s)
        for (size_t j = 0; j < small.strips[s].size(); ++j) {
            const float* a = small.strips[s][j].pos;
            const float* b = large.strips[s][j].pos;
            EXPECT_NEAR(b[0], 2.0f * a[0], 1e-4f) << s << "/" << j;
            EXPECT_NEAR(b[2], 2.0f * a[2], 1e-4f) << s << "/" << j;
            const bool pectoralEdge = (int(s) == pectoral || int(s) == pectoral + 1) && j % 2 == 0;
            if (pectoralEdge) {  // y = size * stored + flap: the flap stays
                EXPECT_NEAR(std::fabs(2.0f * a[1] - b[1]), std::fabs(waves.pectoral[1]), 1e-4f) << j;
            } else {
                EXPECT_NEAR(b[1], 2.0f * a[1], 1e-4f) << s << "/" << j;
            }
        }
}

TEST(FishModel, TextureCoordinatesStayInTheirRegions)
{
    using namespace FishTextureLayout;
    struct Expect {
        FishMeshData::Part part;
        Region region;
        float tOffset;
    };
    const Expect expects[] = {
        {FishMeshData::kBody, kBody, kBodyTOffset},       {FishMeshData::kUpperSnout, kBody, kBodyTOffset},
        {FishMeshData::kLowerSnout, kBody, kBodyTOffset}, {FishMeshData::kDorsalFin, kDorsalFin, 0},
        {FishMeshData::kPectoralFin, kPectoralFin, 0},    {FishMeshData::kPelvicFin, kPelvicFin, 0},
        {FishMeshData::kAnalFin, kAnalFin, 0},            {FishMeshData::kCaudalFin, kCaudalFin, 0},
        {FishMeshData::kEye, kEye, 0},
    };
    for (const Expect& e : expects) {
        const FishSubMesh& mesh = Mesh(e.part);
        float sLow = 9, sHigh = -9, tLow = 9, tHigh = -9;
        for (int r = 0; r < mesh.rings; ++r)
            for (int p = 0; p < mesh.points; ++p) {
                const float s = mesh.texCoord[r][p][0], t = mesh.texCoord[r][p][1] - e.tOffset;
                sLow = std::fmin(sLow, s), sHigh = std::fmax(sHigh, s);
                tLow = std::fmin(tLow, t), tHigh = std::fmax(tHigh, t);
            }
        SCOPED_TRACE(int(e.part));
        EXPECT_GE(sLow, e.region.s0);
        EXPECT_LE(sHigh, e.region.s1);
        EXPECT_GE(tLow, e.region.t0);
        EXPECT_LE(tHigh, e.region.t1);
        // Each part but the snout (the head end of the body band, upper and
        // lower half) uses most of its region.
        if (e.part != FishMeshData::kUpperSnout && e.part != FishMeshData::kLowerSnout) {
            EXPECT_GT(tHigh - tLow, 0.8f * (e.region.t1 - e.region.t0));
            EXPECT_GT(sHigh - sLow, 0.8f * (e.region.s1 - e.region.s0));
        }
    }
    // The body runs from the head end of its band to the tail end.
    const FishSubMesh& body = Mesh(FishMeshData::kBody);
    EXPECT_NEAR(body.texCoord[0][2][0], 0.09f, 0.01f);
    EXPECT_NEAR(body.texCoord[17][2][0], 0.99f, 0.01f);
    EXPECT_NEAR(body.texCoord[8][0][1], 1.75f, 0.01f);   // dorsal midline
    EXPECT_NEAR(body.texCoord[8][5][1], 1.30f, 0.01f);   // ventral midline
}

TEST(FishModel, NormalsAreUnitLengthAndTheBodysFaceOutwards)
{
    for (int part = 0; part < FishMeshData::kPartCount; ++part) {
        const FishSubMesh& mesh = Mesh(FishMeshData::Part(part));
        for (int r = 0; r < mesh.rings; ++r)
            for (int p = 0; p < mesh.points; ++p) {
                const float* n = mesh.normal[r][p];
                EXPECT_NEAR(n[0] * n[0] + n[1] * n[1] + n[2] * n[2], 1.0f, 1e-3f) << part << "/" << r;
            }
    }
    const FishSubMesh& body = Mesh(FishMeshData::kBody);
    for (int r = 1; r < body.rings - 1; ++r) {
        EXPECT_GT(body.normal[r][0][2], 0.5f) << r;   // the back faces up
        EXPECT_LT(body.normal[r][5][2], -0.5f) << r;  // the belly down
        EXPECT_LT(body.normal[r][2][1], -0.5f) << r;  // the flank out
        EXPECT_NEAR(body.normal[r][0][1], 0.0f, 1e-4f) << r;  // no seam on the midline
    }
}

TEST(FishModel, TheShapeKeepsItsExtents)
{
    struct Extent {
        FishMeshData::Part part;
        float xMin, xMax, zMin, zMax;
    };
    const Extent extents[] = {
        {FishMeshData::kBody, -0.427f, 0.316f, -0.183f, 0.197f},
        {FishMeshData::kUpperSnout, -0.50f, -0.40f, -0.03f, 0.085f},
        {FishMeshData::kLowerSnout, -0.50f, -0.40f, -0.12f, -0.03f},
        {FishMeshData::kDorsalFin, -0.26f, 0.32f, 0.055f, 0.27f},
        {FishMeshData::kPectoralFin, -0.25f, -0.115f, -0.15f, -0.015f},
        {FishMeshData::kPelvicFin, -0.25f, -0.02f, -0.27f, -0.165f},
        {FishMeshData::kAnalFin, 0.0f, 0.38f, -0.244f, -0.072f},
        {FishMeshData::kCaudalFin, 0.275f, 0.50f, -0.136f, 0.135f},
        {FishMeshData::kEye, -0.394f, -0.348f, -0.010f, 0.038f},
    };
    for (const Extent& e : extents) {
        const FishSubMesh& mesh = Mesh(e.part);
        float low[3] = {9, 9, 9}, high[3] = {-9, -9, -9};
        for (int r = 0; r < mesh.rings; ++r)
            for (int p = 0; p < mesh.points; ++p)
                for (int c = 0; c < 3; ++c) {
                    low[c] = std::fmin(low[c], mesh.position[r][p][c]);
                    high[c] = std::fmax(high[c], mesh.position[r][p][c]);
                }
        SCOPED_TRACE(int(e.part));
        EXPECT_NEAR(low[0], e.xMin, 0.02f);
        EXPECT_NEAR(high[0], e.xMax, 0.02f);
        EXPECT_NEAR(low[2], e.zMin, 0.02f);
        EXPECT_NEAR(high[2], e.zMax, 0.02f);
        EXPECT_LE(high[1], 1e-6f);  // stored on the y <= 0 side
    }
    // The body is widest in the middle and closes into an edge at the tail.
    const FishSubMesh& body = Mesh(FishMeshData::kBody);
    EXPECT_NEAR(body.position[6][3][1], -0.082f, 1e-4f);
    for (int p = 0; p < 6; ++p)
        EXPECT_EQ(body.position[17][p][1], 0.0f);
}

TEST(FishModel, RingRotationMatchesOpenGlsRotation)
{
    GlTestContext gl;
    ASSERT_TRUE(gl.Ok());
    FishModel model;
    const float axes[][4] = {{90, 0, 0, 1}, {33, 1, 2, 3}, {-140, -0.5f, 0.2f, 0.9f}, {270, 1, 0, 0}};
    for (const auto& a : axes) {
        model.SetRingRotation(a[0], a[1], a[2], a[3]);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRotatef(a[0], a[1], a[2], a[3]);
        float reference[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, reference);
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(model.RingMatrix()[i], reference[i], 1e-5f) << a[0] << " m" << i;
    }
    model.SetRingRotation(45.0f, 0.0f, 0.0f, 0.0f);  // no axis: identity
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(model.RingMatrix()[i], i % 5 == 0 ? 1.0f : 0.0f);
}

TEST(FishModel, TheOpenGlPathDrawsTheCapturedGeometry)
{
    GlTestContext gl(256, 256);
    ASSERT_TRUE(gl.Ok());
    FishWaves waves;
    waves.Run(17);
    FishPose pose = waves.Pose(3.0f, 0.0f);
    for (int i = 0; i < FishPose::kRings; ++i)
        pose.yaw[i] = 20.0f - float(i);
    const FishCapture captured = Capture(pose);

    // Feedback mode reports every transformed vertex; an orthographic box
    // of +-2 keeps the whole fish inside the view.
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

    // Back to model space: window x = (x + 2) / 4 * 256, y likewise,
    // depth = (-z + 2) / 4.
    std::vector<std::vector<float>> fed;
    for (GLint i = 0; i < values;) {
        const GLint token = GLint(buffer[i++]);
        ASSERT_EQ(token, GL_POLYGON_TOKEN);
        const int count = int(buffer[i++]);
        for (int k = 0; k < count; ++k, i += 3)
            fed.push_back({buffer[i] / 64.0f - 2.0f, buffer[i + 1] / 64.0f - 2.0f, 2.0f - buffer[i + 2] * 4.0f});
    }
    int unmatched = 0;
    for (const FishCapture::Strip& strip : captured.strips)
        for (const FishCapture::Emitted& v : strip) {
            bool found = false;
            for (const std::vector<float>& f : fed)
                if (std::fabs(f[0] - v.pos[0]) < 2e-3f && std::fabs(f[1] - v.pos[1]) < 2e-3f &&
                    std::fabs(f[2] - v.pos[2]) < 2e-3f) {
                    found = true;
                    break;
                }
            unmatched += found ? 0 : 1;
        }
    EXPECT_EQ(unmatched, 0);
    // Quad strips become two triangles per quad: about 377 quads.
    EXPECT_GT(fed.size(), 3u * 600u);
}
