// SPDX-License-Identifier: MIT
#include "environment/TexelOpacity.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Pixel rows of the read-back are packed tightly.
class PackScope {
public:
    PackScope()
    {
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glPixelStorei(GL_PACK_ROW_LENGTH, 0);
        glPixelStorei(GL_PACK_SKIP_ROWS, 0);
        glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
        glPixelStorei(GL_PACK_SWAP_BYTES, GL_FALSE);
    }
    ~PackScope() { glPopClientAttrib(); }
    PackScope(const PackScope&) = delete;
    PackScope& operator=(const PackScope&) = delete;
};

bool SamplesFirstLevelOnly()
{
    GLint minFilter = 0, magFilter = 0, baseLevel = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, &baseLevel);
    const auto plain = [](GLint f) { return f == GL_LINEAR || f == GL_NEAREST; };
    return plain(minFilter) && plain(magFilter) && baseLevel == 0;
}

// 1 for GL_REPEAT, 0 for GL_CLAMP_TO_EDGE, -1 for a mode that can fetch a
// border colour or a mirrored texel.
int WrapKind(GLenum which)
{
    GLint mode = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, which, &mode);
    if (mode == GL_REPEAT)
        return 1;
    if (mode == GL_CLAMP_TO_EDGE)
        return 0;
    return -1;
}

}  // namespace

bool TexelOpacity::Refresh()
{
    m_usable = false;
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    if (width <= 0 || height <= 0 || (long long)width * height > kMaxTexels || !SamplesFirstLevelOnly())
        return false;
    const int wrapS = WrapKind(GL_TEXTURE_WRAP_S), wrapT = WrapKind(GL_TEXTURE_WRAP_T);
    if (wrapS < 0 || wrapT < 0)
        return false;
    m_readBack.resize(size_t(width) * height * 4);
    {
        PackScope pack;
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, m_readBack.data());
    }
    const bool changed = width != m_width || height != m_height || m_texels.size() != m_readBack.size() ||
                         std::memcmp(m_texels.data(), m_readBack.data(), m_readBack.size()) != 0;
    m_width = width;
    m_height = height;
    m_repeatS = wrapS == 1;
    m_repeatT = wrapT == 1;
    if (changed) {
        m_texels.swap(m_readBack);
        RebuildCounts();
    }
    m_usable = true;
    return true;
}

void TexelOpacity::RebuildCounts()
{
    const int stride = m_width + 1;
    m_counts.assign(size_t(stride) * (m_height + 1), 0);
    for (int y = 0; y < m_height; ++y) {
        std::int32_t rowSum = 0;
        const std::uint8_t* row = &m_texels[size_t(y) * m_width * 4];
        for (int x = 0; x < m_width; ++x) {
            rowSum += row[4 * x + 3] != 255;
            m_counts[size_t(y + 1) * stride + x + 1] = m_counts[size_t(y) * stride + x + 1] + rowSum;
        }
    }
}

// The texel indices a filter may fetch for coordinates low..high along a side
// of `size` texels: those under the linear filter's 2 x 2 footprint, one more
// on each side for rounding, wrapped or clamped. Returns the number of spans
// (0 when the range cannot be judged).
int TexelOpacity::Spans(double low, double high, int size, bool repeat, Span (&out)[2]) const
{
    if (!std::isfinite(low) || !std::isfinite(high) || low > high)
        return 0;
    const double first = std::floor(low * size - 0.5) - 1.0;
    const double last = std::floor(high * size - 0.5) + 2.0;
    if (!repeat) {
        out[0] = {int(std::clamp(first, 0.0, double(size - 1))), int(std::clamp(last, 0.0, double(size - 1)))};
        return 1;
    }
    if (last - first + 1.0 >= size) {
        out[0] = {0, size - 1};
        return 1;
    }
    const int start = int(first - std::floor(first / size) * size);   // 0..size-1
    const int end = start + int(last - first);
    if (end < size) {
        out[0] = {start, end};
        return 1;
    }
    out[0] = {start, size - 1};
    out[1] = {0, end - size};
    return 2;
}

long long TexelOpacity::NonOpaqueIn(const Span& columns, const Span& rows) const
{
    const int stride = m_width + 1;
    const auto at = [&](int x, int y) { return (long long)m_counts[size_t(y) * stride + x]; };
    return at(columns.last + 1, rows.last + 1) - at(columns.first, rows.last + 1) -
           at(columns.last + 1, rows.first) + at(columns.first, rows.first);
}

bool TexelOpacity::Opaque(double sMin, double sMax, double tMin, double tMax) const
{
    if (!m_usable)
        return false;
    Span columns[2], rows[2];
    const int nColumns = Spans(sMin, sMax, m_width, m_repeatS, columns);
    const int nRows = Spans(tMin, tMax, m_height, m_repeatT, rows);
    if (nColumns == 0 || nRows == 0)
        return false;
    for (int c = 0; c < nColumns; ++c)
        for (int r = 0; r < nRows; ++r)
            if (NonOpaqueIn(columns[c], rows[r]) != 0)
                return false;
    return true;
}
