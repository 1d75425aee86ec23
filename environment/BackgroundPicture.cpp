#include "environment/BackgroundPicture.h"

#include "environment/RippleGrid.h"
#include "platform/MsvcRandom.h"

#include <GL/gl.h>

#include <algorithm>

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

void DrawPicture(const RippleGrid& grid, unsigned texture, int resolutionIndex, int screenWidth,
                 int screenHeight)
{
    glPushAttrib(GL_TEXTURE_BIT);
    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, texture);
    glTranslatef(0.0f, 0.0f, -110.0f);
    const float scaleX = BackgroundPictureScaleX(resolutionIndex);
    glScalef(scaleX, 40.0f, 1.0f);
    {
        // The scene's frustum (half height 0.4 at distance 1 on the shorter
        // screen side) shows 80 units of the shorter side at the picture's
        // distance of 100.
        const float pixelsPerUnit = float(std::min(screenWidth, screenHeight)) / 80.0f;
        LinearWhileMagnified filter(2.0f * scaleX * pixelsPerUnit, 80.0f * pixelsPerUnit);
        grid.Draw();
    }
    glPopMatrix();
    glPopAttrib();
}

void DrawRippledPicture(RippleGrid& grid, unsigned texture, int resolutionIndex,
                        int screenWidth, int screenHeight)
{
    AddPictureDrop(grid, screenWidth, screenHeight);
    DrawPicture(grid, texture, resolutionIndex, screenWidth, screenHeight);
    grid.Update();
}
