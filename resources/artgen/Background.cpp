// SPDX-License-Identifier: MIT
#include "Background.h"

#include "Noise.h"
#include "Sdf.h"

#include <cmath>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 512;

// Deeper layers fade towards the colour of the water.
const Rgb kWater{0.10f, 0.30f, 0.38f};

float SandLine(float x)
{
    return 400.0f + 14.0f * std::sin(x * 0.006f + 1.0f) + 10.0f * (Noise::Fractal(x * 0.01f, 3.0f, 5, 3) - 0.5f);
}

// The water surface near the top edge: above it the picture is see-through
// (the backdrop shows), below it open water that lightens towards the light.
float SurfaceLine(float x)
{
    return 22.0f + 4.0f * std::sin(x * 0.013f) + 2.5f * std::sin(x * 0.041f + 2.0f);
}

void PaintOpenWater(Canvas& c)
{
    const Rgb shallow{0.26f, 0.55f, 0.64f};
    const Rgb deep{0.09f, 0.27f, 0.36f};
    for (int x = 0; x < kWidth; ++x) {
        const float fx = float(x);
        const float surface = SurfaceLine(fx);
        for (int y = int(surface); y < kHeight; ++y) {
            const float fy = float(y);
            const float depth = Clamp01((fy - surface) / 300.0f);
            Rgb water = Mix(shallow, deep, std::sqrt(depth));
            // A soft shimmer that fades with depth, and a bright rim just
            // under the surface where it catches the light.
            const float shimmer = Noise::Fractal(fx * 0.02f, fy * 0.06f, 21, 3) - 0.5f;
            water = Shade(water, 0.10f * shimmer * (1.0f - depth));
            const float rim = std::exp(-(fy - surface) / 3.0f);
            water = Mix(water, Rgb{0.80f, 0.93f, 0.97f}, 0.55f * rim);
            c.Blend(x, y, water, Clamp01(fy - surface + 0.5f));
        }
    }
}

void PaintFarRidge(Canvas& c)
{
    for (int x = 0; x < kWidth; ++x) {
        const float fx = float(x);
        const float top = 250.0f - 70.0f * Noise::Fractal(fx * 0.004f, 1.0f, 11, 4) - 25.0f * std::sin(fx * 0.011f);
        for (int y = int(top); y < kHeight; ++y) {
            const float depth = Clamp01((float(y) - top) / 160.0f);
            const Rgb rock = Mix(Rgb{0.20f, 0.36f, 0.42f}, Rgb{0.13f, 0.26f, 0.33f}, depth);
            const float grain = Noise::Fractal(fx * 0.05f, float(y) * 0.05f, 12, 3);
            c.Blend(x, y, Shade(rock, 0.12f * (grain - 0.5f)), Clamp01(float(y) - top + 0.5f));
        }
    }
}

// A swaying ribbon of seaweed from base upwards; width tapers to the tip.
void PaintStrand(Canvas& c, Vec2 base, float height, float width, float sway, float phase, Rgb root, Rgb tip, float haze)
{
    constexpr int kSteps = 48;
    Vec2 prev = base;
    for (int i = 1; i <= kSteps; ++i) {
        const float t = float(i) / float(kSteps);
        const Vec2 p{base.x + sway * std::sin(t * 3.2f + phase) * t, base.y - height * t};
        const float w = width * (1.0f - 0.75f * t) * (0.85f + 0.3f * std::sin(t * 17.0f + phase));
        const Rgb col = Mix(Mix(root, tip, t), kWater, haze);
        const int x0 = int(std::min(prev.x, p.x) - w - 2), x1 = int(std::max(prev.x, p.x) + w + 3);
        const int y0 = int(std::min(prev.y, p.y) - w - 2), y1 = int(std::max(prev.y, p.y) + w + 3);
        const Vec2 a = prev;
        FillShapeIn(c, x0, y0, x1, y1, [&](Vec2 q) { return Sdf::Segment(q, a, p, w); },
                    [&](Vec2 q) {
                        // Lighter along one edge: light from the upper left.
                        const float side = Clamp01(0.5f + (q.x - p.x) / (2.0f * w + 0.01f));
                        return Shade(col, 0.15f - 0.3f * side);
                    });
        prev = p;
    }
}

