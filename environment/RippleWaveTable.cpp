#include "environment/RippleWaveTable.h"

#include <cmath>

namespace {
// Crests and troughs pinned to their exact values; everything in between
// follows a damped sin² curve of the same shape.
struct PinnedValue {
    int phase;
    double value;
};
const PinnedValue kPinned[] = {
    {0, 0.0},          {1, 2.96058e-06},   {55, 0.0999838},  {114, 1.5e-05},
    {115, 1.5e-05},    {169, 0.0624766},   {228, 1.15624e-06}, {254, 0.0185598},
    {255, 0.0},
};

double Profile(int phase)
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
    for (int v = 0; v < kSize; ++v)
        m_values[v] = Profile(v);
    for (const PinnedValue& pin : kPinned)
        m_values[pin.phase] = pin.value;
}
