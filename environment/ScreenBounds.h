// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

// Window rectangles that hold what a pass drew: each box of model
// coordinates, projected with the matrices and viewport GL holds when it is
// added, becomes the rectangle around its eight corners, widened by a
// margin and cut to the viewport. Rectangles may overlap. A box reaching to
// or behind the eye's plane cannot be bounded that way and makes the whole
// viewport the answer.
class ScreenBounds {
public:
    // Window pixels [x0, x1) x [y0, y1), origin bottom left; never empty.
    struct Rect {
        int x0, y0, x1, y1;
    };
    // Pixels added on every side: rasterisation may touch a pixel whose
    // centre lies outside the projected box by less than one.
    static constexpr int kMargin = 2;

    void Clear()
    {
        m_rects.clear();
        m_whole = false;
    }
    // min, max: opposite corners of the box in the current model coordinates.
    void AddBox(const float (&min)[3], const float (&max)[3]);
    // The same with the matrices (column-major, as GL keeps them) and the
    // viewport (x, y, width, height) given; for tests.
    void AddBox(const float (&min)[3], const float (&max)[3], const double (&modelview)[16],
                const double (&projection)[16], const int (&viewport)[4]);

    const std::vector<Rect>& Rects() const { return m_rects; }
    bool Whole() const { return m_whole; }

private:
    std::vector<Rect> m_rects;
    bool m_whole = false;
};
