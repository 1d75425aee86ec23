#include "fish/FeedPicker.h"

#include "fish/PickStrips.h"
#include "fish/SelectionPass.h"
#include "base/TankBox.h"

#include <GL/gl.h>

namespace {

// The given coordinate of the first strip (in index order) under the
// pointer, or kNoHit.
float FirstStripHit(const PickStrips& strips, bool vertical, int mouseX, int mouseY)
{
    const int count = vertical ? PickStrips::kVertical : PickStrips::kHorizontal;
    for (int k = 0; k < count; ++k) {
        const float* position = vertical ? strips.Vertical(k) : strips.Horizontal(k);
        const auto draw = vertical ? PickStrips::DrawVerticalQuad : PickStrips::DrawHorizontalQuad;
        if (SelectionPass::SelectOneObject(mouseX, mouseY, FeedPicker::kPickSize, position, draw))
            return vertical ? position[0] : position[1];
    }
    return FeedPicker::kNoHit;
}

}  // namespace

bool FeedPicker::Pick(const PickStrips& strips, const TankBox& tank, int mouseX, int mouseY,
                      float& x, float& y)
{
    glPushMatrix();
    const float foundX = FirstStripHit(strips, true, mouseX, mouseY);
    glPopMatrix();
    glPushMatrix();
    const float foundY = FirstStripHit(strips, false, mouseX, mouseY);
    glPopMatrix();
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
