#pragma once

// A real OpenGL compatibility context for scene tests, with no X server:
// EGL on Mesa's surfaceless platform, a pbuffer of the given size (pixels)
// made current on construction. Immediate mode, selection mode and
// glReadPixels all run on the software renderer.
class GlTestContext {
public:
    GlTestContext(int width = 256, int height = 256);
    ~GlTestContext();
    GlTestContext(const GlTestContext&) = delete;
    GlTestContext& operator=(const GlTestContext&) = delete;

    bool Ok() const { return m_ok; }
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
