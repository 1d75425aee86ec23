// SPDX-License-Identifier: MIT
#include "fish/Feeding.h"

#include "fish/Fish.h"
#include "fish/FishDirections.h"
#include "fish/FoodFlake.h"

#include <cmath>

namespace Feeding {

namespace {

constexpr float kNearZero = 0.0001f;
constexpr double kDegreesPerRadian = 57.29577951308232;

bool WithinReach(const float* nose, const float* flake, float reach)
{
    return std::fabs(nose[0] - flake[0]) < reach && std::fabs(nose[1] - flake[1]) < reach;
}

// Turn towards a flake within smell range: pitch when it lies nearly on
// the heading line, otherwise heading, the short way round if it lies
// ahead and a half turn less the angle if it lies behind.
void SteerTowards(Fish& fish, const float* flake)
{
    const float* nose = fish.Nose();
    fish.SetAttracted(true);
    fish.AdjustSpeed(0.1f, 0.2f);
    const int c = ElevationFigure(flake[0], flake[1]);
    const float d = HorizontalAngle(fish, flake);
    if (d < 1.0f) {
        fish.SteerPitch(float(c), nose[1] <= flake[1], Fish::kByAngle);
        return;
    }
    const bool facesMinusX = FacesMinusX(fish.Heading());
    const bool ahead = facesMinusX ? nose[0] > flake[0] : nose[0] < flake[0];
    const bool behind = facesMinusX ? nose[0] < flake[0] : nose[0] > flake[0];
    if (ahead)
        fish.SteerHeading(d, nose[2] > flake[2], Fish::kTurnBy);
    if (behind)
        fish.SteerHeading(180.0f - d, true, Fish::kTurnBy);
}

}  // namespace

void FoodAttraction(Fish& fish, const FoodFlake* flakes, int count)
{
    fish.SetAttracted(false);
    for (int j = 0; j < count; ++j) {
        if (!flakes[j].Active())
            continue;
        const float* food = flakes[j].World();
        if (WithinReach(fish.Nose(), food, kSmellRange))
            SteerTowards(fish, food);
        if (WithinReach(fish.Nose(), food, kMouthRange))
            fish.AdjustSpeed(0.1f, 0.05f);
    }
}

void FoodEating(const Fish& fish, FoodFlake* flakes, int count)
{
    const float* nose = fish.Nose();
    for (int j = 0; j < count; ++j) {
        FoodFlake& flake = flakes[j];
        if (!flake.Active())
            continue;
        const float* food = flake.World();
        if (!WithinReach(nose, food, kMouthRange) || std::fabs(nose[2] - food[2]) >= kMouthDepth)
            continue;
        flake.Eat((nose[0] - food[0]) * 0.005f, (nose[1] - food[1]) * 0.005f);
    }
}

int ElevationFigure(float x, float y)
{
    if (x == 0.0f && y == 0.0f)
        return 0;
    if (std::fabs(x) < kNearZero && y < 0.0f)
        return 270;
    if (std::fabs(x) < kNearZero && y > 0.0f)
        return 90;
    if (std::fabs(y) < kNearZero && x > 0.0f)
        return 0;
    if (std::fabs(y) < kNearZero && x < 0.0f)
        return 180;
    const int e = int(std::atan(std::fabs(y / x)) * kDegreesPerRadian);
    return (x > 0.0f && y > 0.0f) ? e : 90 - e;
}

float HorizontalAngle(const Fish& fish, const float* point)
{
    const float* nose = fish.Nose();
    const float m1 = LineSlope(nose[2] - fish.Z(), nose[0] - fish.X());
    const float m2 = LineSlope(fish.Z() - point[2], fish.X() - point[0]);
    return AngleBetweenLines(m1, m2);
}

}  // namespace Feeding
