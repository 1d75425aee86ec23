// SPDX-License-Identifier: MIT
#pragma once

// A real OpenGL compatibility context for scene tests, with no X server:
// EGL on Mesa's surfaceless platform, a pbuffer of the given size (pixels)
// made current on construction. Immediate mode, selection mode and
// glReadPixels all run on the software renderer.
class GlTestContext {
public:
    // depth: the pbuffer has a 24-bit depth buffer (the exact fixed-function
    // drawing needs one; the fast path draws best without).
    GlTestContext(int width = 256, int height = 256, bool depth = true);
    ~GlTestContext();
    GlTestContext(const GlTestContext&) = delete;
    GlTestContext& operator=(const GlTestContext&) = delete;

    bool Ok() const { return m_ok; }
    // Makes this context and its surface current again (after another one was).
    bool MakeCurrent();
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    void* m_display = nullptr;
    void* m_context = nullptr;
    void* m_surface = nullptr;
    int m_width;
    int m_height;
    bool m_ok = false;
};
