// SPDX-License-Identifier: MIT
// Renders the fish model close up into pictures, to judge its shape and its
// texture mapping by eye: side, top, front and three-quarter views of a fish
// at rest, a fish in mid-turn from above, and the tail at two beats.
//
// The texture is a test pattern laid out like the species pictures: a
// striped grid on the body band, a distinct colour per fin region and a
// ringed eye, magenta everywhere else, so a vertex mapped outside its
// region shows at once.
//
// Usage: fish_closeup [output directory]   (default /tmp/fish_closeup)
// Writes PPM files and, when /usr/bin/convert exists, PNG copies.

#include "fish/Fish.h"
#include "fish/FishMeshData.h"
#include "fish/FishModel.h"
#include "fish/FishTextureLayout.h"
#include "fish/FishWave.h"
#include "bench/BenchSupport.h"
#include "tests/support/GlTestContext.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 900;
constexpr int kHeight = 560;
constexpr int kTextureSize = 256;

struct Rgb {
    unsigned char r, g, b;
};

bool Inside(const FishTextureLayout::Region& region, float s, float t)
{
    return s >= region.s0 && s <= region.s1 && t >= region.t0 && t <= region.t1;
}

Rgb Stripes(float along, float across, Rgb a, Rgb b)
{
    const bool line = std::fmod(across, 0.1f) < 0.012f;
    if (line)
        return {30, 30, 30};
    return int(along * 20.0f) % 2 == 0 ? a : b;
}

Rgb PatternAt(float s, float t)
{
    using namespace FishTextureLayout;
    if (Inside(kEye, s, t)) {
        const float ds = (s - 0.5f * (kEye.s0 + kEye.s1)) / (0.5f * (kEye.s1 - kEye.s0));
        const float dt = (t - 0.5f * (kEye.t0 + kEye.t1)) / (0.5f * (kEye.t1 - kEye.t0));
        const float r = std::sqrt(ds * ds + dt * dt);
        if (r < 0.45f)
            return {10, 10, 10};
        if (r < 0.85f)
            return {230, 190, 40};
        return {200, 200, 200};
    }
    if (Inside(kBody, s, t)) {
        const float height = (t - kBody.t0) / (kBody.t1 - kBody.t0);
        const Rgb back = {40, 90, 200}, belly = {235, 225, 200};
        Rgb base = height > 0.5f ? back : belly;
        return Stripes(s, t - kBody.t0, base, {240, 130, 30});
    }
    if (Inside(kDorsalFin, s, t))
        return Stripes(s, t, {60, 170, 80}, {120, 220, 120});
    if (Inside(kPectoralFin, s, t))
        return Stripes(s, t, {220, 60, 60}, {250, 150, 150});
    if (Inside(kPelvicFin, s, t))
        return Stripes(s, t, {100, 60, 180}, {170, 140, 230});
    if (Inside(kAnalFin, s, t))
        return Stripes(s, t, {20, 160, 170}, {120, 220, 230});
    if (Inside(kCaudalFin, s, t))
        return Stripes(t, s, {230, 200, 40}, {250, 240, 150});
    return {255, 0, 255};
}

GLuint MakeTestTexture()
{
    std::vector<unsigned char> pixels(kTextureSize * kTextureSize * 3);
    for (int row = 0; row < kTextureSize; ++row)
        for (int col = 0; col < kTextureSize; ++col) {
            const Rgb c = PatternAt((col + 0.5f) / kTextureSize, (row + 0.5f) / kTextureSize);
            unsigned char* p = &pixels[(row * kTextureSize + col) * 3];
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
        }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, kTextureSize, kTextureSize, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 pixels.data());
    return texture;
}

void SetUpLighting()
{
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT1);
    glEnable(GL_COLOR_MATERIAL);
    // A light from above and in front of the viewer, dimmed, so the shape
    // shows in the shading (the aquarium's own light at full strength
    // saturates it).
    const GLfloat ambient[4] = {0.35f, 0.35f, 0.35f, 1};
    const GLfloat diffuse[4] = {0.8f, 0.8f, 0.8f, 1};
    glLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    glColor4f(1, 1, 1, 1);
}

