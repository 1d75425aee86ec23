// SPDX-License-Identifier: MIT
#include "fish/FoodFlakeRenderer.h"

#include "environment/ScreenBounds.h"

#include <GL/gl.h>
#include <cmath>

namespace {

constexpr int kFanVertices = 500;
constexpr float kFanStep = 0.01256637f;  // 2 pi / 500
// The flake's 0.6 x 0.3 ellipse was sized for drops 60 units from the eye;
// they now fall 80 units away, among the fish, so the shape is scaled by
// 80 / 60 to look as large on screen as it was meant to.
constexpr float kShapeScale = 80.0f / 60.0f;

}  // namespace

void FoodFlakeRenderer::CompileShape()
{
    if (m_list == 0)
        m_list = glGenLists(1);
    glNewList(m_list, GL_COMPILE);
    glDisable(GL_TEXTURE_2D);
    glColor3ub(243, 225, 159);
    glBegin(GL_TRIANGLE_FAN);
    for (int i = 0; i < kFanVertices; ++i) {
        const float a = float(i) * kFanStep;
        glVertex3f(kShapeScale * 0.3f * std::cos(a), kShapeScale * 0.15f * std::sin(a), 0.0f);
    }
    glEnd();
    glColor3ub(255, 255, 255);
    glEnable(GL_TEXTURE_2D);
    glEndList();
}

void FoodFlakeRenderer::Release()
{
    if (m_list != 0)
        glDeleteLists(m_list, 1);
    m_list = 0;
}

void FoodFlakeRenderer::Draw(const FoodFlake::DrawPose& pose) const
{
    if (!pose.drawn)
        return;
    glPushMatrix();
    glTranslatef(pose.anchor[0], pose.anchor[1], pose.anchor[2]);
    glRotatef(pose.spin, 0.0f, 1.0f, 0.0f);
    glTranslatef(pose.offset[0], pose.offset[1], pose.offset[2]);
    glRotatef(pose.tilt, 1.0f, 0.0f, 0.0f);
    glCallList(m_list);
    if (m_bounds) {
        const float rx = kShapeScale * 0.3f, ry = kShapeScale * 0.15f;
        m_bounds->AddBox({-rx, -ry, 0.0f}, {rx, ry, 0.0f});
    }
    glPopMatrix();
}
