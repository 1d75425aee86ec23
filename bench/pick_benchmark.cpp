// SPDX-License-Identifier: MIT
// What picking and feeding cost at a full-screen size, with the built-in art
// and 20 fish, computed on the CPU now and, beside it, with the GL selection
// passes the pickers used before (measured in the same run):
//   - a whole frame with no mouse mode, in feed mode, and in feed mode with a
//     click pending that no strip ever finds (all 60 strips tested each frame);
//   - one feed pick alone (60 strips, all missed);
//   - one touch pick over 20 fish that misses them all (each fish steps and
//     is tested once).
// Wall time and process CPU time (the software renderer's threads included),
// glFinish included; mean and 95th percentile of each.
//
// Usage: pick_benchmark [runs] [width height]   (default 200 1920 1080)

#include "bench/BenchSupport.h"
#include "fish/FeedPicker.h"
#include "fish/FishPicker.h"
#include "fish/FishRenderer.h"
#include "fish/PickStrips.h"
#include "settings/ProgramValues.h"
#include "tests/fish/SelectionReference.h"
#include "view/scene/AquariumScene.h"

#include <GL/gl.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

void Report(const char* what, int runs, const std::function<void()>& run)
{
    std::vector<double> wall, cpu;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = ProcessCpuMs();
        run();
        cpu.push_back(ProcessCpuMs() - cpuStart);
        wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    const auto summary = [runs](std::vector<double>& v, double& mean, double& p95) {
        std::sort(v.begin(), v.end());
        double sum = 0;
        for (double x : v)
            sum += x;
        mean = sum / runs;
        p95 = v[size_t(runs) * 95 / 100];
    };
    double wallMean, wallP95, cpuMean, cpuP95;
    summary(wall, wallMean, wallP95);
    summary(cpu, cpuMean, cpuP95);
    std::printf("%-50s wall %7.3f ms (p95 %7.3f)   cpu %7.3f ms (p95 %7.3f)\n", what, wallMean, wallP95, cpuMean,
                cpuP95);
}

// The strips as the selection passes tested them, for the comparison.
void SelectionFeedPick(const PickStrips& strips, int x, int y)
{
    for (bool vertical : {true, false}) {
        const int count = vertical ? PickStrips::kVertical : PickStrips::kHorizontal;
        const auto& quad = vertical ? PickStrips::kVerticalQuad : PickStrips::kHorizontalQuad;
        for (int k = 0; k < count; ++k)
            SelectionReference::SelectOneObject(x, y, FeedPicker::kPickSize,
                                                vertical ? strips.Vertical(k) : strips.Horizontal(k), [&quad] {
                                                    glBegin(GL_QUADS);
                                                    for (const float* corner : quad)
                                                        glVertex3fv(corner);
                                                    glEnd();
                                                });
    }
}

void SelectionFishPick(Fish* fish, int active, FishRenderer& renderer, int x, int y)
{
    for (int i = 0; i < active; ++i) {
        Fish& candidate = fish[i];
        const float at[3] = {candidate.X(), candidate.Y(), candidate.Z()};
        SelectionReference::SelectOneObject(x, y, FishPicker::kPickSize, at, [&] {
            candidate.Step();
            renderer.DrawAtPosition(candidate.DrawPose());
        });
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const auto [runs, width, height] = ReadBenchArgs(argc, argv, 200);

    FullTankBench bench(width, height);
    if (!bench.Ok())
        return 1;
    AquariumScene scene;
    scene.SetScreenSize(width, height);
    scene.InitScene();
    std::printf("%dx%d, 20 fish, %d runs each\n", width, height, runs);

    int command = CMD_NONE;
    scene.PollCommand(command);
    Report("frame, no mouse mode", runs, [&] { scene.RenderFrame(); });
    command = CMD_FEED;
    scene.PollCommand(command);
    Report("frame, feed mode (strips sway)", runs, [&] { scene.RenderFrame(); });
    Report("frame, feed mode, click pending off every strip", runs, [&] {
        scene.OnLeftButtonDown(-5000, -5000);
        scene.RenderFrame();
    });

    scene.RenderFrame();  // leaves the camera current for the pickers alone
    FeedPicker picker;
    float x = 0.0f, y = 0.0f;
    Report("feed pick, 60 strips missed: CPU", runs, [&] {
        picker.Pick(scene.Strips(), scene.Tank(), -5000, -5000, x, y);
        glFinish();
    });
    Report("feed pick, 60 strips missed: GL selection (before)", runs, [&] {
        SelectionFeedPick(scene.Strips(), -5000, -5000);
        glFinish();
    });
    FishRenderer renderer;
    Report("touch pick, 20 fish missed: CPU", runs, [&] {
        FishPicker::PickFish(&scene.FishAt(0), 20, renderer, -5000, -5000, CMD_TOUCH);
        glFinish();
    });
    Report("touch pick, 20 fish missed: GL selection (before)", runs, [&] {
        SelectionFishPick(&scene.FishAt(0), 20, renderer, -5000, -5000);
        glFinish();
    });
    return 0;
}
