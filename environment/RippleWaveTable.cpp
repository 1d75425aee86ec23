// SPDX-License-Identifier: MIT
#include "environment/RippleWaveTable.h"

#include <cmath>

namespace {
// The ends, the crests and the troughs are held at their exact values.
// Between them the profile follows a damped sin² curve, bent by a linearly
// interpolated correction so that it meets every held value without a step
// and the crests stay the highest points around them.
struct HeldValue {
    int phase;
    double value;
};
const HeldValue kHeld[] = {
    {0, 0.0},          {1, 2.96058e-06},   {55, 0.0999838},  {114, 1.5e-05},
    {115, 1.5e-05},    {169, 0.0624766},   {228, 1.15624e-06}, {254, 0.0185598},
};

double Curve(int phase)
{
    const double pi = 3.14159265358979323846;
    const double crest = std::sin(pi * (phase - 0.9) / 113.6);
    return 0.1266 * std::exp(-phase / 240.0) * crest * crest;
}
}  // namespace

const RippleWaveTable& RippleWaveTable::Get()
{
    static const RippleWaveTable table;
    return table;
}

RippleWaveTable::RippleWaveTable()
{
    const int held = int(sizeof kHeld / sizeof kHeld[0]);
    for (int h = 0; h + 1 < held; ++h) {
        const HeldValue& from = kHeld[h];
        const HeldValue& to = kHeld[h + 1];
        const double fromError = from.value - Curve(from.phase);
        const double toError = to.value - Curve(to.phase);
        for (int v = from.phase; v <= to.phase; ++v) {
            const double f = double(v - from.phase) / (to.phase - from.phase);
            m_values[v] = Curve(v) + fromError + f * (toError - fromError);
        }
        m_values[from.phase] = from.value;
        m_values[to.phase] = to.value;
    }
    // The last phase is where every long-past ring ends up: it must move
    // nothing at all.
    m_values[kSize - 1] = 0.0;
}
