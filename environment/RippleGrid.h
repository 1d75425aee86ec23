// SPDX-License-Identifier: MIT
#pragma once

#include "environment/TexelOpacity.h"

// The rippling background picture: a 32 x 32 grid of vertices spanning -1..1
// in x and y whose texture coordinates are pushed outwards by expanding rings
// around up to 100 drops. The caller's modelview matrix places and sizes it.
//
// Per frame the host calls AddDrop (one new drop), Draw (with the picture's
// texture bound) and Update (advances every ring by one frame). All counts of
// time are frames, all positions window pixels.
class RippleGrid {
public:
    static constexpr int kCells = 32;      // vertices per side
    static constexpr int kDrops = 100;     // drop slots

    // Starts with a 1 x 1 window and no drops; call Setup with the real size.
    RippleGrid();
    virtual ~RippleGrid();

    // The window size in pixels (limited to 1..65536). Clears every drop
    // and lays out the cell positions and base texture coordinates; the
    // current texture coordinates keep their values until the next Update.
    void Setup(int width, int height);

    // A drop at window pixel (x, y), origin at the bottom left. Points outside
    // the window land on the nearest edge cell. Ignored when all 100 slots are
    // busy.
    void AddDrop(int x, int y);

    // One frame: every drop ages by one and the texture coordinates are
    // recomputed from the base coordinates and all rings.
    void Update();

    // Draws the grid as 31 x 31 polygons with the texture that is bound, at
    // z = 0, x and y in -1..1. Needs a current GL context.
    //
    // Where blending with (source alpha, one minus source alpha) is on and a
    // cell can only produce alpha 1 (OpaqueCells), the cell is drawn with
    // blending off: alpha 1 gives the source colour either way, without
    // reading the screen. Those cells go first, then the others with the
    // blending as it stands; cells never overlap, so the order changes no
    // pixel. Leaves the GL state as it found it.
    void Draw() const;

    // Which cells can only produce fully opaque fragments with the bound
    // texture, the current colour and the texturing, lighting and
    // colour-material state: per cell (column i, row j, 0..30, index 31i + j)
    // true when it is sure. All false when it cannot be judged. Reads the
    // bound texture (see TexelOpacity::Refresh).
    static constexpr int kPolygons = kCells - 1;   // polygons per side
    void OpaqueCells(bool (&opaque)[kPolygons * kPolygons]) const;

    // Draw with the cells' opacity judged beforehand (by OpaqueCells, under
    // the state the draw runs with, for the grid as it stands).
    void Draw(const bool (&opaque)[kPolygons * kPolygons]) const;

    struct Cell {
        float x, y;     // position, -1..1
        float s, t;     // current texture coordinate
        float s0, t0;   // base texture coordinate, 0..1
    };
    struct DropInfo {
        int column, row;   // 0..31
        int age;           // frames since the drop fell (starts at 4)
        int lifetime;      // frames the slot stays busy
    };

    // Read access for tests and tools. column, row: 0..31; slot: 0..99.
    const Cell& CellAt(int column, int row) const { return m_cells[column * kCells + row]; }
    DropInfo Drop(int slot) const;
    bool SlotBusy(int slot) const { return m_age[slot] < m_lifetime[slot]; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    int CellIndex(double pixel, int extent) const;
    void DrawCell(int i, int j) const;
    void ApplyDrop(int slot);

    Cell m_cells[kCells * kCells];   // column-major: cell 32 * column + row
    int m_column[kDrops];
    int m_row[kDrops];
    int m_age[kDrops];
    int m_lifetime[kDrops];
    int m_width = 1;
    int m_height = 1;
    int m_diagonal = 1;   // sqrt(W² + H²), truncated
    // What is known of the picture's alpha: a cache of the bound texture,
    // refreshed on every draw, so it changes nothing a caller can see.
    mutable TexelOpacity m_texels;
};
