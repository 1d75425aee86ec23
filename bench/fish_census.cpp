// SPDX-License-Identifier: MIT
//
// Where the fish are after a long run: the fish classes driven in the frame
// loop's order (each active fish's step, its avoidance and position record,
// the separation pass, then the picture's drop with its two random draws),
// frame after frame with no drawing, then counted over the second half of
// the run.
//
// A fish-frame is one fish in one frame. The table says, per start state of
// the random generator and over all of them:
// - behind the picture plane: z below the picture (-110), where the frame's
//   drawing order hides the fish;
// - outside the swimming depth: more than 0.5 beyond the box's z range;
// - exact x headings: 0, +-180 or +-360, swimming broadside left or right;
// - off the x axis: headed more than 15 degrees off the x axis;
// - turning: the head has not reached its target heading yet;
// - new targets per fish-minute: how often the target heading moves by more
//   than 2 degrees in one frame (a turn begins);
// - the deepest z any fish reached in the counted half.
//
// Usage: fish_census [fish] [minutes] [seed ...]
//   fish 1..20 (default 12), minutes (default 30), seeds (default 1 2 3 4;
//   1 is the program's own start state).

#include "base/TankBox.h"
#include "environment/BackgroundPicture.h"
#include "environment/RippleGrid.h"
#include "fish/Fish.h"
#include "fish/FishSchool.h"
#include "fish/FoodFlake.h"
#include "platform/MsvcRandom.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kFramesPerMinute = 50 * 60;
constexpr int kScreenWidth = 1920, kScreenHeight = 1080;
constexpr float kPictureZ = -110.0f;
constexpr float kBoxZMin = -98.0f, kBoxZMax = -85.0f;  // the swimming depth Place gives
constexpr float kDepthSlack = 0.5f;

struct Census {
    long long fishFrames = 0;
    long long behindPicture = 0;
    long long outsideDepth = 0;
    long long exactXHeading = 0;
    long long offAxis = 0;
    long long turning = 0;
    long long newTargets = 0;
    float deepest = 0.0f;

    void Add(const Census& o)
    {
        fishFrames += o.fishFrames;
        behindPicture += o.behindPicture;
        outsideDepth += o.outsideDepth;
        exactXHeading += o.exactXHeading;
        offAxis += o.offAxis;
        turning += o.turning;
        newTargets += o.newTargets;
        deepest = std::fmin(deepest, o.deepest);
    }
};

bool ExactXHeading(float h)
{
    return h == 0.0f || h == 180.0f || h == -180.0f || h == 360.0f || h == -360.0f;
}

void Count(const Fish& fish, float previousTarget, Census& census)
{
    const float z = fish.Z();
    ++census.fishFrames;
    census.behindPicture += z < kPictureZ;
    census.outsideDepth += z < kBoxZMin - kDepthSlack || z > kBoxZMax + kDepthSlack;
    census.exactXHeading += ExactXHeading(fish.Heading());
    census.offAxis += std::fabs(std::sin(fish.Heading() * 0.017453292f)) > 0.258819f;  // sin 15
    census.turning += std::fabs(fish.Heading() - fish.TargetHeading()) > 0.1f;
    census.newTargets += std::fabs(fish.TargetHeading() - previousTarget) > 2.0f;
    census.deepest = std::fmin(census.deepest, z);
}

// One run from generator state `seed`: the scene's set-up order of draws
// (20 fish made, all 20 placed, the ten flake slots reset), then `frames`
// frames.
Census Run(int fishCount, int frames, std::uint32_t seed)
{
    MsvcRandom::Reset(seed);
    std::vector<Fish> fish(FishSchool::kSlots);
    const TankBox tank = ComputeTankBoxFor(kScreenWidth, kScreenHeight);
    for (Fish& f : fish)
        f.Place(tank);
    FoodFlake flakes[FoodFlake::kSlots];
    for (FoodFlake& flake : flakes)
        flake.Reset();
    FishSchool school;
    RippleGrid ripple;
    ripple.Setup(kScreenWidth, kScreenHeight);
    Census census;
    std::vector<float> previousTarget(fishCount);
    const int countFrom = frames / 2;
    for (int frame = 0; frame < frames; ++frame) {
        for (int i = 0; i < fishCount; ++i) {
            previousTarget[i] = fish[i].TargetHeading();
            fish[i].Step();
            FishSchool::AvoidCollisions(fish.data(), fishCount, i);
            school.RecordPosition(i, fish[i]);
        }
        school.Separate(fish.data(), fishCount);
        AddPictureDrop(ripple, kScreenWidth, kScreenHeight);
        if (frame >= countFrom)
            for (int i = 0; i < fishCount; ++i)
                Count(fish[i], previousTarget[i], census);
    }
    return census;
}

double Share(long long part, long long whole) { return whole > 0 ? 100.0 * double(part) / double(whole) : 0.0; }

void PrintRow(const char* name, const std::vector<Census>& columns, double (*value)(const Census&),
              const char* format)
{
    std::printf("%-44s", name);
    for (const Census& c : columns)
        std::printf(format, value(c));
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv)
{
    const int fishCount = argc > 1 ? std::atoi(argv[1]) : 12;
    const int minutes = argc > 2 ? std::atoi(argv[2]) : 30;
    std::vector<std::uint32_t> seeds;
    for (int a = 3; a < argc; ++a)
        seeds.push_back(std::uint32_t(std::strtoul(argv[a], nullptr, 10)));
    if (seeds.empty())
        seeds = {1, 2, 3, 4};
    if (fishCount < 1 || fishCount > FishSchool::kSlots || minutes < 1) {
        std::fprintf(stderr, "usage: fish_census [fish 1..20] [minutes >= 1] [seed ...]\n");
        return 1;
    }
    const int frames = minutes * kFramesPerMinute;
    std::vector<Census> columns;
    Census all;
    for (std::uint32_t seed : seeds) {
        columns.push_back(Run(fishCount, frames, seed));
        all.Add(columns.back());
    }
    columns.push_back(all);

    std::printf("%d fish, %d minutes at 50 frames/s, counted over minutes %g-%d\n", fishCount, minutes,
                minutes / 2.0, minutes);
    std::printf("%-44s", "share of fish-frames, start state");
    for (std::uint32_t seed : seeds)
        std::printf("%9u", seed);
    std::printf("%9s\n", "all");
    PrintRow("behind the picture plane (z < -110)  %", columns,
             [](const Census& c) { return Share(c.behindPicture, c.fishFrames); }, "%9.2f");
    PrintRow("more than 0.5 outside z -98..-85     %", columns,
             [](const Census& c) { return Share(c.outsideDepth, c.fishFrames); }, "%9.2f");
    PrintRow("heading exactly 0, +-180 or +-360    %", columns,
             [](const Census& c) { return Share(c.exactXHeading, c.fishFrames); }, "%9.2f");
    PrintRow("heading over 15 deg off the x axis   %", columns,
             [](const Census& c) { return Share(c.offAxis, c.fishFrames); }, "%9.2f");
    PrintRow("turning                              %", columns,
             [](const Census& c) { return Share(c.turning, c.fishFrames); }, "%9.2f");
    PrintRow("new targets per fish-minute", columns,
             [](const Census& c) {
                 return c.fishFrames > 0 ? double(c.newTargets) * kFramesPerMinute / double(c.fishFrames) : 0.0;
             },
             "%9.2f");
    PrintRow("deepest z", columns, [](const Census& c) { return double(c.deepest); }, "%9.1f");
    return 0;
}
