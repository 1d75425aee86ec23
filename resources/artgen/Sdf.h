// SPDX-License-Identifier: MIT
#pragma once
#include "Canvas.h"

#include <cmath>
#include <vector>

// Signed distances to simple shapes (negative inside), in the units of the
// points given (pixels when painting), and helpers that paint a shape with
// anti-aliased edges: a pixel's coverage is 0.5 - distance at its centre.
struct Vec2 {
    float x = 0, y = 0;
};
inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, float k) { return {a.x * k, a.y * k}; }
inline float Dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
inline float Length(Vec2 a) { return std::sqrt(Dot(a, a)); }
inline Vec2 Rotated(Vec2 p, Vec2 centre, float degrees)
{
    const float a = degrees * 0.017453292f, c = std::cos(a), s = std::sin(a);
    const Vec2 d = p - centre;
    return {centre.x + d.x * c - d.y * s, centre.y + d.x * s + d.y * c};
}

namespace Sdf {

inline float Circle(Vec2 p, Vec2 c, float r) { return Length(p - c) - r; }

// Approximate for ellipses that are not too flat; exact on the axes.
inline float Ellipse(Vec2 p, Vec2 c, Vec2 radius)
{
    const Vec2 q{(p.x - c.x) / radius.x, (p.y - c.y) / radius.y};
    const float k = Length(q);
    return (k - 1.0f) * std::min(radius.x, radius.y);
}

// Rectangle centred at c with half sizes, corners rounded by r.
inline float Box(Vec2 p, Vec2 c, Vec2 half, float r = 0.0f)
{
    const float qx = std::fabs(p.x - c.x) - half.x + r;
    const float qy = std::fabs(p.y - c.y) - half.y + r;
    const float outside = std::sqrt(std::max(qx, 0.0f) * std::max(qx, 0.0f) +
                                    std::max(qy, 0.0f) * std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - r;
}

// A line from a to b with round ends, half thickness r.
inline float Segment(Vec2 p, Vec2 a, Vec2 b, float r)
{
    const Vec2 pa = p - a, ba = b - a;
    const float h = std::clamp(Dot(pa, ba) / std::max(Dot(ba, ba), 1e-12f), 0.0f, 1.0f);
    return Length(pa - ba * h) - r;
}

// Any simple polygon (either winding).
inline float Polygon(Vec2 p, const std::vector<Vec2>& v)
{
    float d = Dot(p - v[0], p - v[0]);
    float sign = 1.0f;
    for (std::size_t i = 0, j = v.size() - 1; i < v.size(); j = i, ++i) {
        const Vec2 e = v[j] - v[i], w = p - v[i];
        const float h = std::clamp(Dot(w, e) / std::max(Dot(e, e), 1e-12f), 0.0f, 1.0f);
        const Vec2 b = w - e * h;
        d = std::min(d, Dot(b, b));
        const bool c1 = p.y >= v[i].y, c2 = p.y < v[j].y, c3 = e.x * w.y > e.y * w.x;
        if ((c1 && c2 && c3) || (!c1 && !c2 && !c3))
            sign = -sign;
    }
    return sign * std::sqrt(d);
}

}  // namespace Sdf

// Paints every pixel with coverage from the distance function f(Vec2 centre).
template <class Distance, class Paint>
void FillShapeWith(Canvas& canvas, Distance f, Paint colorAt, float alpha = 1.0f)
{
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const Vec2 p{float(x) + 0.5f, float(y) + 0.5f};
            const float coverage = Clamp01(0.5f - f(p));
            if (coverage > 0.0f)
                canvas.Blend(x, y, colorAt(p), coverage * alpha);
        }
    }
}

// The same, looking only at the pixels of the box [x0, x1) x [y0, y1).
template <class Distance, class Paint>
void FillShapeIn(Canvas& canvas, int x0, int y0, int x1, int y1, Distance f, Paint colorAt, float alpha = 1.0f)
{
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, canvas.Width());
    y1 = std::min(y1, canvas.Height());
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const Vec2 p{float(x) + 0.5f, float(y) + 0.5f};
            const float coverage = Clamp01(0.5f - f(p));
            if (coverage > 0.0f)
                canvas.Blend(x, y, colorAt(p), coverage * alpha);
        }
    }
}

template <class Distance>
void FillShape(Canvas& canvas, Distance f, Rgb color, float alpha = 1.0f)
{
    FillShapeWith(canvas, f, [color](Vec2) { return color; }, alpha);
}

// Paints the outline of a shape, width pixels wide, centred on its edge.
template <class Distance>
void StrokeShape(Canvas& canvas, Distance f, float width, Rgb color, float alpha = 1.0f)
{
    FillShape(canvas, [&](Vec2 p) { return std::fabs(f(p)) - width * 0.5f; }, color, alpha);
}
