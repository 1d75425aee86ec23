// SPDX-License-Identifier: MIT
#include "Canvas.h"

Canvas::Canvas(int width, int height, Rgb fill, float alpha)
    : m_width(width), m_height(height), m_rgb(std::size_t(width) * height, fill),
      m_alpha(std::size_t(width) * height, alpha)
{
}

void Canvas::Set(int x, int y, Rgb c, float alpha)
{
    if (!Inside(x, y))
        return;
    m_rgb[Index(x, y)] = c;
    m_alpha[Index(x, y)] = alpha;
}

void Canvas::Blend(int x, int y, Rgb c, float coverage)
{
    if (!Inside(x, y) || coverage <= 0.0f)
        return;
    coverage = Clamp01(coverage);
    const int i = Index(x, y);
    const float below = m_alpha[i];
    const float out = coverage + below * (1.0f - coverage);
    if (out <= 0.0f)
        return;
    m_rgb[i] = (c * coverage + m_rgb[i] * (below * (1.0f - coverage))) * (1.0f / out);
    m_alpha[i] = out;
}

Rgb Canvas::Sample(float x, float y) const
{
    x -= 0.5f;
    y -= 0.5f;
    const int x0 = std::clamp(int(std::floor(x)), 0, m_width - 1);
    const int y0 = std::clamp(int(std::floor(y)), 0, m_height - 1);
    const int x1 = std::min(x0 + 1, m_width - 1);
    const int y1 = std::min(y0 + 1, m_height - 1);
    const float fx = Clamp01(x - float(x0));
    const float fy = Clamp01(y - float(y0));
    const Rgb top = Mix(Color(x0, y0), Color(x1, y0), fx);
    const Rgb bottom = Mix(Color(x0, y1), Color(x1, y1), fx);
    return Mix(top, bottom, fy);
}

float Canvas::SampleAlpha(float x, float y) const
{
    const int xi = std::clamp(int(std::floor(x)), 0, m_width - 1);
    const int yi = std::clamp(int(std::floor(y)), 0, m_height - 1);
    return Alpha(xi, yi);
}

void Canvas::Draw(const Canvas& src, int x0, int y0)
{
    for (int y = 0; y < src.Height(); ++y)
        for (int x = 0; x < src.Width(); ++x)
            Blend(x0 + x, y0 + y, src.Color(x, y), src.Alpha(x, y));
}

Canvas Canvas::Downsampled(int factor) const
{
    Canvas out(m_width / factor, m_height / factor, {}, 0.0f);
    const float n = float(factor * factor);
    for (int y = 0; y < out.Height(); ++y) {
        for (int x = 0; x < out.Width(); ++x) {
            Rgb sum{};
            float alpha = 0.0f;
            for (int j = 0; j < factor; ++j) {
                for (int i = 0; i < factor; ++i) {
                    const int sx = x * factor + i, sy = y * factor + j;
                    const float a = Alpha(sx, sy);
                    sum = sum + Color(sx, sy) * a;
                    alpha += a;
                }
            }
            out.Set(x, y, alpha > 0.0f ? sum * (1.0f / alpha) : Rgb{}, alpha / n);
        }
    }
    return out;
}

Canvas Canvas::Resized(int width, int height) const
{
    if (width > 0 && m_width % width == 0 && m_height % height == 0 &&
        m_width / width == m_height / height)
        return Downsampled(m_width / width);
    Canvas out(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float sx = (float(x) + 0.5f) * float(m_width) / float(width);
            const float sy = (float(y) + 0.5f) * float(m_height) / float(height);
            out.Set(x, y, Sample(sx, sy), SampleAlpha(sx, sy));
        }
    }
    return out;
}
