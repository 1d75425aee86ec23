// SPDX-License-Identifier: MIT
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>

// Linear-ish working colours of the art generator: three floats in 0..1.
struct Rgb {
    float r = 0, g = 0, b = 0;
};

inline Rgb RgbFromHex(std::uint32_t hex)
{
    return {float((hex >> 16) & 0xFF) / 255.0f, float((hex >> 8) & 0xFF) / 255.0f,
            float(hex & 0xFF) / 255.0f};
}

inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator-(Rgb a, Rgb b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }
inline Rgb operator*(Rgb a, float k) { return {a.r * k, a.g * k, a.b * k}; }
inline Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }

inline float Clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }
inline float Mix(float a, float b, float t) { return a + (b - a) * t; }
inline Rgb Mix(Rgb a, Rgb b, float t) { return a + (b - a) * t; }
inline Rgb Clamp01(Rgb c) { return {Clamp01(c.r), Clamp01(c.g), Clamp01(c.b)}; }

inline float SmoothStep(float e0, float e1, float x)
{
    const float t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}

inline float Luma(Rgb c) { return 0.299f * c.r + 0.587f * c.g + 0.114f * c.b; }

// Moves a colour towards white (k > 0) or black (k < 0).
inline Rgb Shade(Rgb c, float k)
{
    return k >= 0 ? Mix(c, Rgb{1, 1, 1}, k) : c * (1.0f + k);
}

// Scales the saturation around the colour's own luma.
inline Rgb Saturate(Rgb c, float k)
{
    const float y = Luma(c);
    return Clamp01(Rgb{y, y, y} + (c - Rgb{y, y, y}) * k);
}

inline std::uint8_t ToByte(float v) { return std::uint8_t(std::lround(Clamp01(v) * 255.0f)); }