void PaintKelpForest(Canvas& c, int seed, int count, float haze, float minHeight, float maxHeight, float baseY)
{
    Noise::Stream r{std::uint32_t(seed)};
    for (int i = 0; i < count; ++i) {
        const float x = r.Range(0.0f, float(kWidth));
        const float h = r.Range(minHeight, maxHeight);
        const Rgb root = Mix(Rgb{0.10f, 0.30f, 0.12f}, Rgb{0.28f, 0.26f, 0.10f}, r.Next());
        const Rgb tip = Mix(Rgb{0.35f, 0.62f, 0.25f}, Rgb{0.55f, 0.60f, 0.22f}, r.Next());
        PaintStrand(c, {x, baseY + r.Range(-10.0f, 20.0f)}, h, r.Range(3.0f, 7.0f), r.Range(-40.0f, 40.0f),
                    r.Range(0.0f, 6.0f), root, tip, haze);
    }
}

void PaintSand(Canvas& c)
{
    for (int x = 0; x < kWidth; ++x) {
        const float top = SandLine(float(x));
        for (int y = int(top) - 1; y < kHeight; ++y) {
            const float fy = float(y), fx = float(x);
            const float near = Clamp01((fy - top) / float(kHeight - top));
            Rgb sand = Mix(Rgb{0.50f, 0.55f, 0.50f}, Rgb{0.80f, 0.72f, 0.54f}, near);
            // Ripples across the floor and fine grain.
            const float ripple = std::sin(fx * 0.09f + 6.0f * Noise::Value(fx * 0.01f, fy * 0.03f, 21) + fy * 0.05f);
            sand = Shade(sand, 0.06f * ripple * (0.3f + near));
            sand = Shade(sand, 0.10f * (Noise::Random(x, y, 22) - 0.5f));
            // Caustics: the bright net that waves throw on the floor.
            const float n = Noise::Fractal(fx * 0.025f, fy * 0.06f, 23, 2);
            const float caustic = std::pow(1.0f - std::fabs(2.0f * n - 1.0f), 12.0f);
            sand = Shade(sand, 0.35f * caustic * (0.3f + near));
            c.Blend(x, y, sand, Clamp01(fy - top + 0.5f));
        }
    }
}

// A rock: a lumpy dome lit from the upper left, with grain, cracks and moss
// on its top, standing on a soft shadow.
void PaintRock(Canvas& c, Vec2 centre, Vec2 radius, int seed, float haze)
{
    const Rgb base = Mix(Rgb{0.42f, 0.40f, 0.37f}, Rgb{0.34f, 0.37f, 0.43f}, Noise::Random(seed, 0, 31));
    const int x0 = int(centre.x - radius.x * 1.4f), x1 = int(centre.x + radius.x * 1.4f);
    const int y0 = int(centre.y - radius.y * 1.5f), y1 = int(centre.y + radius.y * 0.7f);
    // Contact shadow on the ground.
    FillShapeIn(c, x0, int(centre.y), x1, y1 + 12,
                [&](Vec2 p) { return Sdf::Ellipse(p, centre + Vec2{radius.x * 0.1f, radius.y * 0.45f}, {radius.x * 1.15f, radius.y * 0.3f}); },
                [](Vec2) { return Rgb{0.12f, 0.16f, 0.18f}; }, 0.35f * (1.0f - haze));
    auto lumps = [&](Vec2 p) {
        const Vec2 q{(p.x - centre.x) / radius.x, (p.y - centre.y) / radius.y};
        const float angle = std::atan2(q.y, q.x);
        return 0.28f * (Noise::Fractal(std::cos(angle) * 1.6f + 5.0f, std::sin(angle) * 1.6f + 5.0f, seed, 4) - 0.5f);
    };
    auto shape = [&](Vec2 p) {
        const Vec2 q{(p.x - centre.x) / radius.x, (p.y - centre.y) / radius.y};
        const float flat = std::max(0.0f, q.y - 0.35f) * 1.5f;  // flattened where it meets the ground
        return (Length(q) + flat - 1.0f - lumps(p)) * std::min(radius.x, radius.y);
    };
    // Height of the dome, for shading by its slope.
    auto height = [&](Vec2 p) {
        const Vec2 q{(p.x - centre.x) / radius.x, (p.y - centre.y) / radius.y};
        const float r2 = std::min(1.0f, Dot(q, q));
        return std::sqrt(1.0f - r2) * std::min(radius.x, radius.y) +
               6.0f * Noise::Fractal(p.x * 0.05f, p.y * 0.05f, seed + 3, 4);
    };
    FillShapeIn(c, x0, y0, x1, y1, shape, [&](Vec2 p) {
        const float hx = height(p + Vec2{1.5f, 0}) - height(p - Vec2{1.5f, 0});
        const float hy = height(p + Vec2{0, 1.5f}) - height(p - Vec2{0, 1.5f});
        const float nx = -hx / 3.0f, ny = -hy / 3.0f, nz = 1.0f;
        const float len = std::sqrt(nx * nx + ny * ny + nz * nz);
        // Light from the upper left and a little towards the viewer.
        const float diffuse = std::max(0.0f, (nx * -0.45f + ny * -0.75f + nz * 0.5f) / len);
        Rgb col = base * (0.35f + 0.85f * diffuse);
        const float grain = Noise::Fractal(p.x * 0.12f, p.y * 0.12f, seed + 1, 3);
        col = Shade(col, 0.18f * (grain - 0.5f));
        const float crack = 1.0f - std::fabs(2.0f * Noise::Fractal(p.x * 0.02f, p.y * 0.035f, seed + 5, 3) - 1.0f);
        col = Shade(col, -0.3f * SmoothStep(0.95f, 0.995f, crack));
        // Moss and algae where the surface faces up.
        const float up = -ny / len;
        const float moss = SmoothStep(0.3f, 0.6f, up + 0.6f * (Noise::Fractal(p.x * 0.05f, p.y * 0.05f, seed + 2, 3) - 0.5f));
        col = Mix(col, Mix(Rgb{0.22f, 0.40f, 0.14f}, Rgb{0.42f, 0.52f, 0.20f}, grain) * (0.6f + 0.6f * diffuse), 0.8f * moss);
        return Mix(col, kWater, haze);
    });
}

