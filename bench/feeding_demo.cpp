// SPDX-License-Identifier: MIT
// Pictures of feeding and zoom on the real scene with the built-in art, for
// a person to look at:
//   OUT/feed_NNN.png  a fish turning to a flake beside it and eating it,
//                     
//   OUT/zoom.png      three fish of one kind zoomed out (2), as placed (3)
//                     and zoomed in (4) by real zoom clicks.
// Writes PPM files and PNG copies when /usr/bin/convert exists.
//
// Usage: feeding_demo [OUT]   (default /tmp/plovi-feeding)

#include "bench/BenchSupport.h"
#include "fish/FishPicker.h"
#include "settings/ProgramValues.h"
#include "tests/support/GlTestContext.h"
#include "tests/support/TestEnvironment.h"
#include "view/scene/AquariumScene.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

void WriteShot(const std::string& dir, const std::string& name)
{
    ::WriteShot(dir, name, kWidth, kHeight);
}

void KeepFish(int n)
{
    for (int& count : g_speciesCount)
        count = 0;
    g_speciesCount[3] = n;
}

// One attempt: the fish beside a fresh flake. Returns whether it ate it.
bool FeedingAttempt(AquariumScene& scene, const std::string& out, int attempt)
{
    Fish& fish = scene.FishAt(0);
    fish.FaceHeading(0.0f);
    fish.SetPosition(0.0f, 2.0f, -92.0f);
    const int slot = scene.DropFlake(-9.0f, 2.0f + 2.0f - 0.8f);
    for (int frame = 0; frame < 400; ++frame) {
        scene.RenderFrame();
        const bool gone = !scene.FlakeAt(slot).Alive();
        if (frame % 20 == 0 || gone) {
            char name[32];
            std::snprintf(name, sizeof name, "feed_%d_%03d", attempt, frame);
            WriteShot(out, name);
        }
        if (gone) {
            std::printf("attempt %d: eaten at frame %d\n", attempt, frame);
            return true;
        }
    }
    std::printf("attempt %d: not eaten within 400 frames\n", attempt);
    return false;
}

// Fish do not always catch a flake (their wander decisions are random), so
// the sequence is retried until one does.
void FeedingSequence(AquariumScene& scene, const std::string& out)
{
    KeepFish(1);
    for (int attempt = 0; attempt < 6 && !FeedingAttempt(scene, out, attempt); ++attempt) {
        for (int i = 0; i < FoodFlake::kSlots; ++i)
            scene.FlakeAt(i).Eat(0.0f, 0.0f);
        scene.RenderFrame();
    }
}

void ZoomPicture(AquariumScene& scene, const std::string& out)
{
    KeepFish(3);
    const float xs[3] = {-14.0f, 0.0f, 14.0f};
    for (int i = 0; i < 3; ++i) {
        scene.FishAt(i).SetPosition(xs[i], 0.0f, -90.0f);
        scene.FishAt(i).FaceHeading(20.0f);
        scene.FishAt(i).SetSpeed(0.05f);
    }
    int command = CMD_ZOOMOUT;
    scene.PollCommand(command);
    scene.OnLeftButtonDown(kWidth / 2 - 155, kHeight / 2);
    scene.RenderFrame();
    command = CMD_ZOOMIN;
    scene.PollCommand(command);
    scene.OnLeftButtonDown(kWidth / 2 + 155, kHeight / 2);
    scene.RenderFrame();
    scene.OnLeftButtonUp(0, 0);
    for (int i = 0; i < 3; ++i)
        std::printf("fish %d size %.1f\n", i, scene.FishAt(i).Size());
    scene.RenderFrame();
    WriteShot(out, "zoom");
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string out = argc > 1 ? argv[1] : "/tmp/plovi-feeding";
    ::mkdir(out.c_str(), 0755);
    TempDir dir;
    ScopedEnv runtime("XDG_RUNTIME_DIR", dir.Path().c_str());
    ScopedEnv config("XDG_CONFIG_HOME", dir.Path().c_str());
    GlTestContext gl(kWidth, kHeight);
    if (!gl.Ok()) {
        std::fprintf(stderr, "no GL context\n");
        return 1;
    }
    AquariumScene scene;
    scene.SetScreenSize(kWidth, kHeight);
    scene.InitScene();
    FeedingSequence(scene, out);
    ZoomPicture(scene, out);
    return 0;
}
