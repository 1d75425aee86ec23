// SPDX-License-Identifier: MIT
#pragma once

#include <GL/gl.h>

// Keeps a render pass from leaking GL state into the next one: on entry it
// saves the enable bits, the current colour, the texture binding and both
// matrices; on exit it puts them all back and leaves the model-view matrix
// current, whatever the pass did in between.
class GlPassScope {
public:
    GlPassScope()
    {
        glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_TEXTURE_BIT | GL_TRANSFORM_BIT);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
    }
    ~GlPassScope()
    {
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
        glPopAttrib();
    }
    GlPassScope(const GlPassScope&) = delete;
    GlPassScope& operator=(const GlPassScope&) = delete;
};
