// SPDX-License-Identifier: MIT
#include "environment/FastPicture.h"

#include "environment/RippleGrid.h"

#include <cstring>

namespace {

// The colour is the texel, nothing else: no colour, fog or lighting term,
// the texture coordinate used as it comes.
const char kCopyProgram[] =
    "!!ARBfp1.0\n"
    "TEX result.color, fragment.texcoord[0], texture[0], 2D;\n"
    "END\n";

// Everything the copy passes touch, put back on leaving: enables, texture
// binding and environment, matrices (both stacks and the texture matrix),
// the colour, the viewport.
class CopyStateScope {
public:
    CopyStateScope(int width, int height)
    {
        glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT | GL_TRANSFORM_BIT |
                     GL_VIEWPORT_BIT | GL_DEPTH_BUFFER_BIT | GL_COLOR_BUFFER_BIT);
        glMatrixMode(GL_TEXTURE);
        glPushMatrix();
        glLoadIdentity();
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        for (GLenum cap : {GL_BLEND, GL_DEPTH_TEST, GL_LIGHTING, GL_FOG, GL_ALPHA_TEST, GL_SCISSOR_TEST,
                           GL_STENCIL_TEST, GL_CULL_FACE, GL_DITHER, GL_COLOR_LOGIC_OP})
            glDisable(cap);
        glDepthMask(GL_FALSE);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glViewport(0, 0, width, height);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_FRAGMENT_PROGRAM_ARB);
    }
    ~CopyStateScope()
    {
        glMatrixMode(GL_TEXTURE);
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
        glPopAttrib();
    }
    CopyStateScope(const CopyStateScope&) = delete;
    CopyStateScope& operator=(const CopyStateScope&) = delete;
};

// Window pixels [x0, x1) x [y0, y1) of a width x height window, sampling a
// window-size texture 1:1 at the same place.
StillQuad PixelQuad(int x0, int y0, int x1, int y1, int width, int height)
{
    const float u0 = float(x0) / width, u1 = float(x1) / width;
    const float v0 = float(y0) / height, v1 = float(y1) / height;
    return {float(x0), float(y0), float(x1), float(y1), {u0, u1, u1, u0}, {v0, v0, v1, v1}};
}

}  // namespace

bool FastPicture::Init()
{
    Release();
    if (!m_gl.Load())
        return false;
    while (glGetError() != GL_NO_ERROR) {
    }
    m_gl.genPrograms(1, &m_program);
    m_gl.bindProgram(GL_FRAGMENT_PROGRAM_ARB, m_program);
    m_gl.programString(GL_FRAGMENT_PROGRAM_ARB, GL_PROGRAM_FORMAT_ASCII_ARB, GLsizei(std::strlen(kCopyProgram)),
                       kCopyProgram);
    GLint errorAt = 0;
    glGetIntegerv(GL_PROGRAM_ERROR_POSITION_ARB, &errorAt);
    m_gl.bindProgram(GL_FRAGMENT_PROGRAM_ARB, 0);
    if (errorAt != -1 || glGetError() != GL_NO_ERROR) {
        Release();
        return false;
    }
    return true;
}

void FastPicture::Release()
{
    if (m_gl.Loaded()) {
        m_still.Release(m_gl);
        m_frame.Release(m_gl);
        m_layer.Release(m_gl);
        if (m_program != 0)
            m_gl.deletePrograms(1, &m_program);
    }
    m_program = 0;
    m_inFrame = false;
    m_inLayer = false;
    m_stillDrawn = false;
    m_stillKey.clear();
}

bool FastPicture::BeginStill(int width, int height)
{
    if (!Ready() || !m_still.Ensure(m_gl, width, height, GL_LINEAR))
        return false;
    m_stillDrawn = false;
    m_outer = FastPathApi::BoundFramebuffer();
    m_gl.bindFramebuffer(GL_FRAMEBUFFER_EXT, m_still.Framebuffer());
    glClear(GL_COLOR_BUFFER_BIT);
    return true;
}

void FastPicture::EndStill(const StillKey& key)
{
    m_gl.bindFramebuffer(GL_FRAMEBUFFER_EXT, m_outer);
    m_stillKey = key;
    m_stillDrawn = true;
}

bool FastPicture::DrawRippled(const RippleGrid& grid, const double (&columnX)[PictureCover::kLines],
                              const double (&rowY)[PictureCover::kLines], int width, int height)
{
    if (!StillFits(width, height))
        return false;
    if (m_inFrame && (m_frame.Width() != width || m_frame.Height() != height))
        return false;
    if (!m_inFrame && !m_frame.Ensure(m_gl, width, height, GL_NEAREST))
        return false;
    BuildStillQuads(grid, columnX, rowY, width, height, m_quads);
    const GLuint outer = FastPathApi::BoundFramebuffer();
    CopyStateScope scope(width, height);
    m_gl.bindProgram(GL_FRAGMENT_PROGRAM_ARB, m_program);
    // Into the frame target's colour alone, without a depth buffer: there
    // the rectangles take the renderer's fast path.
    m_gl.bindFramebuffer(GL_FRAMEBUFFER_EXT, m_frame.Framebuffer());
    DrawQuads(m_still.Texture());
    m_gl.bindFramebuffer(GL_FRAMEBUFFER_EXT, outer);
    if (!m_inFrame)
        CopyWhole(m_frame.Texture(), width, height);
    m_gl.bindProgram(GL_FRAGMENT_PROGRAM_ARB, 0);
    return true;
}

