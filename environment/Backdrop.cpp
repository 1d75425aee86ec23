// SPDX-License-Identifier: MIT
#include "environment/Backdrop.h"

#include "settings/ProgramValues.h"
#include "base/TankBox.h"

#include <GL/gl.h>

namespace {
void SetColor(int colorRef)   // 0x00BBGGRR
{
    glColor3ub(GLubyte(colorRef & 0xFF), GLubyte((colorRef >> 8) & 0xFF),
               GLubyte((colorRef >> 16) & 0xFF));
}

// One quad; bottomColor for the two bottom corners, topColor for the two top.
void DrawLayer(const TankBox& tank, int bottomColor, int topColor)
{
    const float left = 2.0f * tank.xMin, right = 2.0f * tank.xMax;
    const float bottom = 3.0f * tank.yMin, top = 3.0f * tank.yMax;
    const float z = 3.0f * tank.zBack;
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    SetColor(bottomColor);
    glVertex3f(left, bottom, z);
    glVertex3f(right, bottom, z);
    SetColor(topColor);
    glVertex3f(right, top, z);
    glVertex3f(left, top, z);
    glEnd();
    glEnable(GL_TEXTURE_2D);
    glColor3ub(255, 255, 255);
}
}  // namespace

void DrawBackdrop(const TankBox& tank, const AquariumSettingsValues& settings)
{
    // Neither the current colour nor the lighting state is saved: the colour
    // must come out opaque white whatever the previous frame left behind, and
    // restoring the materials would undo what colour tracking set from it.
    // Smooth shading is the scene's fixed state; it is asserted, not changed.
    //
    // The layers are opaque and lie behind everything else, on a depth buffer
    // that has just been cleared: blending and the depth test cannot change a
    // pixel of them, so both are off while they are drawn. That saves a
    // read-modify-write of every screen pixel on a software renderer.
    // A gradient the user switched on is what shows: it covers the fixed
    // layer, which is the very same quad, so only one of the two is drawn.
    glPushAttrib(GL_ENABLE_BIT);
    glPushMatrix();
    glShadeModel(GL_SMOOTH);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    if (settings.backGradual != 0)
        DrawLayer(tank, settings.backColor2, settings.backColor1);
    else if (settings.backFixed != 0)
        DrawLayer(tank, settings.backColor, settings.backColor);
    glPopMatrix();
    glPopAttrib();
}

void DrawBackdropIn(const TankBox& tank, const AquariumSettingsValues& settings,
                    const std::vector<PixelRect>& rects)
{
    if (rects.empty())
        return;
    glPushAttrib(GL_SCISSOR_BIT | GL_ENABLE_BIT);
    glEnable(GL_SCISSOR_TEST);
    for (const PixelRect& r : rects) {
        glScissor(r.x, r.y, r.width, r.height);
        DrawBackdrop(tank, settings);
    }
    glPopAttrib();
}
