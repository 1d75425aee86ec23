// SPDX-License-Identifier: MIT
#include "tests/support/GlTestContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <cstring>
#include <dlfcn.h>
#include <link.h>

#ifndef EGL_PLATFORM_SURFACELESS_MESA
#define EGL_PLATFORM_SURFACELESS_MESA 0x31DD
#endif

namespace {

// Keeps the GL driver that EGL loaded in memory to the end of the process.
// eglTerminate unloads it, and a leak report made after that (the leak
// checker runs at exit) shows the driver's frames as addresses in no module,
// which no suppression can name.
void PinLoadedDriver()
{
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            const char* name = info->dlpi_name;
            if (name && (std::strstr(name, "_dri.so") || std::strstr(name, "libgallium")))
                dlopen(name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}

}  // namespace

namespace {
int s_living = 0;   // contexts holding the display initialised
}  // namespace

GlTestContext::GlTestContext(int width, int height, bool depth) : m_width(width), m_height(height)
{
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    EGLDisplay display = getPlatformDisplay
        ? getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr)
        : EGL_NO_DISPLAY;
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr))
        return;
    m_display = display;
    ++s_living;
    const EGLint configAttribs[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RED_SIZE, 8,
                                    EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8,
                                    EGL_DEPTH_SIZE, depth ? 24 : 0, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                    EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(display, configAttribs, &config, 1, &count) || count < 1)
        return;
    const EGLint surfaceAttribs[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    EGLSurface surface = eglCreatePbufferSurface(display, config, surfaceAttribs);
    if (surface == EGL_NO_SURFACE)
        return;
    m_surface = surface;
    eglBindAPI(EGL_OPENGL_API);
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
    if (context == EGL_NO_CONTEXT)
        return;
    m_context = context;
    m_ok = eglMakeCurrent(display, surface, surface, context) == EGL_TRUE;
    PinLoadedDriver();
}

GlTestContext::~GlTestContext()
{
    if (!m_display)
        return;
    eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (m_context)
        eglDestroyContext(m_display, m_context);
    if (m_surface)
        eglDestroySurface(m_display, m_surface);
    // Every context of the process shares the one surfaceless display:
    // only the last one to go may end it.
    if (--s_living == 0)
        eglTerminate(m_display);
}

bool GlTestContext::MakeCurrent()
{
    return m_ok && eglMakeCurrent(m_display, m_surface, m_surface, m_context) == EGL_TRUE;
}
