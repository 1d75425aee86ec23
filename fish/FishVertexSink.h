// SPDX-License-Identifier: MIT
#pragma once

// Where the fish model sends its vertices. The model draws into OpenGL
// (GL_QUAD_STRIP, immediate mode) unless a sink is set on it; tests and
// tools set one to see exactly what a draw emits.
class FishVertexSink {
public:
    virtual ~FishVertexSink() = default;
    // A new GL_QUAD_STRIP begins.
    virtual void BeginStrip() = 0;
    // One vertex of the current strip: position in model space after the
    // ring rotation (world units, before the GL matrix stack), unit normal,
    // texture coordinate (s, t).
    virtual void Vertex(const float position[3], const float normal[3], const float texCoord[2]) = 0;
    // The current strip ends.
    virtual void EndStrip() = 0;
};
