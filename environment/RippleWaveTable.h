// SPDX-License-Identifier: MIT
#pragma once

// The radial profile of a ripple ring: how far a cell is pushed as the ring
// passes it, by ring phase. Non-negative, two decaying crests, exactly 0 at
// both ends so that a ring that has not arrived yet (phase clamped to 0) or
// has long passed (phase clamped to 255) moves nothing.
//
// Built once; reading it costs one array access, no exp or sin per frame.
class RippleWaveTable {
public:
    static constexpr int kSize = 256;

    static const RippleWaveTable& Get();

    // phase: 0..255 (callers clamp). Unitless displacement factor.
    double At(int phase) const { return m_values[phase]; }

private:
    RippleWaveTable();
    double m_values[kSize];
};
