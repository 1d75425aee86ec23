// SPDX-License-Identifier: MIT
#include "fish/PickStrips.h"

#include "base/TankBox.h"

void PickStrips::Setup(const TankBox& tank)
{
    m_xMin = tank.xMin;
    m_yMin = tank.yMin;
    // Float spacing so the last strip reaches xMax: with whole-unit spacing
    // the right part of a narrow tank never got food.
    const float sx = (tank.xMax - tank.xMin) / float(kVertical - 1);
    const int sy = int(float(int(tank.yMax - tank.yMin)) * 1.5f) / (kHorizontal - 1);
    for (int k = 0; k < kVertical; ++k) {
        m_vertical[k][0] = tank.xMin + float(k) * sx;
        m_vertical[k][1] = 0.0f;
        m_vertical[k][2] = kDepth;
    }
    for (int k = 0; k < kHorizontal; ++k) {
        m_horizontal[k][0] = 0.0f;
        m_horizontal[k][1] = tank.yMin + float(k * sy);
        m_horizontal[k][2] = kDepth;
    }
    m_verticalTowardsPlus = false;
    m_horizontalTowardsPlus = true;
}

void PickStrips::Sweep()
{
    Sway(m_vertical, kVertical, 0, m_xMin, m_verticalTowardsPlus);
    Sway(m_horizontal, kHorizontal, 1, m_yMin, m_horizontalTowardsPlus);
}

void PickStrips::Sway(float (*strips)[3], int count, int axis, float edge, bool& towardsPlus)
{
    for (int k = 0; k < count; ++k) {
        const float first = strips[0][axis];
        if (edge - kSwayReach > first)
            towardsPlus = true;
        if (edge + kSwayReach < first) {
            towardsPlus = false;
            strips[k][axis] -= kSwayStep;
        } else {
            strips[k][axis] += towardsPlus ? kSwayStep : -kSwayStep;
        }
    }
}
