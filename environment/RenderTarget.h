// SPDX-License-Identifier: MIT
#pragma once

#include "environment/FastPathApi.h"

// An off-screen picture of width x height pixels that GL can draw into and
// then sample: one framebuffer object with one colour texture and no depth
// buffer. The texture is stored as B,G,R,A bytes (an unsized RGBA texture
// given BGRA data), which is what a software renderer samples fastest, and
// its edges are clamped.
class RenderTarget {
public:
    RenderTarget() = default;
    ~RenderTarget() = default;   // Release must run while the context is current
    RenderTarget(const RenderTarget&) = delete;
    RenderTarget& operator=(const RenderTarget&) = delete;

    // Makes (or remakes, when the size differs) the target; filter is the
    // texture's GL_NEAREST or GL_LINEAR. False, with nothing kept, when GL
    // refuses it. Leaves the framebuffer and texture bindings as they were.
    bool Ensure(const FastPathApi& gl, int width, int height, GLint filter);
    void Release(const FastPathApi& gl);

    bool Ok() const { return m_framebuffer != 0; }
    GLuint Framebuffer() const { return m_framebuffer; }
    GLuint Texture() const { return m_texture; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    GLuint m_framebuffer = 0;
    GLuint m_texture = 0;
    int m_width = 0;
    int m_height = 0;
    GLint m_filter = 0;
};
