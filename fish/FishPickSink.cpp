// SPDX-License-Identifier: MIT
#include "fish/FishPickSink.h"

#include "fish/PickVolume.h"

#include <GL/gl.h>

void FishPickSink::BeginStrip()
{
    m_strip.clear();
    if (m_hit)
        return;
    float modelView[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    m_volume.SetModelView(modelView);
}

void FishPickSink::Vertex(const float position[3], const float*, const float*)
{
    if (!m_hit)
        m_strip.insert(m_strip.end(), position, position + 3);
}

void FishPickSink::EndStrip()
{
    if (m_hit)
        return;
    m_hit = m_volume.HitsQuadStrip(m_strip.data(), int(m_strip.size() / 3));
}
