// SPDX-License-Identifier: MIT
#include "Panels.h"

#include "Noise.h"
#include "PixelFont.h"
#include "Sdf.h"

#include <cmath>
#include <tuple>

namespace {

constexpr int kBarWidth = 2016;
constexpr int kBarHeight = 64;
constexpr float kBarEnd = 1490.0f;  // right end of the bar; the rest is cut away

// The bar's outline: full height on the left, a gently waving lower edge
// and a rounded right end.
float BarShape(Vec2 p)
{
    const float bottom = 58.0f + 2.5f * std::sin(p.x * 0.018f) + 1.5f * std::sin(p.x * 0.047f + 1.0f);
    const float box = Sdf::Box(p, {(kBarEnd - 140.0f) * 0.5f, 0.0f}, {(kBarEnd + 20.0f) * 0.5f, 200.0f}, 0.0f);
    const float end = Sdf::Box(p, {kBarEnd - 60.0f, 0.0f}, {60.0f, 60.0f}, 36.0f);
    return std::max(std::min(box, end), p.y - bottom);
}

Rgb BarColour(Vec2 p)
{
    const float t = Clamp01(p.y / 60.0f);
    Rgb c = Mix(Rgb{0.16f, 0.42f, 0.66f}, Rgb{0.04f, 0.15f, 0.32f}, t);
    // Soft light bands like sunlight on the surface.
    const float wave = std::sin(p.x * 0.012f + 2.0f * std::sin(p.x * 0.003f) + p.y * 0.05f);
    c = Shade(c, 0.06f * wave * (1.0f - t));
    c = Shade(c, 0.04f * (Noise::Fractal(p.x * 0.02f, p.y * 0.05f, 301, 3) - 0.5f));
    // A glossy line along the top.
    c = Shade(c, 0.35f * (1.0f - SmoothStep(0.0f, 3.0f, p.y)));
    return c;
}

void PaintBubbles(Canvas& c)
{
    Noise::Stream r(303);
    for (int i = 0; i < 26; ++i) {
        const Vec2 centre{r.Range(1380.0f, 1470.0f), r.Range(8.0f, 54.0f)};
        const float radius = r.Range(1.5f, 4.5f);
        StrokeShape(c, [&](Vec2 p) { return Sdf::Circle(p, centre, radius); }, 1.0f, Rgb{0.75f, 0.90f, 1.0f}, 0.55f);
        FillShape(c, [&](Vec2 p) { return Sdf::Circle(p, centre + Vec2{-radius * 0.35f, -radius * 0.35f}, radius * 0.25f); },
                  Rgb{1, 1, 1}, 0.7f);
    }
}

}  // namespace

Canvas PaintControlBar()
{
    Canvas bar(kBarWidth, kBarHeight, {}, 0.0f);
    FillShapeWith(bar, BarShape, BarColour);
    // A darker, sunken well for the clock (at x 998..1118, y 22..52).
    FillShape(bar, [](Vec2 p) { return Sdf::Box(p, {1058.0f, 37.0f}, {64.0f, 18.0f}, 5.0f); }, Rgb{0.02f, 0.07f, 0.15f}, 0.85f);
    StrokeShape(bar, [](Vec2 p) { return Sdf::Box(p, {1058.0f, 37.0f}, {64.0f, 18.0f}, 5.0f); }, 1.0f, Rgb{0.35f, 0.60f, 0.85f}, 0.6f);
    PaintBubbles(bar);
    // A light crest along the lower edge, like the underside of a wave.
    FillShape(bar, [](Vec2 p) { return std::max(std::fabs(BarShape(p) + 1.6f) - 1.0f, BarShape(p)); },
              Rgb{0.55f, 0.85f, 1.0f}, 0.75f);
    // Two small fish swimming towards the bubbles.
    for (const auto& place : {std::tuple<float, float, float>{1290.0f, 22.0f, 1.0f}, {1330.0f, 40.0f, 0.75f}}) {
        const float x = std::get<0>(place), y = std::get<1>(place), k = std::get<2>(place);
        auto fish = [=](Vec2 p) {
            const float body = Sdf::Ellipse(p, {x, y}, {9.0f * k, 4.5f * k});
            const float tail = Sdf::Polygon(p, {{x - 7.0f * k, y}, {x - 15.0f * k, y - 5.0f * k}, {x - 15.0f * k, y + 5.0f * k}});
            return std::min(body, tail);
        };
        FillShape(bar, fish, Rgb{0.45f, 0.75f, 0.95f}, 0.55f);
    }
    // Hard edge against the key: no blended fringe may survive as part of
    // the window's shape.
    Canvas out(kBarWidth, kBarHeight, kControlBarKey);
    const std::uint8_t key[3] = {211, 218, 229};
    for (int y = 0; y < kBarHeight; ++y)
        for (int x = 0; x < kBarWidth; ++x) {
            if (bar.Alpha(x, y) < 0.5f)
                continue;
            Rgb col = bar.Color(x, y);
            if (ToByte(col.r) == key[0] && ToByte(col.g) == key[1] && ToByte(col.b) == key[2])
                col.b -= 1.0f / 255.0f;
            out.Set(x, y, col);
        }
    return out;
}

Canvas PaintSpeciesGrid(const std::vector<Canvas>& sideViews, const std::vector<std::string>& names)
{
    Canvas grid(500, 512);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 500; ++x)
            grid.Set(x, y, Mix(Rgb{0.80f, 0.92f, 0.98f}, Rgb{0.55f, 0.78f, 0.92f}, float(y) / 512.0f));
    for (int i = 0; i < int(sideViews.size()) && i < 20; ++i) {
        const int left = 100 * (i % 5) + 2, top = 90 * (i / 5) + 2;
        const Vec2 centre{float(left) + 49.5f, float(top) + 44.5f};
        auto cell = [&](Vec2 p) { return Sdf::Box(p, centre, {47.0f, 42.0f}, 7.0f); };
        FillShapeWith(grid, cell, [&](Vec2 p) {
            return Mix(Rgb{0.97f, 0.99f, 1.0f}, Rgb{0.78f, 0.90f, 0.97f}, Clamp01((p.y - float(top)) / 90.0f));
        });
        StrokeShape(grid, cell, 1.0f, Rgb{0.35f, 0.55f, 0.75f});
        const Canvas& fish = sideViews[i];
        grid.Draw(fish, left + (98 - fish.Width()) / 2, top + 16);
        const std::string& name = names[i];
        PixelFont::DrawText(grid, left + (98 - PixelFont::TextWidth(name)) / 2, top + 74, name, Rgb{0.08f, 0.20f, 0.40f});
    }
    // Below the grid: a strip of sea floor with a hint.
    for (int y = 380; y < 512; ++y)
        for (int x = 0; x < 500; ++x) {
            const float top = 470.0f + 6.0f * std::sin(float(x) * 0.03f);
            if (float(y) >= top)
                grid.Set(x, y, Shade(Rgb{0.86f, 0.78f, 0.58f}, 0.12f * (Noise::Random(x, y, 401) - 0.5f)));
        }
    const std::string hint = "CLICK A FISH, THEN ADD OR DELETE";
    PixelFont::DrawText(grid, (500 - PixelFont::TextWidth(hint)) / 2, 420, hint, Rgb{0.08f, 0.20f, 0.40f});
    return grid;
}
