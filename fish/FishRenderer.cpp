// SPDX-License-Identifier: MIT
#include "fish/FishRenderer.h"

#include "environment/ScreenBounds.h"
#include "fish/FishPose.h"

#include <GL/gl.h>

#include <cmath>

namespace {
constexpr float kDegreesToRadians = 0.017453292f;
}

void FishRenderer::Draw(const FishDrawPose& pose, unsigned texture)
{
    glPushMatrix();
    glTranslatef(pose.x, pose.y, pose.z);
    glBindTexture(GL_TEXTURE_2D, texture);
    DrawAtPosition(pose);
    glPopMatrix();
}

void FishRenderer::DrawAtPosition(const FishDrawPose& pose)
{
    glPushMatrix();
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    const float h = pose.heading * kDegreesToRadians;
    glRotatef(-pose.pitch, std::sin(h), -std::cos(h), 0.0f);
    m_model.Draw(pose.body);
    if (m_bounds)
        m_bounds->AddBox(m_model.BoundsMin(), m_model.BoundsMax());
    glPopMatrix();
}
