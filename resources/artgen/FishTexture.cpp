// SPDX-License-Identifier: MIT
#include "FishTexture.h"

#include "fish/FishTextureLayout.h"

#include <cmath>

using FishShape::Fin;

namespace {

// Details every species shares: a gill cover line behind the head, faint
// scales and a slightly darker snout.
Rgb FinishBody(Rgb c, const FishShape::BodyPoint& p)
{
    const float m = p.v - 0.5f;
    const float gillU = 0.155f + 0.09f * m * m - 0.02f * m;
    const float gill = std::exp(-std::pow((p.u - gillU) / 0.008f, 2.0f)) * SmoothStep(0.12f, 0.3f, p.v) *
                       (1.0f - SmoothStep(0.8f, 0.92f, p.v));
    c = Shade(c, -0.22f * gill);
    const float k = 6.2831853f / 0.032f;
    const float scale = std::sin((p.x + p.z) * k) * std::sin((p.x - p.z) * k);
    c = Shade(c, 0.015f * scale * SmoothStep(0.16f, 0.25f, p.u));
    c = Shade(c, -0.18f * (1.0f - SmoothStep(0.0f, 0.05f, p.u)));
    return c;
}

Rgb BodyColor(const FishSpecies& species, float u, float v)
{
    const FishShape::BodyPoint p = FishShape::BodyPointAt(Clamp01(u), Clamp01(v));
    return FinishBody(species.body(p), p);
}

Rgb EyeColor(const FishSpecies& species, float s, float t)
{
    const Vec2 c = FishShape::EyeCentre(), r = FishShape::EyeRadii();
    const Vec2 q{(s - c.x) / r.x, (t - c.y) / r.y};
    const float d = Length(q);
    const auto& body = FishTextureLayout::kBody;
    const Rgb head = BodyColor(species, 0.0f, (t - body.t0) / (body.t1 - body.t0));
    const Rgb iris = Mix(Shade(species.iris, 0.35f), Shade(species.iris, -0.25f), SmoothStep(0.45f, 0.85f, d));
    Rgb eye = Mix(Rgb{0.03f, 0.03f, 0.04f}, iris, SmoothStep(0.40f, 0.48f, d));
    eye = Mix(eye, Shade(species.iris, -0.7f), SmoothStep(0.8f, 0.9f, d));
    eye = Mix(eye, Rgb{1, 1, 1}, 0.9f * (1.0f - SmoothStep(0.12f, 0.2f, Length(q - Vec2{-0.28f, 0.3f}))));
    return Mix(eye, head, SmoothStep(0.96f, 1.04f, d));
}

Rgb FinTexel(const FishSpecies& species, Fin fin, float s, float t)
{
    using namespace FishTextureLayout;
    float a = 0, b = 0;
    switch (fin) {
    case Fin::Dorsal: a = (s - kDorsalFin.s0) / (kDorsalFin.s1 - kDorsalFin.s0); b = (t - kDorsalFin.t0) / (kDorsalFin.t1 - kDorsalFin.t0); break;
    case Fin::Pectoral: a = (s - kPectoralFin.s0) / (kPectoralFin.s1 - kPectoralFin.s0); b = (t - kPectoralFin.t0) / (kPectoralFin.t1 - kPectoralFin.t0); break;
    case Fin::Pelvic: a = (s - kPelvicFin.s0) / (kPelvicFin.s1 - kPelvicFin.s0); b = (kPelvicFin.t1 - t) / (kPelvicFin.t1 - kPelvicFin.t0); break;
    case Fin::Anal: a = (s - kAnalFin.s0) / (kAnalFin.s1 - kAnalFin.s0); b = (kAnalFin.t1 - t) / (kAnalFin.t1 - kAnalFin.t0); break;
    case Fin::Caudal: a = (t - kCaudalFin.t0) / (kCaudalFin.t1 - kCaudalFin.t0); b = (s - kCaudalFin.s0) / (kCaudalFin.s1 - kCaudalFin.s0); break;
    }
    return species.fin(fin, FishShape::FinPointAt(fin, Clamp01(a), Clamp01(b)));
}

// The colour at texture coordinate (s, t): every texel belongs to the
// nearest region, so filtering never mixes in an unrelated colour.
Rgb TexelColor(const FishSpecies& species, float s, float t)
{
    using namespace FishTextureLayout;
    const float topSplit = (kBody.t1 + kDorsalFin.t0) * 0.5f;
    const float bottomSplit = (kBody.t0 + kPelvicFin.t1) * 0.5f;
    if (t >= bottomSplit && t <= topSplit) {
        if (s < kBody.s0 + 0.005f)
            return EyeColor(species, s, t);
        return BodyColor(species, (s - kBody.s0) / (kBody.s1 - kBody.s0), (t - kBody.t0) / (kBody.t1 - kBody.t0));
    }
    if (t > topSplit)
        return FinTexel(species, s < (kPectoralFin.s1 + kDorsalFin.s0) * 0.5f ? Fin::Pectoral : Fin::Dorsal, s, t);
    if (s < (kPelvicFin.s1 + kAnalFin.s0) * 0.5f)
        return FinTexel(species, Fin::Pelvic, s, t);
    if (s < (kAnalFin.s1 + kCaudalFin.s0) * 0.5f)
        return FinTexel(species, Fin::Anal, s, t);
    return FinTexel(species, Fin::Caudal, s, t);
}

}  // namespace

Canvas PaintFishTexture(const FishSpecies& species, int size)
{
    Canvas out(size, size);
    const float inv = 1.0f / float(size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            Rgb sum{};
            for (int j = 0; j < 2; ++j)
                for (int i = 0; i < 2; ++i) {
                    const float s = (float(x) + 0.25f + 0.5f * float(i)) * inv;
                    const float t = 1.0f - (float(y) + 0.25f + 0.5f * float(j)) * inv;
                    sum = sum + TexelColor(species, s, t);
                }
            out.Set(x, y, Clamp01(sum * 0.25f));
        }
    }
    return out;
}
