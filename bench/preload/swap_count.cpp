// SPDX-License-Identifier: MIT
// Counts another GL program's frames for the frame-cost script, which has no
// other way to read the frame rate of a program that is not ours. Preloaded
// (LD_PRELOAD) into the program, it passes every glXSwapBuffers and
// eglSwapBuffers on and keeps the running count, as decimal text, at the
// start of the file named by SWAP_COUNT_FILE. Without that variable it only
// passes the calls on.
#include <EGL/egl.h>
#include <GL/glx.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {

void CountSwap()
{
    static const int fd = [] {
        const char* path = std::getenv("SWAP_COUNT_FILE");
        return path ? open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600) : -1;
    }();
    static std::atomic<unsigned long long> swaps{0};
    const unsigned long long count = ++swaps;
    if (fd < 0)
        return;
    // Fixed width, so a shorter count never leaves digits of a longer one.
    char text[24];
    const int length = std::snprintf(text, sizeof text, "%20llu\n", count);
    if (length > 0 && pwrite(fd, text, size_t(length), 0) < 0)
        return;
}

template <typename Function>
Function Next(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable)
{
    static const auto next = Next<void (*)(Display*, GLXDrawable)>("glXSwapBuffers");
    if (next)
        next(display, drawable);
    CountSwap();
}

extern "C" EGLBoolean eglSwapBuffers(EGLDisplay display, EGLSurface surface)
{
    static const auto next = Next<EGLBoolean (*)(EGLDisplay, EGLSurface)>("eglSwapBuffers");
    const EGLBoolean swapped = next ? next(display, surface) : EGL_FALSE;
    CountSwap();
    return swapped;
}
