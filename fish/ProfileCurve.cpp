// SPDX-License-Identifier: MIT
#include "fish/ProfileCurve.h"

#include <cmath>

ProfileCurve::ProfileCurve(const float* t, const float* v, int count)
    : m_count(count < 2 ? 2 : (count > kMaxKnots ? kMaxKnots : count))
{
    for (int i = 0; i < m_count; ++i) {
        m_t[i] = t[i];
        m_v[i] = v[i];
    }
    float secant[kMaxKnots];
    for (int i = 0; i + 1 < m_count; ++i)
        secant[i] = (m_v[i + 1] - m_v[i]) / (m_t[i + 1] - m_t[i]);
    m_slope[0] = secant[0];
    m_slope[m_count - 1] = secant[m_count - 2];
    for (int i = 1; i + 1 < m_count; ++i) {
        // A knot between a rise and a fall (or a flat piece) is an extremum:
        // flat there, so the curve cannot overshoot it.
        if (secant[i - 1] * secant[i] <= 0.0f) {
            m_slope[i] = 0.0f;
            continue;
        }
        // Weighted harmonic mean of the neighbouring secants.
        const float h0 = m_t[i] - m_t[i - 1];
        const float h1 = m_t[i + 1] - m_t[i];
        const float w0 = 2.0f * h1 + h0;
        const float w1 = h1 + 2.0f * h0;
        m_slope[i] = (w0 + w1) / (w0 / secant[i - 1] + w1 / secant[i]);
    }
}

float ProfileCurve::operator()(float t) const
{
    if (t <= m_t[0])
        return m_v[0];
    if (t >= m_t[m_count - 1])
        return m_v[m_count - 1];
    int i = 0;
    while (i + 2 < m_count && t > m_t[i + 1])
        ++i;
    const float h = m_t[i + 1] - m_t[i];
    const float u = (t - m_t[i]) / h;
    const float u2 = u * u;
    const float u3 = u2 * u;
    return (2 * u3 - 3 * u2 + 1) * m_v[i] + (u3 - 2 * u2 + u) * h * m_slope[i] +
           (-2 * u3 + 3 * u2) * m_v[i + 1] + (u3 - u2) * h * m_slope[i + 1];
}
