// SPDX-License-Identifier: MIT
// Where a frame's time goes: the default scene (built-in art, 20 fish, the
// rippling picture) at the given size on the EGL context, each pass of the
// frame timed on its own with glFinish after it. Time is process CPU time
// (all threads, so the renderer's rasterising threads count) and wall time,
// per frame, averaged over the frames.
//
// Usage: pass_cost [frames] [width height]   (default 200 1920 1080)

#include "bench/BenchSupport.h"
#include "view/scene/AquariumScene.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Step {
    const char* name;
    std::function<void()> run;
    double cpu = 0.0;
    double wall = 0.0;
};

}  // namespace

int main(int argc, char** argv)
{
    const auto [frames, width, height] = ReadBenchArgs(argc, argv, 200);

    FullTankBench bench(width, height);
    if (!bench.Ok())
        return 1;
    AquariumScene scene;
    scene.SetScreenSize(width, height);
    if (!scene.InitScene())
        return 1;
    // Let the ripple fill up, as it has after a few seconds of running.
    for (int i = 0; i < 150; ++i)
        scene.RenderFrame();

    // Each pass of both frame recipes (see AquariumScene::RenderFrame), then
    // the whole frame in each; light and fog stay as the frames before left
    // them. Passes timed alone each pay for a trip through the renderer's
    // tiles that a whole frame makes once, so only the two whole-frame lines
    // add up to what a frame costs.
    // The old recipe: backdrop, fish, picture. The one used while every fish
    // is opaque: plan, planned backdrop, picture first, fish, ripple.
    std::vector<Step> steps = {
        {"clear", [] { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }},
        {"backdrop", [&] { scene.DrawBackdropPass(); }},
        {"fish", [&] { scene.FishPass(); }},
        {"picture", [&] { scene.PicturePass(); }},
        {"plan", [&] { scene.PlanPicturePass(); }},
        {"backdrop, planned", [&] { scene.PlannedBackdropPass(); }},
        {"picture first", [&] { scene.PictureUnderFishPass(); }},
        {"ripple", [&] { scene.RipplePass(); }},
        {"fast picture", [&] { scene.FastPicturePass(); }},
        {"food", [&] { scene.FoodPass(); }},
        {"feed strips", [&] { scene.FeedModePass(); }},
        {"whole frame", [&] { scene.RenderFrame(); }},
        {"frame, no layer", [&] {
             scene.SetFishLayerAllowed(false);
             scene.RenderFrame();
             scene.SetFishLayerAllowed(true);
         }},
        {"frame, fish first", [&] {
             scene.SetPictureFirstAllowed(false);
             scene.RenderFrame();
             scene.SetPictureFirstAllowed(true);
         }},
    };
    for (int f = 0; f < frames; ++f) {
        for (Step& step : steps) {
            const double c0 = ProcessCpuMs(), w0 = WallMs();
            step.run();
            glFinish();
            step.cpu += ProcessCpuMs() - c0;
            step.wall += WallMs() - w0;
        }
    }
    std::printf("%dx%d, %d frames, 20 fish and the rippling picture\n", width, height, frames);
    std::printf("%-18s %10s %10s\n", "pass", "CPU ms/f", "wall ms/f");
    for (const Step& step : steps)
        std::printf("%-18s %10.2f %10.2f\n", step.name, step.cpu / frames, step.wall / frames);
    return 0;
}
