// SPDX-License-Identifier: MIT
#include "fish/FishDirections.h"

#include <cmath>

namespace {
constexpr float kRadiansToDegrees = 57.29578f;
constexpr float kNearlyZero = 0.0001f;
constexpr float kSteepSlope = 10000.0f;
}  // namespace

bool FacesMinusX(float v)
{
    return (v >= 0.0f && v <= 90.0f) || (v >= 270.0f && v <= 360.0f) ||
           (v >= -90.0f && v <= 0.0f) || (v >= -360.0f && v <= -270.0f);
}

bool FacesPlusZ(float v)
{
    return (v >= 0.0f && v <= 180.0f) || (v >= -360.0f && v <= -180.0f);
}

bool HeadsIntoPlusZ(float v)
{
    return (v > 0.0f && v < 180.0f) || (v > -360.0f && v < -180.0f);
}

bool HeadsIntoMinusZ(float v)
{
    return (v > 180.0f && v < 360.0f) || (v > -180.0f && v < 0.0f);
}

float LineSlope(float rise, float run)
{
    if (std::fabs(run) < kNearlyZero)
        return rise * kSteepSlope;
    return rise / run;
}

float AngleBetweenLines(float m1, float m2)
{
    const float denominator = 1.0f + m1 * m2;
    if (std::fabs(denominator) <= kNearlyZero)
        return std::atan(std::fabs((m2 - m1) * kSteepSlope)) * kRadiansToDegrees;
    return std::atan(std::fabs((m2 - m1) / denominator)) * kRadiansToDegrees;
}
