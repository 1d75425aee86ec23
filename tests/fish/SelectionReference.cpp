// SPDX-License-Identifier: MIT
#include "tests/fish/SelectionReference.h"

#include <GL/gl.h>
#include <GL/glu.h>

bool SelectionReference::SelectOneObject(int mouseX, int mouseY, int pickSize, const float* position,
                                         const std::function<void()>& draw)
{
    // The hit records are never read, but GL writes them until the render
    // mode switches back, so the buffer outlives the pass.
    static GLuint buffer[512];
    glPushMatrix();
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glSelectBuffer(512, buffer);
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(0);

    GLfloat frame[16];
    glGetFloatv(GL_PROJECTION_MATRIX, frame);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPickMatrix(GLdouble(mouseX), GLdouble(viewport[3] - mouseY), pickSize, pickSize, viewport);
    glMultMatrixf(frame);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(position[0], position[1], position[2]);
    draw();

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    const GLint hits = glRenderMode(GL_RENDER);
    glPopMatrix();
    return hits > 0;
}