// A branching coral grown from its foot upwards.
void PaintCoralBranch(Canvas& c, Vec2 from, float angle, float length, float width, int depth, Noise::Stream& r,
                      Rgb colour, Rgb tip, float haze)
{
    const float a = angle * 0.017453292f;
    const Vec2 to = from + Vec2{std::sin(a), -std::cos(a)} * length;
    const float w0 = width, w1 = width * 0.7f;
    FillShapeIn(c, int(std::min(from.x, to.x) - w0 - 2), int(std::min(from.y, to.y) - w0 - 2),
                int(std::max(from.x, to.x) + w0 + 3), int(std::max(from.y, to.y) + w0 + 3),
                [&](Vec2 p) {
                    const Vec2 pa = p - from, ba = to - from;
                    const float h = std::clamp(Dot(pa, ba) / Dot(ba, ba), 0.0f, 1.0f);
                    return Length(pa - ba * h) - (w0 + (w1 - w0) * h);
                },
                [&](Vec2 p) {
                    const float side = Clamp01(0.5f + (p.x - to.x) / (2.0f * w0 + 0.01f));
                    const Rgb col = depth == 0 ? tip : colour;
                    return Mix(Shade(col, 0.2f - 0.4f * side), kWater, haze);
                });
    if (depth == 0)
        return;
    const int branches = 2 + (r.Next() < 0.3f ? 1 : 0);
    for (int i = 0; i < branches; ++i)
        PaintCoralBranch(c, to, angle + r.Range(-38.0f, 38.0f), length * r.Range(0.6f, 0.85f), w1, depth - 1, r,
                         colour, tip, haze);
}

void PaintCorals(Canvas& c)
{
    struct Coral {
        float x, y, size;
        std::uint32_t colour, tip;
        float haze;
    };
    const Coral corals[] = {
        {215, 408, 30, 0xE0704A, 0xFFC090, 0.25f}, {520, 392, 24, 0xB04AA0, 0xF0A0E0, 0.3f},
        {700, 470, 34, 0xE8A030, 0xFFE080, 0.0f},  {960, 430, 28, 0xD04A60, 0xFFA0B0, 0.1f},
        {365, 488, 22, 0x9A60D0, 0xE0C0FF, 0.0f},
    };
    std::uint32_t seed = 71;
    for (const Coral& coral : corals) {
        Noise::Stream r(seed++);
        for (int stem = 0; stem < 3; ++stem)
            PaintCoralBranch(c, {coral.x + r.Range(-6.0f, 6.0f), coral.y}, r.Range(-30.0f, 30.0f), coral.size,
                             coral.size * 0.16f, 3, r, RgbFromHex(coral.colour), RgbFromHex(coral.tip), coral.haze);
    }
}

