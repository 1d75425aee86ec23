// SPDX-License-Identifier: MIT
#include "FishPreview.h"

#include "FishShape.h"

#include <cmath>
#include <vector>

using FishShape::Fin;

namespace {

class SideView {
public:
    SideView(const Canvas& texture, int width, int height, int supersample)
        : m_texture(texture), m_canvas(width * supersample, height * supersample, {}, 0.0f),
          m_marks(std::size_t(width) * supersample * height * supersample, -1)
    {
        m_scale = std::min(float(m_canvas.Width()) / 1.08f, float(m_canvas.Height()) / 0.62f);
        m_centre = {float(m_canvas.Width()) * 0.5f, float(m_canvas.Height()) * 0.5f};
    }

    // Splats a patch: position(a, b) in model units, texcoord(a, b), with a
    // brightness factor for a little roundness.
    template <class Position, class TexCoord, class Light>
    void Patch(Position position, TexCoord texcoord, Light light, float opacity)
    {
        const Vec2 p00 = ToPixel(position(0.0f, 0.0f)), p11 = ToPixel(position(1.0f, 1.0f));
        const Vec2 p10 = ToPixel(position(1.0f, 0.0f)), p01 = ToPixel(position(0.0f, 1.0f));
        const float extentA = std::max(Length(p10 - p00), Length(p11 - p01));
        const float extentB = std::max(Length(p01 - p00), Length(p11 - p10));
        const int na = int(extentA * 2.0f) + 2, nb = int(extentB * 2.0f) + 2;
        for (int j = 0; j <= nb; ++j) {
            for (int i = 0; i <= na; ++i) {
                const float a = float(i) / float(na), b = float(j) / float(nb);
                const Vec2 p = ToPixel(position(a, b));
                const int x = int(std::floor(p.x)), y = int(std::floor(p.y));
                if (!m_canvas.Inside(x, y) || Stamp(x, y) == m_layer)
                    continue;
                const Vec2 st = texcoord(a, b);
                const Rgb c = m_texture.Sample(st.x * float(m_texture.Width()), (1.0f - st.y) * float(m_texture.Height()));
                Mark(x, y);
                m_canvas.Blend(x, y, Clamp01(c * light(a, b)), opacity);
            }
        }
    }

    void Eye()
    {
        const Vec2 c = ToPixel(FishShape::EyeViewCentre());
        const float r = FishShape::EyeViewRadius() * m_scale;
        const Vec2 ec = FishShape::EyeCentre(), er = FishShape::EyeRadii();
        for (int y = int(c.y - r) - 1; y <= int(c.y + r) + 1; ++y)
            for (int x = int(c.x - r) - 1; x <= int(c.x + r) + 1; ++x) {
                const Vec2 q{(float(x) + 0.5f - c.x) / r, -(float(y) + 0.5f - c.y) / r};
                if (Length(q) > 1.0f)
                    continue;
                const float s = ec.x + q.x * er.x, t = ec.y + q.y * er.y;
                m_canvas.Blend(x, y, m_texture.Sample(s * float(m_texture.Width()), (1.0f - t) * float(m_texture.Height())), 1.0f);
            }
    }

    void NextLayer() { ++m_layer; }
    Canvas Result(int supersample) const { return m_canvas.Downsampled(supersample); }

private:
    Vec2 ToPixel(Vec2 model) const { return {m_centre.x + (model.x + 0.02f) * m_scale, m_centre.y - (model.y - 0.0f) * m_scale}; }
    // Each layer paints a pixel once, so overlapping splats do not pile up.
    int Stamp(int x, int y) const { return m_marks[std::size_t(y) * m_canvas.Width() + x]; }
    void Mark(int x, int y) { m_marks[std::size_t(y) * m_canvas.Width() + x] = m_layer; }

    const Canvas& m_texture;
    Canvas m_canvas;
    float m_scale = 1.0f;
    Vec2 m_centre;
    int m_layer = 0;
    std::vector<int> m_marks;
};

}  // namespace


Canvas RenderFishSideView(const Canvas& texture, int width, int height)
{
    constexpr int kSuper = 3;
    SideView view(texture, width, height, kSuper);
    auto flat = [](float, float) { return 1.0f; };
    auto fin = [&](Fin f, float opacity) {
        view.NextLayer();
        view.Patch([f](float a, float b) { return FishShape::FinPosition(f, a, b); },
                   [f](float a, float b) { return FishShape::FinTexCoord(f, a, b); }, flat, opacity);
    };
    fin(Fin::Dorsal, 0.9f);
    fin(Fin::Caudal, 0.9f);
    fin(Fin::Anal, 0.9f);
    fin(Fin::Pelvic, 0.9f);
    view.NextLayer();
    // The body, from the snout tip to the tail root; the snout takes the
    // head end of the texture.
    view.Patch(
        [](float a, float b) {
            const float x = FishShape::kSnoutX + a * (FishShape::kBodyTailX - FishShape::kSnoutX);
            const float lo = FishShape::VentralZ(x), hi = FishShape::DorsalZ(x);
            return Vec2{x, lo + b * (hi - lo)};
        },
        [](float a, float b) {
            const float x = FishShape::kSnoutX + a * (FishShape::kBodyTailX - FishShape::kSnoutX);
            const float u = std::max(0.0f, (x - FishShape::kBodyHeadX) / (FishShape::kBodyTailX - FishShape::kBodyHeadX));
            return FishShape::BodyTexCoord(u, b);
        },
        [](float, float b) { return 0.72f + 0.33f * std::sin(3.1415927f * std::clamp(b * 0.9f + 0.08f, 0.0f, 1.0f)); },
        1.0f);
    fin(Fin::Pectoral, 0.85f);
    view.Eye();
    return view.Result(kSuper);
}
