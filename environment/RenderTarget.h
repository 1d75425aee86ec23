// SPDX-License-Identifier: MIT
#pragma once

#include "environment/FastPathApi.h"

// An off-screen picture of width x height pixels that GL can draw into and
// then sample: one framebuffer object with one colour texture and no depth
// buffer (a depth buffer turns a software renderer's fast path off for
// everything drawn into the target), and, when asked for, a twin framebuffer
// drawing into the same texture with a depth buffer of its own, for what
// needs the depth test. The texture is stored as B,G,R,A bytes (an unsized RGBA texture
// given BGRA data), which is what a software renderer samples fastest, and
// its edges are clamped.
class RenderTarget {
public:
    RenderTarget() = default;
    ~RenderTarget() = default;   // Release must run while the context is current
    RenderTarget(const RenderTarget&) = delete;
    RenderTarget& operator=(const RenderTarget&) = delete;

    // Makes (or remakes, when size or filter differ, or a twin is asked for
    // and missing) the target; filter is the texture's GL_NEAREST or
    // GL_LINEAR; depthTwin adds the twin with a 24-bit depth buffer. False, with nothing kept, when GL refuses it.
    // Leaves the framebuffer, renderbuffer and texture bindings as they were.
    bool Ensure(const FastPathApi& gl, int width, int height, GLint filter, bool depthTwin = false);
    void Release(const FastPathApi& gl);

    bool Ok() const { return m_framebuffer != 0; }
    GLuint Framebuffer() const { return m_framebuffer; }
    GLuint DepthTwin() const { return m_twin; }   // 0 when not asked for
    GLuint Texture() const { return m_texture; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    GLuint m_framebuffer = 0;
    GLuint m_texture = 0;
    GLuint m_twin = 0;    // framebuffer: the texture and m_depth
    GLuint m_depth = 0;   // renderbuffer
    int m_width = 0;
    int m_height = 0;
    GLint m_filter = 0;
};
