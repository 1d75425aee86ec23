// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// What the current GL implementation offers beyond OpenGL 1.1, looked up at
// run time and never assumed. Everything the program draws works with none of
// it; each feature only opens a cheaper way to the same picture.
//
// The environment variable PLOVI_GL=1.1 makes every implementation count as
// plain 1.1 (the exact fixed-function drawing), whatever it offers.
struct GlFeatures {
    bool fragmentPrograms = false;    // ARB assembly fragment programs
    bool framebufferObjects = false;  // render targets of our own (EXT or core)
    bool anySizeTextures = false;     // sides need not be powers of two
    bool bgraTextures = false;        // B,G,R,A texel order (1.2 or EXT_bgra)
    bool edgeClamp = false;           // GL_CLAMP_TO_EDGE (1.2 or SGIS)

    // The features of the context current on this thread (all false without
    // one), PLOVI_GL honoured.
    static GlFeatures OfCurrentContext();
    // From the strings GL reports: version "major.minor[...]" and the
    // space-separated extension list; override is PLOVI_GL's value or null.
    static GlFeatures FromStrings(const char* version, const char* extensions, const char* override);

    // Everything the picture's fast drawing needs.
    bool FastPicture() const
    {
        return fragmentPrograms && framebufferObjects && anySizeTextures && bgraTextures && edgeClamp;
    }
};

// The entry point of a GL function beyond 1.1 for the context current on this
// thread (EGL's or GLX's loader, whichever made it), or null.
void* GlProcAddress(const char* name);
