// SPDX-License-Identifier: MIT
#pragma once
#include "Color.h"

#include <vector>

// A float RGBA picture, row 0 at the top. Colours are not premultiplied;
// alpha is coverage (1 = opaque).
class Canvas {
public:
    Canvas() = default;
    Canvas(int width, int height, Rgb fill = {}, float alpha = 1.0f);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    Rgb Color(int x, int y) const { return m_rgb[Index(x, y)]; }
    float Alpha(int x, int y) const { return m_alpha[Index(x, y)]; }
    void Set(int x, int y, Rgb c, float alpha = 1.0f);

    // Paints c over the pixel with the given coverage (source-over).
    void Blend(int x, int y, Rgb c, float coverage);

    // Bilinear sample at pixel coordinates (pixel centres at i + 0.5), edges clamped.
    Rgb Sample(float x, float y) const;
    float SampleAlpha(float x, float y) const;

    // Copies src over this canvas with its alpha, top-left corner at (x0, y0).
    void Draw(const Canvas& src, int x0, int y0);
    // Box-filters the picture down by an integer factor (for supersampling).
    Canvas Downsampled(int factor) const;
    // Nearest-neighbour resize to the given size (for contact-sheet thumbnails
    // a box filter is used when shrinking by a whole factor).
    Canvas Resized(int width, int height) const;

private:
    int Index(int x, int y) const { return y * m_width + x; }

    int m_width = 0;
    int m_height = 0;
    std::vector<Rgb> m_rgb;
    std::vector<float> m_alpha;
};
