// SPDX-License-Identifier: MIT
// How long updating and drawing 20 fish takes per frame, the way the frame
// loop does it: a 1920 x 1080 pbuffer with the aquarium's projection,
// camera, light, fog and a bound texture; per fish a matrix push, its
// translation, update and draw, then avoidance and the position snapshot;
// the separation pass after all.
//
// Reports per frame:
// - the calling thread's CPU time for the fish passes (what the 20 ms tick
//   pays on the user-interface thread to compute and submit the geometry),
// - the wall time of the same passes plus glFinish (the software renderer
//   rasterises on other threads, so this includes drawing the pixels),
// - the CPU time of the model computation alone, into a sink that drops
//   every vertex.
//
// Usage: fish_benchmark [frames]   (default 500)

#include "fish/Fish.h"
#include "fish/FishRenderer.h"
#include "fish/FishSchool.h"
#include "fish/FishVertexSink.h"
#include "platform/MsvcRandom.h"
#include "tests/support/GlTestContext.h"
#include "base/TankBox.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kFish = 20;

double Seconds(clockid_t clock)
{
    timespec ts{};
    clock_gettime(clock, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

class DropSink : public FishVertexSink {
public:
    void BeginStrip() override {}
    void Vertex(const float p[3], const float[3], const float[2]) override { sum += p[0]; }
    void EndStrip() override {}
    float sum = 0.0f;
};

void SetUpScene()
{
    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double k = 0.4, aspect = double(kWidth) / kHeight;
    glFrustum(-k * aspect, k * aspect, -k, k, 1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLfloat light[4] = {1, 1, 1, 1};
    const GLfloat position[4] = {1000, -1000, 1000, 1};
    glLightfv(GL_LIGHT1, GL_AMBIENT, light);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, light);
    glLightfv(GL_LIGHT1, GL_POSITION, position);
    glEnable(GL_LIGHT1);
    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glFogi(GL_FOG_MODE, GL_EXP);
    glFogf(GL_FOG_DENSITY, 0.005f);
    glEnable(GL_FOG);
    gluLookAt(0.0, 0.0, -10.0, 0.0, 0.0, -500.0, 0.0, 1.0, 0.0);
}

GLuint MakeTexture()
{
    std::vector<unsigned char> pixels(128 * 128 * 3);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<unsigned char>((i * 37) & 0xFF);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, 128, 128, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return texture;
}

void FishPasses(Fish* fish, FishSchool& school, FishRenderer& renderer, GLuint texture)
{
    for (int i = 0; i < kFish; ++i) {
        fish[i].Step();
        renderer.Draw(fish[i].DrawPose(), texture);
        FishSchool::AvoidCollisions(fish, kFish, i);
        school.RecordPosition(i, fish[i]);
    }
    school.Separate(fish, kFish);
}

}  // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::atoi(argv[1]) : 500;
    GlTestContext context(kWidth, kHeight);
    if (!context.Ok() || frames < 1) {
        std::fprintf(stderr, "no GL context (or no frames)\n");
        return 1;
    }
    MsvcRandom::Reset();
    TankBox tank;
    Fish fish[kFish];
    for (Fish& f : fish)
        f.Place(tank);
    FishSchool school;
    FishRenderer renderer;
    SetUpScene();
    const GLuint texture = MakeTexture();

    for (int warm = 0; warm < 20; ++warm)
        FishPasses(fish, school, renderer, texture);
    glFinish();

    double cpu = 0.0, wall = 0.0, worstWall = 0.0;
    for (int frame = 0; frame < frames; ++frame) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glFinish();
        const double c0 = Seconds(CLOCK_THREAD_CPUTIME_ID), w0 = Seconds(CLOCK_MONOTONIC);
        FishPasses(fish, school, renderer, texture);
        const double c1 = Seconds(CLOCK_THREAD_CPUTIME_ID);
        glFinish();
        const double w1 = Seconds(CLOCK_MONOTONIC);
        cpu += c1 - c0;
        wall += w1 - w0;
        worstWall = w1 - w0 > worstWall ? w1 - w0 : worstWall;
    }

    // The model alone: the same fish, their vertices dropped.
    DropSink sink;
    renderer.SetVertexSink(&sink);
    const double m0 = Seconds(CLOCK_THREAD_CPUTIME_ID);
    for (int frame = 0; frame < frames; ++frame)
        FishPasses(fish, school, renderer, texture);
    const double model = Seconds(CLOCK_THREAD_CPUTIME_ID) - m0;

    std::printf("fish per frame:                         %d (820 vertices each)\n", kFish);
    std::printf("frames measured:                        %d at %d x %d\n", frames, kWidth, kHeight);
    std::printf("update + draw, thread CPU per frame:    %.3f ms\n", 1e3 * cpu / frames);
    std::printf("update + draw + glFinish, wall / frame: %.3f ms (worst %.3f ms)\n", 1e3 * wall / frames,
                1e3 * worstWall);
    std::printf("update + model, vertices dropped, CPU:  %.3f ms\n", 1e3 * model / frames);
    return sink.sum == 12345.0f ? 2 : 0;  // keeps the sink's work observable
}