// A brain coral: a dome covered in winding grooves.
void PaintBrainCoral(Canvas& c, Vec2 centre, Vec2 radius)
{
    FillShapeIn(c, int(centre.x - radius.x - 2), int(centre.y - radius.y - 2), int(centre.x + radius.x + 2),
                int(centre.y + radius.y * 0.4f), [&](Vec2 p) { return std::max(Sdf::Ellipse(p, centre, radius), p.y - centre.y - radius.y * 0.3f); },
                [&](Vec2 p) {
                    const Vec2 q{(p.x - centre.x) / radius.x, (p.y - centre.y) / radius.y};
                    const float light = Clamp01(0.55f - 0.45f * q.y - 0.2f * q.x);
                    const float groove = std::sin(Noise::Fractal(p.x * 0.06f, p.y * 0.06f, 81, 2) * 40.0f);
                    const Rgb col = Mix(Rgb{0.55f, 0.58f, 0.30f}, Rgb{0.85f, 0.80f, 0.48f}, light);
                    return Shade(col, -0.25f * SmoothStep(0.4f, 0.9f, groove));
                });
}
void PaintRocks(Canvas& c)
{
    const float far[][4] = {{120, 372, 120, 60}, {430, 380, 90, 46}, {760, 368, 150, 70}, {990, 376, 100, 50}};
    for (int i = 0; i < 4; ++i)
        PaintRock(c, {far[i][0], far[i][1]}, {far[i][2], far[i][3]}, 40 + i, 0.35f);
    const float near[][4] = {{40, 440, 110, 70}, {300, 452, 70, 40}, {620, 450, 120, 58}, {880, 462, 60, 34}};
    for (int i = 0; i < 4; ++i)
        PaintRock(c, {near[i][0], near[i][1]}, {near[i][2], near[i][3]}, 50 + i, 0.0f);
}

void PaintPebbles(Canvas& c)
{
    Noise::Stream r(61);
    for (int i = 0; i < 90; ++i) {
        const float x = r.Range(0.0f, float(kWidth));
        const float y = r.Range(SandLine(x) + 20.0f, float(kHeight) + 4.0f);
        const float size = 1.5f + 4.0f * (y - 400.0f) / 112.0f * r.Next();
        const Rgb col = Mix(Rgb{0.55f, 0.50f, 0.44f}, Rgb{0.80f, 0.76f, 0.68f}, r.Next());
        const Vec2 centre{x, y};
        const Vec2 radius{size * 1.4f, size};
        FillShapeIn(c, int(x - 10), int(y - 8), int(x + 10), int(y + 8),
                    [&](Vec2 p) { return Sdf::Ellipse(p, centre, radius); },
                    [&](Vec2 p) { return Shade(col, 0.3f * Clamp01((centre.y - p.y) / size) - 0.15f); });
    }
}

// Shafts of light falling from the surface, brightest near the top.
void PaintLightRays(Canvas& c)
{
    const float rays[][3] = {{260, 45, 0.42f}, {420, 28, 0.30f}, {640, 60, 0.45f}, {880, 35, 0.34f}, {1100, 50, 0.30f}};
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (c.Alpha(x, y) <= 0.0f)
                continue;
            const float along = float(x) + 0.45f * float(y);
            float light = 0.0f;
            for (const auto& ray : rays)
                light += ray[2] * std::exp(-std::pow((along - ray[0]) / ray[1], 4.0f));
            light *= 1.0f - 0.6f * float(y) / float(kHeight);
            const Rgb ray{0.85f, 0.97f, 1.0f};
            c.Set(x, y, Mix(c.Color(x, y), ray, Clamp01(light)), c.Alpha(x, y));
        }
    }
}

}  // namespace

Canvas PaintBackground()
{
    Canvas c(kWidth, kHeight, {}, 0.0f);
    PaintOpenWater(c);
    PaintFarRidge(c);
    PaintKelpForest(c, 3, 14, 0.55f, 140.0f, 300.0f, 330.0f);
    PaintSand(c);
    PaintPebbles(c);
    PaintRocks(c);
    PaintCorals(c);
    PaintBrainCoral(c, {505.0f, 478.0f}, {34.0f, 22.0f});
    PaintKelpForest(c, 7, 10, 0.1f, 120.0f, 330.0f, 450.0f);
    PaintLightRays(c);
    return c;
}

Canvas KeyedForStorage(const Canvas& picture)
{
    Canvas out(picture.Width(), picture.Height());
    const float step = 1.0f / 255.0f;
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            if (picture.Alpha(x, y) < 0.5f) {
                out.Set(x, y, Rgb{0, 0, 0});
                continue;
            }
            Rgb col = picture.Color(x, y);
            // Painted pixels keep at least one step of blue: black is the key.
            if (ToByte(col.r) == 0 && ToByte(col.g) == 0 && ToByte(col.b) == 0)
                col.b = step;
            out.Set(x, y, col);
        }
    }
    return out;
}
