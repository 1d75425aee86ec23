// SPDX-License-Identifier: MIT
#include "environment/RenderTarget.h"

namespace {

bool Complete(const FastPathApi& gl)
{
    return gl.checkFramebufferStatus(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
}

}  // namespace

bool RenderTarget::Ensure(const FastPathApi& gl, int width, int height, GLint filter, bool depthTwin)
{
    // A twin made once is kept for targets that do not ask for it.
    if (Ok() && width == m_width && height == m_height && filter == m_filter && (!depthTwin || m_twin != 0))
        return true;
    Release(gl);
    if (width <= 0 || height <= 0 || !gl.Loaded())
        return false;
    const GLuint outer = FastPathApi::BoundFramebuffer();
    glPushAttrib(GL_TEXTURE_BIT);
    while (glGetError() != GL_NO_ERROR) {
    }
    glGenTextures(1, &m_texture);
    glBindTexture(GL_TEXTURE_2D, m_texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    gl.genFramebuffers(1, &m_framebuffer);
    gl.bindFramebuffer(GL_FRAMEBUFFER_EXT, m_framebuffer);
    gl.framebufferTexture2D(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, m_texture, 0);
    bool complete = Complete(gl);
    if (depthTwin) {
        GLint outerRenderbuffer = 0;
        glGetIntegerv(GL_RENDERBUFFER_BINDING_EXT, &outerRenderbuffer);
        gl.genRenderbuffers(1, &m_depth);
        gl.bindRenderbuffer(GL_RENDERBUFFER_EXT, m_depth);
        gl.renderbufferStorage(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, width, height);
        gl.bindRenderbuffer(GL_RENDERBUFFER_EXT, GLuint(outerRenderbuffer));
        gl.genFramebuffers(1, &m_twin);
        gl.bindFramebuffer(GL_FRAMEBUFFER_EXT, m_twin);
        gl.framebufferTexture2D(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, m_texture, 0);
        gl.framebufferRenderbuffer(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, m_depth);
        complete = complete && Complete(gl);
    }
    gl.bindFramebuffer(GL_FRAMEBUFFER_EXT, outer);
    glPopAttrib();
    if (!complete || glGetError() != GL_NO_ERROR) {
        Release(gl);
        return false;
    }
    m_width = width;
    m_height = height;
    m_filter = filter;
    return true;
}

void RenderTarget::Release(const FastPathApi& gl)
{
    if (m_framebuffer != 0 && gl.deleteFramebuffers)
        gl.deleteFramebuffers(1, &m_framebuffer);
    if (m_twin != 0 && gl.deleteFramebuffers)
        gl.deleteFramebuffers(1, &m_twin);
    if (m_texture != 0)
        glDeleteTextures(1, &m_texture);
    if (m_depth != 0 && gl.deleteRenderbuffers)
        gl.deleteRenderbuffers(1, &m_depth);
    m_framebuffer = 0;
    m_texture = 0;
    m_twin = 0;
    m_depth = 0;
    m_width = m_height = 0;
    m_filter = 0;
}
