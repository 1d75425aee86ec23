// SPDX-License-Identifier: MIT
#include "environment/RippleDistanceTable.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {
// The directions are kept to six significant digits, as a printed table
// would hold them.
double SixDigits(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return std::strtod(text, nullptr);
}
}  // namespace

const RippleDistanceTable& RippleDistanceTable::Get()
{
    static const RippleDistanceTable table;
    return table;
}

RippleDistanceTable::RippleDistanceTable()
{
    for (int a = 0; a < kSize; ++a) {
        for (int b = 0; b < kSize; ++b) {
            Entry& e = m_entries[a][b];
            const double d = std::sqrt(double(a * a + b * b));
            e.ux = d > 0.0 ? SixDigits(a / d) : 0.0;
            e.uy = d > 0.0 ? SixDigits(b / d) : 0.0;
            e.delay = int(d * kFramesPer31Cells / 31.0);
        }
    }
}
