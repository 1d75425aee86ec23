// SPDX-License-Identifier: MIT
// CPU time per frame of the ripple at 1920 x 1080: Update, Draw (immediate-
// mode submission of the 31 x 31 polygons) and both together, in the steady
// state where all 100 drop slots are busy. For scale it also times a plain
// full sum over all 32 x 32 cells and 100 slots, which is what the update
// would cost without skipping silent drops and cells the ring has not
// reached.
//
//   ripple_benchmark [FRAMES]     (default 2000)
#include "environment/RippleDistanceTable.h"
#include "environment/RippleGrid.h"
#include "environment/RippleWaveTable.h"
#include "platform/MsvcRandom.h"
#include "tests/support/GlTestContext.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {
constexpr int kW = 1920, kH = 1080;

double ThreadSeconds()
{
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

double WallSeconds()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

void AddFrameDrop(RippleGrid& grid)
{
    Rand();
    grid.AddDrop(kW / 2 - 200 + 50 * (Rand() % 9), kH / 2 + 50);
}

// Every cell, every slot: the cost the tables alone would leave.
float FullSum(const RippleGrid& grid)
{
    const RippleDistanceTable& distances = RippleDistanceTable::Get();
    const RippleWaveTable& wave = RippleWaveTable::Get();
    float checksum = 0;
    for (int i = 0; i < RippleGrid::kCells; ++i) {
        for (int j = 0; j < RippleGrid::kCells; ++j) {
            const RippleGrid::Cell& cell = grid.CellAt(i, j);
            float s = cell.s0, t = cell.t0;
            for (int k = 0; k < RippleGrid::kDrops; ++k) {
                const RippleGrid::DropInfo d = grid.Drop(k);
                const int di = i - d.column, dj = j - d.row;
                const RippleDistanceTable::Entry& e = distances.At(std::abs(di), std::abs(dj));
                int v = d.age - e.delay;
                v = v < 0 ? 0 : (v > 255 ? 255 : v);
                const double fade = 1.0 - d.age / 256.0;
                const double a = d.age < 256 ? 0.02 * fade * fade : 0.0;
                s = float(s + a * e.ux * (di < 0 ? -1.0 : 1.0) * wave.At(v));
                t = float(t + a * e.uy * (dj < 0 ? -1.0 : 1.0) * wave.At(v));
            }
            checksum += s + t;
        }
    }
    return checksum;
}

unsigned MakeTexture()
{
    const int size = 512;
    std::vector<unsigned char> rgba(size_t(size) * size * 4);
    for (size_t i = 0; i < rgba.size(); ++i)
        rgba[i] = (i % 4 == 3) ? 255 : (unsigned char)((i * 37) >> 3);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 4, size, size, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return texture;
}
}  // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::atoi(argv[1]) : 2000;
    if (frames < 1) {
        std::fprintf(stderr, "usage: ripple_benchmark [FRAMES]\n");
        return 2;
    }
    GlTestContext gl(kW, kH);
    if (!gl.Ok()) {
        std::fprintf(stderr, "no EGL surfaceless GL context\n");
        return 1;
    }
    glViewport(0, 0, kW, kH);
    glEnable(GL_TEXTURE_2D);
    MakeTexture();

    RippleGrid grid;
    grid.Setup(kW, kH);
    for (int f = 0; f < 400; ++f) {   // fill every slot, mix of ages
        AddFrameDrop(grid);
        grid.Update();
    }

    double update = 0, draw = 0, finishWall = 0;
    for (int f = 0; f < frames; ++f) {
        AddFrameDrop(grid);
        const double t0 = ThreadSeconds();
        grid.Draw();
        const double t1 = ThreadSeconds();
        grid.Update();
        const double t2 = ThreadSeconds();
        const double w0 = WallSeconds();
        glFinish();   // rasterising happens here (software renderer threads)
        finishWall += WallSeconds() - w0;
        draw += t1 - t0;
        update += t2 - t1;
    }
    int busy = 0;
    for (int k = 0; k < RippleGrid::kDrops; ++k)
        busy += grid.SlotBusy(k);

    volatile float sink = 0;
    const int fullFrames = frames / 10 > 0 ? frames / 10 : 1;
    const double f0 = ThreadSeconds();
    for (int f = 0; f < fullFrames; ++f)
        sink = sink + FullSum(grid);
    const double full = (ThreadSeconds() - f0) / fullFrames;

    const double us = 1e6 / frames;
    std::printf("ripple at %d x %d, %d frames, %d of 100 slots busy at the end\n", kW, kH, frames, busy);
    std::printf("  Update            %8.1f us CPU per frame\n", update * us);
    std::printf("  Draw (submit)     %8.1f us CPU per frame\n", draw * us);
    std::printf("  Update + Draw     %8.1f us CPU per frame\n", (update + draw) * us);
    std::printf("  glFinish (raster) %8.1f us wall per frame (GL: %s)\n", finishWall * us,
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    std::printf("  full 32x32x100 sum, for comparison: %8.1f us CPU per frame\n", full * 1e6);
    return 0;
}
