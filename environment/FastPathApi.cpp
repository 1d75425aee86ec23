// SPDX-License-Identifier: MIT
#include "environment/FastPathApi.h"

#include "platform/GlFeatures.h"

namespace {

// The 3.0 name first, then the extension's: the same functions, the same enums.
template <class Pointer>
bool Resolve(Pointer& pointer, const char* coreName, const char* extName)
{
    pointer = reinterpret_cast<Pointer>(GlProcAddress(coreName));
    if (!pointer && extName)
        pointer = reinterpret_cast<Pointer>(GlProcAddress(extName));
    return pointer != nullptr;
}

}  // namespace

bool FastPathApi::Load()
{
    const bool ok = Resolve(genFramebuffers, "glGenFramebuffers", "glGenFramebuffersEXT") &&
                    Resolve(deleteFramebuffers, "glDeleteFramebuffers", "glDeleteFramebuffersEXT") &&
                    Resolve(bindFramebuffer, "glBindFramebuffer", "glBindFramebufferEXT") &&
                    Resolve(framebufferTexture2D, "glFramebufferTexture2D", "glFramebufferTexture2DEXT") &&
                    Resolve(checkFramebufferStatus, "glCheckFramebufferStatus", "glCheckFramebufferStatusEXT") &&
                    Resolve(genRenderbuffers, "glGenRenderbuffers", "glGenRenderbuffersEXT") &&
                    Resolve(deleteRenderbuffers, "glDeleteRenderbuffers", "glDeleteRenderbuffersEXT") &&
                    Resolve(bindRenderbuffer, "glBindRenderbuffer", "glBindRenderbufferEXT") &&
                    Resolve(renderbufferStorage, "glRenderbufferStorage", "glRenderbufferStorageEXT") &&
                    Resolve(framebufferRenderbuffer, "glFramebufferRenderbuffer", "glFramebufferRenderbufferEXT") &&
                    Resolve(genPrograms, "glGenProgramsARB", nullptr) &&
                    Resolve(deletePrograms, "glDeleteProgramsARB", nullptr) &&
                    Resolve(bindProgram, "glBindProgramARB", nullptr) &&
                    Resolve(programString, "glProgramStringARB", nullptr);
    if (!ok)
        *this = FastPathApi{};
    return ok;
}

GLuint FastPathApi::BoundFramebuffer()
{
    GLint bound = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &bound);
    return GLuint(bound);
}
