// SPDX-License-Identifier: MIT
#include "Icons.h"

#include "FishPreview.h"
#include "Sdf.h"

#include <cmath>
#include <stdexcept>

namespace {

const Rgb kInk{0.10f, 0.11f, 0.14f};
const Rgb kWhite{1.0f, 1.0f, 1.0f};

float Union(float a, float b) { return std::min(a, b); }

// Paints a shape with a dark outline of the given width around it.
template <class Distance, class Paint>
void Outlined(Canvas& c, Distance f, Paint fill, float outline = 1.1f, Rgb ink = kInk)
{
    FillShape(c, [&](Vec2 p) { return f(p) - outline; }, ink);
    FillShapeWith(c, f, fill);
}

// ---- hand -----------------------------------------------------------------

float HandShape(Vec2 p, float fingerTop)
{
    float d = Sdf::Segment(p, {12.0f, fingerTop + 2.6f}, {12.0f, 17.0f}, 2.6f);
    d = Union(d, Sdf::Box(p, {16.8f, 22.0f}, {6.8f, 6.2f}, 3.2f));
    d = Union(d, Sdf::Segment(p, {15.6f, 14.8f}, {15.6f, 17.5f}, 2.4f));
    d = Union(d, Sdf::Segment(p, {19.0f, 15.6f}, {19.0f, 18.0f}, 2.3f));
    d = Union(d, Sdf::Segment(p, {22.1f, 17.2f}, {22.1f, 19.6f}, 2.1f));
    d = Union(d, Sdf::Segment(p, {9.6f, 23.0f}, {6.6f, 18.0f}, 2.4f));
    return d;
}

void PaintHand(Canvas& c, float fingerTop)
{
    const Rgb skin{1.0f, 0.85f, 0.68f}, shadow{0.90f, 0.68f, 0.50f};
    Outlined(c, [&](Vec2 p) { return HandShape(p, fingerTop); },
             [&](Vec2 p) { return Mix(skin, shadow, Clamp01((p.x - 9.0f) / 16.0f)); });
    // Creases between the folded fingers.
    for (float x : {17.3f, 20.6f})
        FillShape(c, [&](Vec2 p) { return Sdf::Segment(p, {x, 14.5f}, {x, 18.5f}, 0.45f); }, shadow * 0.8f);
    // The sleeve.
    Outlined(c, [](Vec2 p) { return Sdf::Box(p, {17.0f, 29.8f}, {7.2f, 2.4f}, 1.0f); },
             [](Vec2) { return Rgb{0.20f, 0.45f, 0.85f}; });
}

// ---- magnifier ------------------------------------------------------------

void PaintMagnifier(Canvas& c, int sign, bool pressed)
{
    const Vec2 centre{12.5f, 12.5f};
    Outlined(c, [](Vec2 p) { return Sdf::Segment(p, {19.5f, 19.5f}, {28.0f, 28.0f}, 3.0f); },
             [](Vec2 p) { return Mix(Rgb{0.45f, 0.28f, 0.14f}, Rgb{0.25f, 0.14f, 0.06f}, Clamp01((p.x - p.y + 4.0f) / 8.0f)); });
    const Rgb glass = pressed ? Rgb{1.0f, 0.93f, 0.55f} : Rgb{0.72f, 0.90f, 1.0f};
    Outlined(c, [&](Vec2 p) { return Sdf::Circle(p, centre, 9.5f); },
             [](Vec2 p) { return Mix(Rgb{0.55f, 0.60f, 0.70f}, Rgb{0.30f, 0.34f, 0.42f}, Clamp01((p.y - 4.0f) / 18.0f)); });
    FillShapeWith(c, [&](Vec2 p) { return Sdf::Circle(p, centre, 7.2f); },
                  [&](Vec2 p) { return Mix(Shade(glass, 0.4f), glass, Clamp01((p.y - 6.0f) / 12.0f)); });
    // A glint on the glass.
    FillShape(c, [&](Vec2 p) { return std::max(std::fabs(Sdf::Circle(p, centre, 5.2f)) - 0.8f, p.x + p.y - 22.0f); },
              kWhite, 0.8f);
    const Rgb mark = sign > 0 ? Rgb{0.05f, 0.45f, 0.15f} : Rgb{0.75f, 0.10f, 0.10f};
    const float arm = pressed ? 4.6f : 4.0f;
    FillShape(c, [&](Vec2 p) { return Sdf::Segment(p, {centre.x - arm, centre.y}, {centre.x + arm, centre.y}, 1.3f); }, mark);
    if (sign > 0)
        FillShape(c, [&](Vec2 p) { return Sdf::Segment(p, {centre.x, centre.y - arm}, {centre.x, centre.y + arm}, 1.3f); }, mark);
}

// ---- food can -------------------------------------------------------------

// A shaker of fish food turned by angle degrees, its open end at `mouth`.
void PaintFoodCan(Canvas& c, Vec2 mouth, float angle)
{
    const float a = angle * 0.017453292f;
    const Vec2 axis{std::cos(a), std::sin(a)};  // from the mouth to the bottom
    const Vec2 centre = mouth + axis * 9.0f;
    auto local = [&](Vec2 p) {
        const Vec2 d = p - centre;
        return Vec2{Dot(d, axis), -d.x * axis.y + d.y * axis.x};
    };
    Outlined(c, [&](Vec2 p) { return Sdf::Box(local(p), {0, 0}, {8.5f, 6.0f}, 1.5f); },
             [&](Vec2 p) {
                 const Vec2 q = local(p);
                 const Rgb label = std::fabs(q.x) < 3.5f ? Rgb{0.98f, 0.55f, 0.10f} : Rgb{0.85f, 0.88f, 0.92f};
                 return Shade(label, -0.35f * Clamp01((q.y + 6.0f) / 12.0f) + 0.15f);
             });
    // The cap with its holes.
    Outlined(c, [&](Vec2 p) { return Sdf::Box(local(p), {-8.2f, 0}, {1.6f, 6.8f}, 0.8f); },
             [](Vec2) { return Rgb{0.85f, 0.15f, 0.15f}; }, 0.9f);
    // A little fish on the label.
    FillShape(c, [&](Vec2 p) { return Sdf::Ellipse(local(p), {0.3f, 0}, {2.2f, 1.4f}); }, Rgb{0.15f, 0.35f, 0.85f});
}

void PaintFlakes(Canvas& c, const Vec2* where, int count)
{
    const Rgb colours[] = {{0.95f, 0.30f, 0.15f}, {0.98f, 0.82f, 0.20f}, {0.35f, 0.75f, 0.25f}};
    for (int i = 0; i < count; ++i) {
        const Vec2 p0 = where[i];
        Outlined(c, [&](Vec2 p) { return Sdf::Box(Rotated(p, p0, 30.0f * float(i)), p0, {1.3f, 1.0f}, 0.3f); },
                 [&](Vec2) { return colours[i % 3]; }, 0.7f);
    }
}

// ---- other icons ------------------------------------------------------------

void PaintFishGlyph(Canvas& c)
{
    auto body = [](Vec2 p) { return Sdf::Ellipse(p, {13.5f, 18.0f}, {10.5f, 7.0f}); };
    auto tail = [](Vec2 p) { return Sdf::Polygon(p, {{21.0f, 18.0f}, {30.0f, 11.0f}, {28.0f, 18.0f}, {30.0f, 25.0f}}); };
    Outlined(c, [&](Vec2 p) { return Union(body(p), tail(p)); },
             [](Vec2 p) { return Mix(Rgb{1.0f, 0.62f, 0.15f}, Rgb{0.92f, 0.38f, 0.05f}, Clamp01((p.y - 11.0f) / 14.0f)); });
    FillShape(c, [&](Vec2 p) { return std::max(body(p), std::fabs(p.x - 12.0f - 0.1f * (p.y - 18.0f)) - 1.8f); }, kWhite);
    FillShape(c, [](Vec2 p) { return Sdf::Circle(p, {7.5f, 16.5f}, 1.5f); }, kInk);
    // The green "add" badge.
    Outlined(c, [](Vec2 p) { return Sdf::Circle(p, {24.5f, 7.5f}, 6.2f); },
             [](Vec2 p) { return Mix(Rgb{0.35f, 0.85f, 0.35f}, Rgb{0.10f, 0.55f, 0.15f}, Clamp01((p.y - 2.0f) / 11.0f)); }, 1.0f);
    FillShape(c, [](Vec2 p) { return Union(Sdf::Segment(p, {21.0f, 7.5f}, {28.0f, 7.5f}, 1.2f), Sdf::Segment(p, {24.5f, 4.0f}, {24.5f, 11.0f}, 1.2f)); }, kWhite);
}

void PaintNotes(Canvas& c)
{
    const Rgb blue{0.12f, 0.25f, 0.70f};
    auto head = [](Vec2 p, Vec2 centre) { return Sdf::Ellipse(Rotated(p, centre, 20.0f), centre, {4.3f, 3.1f}); };
    auto shape = [&](Vec2 p) {
        float d = Union(head(p, {8.5f, 25.0f}), head(p, {22.0f, 22.0f}));
        d = Union(d, Sdf::Segment(p, {12.2f, 24.0f}, {12.2f, 7.0f}, 1.0f));
        d = Union(d, Sdf::Segment(p, {25.7f, 21.0f}, {25.7f, 4.0f}, 1.0f));
        d = Union(d, Sdf::Polygon(p, {{11.2f, 5.0f}, {26.7f, 2.0f}, {26.7f, 6.5f}, {11.2f, 9.5f}}));
        return d;
    };
    Outlined(c, shape, [&](Vec2 p) { return Mix(Shade(blue, 0.35f), blue, Clamp01(p.y / 28.0f)); }, 0.9f, Rgb{0.03f, 0.06f, 0.2f});
    FillShape(c, [](Vec2 p) { return Sdf::Ellipse(p, {7.3f, 23.8f}, {1.5f, 0.9f}); }, kWhite, 0.7f);
    FillShape(c, [](Vec2 p) { return Sdf::Ellipse(p, {20.8f, 20.8f}, {1.5f, 0.9f}); }, kWhite, 0.7f);
}

void PaintPicture(Canvas& c)
{
    Outlined(c, [](Vec2 p) { return Sdf::Box(p, {16, 16}, {14.5f, 11.5f}, 1.5f); },
             [](Vec2 p) { return Mix(Rgb{0.80f, 0.58f, 0.32f}, Rgb{0.55f, 0.35f, 0.16f}, Clamp01((p.y - 4.0f) / 24.0f)); });
    auto inner = [](Vec2 p) { return Sdf::Box(p, {16, 16}, {11.5f, 8.5f}, 0.5f); };
    FillShapeWith(c, inner, [](Vec2 p) { return Mix(Rgb{0.45f, 0.75f, 1.0f}, Rgb{0.80f, 0.92f, 1.0f}, Clamp01((p.y - 7.0f) / 17.0f)); });
    FillShape(c, [&](Vec2 p) { return std::max(inner(p), Sdf::Circle(p, {22.0f, 11.5f}, 2.8f)); }, Rgb{1.0f, 0.85f, 0.2f});
    FillShapeWith(c, [&](Vec2 p) { return std::max(inner(p), Union(Sdf::Circle(p, {10.0f, 30.0f}, 11.0f), Sdf::Circle(p, {23.0f, 32.0f}, 11.0f))); },
                  [](Vec2 p) { return Mix(Rgb{0.40f, 0.75f, 0.30f}, Rgb{0.15f, 0.50f, 0.15f}, Clamp01((p.y - 18.0f) / 7.0f)); });
}

void PaintExit(Canvas& c)
{
    const Vec2 centre{16, 16};
    Outlined(c, [&](Vec2 p) { return Sdf::Circle(p, centre, 13.5f); },
             [](Vec2 p) { return Mix(Rgb{1.0f, 0.40f, 0.35f}, Rgb{0.72f, 0.05f, 0.05f}, Clamp01((p.y - 3.0f) / 26.0f)); });
    // The power sign: an open ring and a bar through its gap.
    FillShape(c, [&](Vec2 p) {
        const float ring = std::fabs(Sdf::Circle(p, centre, 7.2f)) - 1.5f;
        const Vec2 d = p - centre;
        const float gap = 2.6f - Length(Vec2{d.x, 0.0f}) - (d.y < -2.0f ? 0.0f : 100.0f);
        return std::max(ring, gap);
    }, kWhite);
    FillShape(c, [&](Vec2 p) { return Sdf::Segment(p, {16.0f, 6.5f}, {16.0f, 15.5f}, 1.5f); }, kWhite);
}

void PaintCheck(Canvas& c, bool ticked)
{
    const Vec2 centre{8, 8};
    if (!ticked) {
        Outlined(c, [&](Vec2 p) { return Sdf::Circle(p, centre, 6.3f); },
                 [](Vec2 p) { return Mix(Rgb{0.95f, 0.95f, 0.95f}, Rgb{0.72f, 0.74f, 0.78f}, Clamp01((p.y - 2.0f) / 12.0f)); }, 1.0f,
                 Rgb{0.30f, 0.32f, 0.36f});
        return;
    }
    Outlined(c, [&](Vec2 p) { return Sdf::Circle(p, centre, 6.3f); },
             [](Vec2 p) { return Mix(Rgb{0.45f, 0.90f, 0.45f}, Rgb{0.10f, 0.58f, 0.18f}, Clamp01((p.y - 2.0f) / 12.0f)); }, 1.0f,
             Rgb{0.05f, 0.30f, 0.08f});
    FillShape(c, [](Vec2 p) { return Union(Sdf::Segment(p, {4.8f, 8.2f}, {7.1f, 10.6f}, 1.0f), Sdf::Segment(p, {7.1f, 10.6f}, {11.3f, 5.3f}, 1.0f)); }, kWhite);
}

// A light halo around everything painted, so a cursor shows on dark water
// and on light sand alike.
Canvas WithHalo(const Canvas& c)
{
    Canvas out(c.Width(), c.Height(), kWhite, 0.0f);
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            float a = 0.0f;
            for (int j = -1; j <= 1; ++j)
                for (int i = -1; i <= 1; ++i)
                    if (c.Inside(x + i, y + j))
                        a = std::max(a, c.Alpha(x + i, y + j) * ((i && j) ? 0.6f : 1.0f));
            out.Set(x, y, kWhite, 0.85f * a);
        }
    out.Draw(c, 0, 0);
    return out;
}

}  // namespace

