// SPDX-License-Identifier: MIT
#include "FishPatterns.h"

#include "Noise.h"

#include <cmath>

namespace FishPatterns {

Rgb Countershade(Rgb back, Rgb side, Rgb belly, float v)
{
    if (v < 0.5f)
        return Mix(belly, side, SmoothStep(0.12f, 0.48f, v));
    return Mix(side, back, SmoothStep(0.58f, 0.95f, v));
}

float Band(const FishShape::BodyPoint& p, float centre, float halfWidth, float bulge, float soft)
{
    const float m = p.v - 0.5f;
    const float bent = centre - bulge * (1.0f - 4.0f * m * m);
    const float d = std::fabs(p.u - bent) - halfWidth;
    return 1.0f - SmoothStep(-soft, soft, d);
}

float Stripe(float v, float centre, float halfWidth, float soft)
{
    return 1.0f - SmoothStep(-soft, soft, std::fabs(v - centre) - halfWidth);
}

namespace {

// Distance (in cells) from (x, z) to the nearest jittered spot centre, and
// that spot's radius factor.
float NearestSpot(float x, float z, float cell, int seed, float sizeJitter, float& radiusFactor)
{
    const float gx = x / cell, gz = z / cell;
    const int cx = int(std::floor(gx)), cz = int(std::floor(gz));
    float best = 1e9f;
    radiusFactor = 1.0f;
    for (int j = -1; j <= 1; ++j) {
        for (int i = -1; i <= 1; ++i) {
            const int ix = cx + i, iz = cz + j;
            const float sx = float(ix) + 0.2f + 0.6f * Noise::Random(ix, iz, seed);
            const float sz = float(iz) + 0.2f + 0.6f * Noise::Random(ix, iz, seed + 7);
            const float factor = 1.0f + sizeJitter * (2.0f * Noise::Random(ix, iz, seed + 13) - 1.0f);
            const float d = std::hypot(gx - sx, gz - sz) / factor;
            if (d < best) {
                best = d;
                radiusFactor = factor;
            }
        }
    }
    return best;
}

}  // namespace

float Spots(float x, float z, float cell, float radius, int seed, float sizeJitter, float soft)
{
    float factor = 1.0f;
    const float d = NearestSpot(x, z, cell, seed, sizeJitter, factor);
    return 1.0f - SmoothStep(radius - soft / cell, radius + soft / cell, d);
}

float RingSpots(float x, float z, float cell, float radius, int seed, float& centre)
{
    float factor = 1.0f;
    const float d = NearestSpot(x, z, cell, seed, 0.2f, factor);
    const float edge = 0.0025f / cell;
    centre = 1.0f - SmoothStep(radius * 0.62f - edge, radius * 0.62f + edge, d);
    const float outer = 1.0f - SmoothStep(radius - edge, radius + edge, d);
    return std::max(0.0f, outer - centre);
}

float Patches(float x, float z, float scale, float threshold, int seed, float soft)
{
    const float n = Noise::Fractal(x * scale + 10.0f, z * scale + 10.0f, seed, 4);
    return SmoothStep(threshold - soft, threshold + soft, n);
}

Rgb FinColor(const FinLook& look, FishShape::Fin fin, const FishShape::FinPoint& p)
{
    using FishShape::Fin;
    Rgb c = Mix(look.color, look.edge, SmoothStep(look.edgeStart, std::min(1.0f, look.edgeStart + 0.25f), p.b));
    // Rays run from the base to the rim, leaning back on the single fins.
    const float lean = (fin == Fin::Caudal || fin == Fin::Pectoral) ? 0.0f : 0.35f * p.b;
    const float r = (p.a - lean) * float(look.rayCount);
    const float ray = std::pow(0.5f + 0.5f * std::cos(6.2831853f * r), 8.0f);
    c = Shade(c, -look.rays * ray * (0.4f + 0.6f * p.b));
    // The membrane between the rays lets the water through towards the rim;
    // near the base the fin is fleshy and takes the body's colour.
    const Rgb water{0.80f, 0.88f, 0.92f};
    const float clear = look.clarity * (1.0f - 0.6f * ray) * SmoothStep(0.05f, 0.6f, p.b);
    c = Mix(c, water, clear);
    return Clamp01(c);
}

FinLook WithEdge(FinLook look, Rgb edge, float edgeStart)
{
    look.edge = edge;
    look.edgeStart = edgeStart;
    return look;
}

}  // namespace FishPatterns
