// SPDX-License-Identifier: MIT
#include "ContactSheet.h"

#include "PixelFont.h"

#include <cmath>

namespace {

constexpr int kMargin = 12;
constexpr int kLabelHeight = 12;
const Rgb kPaper{0.16f, 0.17f, 0.19f};
const Rgb kInk{0.92f, 0.93f, 0.95f};

Canvas Zoomed(const Canvas& picture, int zoom)
{
    Canvas out(picture.Width() * zoom, picture.Height() * zoom, {}, 0.0f);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x)
            out.Set(x, y, picture.Color(x / zoom, y / zoom), picture.Alpha(x / zoom, y / zoom));
    return out;
}

}  // namespace

void ContactSheet::Section(const std::string& title) { m_items.push_back({true, title, {}}); }

void ContactSheet::Add(const std::string& label, const Canvas& picture, int maxWidth, int maxHeight, int zoom)
{
    Canvas shown = zoom > 1 ? Zoomed(picture, zoom) : picture;
    const float k = std::min({1.0f, float(maxWidth) / float(shown.Width()), float(maxHeight) / float(shown.Height())});
    if (k < 1.0f)
        shown = shown.Resized(std::max(1, int(std::lround(float(shown.Width()) * k))),
                              std::max(1, int(std::lround(float(shown.Height()) * k))));
    m_items.push_back({false, label, shown});
}

Canvas ContactSheet::Render() const
{
    // First pass lays out, second paints.
    struct Placed {
        const Item* item;
        int x, y;
    };
    std::vector<Placed> placed;
    int x = kMargin, y = kMargin, rowHeight = 0;
    for (const Item& item : m_items) {
        if (item.section) {
            y += rowHeight + (placed.empty() ? 0 : kMargin);
            x = kMargin;
            placed.push_back({&item, x, y});
            y += 2 * PixelFont::kGlyphHeight + kMargin;
            rowHeight = 0;
            continue;
        }
        const int w = std::max(item.picture.Width(), PixelFont::TextWidth(item.label));
        const int h = item.picture.Height() + kLabelHeight;
        if (x + w > m_width - kMargin && x > kMargin) {
            x = kMargin;
            y += rowHeight + kMargin;
            rowHeight = 0;
        }
        placed.push_back({&item, x, y});
        x += w + kMargin;
        rowHeight = std::max(rowHeight, h);
    }
    Canvas sheet(m_width, y + rowHeight + kMargin, kPaper);
    for (const Placed& p : placed) {
        if (p.item->section) {
            PixelFont::DrawText(sheet, p.x, p.y, p.item->label, Rgb{1.0f, 0.85f, 0.4f}, 2);
            continue;
        }
        const Canvas& pic = p.item->picture;
        for (int j = 0; j < pic.Height(); ++j)
            for (int i = 0; i < pic.Width(); ++i) {
                const bool dark = ((i / 6) + (j / 6)) % 2 == 0;
                sheet.Set(p.x + i, p.y + j, dark ? Rgb{0.55f, 0.55f, 0.58f} : Rgb{0.75f, 0.75f, 0.78f});
            }
        sheet.Draw(pic, p.x, p.y);
        PixelFont::DrawText(sheet, p.x, p.y + pic.Height() + 3, p.item->label, kInk);
    }
    return sheet;
}