Canvas PaintIcon(int id)
{
    if (id == 183 || id == 184) {
        Canvas c(16, 16, {}, 0.0f);
        PaintCheck(c, id == 184);
        return c;
    }
    Canvas c(32, 32, {}, 0.0f);
    switch (id) {
    case 136: {
        PaintFoodCan(c, {9.0f, 18.0f}, -40.0f);
        const Vec2 flakes[] = {{5.0f, 23.5f}, {10.0f, 26.5f}, {4.0f, 29.5f}, {13.0f, 30.0f}};
        PaintFlakes(c, flakes, 4);
        break;
    }
    case 160: PaintHand(c, 1.0f); break;
    case 134: PaintMagnifier(c, +1, false); break;
    case 135: PaintMagnifier(c, -1, false); break;
    case 180: PaintFishGlyph(c); break;
    case 253: PaintNotes(c); break;
    case 232: PaintPicture(c); break;
    case 175: PaintExit(c); break;
    default: throw std::runtime_error("no icon " + std::to_string(id));
    }
    return c;
}

CursorArt PaintCursor(int id)
{
    Canvas c(32, 32, {}, 0.0f);
    int hotX = 0, hotY = 0;
    switch (id) {
    case 158: PaintHand(c, 1.0f); hotX = 12; hotY = 1; break;
    case 159: {
        PaintHand(c, 4.0f);
        // Little strokes around the pressing fingertip.
        for (const auto& stroke : {std::pair<Vec2, Vec2>{{6.5f, 3.0f}, {8.5f, 4.5f}}, {{17.5f, 3.0f}, {15.5f, 4.5f}}, {{12.0f, 0.5f}, {12.0f, 0.6f}}})
            FillShape(c, [&](Vec2 p) { return Sdf::Segment(p, stroke.first, stroke.second, 0.7f); }, Rgb{0.95f, 0.45f, 0.1f});
        hotX = 12;
        hotY = 3;
        break;
    }
    case 163: PaintFoodCan(c, {8.0f, 8.0f}, 45.0f); hotX = 4; hotY = 4; break;
    case 164: {
        PaintFoodCan(c, {8.0f, 8.0f}, 45.0f);
        const Vec2 flakes[] = {{3.0f, 4.5f}, {6.0f, 2.0f}, {2.0f, 9.0f}};
        PaintFlakes(c, flakes, 3);
        hotX = 4;
        hotY = 4;
        break;
    }
    case 167: PaintMagnifier(c, +1, false); hotX = 12; hotY = 12; break;
    case 177: PaintMagnifier(c, +1, true); hotX = 12; hotY = 12; break;
    case 169: PaintMagnifier(c, -1, false); hotX = 12; hotY = 12; break;
    case 178: PaintMagnifier(c, -1, true); hotX = 12; hotY = 12; break;
    default: throw std::runtime_error("no cursor " + std::to_string(id));
    }
    return {WithHalo(c), hotX, hotY};
}

