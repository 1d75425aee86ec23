// SPDX-License-Identifier: MIT
#pragma once

// For every offset (a, b) between a drop's cell and another cell, a = |Δcolumn|
// and b = |Δrow| in 0..31: the unit direction from the drop to the cell and
// the number of frames its ring needs to get there. Built once, so the ripple
// update evaluates no square root per frame.
class RippleDistanceTable {
public:
    static constexpr int kSize = 32;
    // Frames a ring needs to travel 31 cells.
    static constexpr int kFramesPer31Cells = 800;

    struct Entry {
        double ux;   // a / d, 0 for (0, 0); six significant digits
        double uy;   // b / d, 0 for (0, 0); six significant digits
        int delay;   // frames: d * 800 / 31, truncated
    };

    static const RippleDistanceTable& Get();

    // a, b: 0..31 (callers guarantee it).
    const Entry& At(int a, int b) const { return m_entries[a][b]; }

private:
    RippleDistanceTable();
    Entry m_entries[kSize][kSize];
};