bool FastPicture::DrawRippledInPlace(const RippleGrid& grid, const double (&columnX)[PictureCover::kLines],
                                     const double (&rowY)[PictureCover::kLines], int width, int height)
{
    if (!StillFits(width, height))
        return false;
    BuildStillQuads(grid, columnX, rowY, width, height, m_quads);
    DrawStillQuadsInPlace(width, height);
    return true;
}

bool FastPicture::DrawStillInPlace(int width, int height)
{
    if (!StillFits(width, height))
        return false;
    m_quads.assign(1, PixelQuad(0, 0, width, height, width, height));
    DrawStillQuadsInPlace(width, height);
    return true;
}

void FastPicture::DrawStillQuadsInPlace(int width, int height)
{
    if (m_inLayer)
        m_gl.bindFramebuffer(GL_FRAMEBUFFER_EXT, m_layerOuter);
    {
        CopyStateScope scope(width, height);
        m_gl.bindProgram(GL_FRAGMENT_PROGRAM_ARB, m_program);
        DrawQuads(m_still.Texture());
        m_gl.bindProgram(GL_FRAGMENT_PROGRAM_ARB, 0);
    }
    if (m_inLayer)
        m_gl.bindFramebuffer(GL_FRAMEBUFFER_EXT, m_layer.DepthTwin());
}

bool FastPicture::BeginLayer(int width, int height)
{
    m_inLayer = false;
    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    if (!Ready() || depthBits != 0)
        return false;
    const GLuint texture = m_layer.Texture();
    if (!m_layer.Ensure(m_gl, width, height, GL_NEAREST, true))
        return false;
    m_layerOuter = FastPathApi::BoundFramebuffer();
    m_gl.bindFramebuffer(GL_FRAMEBUFFER_EXT, m_layer.DepthTwin());
    // A target made just now holds nothing defined yet.
    if (m_layer.Texture() != texture)
        ClearLayer(nullptr);
    m_inLayer = true;
    return true;
}

void FastPicture::EndLayer(const ScreenBounds& bounds)
{
    if (!m_inLayer)
        return;
    m_inLayer = false;
    const int width = m_layer.Width(), height = m_layer.Height();
    m_quads.clear();
    if (bounds.Whole())
        m_quads.push_back(PixelQuad(0, 0, width, height, width, height));
    for (const ScreenBounds::Rect& r : bounds.Rects())
        m_quads.push_back(PixelQuad(r.x0, r.y0, r.x1, r.y1, width, height));
    m_gl.bindFramebuffer(GL_FRAMEBUFFER_EXT, m_layerOuter);
    {
        CopyStateScope scope(width, height);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        m_gl.bindProgram(GL_FRAGMENT_PROGRAM_ARB, m_program);
        DrawQuads(m_layer.Texture());
        m_gl.bindProgram(GL_FRAGMENT_PROGRAM_ARB, 0);
    }
    // Cleared again where drawn, so the next frame finds the layer clear.
    m_gl.bindFramebuffer(GL_FRAMEBUFFER_EXT, m_layer.DepthTwin());
    ClearLayer(bounds.Whole() ? nullptr : &bounds.Rects());
    m_gl.bindFramebuffer(GL_FRAMEBUFFER_EXT, m_layerOuter);
}

void FastPicture::ClearLayer(const std::vector<ScreenBounds::Rect>* rects)
{
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_SCISSOR_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    if (!rects) {
        glDisable(GL_SCISSOR_TEST);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    } else {
        glEnable(GL_SCISSOR_TEST);
        for (const ScreenBounds::Rect& r : *rects) {
            glScissor(r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        }
    }
    glPopAttrib();
}

bool FastPicture::BeginFrame(int width, int height)
{
    m_inFrame = false;
    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    if (!Ready() || depthBits != 0 || !m_frame.Ensure(m_gl, width, height, GL_NEAREST, true))
        return false;
    m_frameOuter = FastPathApi::BoundFramebuffer();
    m_gl.bindFramebuffer(GL_FRAMEBUFFER_EXT, m_frame.DepthTwin());
    m_inFrame = true;
    return true;
}

void FastPicture::EndFrame()
{
    if (!m_inFrame)
        return;
    m_inFrame = false;
    m_gl.bindFramebuffer(GL_FRAMEBUFFER_EXT, m_frameOuter);
    CopyStateScope scope(m_frame.Width(), m_frame.Height());
    m_gl.bindProgram(GL_FRAGMENT_PROGRAM_ARB, m_program);
    CopyWhole(m_frame.Texture(), m_frame.Width(), m_frame.Height());
    m_gl.bindProgram(GL_FRAGMENT_PROGRAM_ARB, 0);
}

void FastPicture::CopyWhole(GLuint texture, int width, int height)
{
    m_quads.assign(1, PixelQuad(0, 0, width, height, width, height));
    DrawQuads(texture);
}

void FastPicture::DrawQuads(GLuint texture) const
{
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    for (const StillQuad& q : m_quads) {
        glTexCoord2f(q.u[0], q.v[0]);
        glVertex2f(q.x0, q.y0);
        glTexCoord2f(q.u[1], q.v[1]);
        glVertex2f(q.x1, q.y0);
        glTexCoord2f(q.u[2], q.v[2]);
        glVertex2f(q.x1, q.y1);
        glTexCoord2f(q.u[3], q.v[3]);
        glVertex2f(q.x0, q.y1);
    }
    glEnd();
}