// Camera looking at the origin from `eye` (world units).
void BeginView(float ex, float ey, float ez, float ux, float uy, float uz)
{
    glViewport(0, 0, kWidth, kHeight);
    glClearColor(0.55f, 0.7f, 0.8f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(30.0, double(kWidth) / kHeight, 0.5, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLfloat light[4] = {0.3f, 1.0f, 0.8f, 0.0f};  // directional, in eye space
    glLightfv(GL_LIGHT1, GL_POSITION, light);
    gluLookAt(ex, ey, ez, 0, 0, 0, ux, uy, uz);
}

// The model as a fish draws it: model z up, then the ring-bent geometry.
void DrawPose(FishModel& model, const FishPose& pose)
{
    glPushMatrix();
    glRotatef(-90.0f, 1, 0, 0);
    model.Draw(pose);
    glPopMatrix();
}

bool WriteShot(const std::string& dir, const std::string& name)
{
    return ::WriteShot(dir, name, kWidth, kHeight);
}

struct Waves {
    FishWave tail = FishWave::Tail();
    FishWave dorsal = FishWave::Dorsal();
    FishWave pectoral = FishWave::Pectoral();
    FishWave pelvic = FishWave::Pelvic();
    FishWave caudal = FishWave::Caudal();

    // Advances every wave by `frames` frames.
    void Run(int frames)
    {
        for (int i = 0; i < frames; ++i) {
            tail.Advance();
            dorsal.Advance();
            pectoral.Advance();
            pelvic.Advance();
            caudal.Advance();
        }
    }
};

FishPose PoseOf(const Waves& waves, float size)
{
    FishPose pose;
    pose.size = size;
    pose.tail = &waves.tail;
    pose.dorsal = &waves.dorsal;
    pose.pectoral = &waves.pectoral;
    pose.pelvic = &waves.pelvic;
    pose.caudal = &waves.caudal;
    return pose;
}

// A fish's pose after `frames` frames of a turn from heading 0 towards 60.
FishPose TurningPose(Fish& fish, int frames)
{
    fish.FaceHeading(0.0f);
    fish.SteerHeading(60.0f, false, Fish::kTurnBy);
    for (int i = 0; i < frames; ++i) {
        fish.StepTurn();
        fish.AdvanceWaves();
    }
    FishPose pose;
    pose.size = fish.Size();
    for (int i = 0; i < Fish::kRings; ++i)
        pose.yaw[i] = float(fish.RingYaw(i));
    pose.tail = &fish.TailWave();
    pose.dorsal = &fish.DorsalWave();
    pose.pectoral = &fish.PectoralWave();
    pose.pelvic = &fish.PelvicWave();
    pose.caudal = &fish.CaudalWave();
    return pose;
}

// Prints each sub-mesh's extents (model units, before scaling).
void PrintExtents()
{
    const char* names[] = {"body", "upper snout", "lower snout", "dorsal fin", "pectoral fin",
                           "pelvic fin", "anal fin", "caudal fin", "eye"};
    for (int part = 0; part < FishMeshData::kPartCount; ++part) {
        const FishSubMesh& mesh = FishMeshData::Instance().Mesh(FishMeshData::Part(part));
        float low[3] = {1e9f, 1e9f, 1e9f}, high[3] = {-1e9f, -1e9f, -1e9f};
        for (int r = 0; r < mesh.rings; ++r)
            for (int p = 0; p < mesh.points; ++p)
                for (int c = 0; c < 3; ++c) {
                    low[c] = std::fmin(low[c], mesh.position[r][p][c]);
                    high[c] = std::fmax(high[c], mesh.position[r][p][c]);
                }
        std::printf("%-13s x %6.3f..%6.3f  y %6.3f..%6.3f  z %6.3f..%6.3f\n", names[part], low[0], high[0],
                    low[1], high[1], low[2], high[2]);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string dir = argc > 1 ? argv[1] : "/tmp/fish_closeup";
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    GlTestContext context(kWidth, kHeight);
    if (!context.Ok()) {
        std::fprintf(stderr, "no GL context\n");
        return 1;
    }
    PrintExtents();
    SetUpLighting();
    MakeTestTexture();
    FishModel model;
    Waves rest;  // all waves at phase 0, first frame
    rest.Run(1);
    const FishPose still = PoseOf(rest, 3.0f);

    struct View {
        const char* name;
        float eye[3];
        float up[3];
    };
    const View views[] = {
        {"side", {0, 0, 7}, {0, 1, 0}},
        {"top", {0, 7, 0.001f}, {0, 0, -1}},
        {"front", {-7, 0, 0}, {0, 1, 0}},
        {"three_quarter", {-4.5f, 2.0f, 5.0f}, {0, 1, 0}},
        {"back_side", {0, 0, -7}, {0, 1, 0}},
        {"below", {0, -7, 0.001f}, {0, 0, 1}},
    };
    for (const View& view : views) {
        BeginView(view.eye[0], view.eye[1], view.eye[2], view.up[0], view.up[1], view.up[2]);
        DrawPose(model, still);
        WriteShot(dir, std::string("fish_") + view.name);
    }

    // Mid-turn: the head has swung ahead, the body trails and bends.
    Fish turning;
    const FishPose turn = TurningPose(turning, 45);
    BeginView(0, 7, 0.001f, 0, 0, -1);
    DrawPose(model, turn);
    WriteShot(dir, "fish_turn_top");
    BeginView(-4.5f, 2.0f, 5.0f, 0, 1, 0);
    DrawPose(model, turn);
    WriteShot(dir, "fish_turn_three_quarter");

    // Tail beat: two frames half a tail cycle (20 frames) apart, from above.
    Waves beat;
    beat.Run(11);
    BeginView(0, 7, 0.001f, 0, 0, -1);
    DrawPose(model, PoseOf(beat, 3.0f));
    WriteShot(dir, "fish_tail_beat_a");
    beat.Run(20);
    BeginView(0, 7, 0.001f, 0, 0, -1);
    DrawPose(model, PoseOf(beat, 3.0f));
    WriteShot(dir, "fish_tail_beat_b");
    return 0;
}
