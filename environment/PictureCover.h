// SPDX-License-Identifier: MIT
#pragma once

#include "base/PixelRect.h"

#include <cstddef>
#include <vector>

// Where the plane behind the background picture can still show through: the
// window minus every pixel that an opaque cell of the picture is sure to
// paint over. The picture's cells are axis-aligned rectangles on the screen
// (the grid's vertices never move, only its texture coordinates ripple), laid
// edge to edge so that together they paint every pixel of their span once.
//
// A pixel is left out only when its centre lies inside the picture by at
// least one pixel and at least one pixel away from every cell that is not
// opaque: the renderer's own rounding of the cell edges (far below a pixel)
// can then never leave it unpainted. The rectangles may overlap each other
// and opaque cells; drawing the plane twice or under a cell changes nothing.
class PictureCover {
public:
    static constexpr int kLines = 32;            // grid lines per side
    static constexpr int kCells = kLines - 1;    // cells per side

    // columnX: the window x (pixels, may lie outside the window) of each
    // vertical grid line, rising; rowY: the window y of each horizontal line,
    // rising. opaque: per cell, column i and row j, at index kCells * i + j.
    // The window is width x height pixels.
    PictureCover(const double (&columnX)[kLines], const double (&rowY)[kLines], const bool* opaque,
                 int width, int height);

    // The rectangles, clipped to the window, that together hold every pixel
    // the plane must still be drawn on; empty when the picture hides all of
    // it. Runs of see-through cells in a row of cells become one rectangle;
    // when that gives more than a few dozen, the whole window is the one
    // rectangle. Grid lines that are not finite and rising give the whole
    // window too.
    const std::vector<PixelRect>& Uncovered() const { return m_rects; }

private:
    void AddClipped(double x0, double y0, double x1, double y1);

    int m_width;
    int m_height;
    std::vector<PixelRect> m_rects;
};
