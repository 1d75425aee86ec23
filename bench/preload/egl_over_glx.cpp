// SPDX-License-Identifier: MIT
// Lets an EGL-only X11 program present through GLX, so that frame_cost.sh can
// compare it with ours on equal terms. Mesa's software EGL on X11 sends every
// frame to the server through the socket, while its software GLX (which we
// use) puts it in shared memory; a reference drawn through EGL therefore pays
// for presentation what ours does not, and its cost per frame is not a fair
// yardstick. Preloaded (LD_PRELOAD) into such a program, this library answers
// the few EGL calls an X11 window program makes with their GLX counterparts.
//
// Covered: one X11 display, window surfaces, OpenGL (not ES) contexts; the
// other EGL calls are not provided, so a program that needs them fails to
// start rather than drawing wrongly. GLX is reached through libGLX itself so
// that a program defining GLX names of its own (some wrap EGL that way) cannot
// capture the calls.
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/glx.h>
#include <dlfcn.h>

#include <cstdint>
#include <vector>

namespace {

template <typename Function>
Function Glx(const char* name)
{
    static void* const library = dlopen("libGLX.so.0", RTLD_NOW | RTLD_LOCAL);
    return library ? reinterpret_cast<Function>(dlsym(library, name)) : nullptr;
}

Display* DisplayOf(EGLDisplay display) { return static_cast<Display*>(display); }

// The GLX attribute an EGL config attribute stands for, or 0 when GLX has none
// that means the same.
int GlxAttribute(EGLint attribute)
{
    switch (attribute) {
    case EGL_RED_SIZE: return GLX_RED_SIZE;
    case EGL_GREEN_SIZE: return GLX_GREEN_SIZE;
    case EGL_BLUE_SIZE: return GLX_BLUE_SIZE;
    case EGL_ALPHA_SIZE: return GLX_ALPHA_SIZE;
    case EGL_BUFFER_SIZE: return GLX_BUFFER_SIZE;
    case EGL_DEPTH_SIZE: return GLX_DEPTH_SIZE;
    case EGL_STENCIL_SIZE: return GLX_STENCIL_SIZE;
    case EGL_SAMPLES: return GLX_SAMPLES;
    case EGL_SAMPLE_BUFFERS: return GLX_SAMPLE_BUFFERS;
    case EGL_NATIVE_VISUAL_ID: return GLX_VISUAL_ID;
    case EGL_CONFIG_ID: return GLX_FBCONFIG_ID;
    default: return 0;
    }
}

}  // namespace

