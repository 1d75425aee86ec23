// SPDX-License-Identifier: MIT
#pragma once

// What a pick sees: the pickSize x pickSize pixel square around the pointer,
// through the current projection (the frame's) over the current viewport.
// It answers, on the CPU, the question GL selection mode would:
// does any part of a primitive lie inside that view volume? A primitive
// counts when something of it survives clipping against the volume's six
// planes, touching a plane included; there is no face culling.
//
// Selection mode is not used because the software driver keeps, and never
// frees, the immediate-mode vertex data of every selection round trip (about
// a megabyte a click).
//
// Matrices are column-major 4 x 4, as OpenGL lays them out. Vertices are in
// object coordinates under the model-view matrix last set.
class PickVolume {
public:
    // (mouseX, mouseY): client pixels, y down. Reads the viewport and the
    // current projection matrix (the one the frame drew with) and narrows it
    // to the pick square with the GL context's own matrix functions; every
    // matrix stack and the matrix mode are as before when it returns.
    PickVolume(int mouseX, int mouseY, int pickSize);

    void SetModelView(const float modelView[16]);

    bool HitsTriangle(const float a[3], const float b[3], const float c[3]) const;
    // A quad split as GL splits it: (a, b, d) and (b, c, d).
    bool HitsQuad(const float a[3], const float b[3], const float c[3], const float d[3]) const;
    // A quad strip of `count` vertices, three floats (x, y, z) each at
    // `xyz`; quad i is split into (v2i+2, v2i,
    // v2i+3) and (v2i, v2i+1, v2i+3), as GL does. A trailing odd vertex is
    // ignored, as GL ignores it.
    bool HitsQuadStrip(const float* xyz, int count) const;

    const float* Projection() const { return m_projection; }

    // `matrix` times a translation by (x, y, z), rounded as glTranslatef
    // rounds it.
    static void Translate(const float matrix[16], float x, float y, float z, float out[16]);

private:
    struct ClipVertex {
        float c[4];  // x, y, z, w in clip coordinates
    };
    ClipVertex ToClip(const float v[3]) const;
    bool HitsClipTriangle(const ClipVertex& a, const ClipVertex& b, const ClipVertex& c) const;

    float m_projection[16];
    float m_clip[16];  // projection times model-view
};
