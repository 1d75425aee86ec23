#include "environment/BackgroundPicture.h"

#include "environment/RippleGrid.h"
#include "platform/MsvcRandom.h"

#include <GL/gl.h>

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

void DrawRippledPicture(RippleGrid& grid, unsigned texture, int resolutionIndex,
                        int screenWidth, int screenHeight)
{
    glPushAttrib(GL_TEXTURE_BIT);
    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, texture);
    glTranslatef(0.0f, 0.0f, -110.0f);
    glScalef(BackgroundPictureScaleX(resolutionIndex), 40.0f, 1.0f);
    // The first draw is thrown away; keeping it keeps every later random
    // choice in the program on the same sequence.
    Rand();
    const int offset = -200 + 50 * (Rand() % 9);
    grid.AddDrop(screenWidth / 2 + offset, screenHeight / 2 + 50);
    grid.Draw();
    grid.Update();
    glPopMatrix();
    glPopAttrib();
}