extern "C" {

EGLDisplay eglGetDisplay(EGLNativeDisplayType native)
{
    if (native != EGL_DEFAULT_DISPLAY)
        return static_cast<EGLDisplay>(native);
    static Display* const opened = XOpenDisplay(nullptr);
    return opened ? static_cast<EGLDisplay>(opened) : EGL_NO_DISPLAY;
}

EGLDisplay eglGetPlatformDisplay(EGLenum platform, void* native, const EGLAttrib*)
{
    if (platform != EGL_PLATFORM_X11_KHR)
        return EGL_NO_DISPLAY;
    return eglGetDisplay(static_cast<EGLNativeDisplayType>(native));
}

EGLBoolean eglInitialize(EGLDisplay display, EGLint* major, EGLint* minor)
{
    if (display == EGL_NO_DISPLAY)
        return EGL_FALSE;
    if (major)
        *major = 1;
    if (minor)
        *minor = 5;
    return EGL_TRUE;
}

EGLBoolean eglBindAPI(EGLenum api) { return api == EGL_OPENGL_API ? EGL_TRUE : EGL_FALSE; }

// The sizes asked for are passed on; everything else an X11 window program
// asks (window surfaces, OpenGL rendering) is what every config given here is.
EGLBoolean eglChooseConfig(EGLDisplay display, const EGLint* wanted, EGLConfig* configs,
                           EGLint capacity, EGLint* count)
{
    if (!count)
        return EGL_FALSE;
    std::vector<int> attributes{GLX_X_RENDERABLE, True, GLX_DRAWABLE_TYPE, GLX_WINDOW_BIT,
                                GLX_RENDER_TYPE, GLX_RGBA_BIT, GLX_DOUBLEBUFFER, True};
    for (const EGLint* pair = wanted; pair && pair[0] != EGL_NONE; pair += 2) {
        const int glx = GlxAttribute(pair[0]);
        if (glx != 0 && glx != GLX_VISUAL_ID && glx != GLX_FBCONFIG_ID && pair[1] != EGL_DONT_CARE) {
            attributes.push_back(glx);
            attributes.push_back(pair[1]);
        }
    }
    attributes.push_back(None);
    Display* x = DisplayOf(display);
    int found = 0;
    GLXFBConfig* list = Glx<GLXFBConfig* (*)(Display*, int, const int*, int*)>("glXChooseFBConfig")(
        x, DefaultScreen(x), attributes.data(), &found);
    EGLint given = 0;
    for (; list && given < found && (!configs || given < capacity); ++given)
        if (configs)
            configs[given] = static_cast<EGLConfig>(list[given]);
    if (list)
        XFree(list);
    *count = configs ? given : found;
    return EGL_TRUE;
}

EGLBoolean eglGetConfigAttrib(EGLDisplay display, EGLConfig config, EGLint attribute, EGLint* value)
{
    const int glx = GlxAttribute(attribute);
    if (!value)
        return EGL_FALSE;
    int answer = 0;
    if (glx != 0)
        Glx<int (*)(Display*, GLXFBConfig, int, int*)>("glXGetFBConfigAttrib")(
            DisplayOf(display), static_cast<GLXFBConfig>(config), glx, &answer);
    *value = answer;
    return glx != 0 ? EGL_TRUE : EGL_FALSE;
}

EGLSurface eglCreatePlatformWindowSurface(EGLDisplay display, EGLConfig config, void* native,
                                          const EGLAttrib*)
{
    const Window window = *static_cast<Window*>(native);
    const GLXWindow drawable = Glx<GLXWindow (*)(Display*, GLXFBConfig, Window, const int*)>(
        "glXCreateWindow")(DisplayOf(display), static_cast<GLXFBConfig>(config), window, nullptr);
    return drawable ? reinterpret_cast<EGLSurface>(static_cast<std::uintptr_t>(drawable))
                    : EGL_NO_SURFACE;
}

EGLContext eglCreateContext(EGLDisplay display, EGLConfig config, EGLContext share, const EGLint*)
{
    GLXContext context = Glx<GLXContext (*)(Display*, GLXFBConfig, int, GLXContext, Bool)>(
        "glXCreateNewContext")(DisplayOf(display), static_cast<GLXFBConfig>(config), GLX_RGBA_TYPE,
                               static_cast<GLXContext>(share), True);
    return context ? static_cast<EGLContext>(context) : EGL_NO_CONTEXT;
}

EGLBoolean eglMakeCurrent(EGLDisplay display, EGLSurface draw, EGLSurface read, EGLContext context)
{
    auto drawable = [](EGLSurface surface) {
        return static_cast<GLXDrawable>(reinterpret_cast<std::uintptr_t>(surface));
    };
    return Glx<Bool (*)(Display*, GLXDrawable, GLXDrawable, GLXContext)>("glXMakeContextCurrent")(
               DisplayOf(display), drawable(draw), drawable(read), static_cast<GLXContext>(context))
               ? EGL_TRUE
               : EGL_FALSE;
}

EGLBoolean eglSwapBuffers(EGLDisplay display, EGLSurface surface)
{
    Glx<void (*)(Display*, GLXDrawable)>("glXSwapBuffers")(
        DisplayOf(display), static_cast<GLXDrawable>(reinterpret_cast<std::uintptr_t>(surface)));
    return EGL_TRUE;
}

}  // extern "C"
