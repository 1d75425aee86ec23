// SPDX-License-Identifier: MIT
#include "fish/PickVolume.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

constexpr int kPlanes = 6;
// A clipped triangle gains at most one vertex per plane.
constexpr int kMaxPolygon = 3 + kPlanes;

// The signed distance of a clip-space vertex from plane p, inside >= 0:
// -w <= x, x <= w, -w <= y, y <= w, -w <= z, z <= w.
float Distance(const float* c, int p)
{
    const float axis = c[p / 2];
    return p % 2 == 0 ? c[3] + axis : c[3] - axis;
}

unsigned OutCode(const float* c)
{
    unsigned code = 0;
    for (int p = 0; p < kPlanes; ++p)
        if (Distance(c, p) < 0.0f)
            code |= 1u << p;
    return code;
}

// Column-major product a * b.
void Multiply(const float* a, const float* b, float* out)
{
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row)
            out[col * 4 + row] = a[row] * b[col * 4] + a[4 + row] * b[col * 4 + 1] +
                                 a[8 + row] * b[col * 4 + 2] + a[12 + row] * b[col * 4 + 3];
}

}  // namespace

PickVolume::PickVolume(int mouseX, int mouseY, int pickSize)
{
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLint mode = GL_MODELVIEW;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    // The frame's own projection, so that what is picked is what the frame
    // drew under the pointer, at the screen's edges as in its centre.
    GLfloat frame[16];
    glGetFloatv(GL_PROJECTION_MATRIX, frame);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPickMatrix(GLdouble(mouseX), GLdouble(viewport[3] - mouseY), pickSize, pickSize, viewport);
    glMultMatrixf(frame);
    glGetFloatv(GL_PROJECTION_MATRIX, m_projection);
    glPopMatrix();
    glMatrixMode(GLenum(mode));
    for (int i = 0; i < 16; ++i)
        m_clip[i] = m_projection[i];
}

void PickVolume::SetModelView(const float modelView[16]) { Multiply(m_projection, modelView, m_clip); }

void PickVolume::Translate(const float m[16], float x, float y, float z, float out[16])
{
    for (int i = 0; i < 12; ++i)
        out[i] = m[i];
    for (int row = 0; row < 4; ++row)
        out[12 + row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
}

PickVolume::ClipVertex PickVolume::ToClip(const float v[3]) const
{
    ClipVertex out;
    for (int row = 0; row < 4; ++row)
        out.c[row] = m_clip[row] * v[0] + m_clip[4 + row] * v[1] + m_clip[8 + row] * v[2] + m_clip[12 + row];
    return out;
}

bool PickVolume::HitsTriangle(const float a[3], const float b[3], const float c[3]) const
{
    return HitsClipTriangle(ToClip(a), ToClip(b), ToClip(c));
}

bool PickVolume::HitsQuad(const float a[3], const float b[3], const float c[3], const float d[3]) const
{
    const ClipVertex ca = ToClip(a), cb = ToClip(b), cc = ToClip(c), cd = ToClip(d);
    return HitsClipTriangle(ca, cb, cd) || HitsClipTriangle(cb, cc, cd);
}

bool PickVolume::HitsQuadStrip(const float* xyz, int count) const
{
    if (count < 4)
        return false;
    ClipVertex v0 = ToClip(xyz), v1 = ToClip(xyz + 3);
    for (int i = 0; i + 3 < count; i += 2) {
        const ClipVertex v2 = ToClip(xyz + 3 * (i + 2)), v3 = ToClip(xyz + 3 * (i + 3));
        if (HitsClipTriangle(v2, v0, v3) || HitsClipTriangle(v0, v1, v3))
            return true;
        v0 = v2;
        v1 = v3;
    }
    return false;
}

// Whether anything of the triangle survives clipping: wholly inside, or
// cut down plane by plane (Sutherland-Hodgman) to a polygon that still has
// three vertices. A vertex on a plane counts as inside, and a sign change
// that involves a zero adds a point, so a triangle that only touches the
// volume still counts, as it does for the driver.
bool PickVolume::HitsClipTriangle(const ClipVertex& a, const ClipVertex& b, const ClipVertex& c) const
{
    const unsigned codeA = OutCode(a.c), codeB = OutCode(b.c), codeC = OutCode(c.c);
    if ((codeA | codeB | codeC) == 0)
        return true;
    if ((codeA & codeB & codeC) != 0)
        return false;
    ClipVertex polygon[2][kMaxPolygon + 1] = {{a, b, c}};
    int n = 3;
    int in = 0;
    const unsigned planes = codeA | codeB | codeC;
    for (int p = 0; p < kPlanes; ++p) {
        if ((planes & (1u << p)) == 0)
            continue;
        const ClipVertex* src = polygon[in];
        ClipVertex* dst = polygon[1 - in];
        int out = 0;
        for (int i = 0; i < n && out < kMaxPolygon; ++i) {
            const ClipVertex& prev = src[i];
            const ClipVertex& next = src[(i + 1) % n];
            const float dPrev = Distance(prev.c, p), dNext = Distance(next.c, p);
            if (dPrev >= 0.0f)
                dst[out++] = prev;
            if (dPrev * dNext <= 0.0f && dPrev != dNext && out < kMaxPolygon) {
                const float t = dPrev / (dPrev - dNext);
                ClipVertex& cut = dst[out++];
                for (int k = 0; k < 4; ++k)
                    cut.c[k] = prev.c[k] + t * (next.c[k] - prev.c[k]);
            }
        }
        n = out;
        in = 1 - in;
        if (n < 3)
            return false;
    }
    return true;
}
