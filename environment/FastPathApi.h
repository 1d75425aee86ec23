// SPDX-License-Identifier: MIT
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

// The GL entry points beyond 1.1 that the fast drawing path uses: render
// targets of our own (framebuffer objects, the 3.0 names or the EXT ones)
// and ARB assembly fragment programs. All looked up at run time for the
// context current when Load runs; usable only with that context.
struct FastPathApi {
    PFNGLGENFRAMEBUFFERSEXTPROC genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSEXTPROC deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFEREXTPROC bindFramebuffer = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DEXTPROC framebufferTexture2D = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC checkFramebufferStatus = nullptr;
    PFNGLGENRENDERBUFFERSEXTPROC genRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSEXTPROC deleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFEREXTPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEEXTPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC framebufferRenderbuffer = nullptr;
    PFNGLGENPROGRAMSARBPROC genPrograms = nullptr;
    PFNGLDELETEPROGRAMSARBPROC deletePrograms = nullptr;
    PFNGLBINDPROGRAMARBPROC bindProgram = nullptr;
    PFNGLPROGRAMSTRINGARBPROC programString = nullptr;

    // Fills every pointer; false (all null) when any one is missing.
    bool Load();
    bool Loaded() const { return programString != nullptr; }

    // The framebuffer bound now (0: the window's own).
    static GLuint BoundFramebuffer();
};
