// What picking and feeding cost per frame at a full-screen size, with the
// built-in art and 20 fish:
//   - a whole frame with no mouse mode, and in feed mode (the invisible
//     strips swaying), and in feed mode with a click pending that no strip
//     ever finds (all 60 selection passes every frame);
//   - one feed pick alone (60 selection passes that all miss);
//   - one touch pick over 20 fish that misses them all (20 passes, each
//     drawing its fish once more).
// Wall time, glFinish included for the frames; mean and 95th percentile.
//
// Usage: pick_benchmark [frames] [width height]   (default 200 1920 1080)

#include "bench/BenchSupport.h"
#include "fish/FeedPicker.h"
#include "fish/FishPicker.h"
#include "fish/FishRenderer.h"
#include "settings/ProgramValues.h"
#include "tests/support/GlTestContext.h"
#include "tests/support/TestEnvironment.h"
#include "view/scene/AquariumScene.h"

#include <GL/gl.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <vector>

namespace {

void Report(const char* what, int runs, const std::function<void()>& run)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double v : ms)
        sum += v;
    std::printf("%-52s mean %6.2f ms   p95 %6.2f ms\n", what, sum / runs, ms[runs * 95 / 100]);
}

// The camera as the frame leaves it, for the pickers run on their own.
void CameraOnly(AquariumScene& scene)
{
    scene.RenderFrame();
}

}  // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::atoi(argv[1]) : 200;
    const int width = argc > 3 ? std::atoi(argv[2]) : 1920;
    const int height = argc > 3 ? std::atoi(argv[3]) : 1080;

    FullTankBench bench(width, height);
    if (!bench.Ok())
        return 1;
    AquariumScene scene;
    scene.SetScreenSize(width, height);
    scene.InitScene();
    std::printf("%dx%d, 20 fish, %d runs each\n", width, height, frames);

    int command = CMD_NONE;
    scene.PollCommand(command);
    Report("frame, no mouse mode", frames, [&] { scene.RenderFrame(); });
    command = CMD_FEED;
    scene.PollCommand(command);
    Report("frame, feed mode (strips sway)", frames, [&] { scene.RenderFrame(); });
    Report("frame, feed mode, click pending off every strip", frames, [&] {
        scene.OnLeftButtonDown(-5000, -5000);
        scene.RenderFrame();
    });

    CameraOnly(scene);
    FeedPicker picker;
    float x = 0.0f, y = 0.0f;
    Report("feed pick alone (60 selection passes, all miss)", frames, [&] {
        picker.Pick(scene.Strips(), scene.Tank(), -5000, -5000, x, y);
        glFinish();
    });
    FishRenderer renderer;
    Report("touch pick over 20 fish (20 passes, all miss)", frames, [&] {
        FishPicker::PickFish(&scene.FishAt(0), 20, renderer, -5000, -5000, CMD_TOUCH);
        glFinish();
    });
    return 0;
}
