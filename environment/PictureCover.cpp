// SPDX-License-Identifier: MIT
#include "environment/PictureCover.h"

#include <algorithm>
#include <cmath>

namespace {
// How far, in pixels, a left-out pixel's centre keeps from anything the
// picture might not paint.
constexpr double kMargin = 1.0;
// Past this many rectangles (a picture with see-through texels all over) the
// plane is drawn whole: each rectangle is a draw of its own.
constexpr std::size_t kMaxRects = 48;

bool AllFinite(const double (&values)[PictureCover::kLines])
{
    return std::all_of(std::begin(values), std::end(values), [](double v) { return std::isfinite(v); });
}
}  // namespace

PictureCover::PictureCover(const double (&columnX)[kLines], const double (&rowY)[kLines],
                           const bool* opaque, int width, int height)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0))
{
    const double left = columnX[0], right = columnX[kLines - 1];
    const double bottom = rowY[0], top = rowY[kLines - 1];
    const bool ordered = AllFinite(columnX) && AllFinite(rowY) && left < right && bottom < top &&
                         std::is_sorted(std::begin(columnX), std::end(columnX)) &&
                         std::is_sorted(std::begin(rowY), std::end(rowY));
    if (!ordered) {
        AddClipped(0, 0, m_width, m_height);
        return;
    }
    // The window outside the picture: below, above, left of and right of it.
    AddClipped(0, 0, m_width, bottom + kMargin);
    AddClipped(0, top - kMargin, m_width, m_height);
    AddClipped(0, 0, left + kMargin, m_height);
    AddClipped(right - kMargin, 0, m_width, m_height);
    // Each row of cells: its runs of cells that may let the plane through.
    for (int j = 0; j < kCells; ++j) {
        int i = 0;
        while (i < kCells) {
            if (opaque[kCells * i + j]) {
                ++i;
                continue;
            }
            const int first = i;
            while (i < kCells && !opaque[kCells * i + j])
                ++i;
            AddClipped(columnX[first] - kMargin, rowY[j] - kMargin, columnX[i] + kMargin,
                       rowY[j + 1] + kMargin);
        }
    }
    if (m_rects.size() > kMaxRects) {
        m_rects.clear();
        AddClipped(0, 0, m_width, m_height);
    }
}

// Adds the pixels whose centres lie inside [x0, x1) x [y0, y1), widened to
// whole pixels outwards, clipped to the window; nothing when that is empty.
void PictureCover::AddClipped(double x0, double y0, double x1, double y1)
{
    auto clampTo = [](double v, int limit) { return std::clamp(v, 0.0, double(limit)); };
    const int xa = int(std::floor(clampTo(x0, m_width)));
    const int ya = int(std::floor(clampTo(y0, m_height)));
    const int xb = int(std::ceil(clampTo(x1, m_width)));
    const int yb = int(std::ceil(clampTo(y1, m_height)));
    if (xb > xa && yb > ya)
        m_rects.push_back({xa, ya, xb - xa, yb - ya});
}