Canvas PaintProgramIcon(const Canvas& fishTexture, int size)
{
    // Drawn on a 64-unit grid; k turns grid units into this size's pixels.
    const float k = float(size) / 64.0f;
    auto at = [k](Vec2 p) { return p * (1.0f / k); };
    Canvas c(size, size, {}, 0.0f);
    auto tile = [&](Vec2 p) { return Sdf::Box(at(p), {32, 32}, {30.5f, 30.5f}, 10.0f) * k; };
    FillShape(c, [&](Vec2 p) { return tile(p) - 1.2f * k; }, Rgb{0.03f, 0.15f, 0.30f});
    FillShapeWith(c, tile, [&](Vec2 p) {
        return Mix(Rgb{0.25f, 0.70f, 0.95f}, Rgb{0.03f, 0.25f, 0.55f}, Clamp01((at(p).y - 2.0f) / 60.0f));
    });
    FillShapeWith(c, [&](Vec2 p) { return std::max(tile(p), (50.0f + 3.0f * std::sin(at(p).x * 0.15f) - at(p).y) * k); },
                  [](Vec2) { return Rgb{0.85f, 0.76f, 0.55f}; });
    const float bubbles[3][3] = {{46.0f, 13.0f, 3.0f}, {52.0f, 8.0f, 2.0f}, {49.0f, 20.0f, 1.6f}};
    for (const auto& b : bubbles)
        StrokeShape(c, [&](Vec2 p) { return Sdf::Circle(at(p), {b[0], b[1]}, b[2]) * k; }, 1.1f * k, kWhite, 0.85f);
    const Canvas fish = RenderFishSideView(fishTexture, int(std::lround(52 * k)), int(std::lround(30 * k)));
    c.Draw(fish, (size - fish.Width()) / 2, int(std::lround(17 * k)));
    return c;
}
