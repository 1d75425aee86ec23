// SPDX-License-Identifier: MIT
#include "platform/GlFeatures.h"

#include <GL/gl.h>

#include <cstdlib>
#include <cstring>
#include <dlfcn.h>

namespace {

bool HasExtension(const char* list, const char* name)
{
    if (!list)
        return false;
    const std::size_t length = std::strlen(name);
    for (const char* at = list; (at = std::strstr(at, name)) != nullptr; at += length) {
        const bool startsWord = at == list || at[-1] == ' ';
        const bool endsWord = at[length] == ' ' || at[length] == '\0';
        if (startsWord && endsWord)
            return true;
    }
    return false;
}

// "major.minor" at the start of the version string (vendor text may follow);
// 0 when it does not parse.
int VersionNumber(const char* version)
{
    if (!version)
        return 0;
    char* end = nullptr;
    const long major = std::strtol(version, &end, 10);
    if (end == version || *end != '.' || major < 1 || major > 99)
        return 0;
    const char* minorText = end + 1;
    const long minor = std::strtol(minorText, &end, 10);
    if (end == minorText || minor < 0 || minor > 9)
        return 0;
    return int(major * 10 + minor);
}

}  // namespace

GlFeatures GlFeatures::FromStrings(const char* version, const char* extensions, const char* override)
{
    GlFeatures f;
    if (override && std::strcmp(override, "1.1") == 0)
        return f;
    const int v = VersionNumber(version);
    if (v == 0)
        return f;
    f.fragmentPrograms = HasExtension(extensions, "GL_ARB_fragment_program");
    f.framebufferObjects = v >= 30 || HasExtension(extensions, "GL_ARB_framebuffer_object") ||
                           HasExtension(extensions, "GL_EXT_framebuffer_object");
    f.anySizeTextures = v >= 20 || HasExtension(extensions, "GL_ARB_texture_non_power_of_two");
    f.bgraTextures = v >= 12 || HasExtension(extensions, "GL_EXT_bgra");
    f.edgeClamp = v >= 12 || HasExtension(extensions, "GL_SGIS_texture_edge_clamp") ||
                  HasExtension(extensions, "GL_EXT_texture_edge_clamp");
    return f;
}

GlFeatures GlFeatures::OfCurrentContext()
{
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return FromStrings(version, extensions, std::getenv("PLOVI_GL"));
}

void* GlProcAddress(const char* name)
{
    // Looked up through the process's own symbols, so that neither loader
    // library has to be linked: EGL's when an EGL context is current, else
    // GLX's.
    using Loader = void* (*)(const char*);
    using CurrentContext = void* (*)();
    auto eglCurrent = reinterpret_cast<CurrentContext>(dlsym(RTLD_DEFAULT, "eglGetCurrentContext"));
    if (eglCurrent && eglCurrent()) {
        if (auto load = reinterpret_cast<Loader>(dlsym(RTLD_DEFAULT, "eglGetProcAddress")))
            return load(name);
    }
    if (auto load = reinterpret_cast<Loader>(dlsym(RTLD_DEFAULT, "glXGetProcAddressARB")))
        return load(name);
    return nullptr;
}
