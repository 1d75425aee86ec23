// SPDX-License-Identifier: MIT
#include "fish/FeedPicker.h"

#include "fish/PickStrips.h"
#include "fish/PickVolume.h"
#include "base/TankBox.h"

#include <GL/gl.h>

float FeedPicker::FirstStrip(const PickStrips& strips, bool vertical, int mouseX, int mouseY)
{
    PickVolume volume(mouseX, mouseY, kPickSize);
    float camera[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, camera);
    const int count = vertical ? PickStrips::kVertical : PickStrips::kHorizontal;
    const auto& quad = vertical ? PickStrips::kVerticalQuad : PickStrips::kHorizontalQuad;
    for (int k = 0; k < count; ++k) {
        const float* position = vertical ? strips.Vertical(k) : strips.Horizontal(k);
        float modelView[16];
        PickVolume::Translate(camera, position[0], position[1], position[2], modelView);
        volume.SetModelView(modelView);
        if (volume.HitsQuad(quad[0], quad[1], quad[2], quad[3]))
            return vertical ? position[0] : position[1];
    }
    return kNoHit;
}

bool FeedPicker::Pick(const PickStrips& strips, const TankBox& tank, int mouseX, int mouseY,
                      float& x, float& y)
{
    const float foundX = FirstStrip(strips, true, mouseX, mouseY);
    const float foundY = FirstStrip(strips, false, mouseX, mouseY);
    if (!m_gotX && foundX >= tank.xMin && foundX <= tank.xMax) {
        m_x = foundX;
        m_gotX = true;
    }
    if (!m_gotY && foundY >= tank.yMin && foundY <= tank.yMax) {
        m_y = foundY;
        m_gotY = true;
    }
    if (!m_gotX || !m_gotY)
        return false;
    m_gotX = m_gotY = false;
    x = m_x;
    y = m_y;
    return true;
}
