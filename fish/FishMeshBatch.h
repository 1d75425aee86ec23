// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

// Fish vertices gathered for one indexed draw. A fish part is a grid of
// rings by points, and its quad strips share every column of vertices but
// the outer two with the strip beside them; drawn strip by strip, the
// renderer transforms and lights those vertices twice. Gathered as one
// grid with the strips' triangles as indices, each vertex is transformed
// once and a whole group of parts costs one call.
//
// The triangles are the ones the renderer makes of the same quad strips, in
// the same order and with the same winding, so depth ties and culled faces
// resolve as they do for the strips.
class FishMeshBatch {
public:
    // Adds a vertex: position (model units), unit normal, texture coordinate
    // (s, t). Returns its index for AddQuad.
    unsigned Add(const float (&position)[3], const float (&normal)[3], const float (&texCoord)[2]);

    // One quad of a quad strip: a, b the strip's earlier pair of vertices
    // (in strip order), c, d the next pair.
    void AddQuad(unsigned a, unsigned b, unsigned c, unsigned d);

    // Draws the gathered triangles into the current GL context with GL 1.1
    // vertex arrays (client memory), then empties the batch; nothing at all
    // when it is empty. The texture, material and face culling in effect are
    // the caller's; the client array state is restored.
    void Draw();

private:
    struct Vertex {
        float position[3];
        float normal[3];
        float texCoord[2];
    };
    std::vector<Vertex> m_vertices;
    std::vector<unsigned> m_indices;
};
