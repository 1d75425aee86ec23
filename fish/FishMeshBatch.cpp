// SPDX-License-Identifier: MIT
#include "fish/FishMeshBatch.h"

#include <GL/gl.h>

unsigned FishMeshBatch::Add(const float (&position)[3], const float (&normal)[3], const float (&texCoord)[2])
{
    m_vertices.push_back(Vertex{{position[0], position[1], position[2]},
                                {normal[0], normal[1], normal[2]},
                                {texCoord[0], texCoord[1]}});
    return unsigned(m_vertices.size() - 1);
}

void FishMeshBatch::AddQuad(unsigned a, unsigned b, unsigned c, unsigned d)
{
    // The split the renderer makes of a quad strip's quad, vertex for
    // vertex: the diagonal from its first vertex to its last. Another
    // diagonal or order gives other pixels along the seams.
    m_indices.insert(m_indices.end(), {a, b, d, c, a, d});
}

void FishMeshBatch::Draw()
{
    if (!m_indices.empty()) {
        glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_COLOR_ARRAY);
        const GLsizei stride = sizeof(Vertex);
        glVertexPointer(3, GL_FLOAT, stride, m_vertices[0].position);
        glNormalPointer(GL_FLOAT, stride, m_vertices[0].normal);
        glTexCoordPointer(2, GL_FLOAT, stride, m_vertices[0].texCoord);
        glDrawElements(GL_TRIANGLES, GLsizei(m_indices.size()), GL_UNSIGNED_INT, m_indices.data());
        glPopClientAttrib();
    }
    m_vertices.clear();
    m_indices.clear();
}
