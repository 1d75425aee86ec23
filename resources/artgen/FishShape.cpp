// SPDX-License-Identifier: MIT
#include "FishShape.h"

#include "fish/FishTextureLayout.h"

#include <cmath>

namespace {

struct ProfilePoint {
    float x, top, bottom;
};

// From the model's telling rings, with the snout pieces in front.
const ProfilePoint kProfile[] = {
    {-0.500f, -0.010f, -0.050f}, {-0.470f, 0.035f, -0.090f}, {-0.427f, 0.085f, -0.124f},
    {-0.309f, 0.173f, -0.164f},  {-0.182f, 0.195f, -0.181f}, {-0.029f, 0.194f, -0.182f},
    {0.123f, 0.150f, -0.157f},   {0.238f, 0.058f, -0.070f},  {0.316f, 0.060f, -0.075f},
};
constexpr int kProfileCount = sizeof kProfile / sizeof kProfile[0];

// Monotone-ish smooth interpolation through the profile (Catmull-Rom).
float Profile(float x, bool top)
{
    auto value = [top](int i) {
        i = std::clamp(i, 0, kProfileCount - 1);
        return top ? kProfile[i].top : kProfile[i].bottom;
    };
    if (x <= kProfile[0].x)
        return value(0);
    for (int i = 0; i + 1 < kProfileCount; ++i) {
        if (x <= kProfile[i + 1].x) {
            const float t = (x - kProfile[i].x) / (kProfile[i + 1].x - kProfile[i].x);
            const float p0 = value(i - 1), p1 = value(i), p2 = value(i + 1), p3 = value(i + 2);
            const float t2 = t * t, t3 = t2 * t;
            return 0.5f * (2.0f * p1 + (-p0 + p2) * t + (2.0f * p0 - 5.0f * p1 + 4.0f * p2 - p3) * t2 +
                           (-p0 + 3.0f * p1 - 3.0f * p2 + p3) * t3);
        }
    }
    return value(kProfileCount - 1);
}

Vec2 Lerp(Vec2 a, Vec2 b, float t) { return a + (b - a) * t; }

// Bilinear patch from four corners: (a, b) = (0,0) p00, (1,0) p10, (0,1) p01, (1,1) p11.
Vec2 Patch(Vec2 p00, Vec2 p10, Vec2 p01, Vec2 p11, float a, float b)
{
    return Lerp(Lerp(p00, p10, a), Lerp(p01, p11, a), b);
}

}  // namespace

namespace FishShape {

float DorsalZ(float x) { return Profile(x, true); }
float VentralZ(float x) { return Profile(x, false); }

BodyPoint BodyPointAt(float u, float v)
{
    const float x = kBodyHeadX + u * (kBodyTailX - kBodyHeadX);
    const float bottom = VentralZ(x), top = DorsalZ(x);
    return {u, v, x, bottom + v * (top - bottom)};
}

Vec2 FinPosition(Fin fin, float a, float b)
{
    switch (fin) {
    case Fin::Dorsal: {
        // A sail along the back, tallest in front.
        const float x = -0.26f + 0.58f * a;
        const Vec2 base{x, DorsalZ(std::min(x, kBodyTailX)) - 0.012f};
        const Vec2 tip{x + 0.07f + 0.03f * a, 0.275f - 0.06f * a * a};
        return Lerp(base, tip, b);
    }
    case Fin::Pectoral:
        return Patch({-0.255f, -0.020f}, {-0.235f, -0.065f}, {-0.150f, -0.020f}, {-0.115f, -0.150f}, a, b);
    case Fin::Pelvic: {
        const float x = -0.25f + 0.12f * a;
        const Vec2 base{x, VentralZ(x) + 0.012f};
        return Lerp(base, Vec2{x + 0.10f + 0.02f * a, -0.275f + 0.04f * a}, b);
    }
    case Fin::Anal: {
        const float x = 0.00f + 0.22f * a;
        const Vec2 base{x, VentralZ(x) + 0.012f};
        return Lerp(base, Vec2{x + 0.10f + 0.06f * a, -0.245f + 0.12f * a * a}, b);
    }
    case Fin::Caudal: {
        // Forked: the outer edge reaches furthest at the lobes.
        const float z = -0.136f + 0.271f * a;
        const float fork = std::pow(std::fabs(2.0f * a - 1.0f), 0.8f);
        const Vec2 root{0.278f, -0.060f + 0.112f * a};
        return Lerp(root, Vec2{0.330f + 0.170f * fork, z}, b);
    }
    }
    return {};
}

FinPoint FinPointAt(Fin fin, float a, float b)
{
    const Vec2 p = FinPosition(fin, a, b);
    return {a, b, p.x, p.y};
}

Vec2 BodyTexCoord(float u, float v)
{
    const auto& r = FishTextureLayout::kBody;
    return {r.s0 + u * (r.s1 - r.s0), r.t0 + v * (r.t1 - r.t0)};
}

Vec2 FinTexCoord(Fin fin, float a, float b)
{
    using namespace FishTextureLayout;
    switch (fin) {
    case Fin::Dorsal: return {kDorsalFin.s0 + a * (kDorsalFin.s1 - kDorsalFin.s0), kDorsalFin.t0 + b * (kDorsalFin.t1 - kDorsalFin.t0)};
    case Fin::Pectoral: return {kPectoralFin.s0 + a * (kPectoralFin.s1 - kPectoralFin.s0), kPectoralFin.t0 + b * (kPectoralFin.t1 - kPectoralFin.t0)};
    case Fin::Pelvic: return {kPelvicFin.s0 + a * (kPelvicFin.s1 - kPelvicFin.s0), kPelvicFin.t1 - b * (kPelvicFin.t1 - kPelvicFin.t0)};
    case Fin::Anal: return {kAnalFin.s0 + a * (kAnalFin.s1 - kAnalFin.s0), kAnalFin.t1 - b * (kAnalFin.t1 - kAnalFin.t0)};
    case Fin::Caudal: return {kCaudalFin.s0 + b * (kCaudalFin.s1 - kCaudalFin.s0), kCaudalFin.t0 + a * (kCaudalFin.t1 - kCaudalFin.t0)};
    }
    return {};
}

Vec2 EyeCentre()
{
    const auto& r = FishTextureLayout::kEye;
    return {(r.s0 + r.s1) * 0.5f, (r.t0 + r.t1) * 0.5f};
}

Vec2 EyeRadii()
{
    const auto& r = FishTextureLayout::kEye;
    return {(r.s1 - r.s0) * 0.5f, (r.t1 - r.t0) * 0.5f};
}

Vec2 EyeViewCentre() { return {-0.371f, 0.014f}; }
float EyeViewRadius() { return 0.026f; }

}  // namespace FishShape
