// SPDX-License-Identifier: MIT
#include "environment/BackgroundPicture.h"

#include "environment/PictureCover.h"
#include "environment/RippleGrid.h"
#include "platform/MsvcRandom.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// While the picture is drawn well larger than its texture's first level (at
// most 0.75 texels per pixel, so even the ripples' squeeze stays below the
// half level where the next level would be picked), a mipmapped minifying
// filter that picks the nearest level always picks level 0: the result is
// exactly that of plain GL_LINEAR. Saying so spares the software renderer a level of
// detail computation for every pixel of the screen. Otherwise (a large custom
// image on a small screen) the texture's own filter stays.
class LinearWhileMagnified {
public:
    LinearWhileMagnified(float pictureWidthPx, float pictureHeightPx)
    {
        GLint width = 0, height = 0, filter = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
        const bool nearestLevel = filter == GL_LINEAR_MIPMAP_NEAREST;
        if (nearestLevel && width > 0 && height > 0 && width <= 0.75f * pictureWidthPx &&
            height <= 0.75f * pictureHeightPx) {
            m_restore = filter;
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        }
    }
    ~LinearWhileMagnified()
    {
        if (m_restore != 0)
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, m_restore);
    }
    LinearWhileMagnified(const LinearWhileMagnified&) = delete;
    LinearWhileMagnified& operator=(const LinearWhileMagnified&) = delete;

private:
    GLint m_restore = 0;
};

// The picture's place and texture for as long as it lives: the texture bound,
// the grid's -1..1 square moved 110 units back and scaled to the screen
// class, and the filter chosen for its size on the screen. Everything is put
// back when it goes.
class PicturePlacement {
public:
    PicturePlacement(unsigned texture, int resolutionIndex, int screenWidth, int screenHeight)
    {
        glPushAttrib(GL_TEXTURE_BIT);
        glPushMatrix();
        glBindTexture(GL_TEXTURE_2D, texture);
        glTranslatef(0.0f, 0.0f, -110.0f);
        // A screen taller than wide shows more than the picture's 80 units
        // of height: the picture grows evenly until it fills that height
        // too, its sides running off the screen. Wide screens keep the
        // class's width and 40 exactly.
        const float tall = screenHeight > screenWidth && screenWidth > 0 ? float(screenHeight) / float(screenWidth) : 1.0f;
        const float scaleX = BackgroundPictureScaleX(resolutionIndex) * tall;
        const float scaleY = 40.0f * tall;
        glScalef(scaleX, scaleY, 1.0f);
        // The scene's frustum (half height 0.4 at distance 1 on the shorter
        // screen side) shows 80 units of the shorter side at the picture's
        // distance of 100.
        const float pixelsPerUnit = float(std::min(screenWidth, screenHeight)) / 80.0f;
        m_filter.emplace(2.0f * scaleX * pixelsPerUnit, 2.0f * scaleY * pixelsPerUnit);
    }
    ~PicturePlacement()
    {
        m_filter.reset();
        glPopMatrix();
        glPopAttrib();
    }
    PicturePlacement(const PicturePlacement&) = delete;
    PicturePlacement& operator=(const PicturePlacement&) = delete;

private:
    std::optional<LinearWhileMagnified> m_filter;
};

// Window coordinates, from the viewport's corner, of the grid's vertex
// columns (x) and rows (y) under the current matrices and viewport. False unless the grid lies flat facing the
// eye, inside the depth range, so that every cell is an upright rectangle on
// the screen.
bool GridLinesOnWindow(const RippleGrid& grid, double (&columnX)[PictureCover::kLines],
                       double (&rowY)[PictureCover::kLines])
{
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    double m[16];   // projection x model, column-major
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            m[4 * c + r] = 0.0;
            for (int k = 0; k < 4; ++k)
                m[4 * c + r] += projection[4 * k + r] * model[4 * c + k];
        }
    // Clip x must not depend on y, clip y not on x, and w and z on neither.
    if (m[4] != 0.0 || m[1] != 0.0 || m[3] != 0.0 || m[7] != 0.0 || m[2] != 0.0 || m[6] != 0.0)
        return false;
    const double w = m[15];
    if (!(w > 0.0) || !(std::fabs(m[14] / w) < 1.0))
        return false;
    for (int i = 0; i < PictureCover::kLines; ++i) {
        const double x = grid.CellAt(i, 0).x, y = grid.CellAt(0, i).y;
        columnX[i] = ((m[0] * x + m[12]) / w + 1.0) * 0.5 * viewport[2];
        rowY[i] = ((m[5] * y + m[13]) / w + 1.0) * 0.5 * viewport[3];
    }
    return true;
}

}  // namespace

float BackgroundPictureScaleX(int resolutionIndex)
{
    switch (resolutionIndex) {
    case 0: return 53.1f;
    case 2:
    case 3:
    case 4: return 64.0f;
    case 5:
    case 6: return 71.0f;
    case 7: return 110.0f;
    default: return 49.9f;
    }
}

void AddPictureDrop(RippleGrid& grid, int screenWidth, int screenHeight)
{
    // The first draw is thrown away; keeping it keeps every later random
    // choice in the program on the same sequence.
    Rand();
    const int offset = -200 + 50 * (Rand() % 9);
    grid.AddDrop(screenWidth / 2 + offset, screenHeight / 2 + 50);
}

bool PictureLinesOnWindow(const RippleGrid& grid, int resolutionIndex, double (&columnX)[PictureCover::kLines],
                          double (&rowY)[PictureCover::kLines])
{
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, -110.0f);
    glScalef(BackgroundPictureScaleX(resolutionIndex), 40.0f, 1.0f);
    const bool flat = GridLinesOnWindow(grid, columnX, rowY);
    glPopMatrix();
    return flat;
}

void DrawPicture(const RippleGrid& grid, unsigned texture, int resolutionIndex, int screenWidth,
                 int screenHeight)
{
    PicturePlacement placement(texture, resolutionIndex, screenWidth, screenHeight);
    grid.Draw();
}

void PlanPicture(const RippleGrid& grid, unsigned texture, int resolutionIndex, int screenWidth,
                 int screenHeight, PicturePlan& plan)
{
    PicturePlacement placement(texture, resolutionIndex, screenWidth, screenHeight);
    grid.OpaqueCells(plan.opaque);
    double columnX[PictureCover::kLines], rowY[PictureCover::kLines];
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    plan.backdrop.clear();
    if (GridLinesOnWindow(grid, columnX, rowY))
        plan.backdrop = PictureCover(columnX, rowY, plan.opaque, viewport[2], viewport[3]).Uncovered();
    else
        plan.backdrop.push_back({0, 0, viewport[2], viewport[3]});
    for (PixelRect& r : plan.backdrop) {
        r.x += viewport[0];
        r.y += viewport[1];
    }
}

void DrawPlannedPicture(const RippleGrid& grid, const PicturePlan& plan, unsigned texture,
                        int resolutionIndex, int screenWidth, int screenHeight)
{
    PicturePlacement placement(texture, resolutionIndex, screenWidth, screenHeight);
    grid.Draw(plan.opaque);
}

void DrawRippledPicture(RippleGrid& grid, unsigned texture, int resolutionIndex,
                        int screenWidth, int screenHeight)
{
    AddPictureDrop(grid, screenWidth, screenHeight);
    DrawPicture(grid, texture, resolutionIndex, screenWidth, screenHeight);
    grid.Update();
}
