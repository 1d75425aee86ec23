// SPDX-License-Identifier: MIT
#include "environment/ScreenBounds.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {

// column-major m times (x, y, z, 1)
void Transform(const double (&m)[16], const double (&in)[4], double (&out)[4])
{
    for (int r = 0; r < 4; ++r)
        out[r] = m[r] * in[0] + m[4 + r] * in[1] + m[8 + r] * in[2] + m[12 + r] * in[3];
}

}  // namespace

void ScreenBounds::AddBox(const float (&min)[3], const float (&max)[3])
{
    double modelview[16], projection[16];
    int viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    AddBox(min, max, modelview, projection, viewport);
}

void ScreenBounds::AddBox(const float (&min)[3], const float (&max)[3], const double (&modelview)[16],
                          const double (&projection)[16], const int (&viewport)[4])
{
    if (m_whole)
        return;
    double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
    for (int corner = 0; corner < 8; ++corner) {
        const double model[4] = {(corner & 1) ? max[0] : min[0], (corner & 2) ? max[1] : min[1],
                                 (corner & 4) ? max[2] : min[2], 1.0};
        double eye[4], clip[4];
        Transform(modelview, model, eye);
        Transform(projection, eye, clip);
        // Before the eye's plane a corner's image is not a bound of the rest.
        if (!(clip[3] > 1e-6)) {
            m_rects.clear();
            m_whole = true;
            return;
        }
        const double wx = viewport[0] + (clip[0] / clip[3] + 1.0) * 0.5 * viewport[2];
        const double wy = viewport[1] + (clip[1] / clip[3] + 1.0) * 0.5 * viewport[3];
        x0 = std::min(x0, wx);
        x1 = std::max(x1, wx);
        y0 = std::min(y0, wy);
        y1 = std::max(y1, wy);
    }
    const double left = viewport[0], bottom = viewport[1];
    const double right = left + viewport[2], top = bottom + viewport[3];
    x0 = std::max(std::floor(x0) - kMargin, left);
    y0 = std::max(std::floor(y0) - kMargin, bottom);
    x1 = std::min(std::ceil(x1) + kMargin, right);
    y1 = std::min(std::ceil(y1) + kMargin, top);
    if (x0 < x1 && y0 < y1)
        m_rects.push_back({int(x0), int(y0), int(x1), int(y1)});
}
