// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

// What the bound 2D texture's filter can fetch, and whether all of it is
// fully opaque (alpha 255). Lets the picture pass know, per grid cell, that
// blending cannot change a pixel there.
//
// Refresh() reads the first level of the texture bound to GL_TEXTURE_2D and
// keeps a table of its non-opaque texels; it is rebuilt only when the texels
// changed since the last call, so an unchanged picture costs one read-back
// and one comparison per frame.
//
// Texture coordinates are in texture units (0..1 spans the texture once).
class TexelOpacity {
public:
    // Largest first level, in texels, that is read back; larger textures
    // are never judged opaque (the read-back would cost more than it saves).
    static constexpr int kMaxTexels = 1024 * 1024;

    // Reads the bound texture. Returns false, and judges nothing opaque until
    // the next call, when the texture cannot be judged: no texture image, a
    // first level larger than kMaxTexels, a filter that can fetch a smaller
    // level (any mipmapped minifying filter), or a wrap mode other than
    // GL_REPEAT and GL_CLAMP_TO_EDGE. Needs a current GL context.
    bool Refresh();

    // True when every texel that GL_LINEAR or GL_NEAREST filtering can fetch
    // for any coordinate in [sMin, sMax] x [tMin, tMax] has alpha 255. One
    // texel of slack on every side covers the rasteriser's rounding of the
    // interpolated coordinates.
    bool Opaque(double sMin, double sMax, double tMin, double tMax) const;

    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    struct Span {   // texel columns (or rows) first..last, already wrapped
        int first, last;
    };
    int Spans(double low, double high, int size, bool repeat, Span (&out)[2]) const;
    long long NonOpaqueIn(const Span& columns, const Span& rows) const;
    void RebuildCounts();

    int m_width = 0;
    int m_height = 0;
    bool m_repeatS = true;
    bool m_repeatT = true;
    bool m_usable = false;
    std::vector<std::uint8_t> m_texels;       // RGBA, first row is t = 0
    std::vector<std::uint8_t> m_readBack;     // this frame's read, compared with m_texels
    // Summed-area table of non-opaque texels: entry (x, y) counts those in
    // columns < x and rows < y; (width + 1) x (height + 1) entries.
    std::vector<std::int32_t> m_counts;
};
