// SPDX-License-Identifier: MIT
#pragma once

#include "environment/PictureCover.h"
#include "environment/RippleGrid.h"

#include <vector>

// The rippled picture as upright rectangles of window pixels that sample a
// still: a window-size image of the same picture, unrippled, over its
// backdrop. Every rectangle maps window position to still coordinates by one
// affine function, so a software renderer can fill it on its fast linear
// path. None reaches outside the window, and drawn in order they give every
// window pixel its sample: where at least two fifths of the window is at rest
// the first rectangle is the whole window, unmoved, and the moving cells come
// over it; otherwise the rectangles cover the window once, without gaps or
// overlaps.
//
// A cell of the grid has four texture coordinates, which no single affine
// function meets in general; each cell takes the affine function that is
// closest to its four corners (their mean at the cell's centre, the mean
// slope of its two opposite edges in each direction). The ripples move the
// coordinates by a few thousandths, so the difference from drawing the cell
// as two triangles stays far below a pixel. Window parts that no cell covers
// (the picture may be narrower than the window) sample the still in place.
struct StillQuad {
    float x0, y0, x1, y1;   // window pixels, x0 < x1, y0 < y1
    // Still coordinates (0..1 over the window) at (x0, y0), (x1, y0), (x1, y1),
    // (x0, y1). They are exactly affine in float arithmetic: the value at
    // (x1, y1) minus the one at (x0, y1) equals the one at (x1, y0) minus the
    // one at (x0, y0), bit for bit, and the same in y.
    float u[4], v[4];
};

// columnX, rowY: the window pixels of the grid's lines as the picture is
// placed (rising, finite); width, height: the window in pixels. Replaces the
// contents of quads; empty for a window of no pixels or lines that do not
// rise.
void BuildStillQuads(const RippleGrid& grid, const double (&columnX)[PictureCover::kLines],
                     const double (&rowY)[PictureCover::kLines], int width, int height,
                     std::vector<StillQuad>& quads);
