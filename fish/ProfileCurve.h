// SPDX-License-Identifier: MIT
#pragma once

// A smooth curve through given knots (t_i, v_i), t strictly increasing:
// piecewise cubic Hermite with monotone slopes (Fritsch-Carlson), so it
// passes through every knot and never overshoots between two of them. The
// fish model's shapes are drawn from such curves through a few telling
// cross-sections. Outside the knots it holds the end values.
class ProfileCurve {
public:
    static constexpr int kMaxKnots = 16;

    // count: 2..kMaxKnots (more are ignored).
    ProfileCurve(const float* t, const float* v, int count);

    float operator()(float t) const;

private:
    int m_count;
    float m_t[kMaxKnots];
    float m_v[kMaxKnots];
    float m_slope[kMaxKnots];
};
