// SPDX-License-Identifier: MIT
#pragma once

#include "environment/FastPathApi.h"
#include "environment/PictureCover.h"
#include "environment/RenderTarget.h"
#include "environment/ScreenBounds.h"
#include "environment/StillQuads.h"

#include <vector>

class RippleGrid;

// The rippled background picture drawn the cheap way, where the GL offers
// render targets and fragment programs (GlFeatures::FastPicture).
//
// The picture and everything that shapes its pixels (backdrop, light, fog,
// its texture and the window size) change seldom, so the host draws them
// once, unrippled, into a window-size still (BeginStill ... EndStill) and
// does so again only when one of them changes. Every frame then samples the
// still through the ripple (StillQuads) into a target without a depth
// buffer, where a software renderer fills upright, affinely textured
// rectangles with a trivial fragment program on its fast linear path, and
// copies that target pixel for pixel into the framebuffer the host had
// bound. All sizes are window pixels.
//
// A host framebuffer without a depth buffer (the window, where the fast path
// is offered) lets the whole frame be drawn in that target instead
// (BeginFrame ... EndFrame): the ripple into it as it is, everything else
// through its depth twin, and the result copied once into the window on the
// fast path. The copy into a window with a depth buffer would cost as much
// as drawing the picture there.
class FastPicture {
public:
    FastPicture() = default;
    ~FastPicture() = default;   // Release must run while the context is current
    FastPicture(const FastPicture&) = delete;
    FastPicture& operator=(const FastPicture&) = delete;

    // Looks up the entry points and builds the fragment program in the
    // current context. False, with nothing kept, when any part is missing.
    bool Init();
    void Release();
    bool Ready() const { return m_program != 0; }

    // Whatever decides the still's pixels, as numbers the host chooses; the
    // still is redrawn when they differ from the last drawn still's.
    using StillKey = std::vector<double>;
    bool StillCurrent(const StillKey& key) const { return m_stillDrawn && key == m_stillKey; }
    // Forgets the still (a texture may have been remade under the same name).
    void ForgetStill() { m_stillDrawn = false; }

    // Binds a width x height still, cleared with the current clear colour,
    // for the host to draw the picture and its backdrop into with the
    // frame's matrices and viewport. False, with the bound framebuffer
    // unchanged, when the target cannot be made.
    bool BeginStill(int width, int height);
    // Binds back the framebuffer BeginStill found; the still now stands for key.
    void EndStill(const StillKey& key);

    // Draws the grid's rippled picture from the still over the viewport
    // (0, 0, width, height) of the framebuffer bound now, replacing its
    // pixels: no blending, no depth test, depth untouched. columnX, rowY:
    // the grid's lines in window pixels. False, with nothing drawn, when
    // there is no still of that size or a target cannot be made.
    bool DrawRippled(const RippleGrid& grid, const double (&columnX)[PictureCover::kLines],
                     const double (&rowY)[PictureCover::kLines], int width, int height);

    // When the framebuffer bound now has no depth buffer: binds the frame
    // target's depth twin (width x height, contents undefined until cleared)
    // for the host to draw the frame into, and returns true. False, with
    // nothing changed, otherwise or when the target cannot be made.
    bool BeginFrame(int width, int height);
    bool InFrame() const { return m_inFrame; }
    // Binds the framebuffer BeginFrame found and copies the frame into it.
    void EndFrame();

    // Draws the grid's rippled picture from the still straight into the
    // framebuffer bound now (in a layer: the one the layer was begun over),
    // over the viewport (0, 0, width, height),
    // replacing its pixels as DrawRippled does. Where that framebuffer has no
    // depth buffer the rectangles take the fast path there, and no copy is
    // needed. False, with nothing drawn, when there is no still of that size.
    bool DrawRippledInPlace(const RippleGrid& grid, const double (&columnX)[PictureCover::kLines],
                            const double (&rowY)[PictureCover::kLines], int width, int height);

    // The still as it is, 1:1, the same way: for a frame with no picture,
    // whose still is the backdrop alone.
    bool DrawStillInPlace(int width, int height);

    // The fish layer, for a frame whose picture was drawn in place in a
    // framebuffer without a depth buffer: BeginLayer binds a width x height
    // target with a depth buffer, clear (colour 0, alpha 0, depth 1) where
    // the host has not drawn, for the host to draw opaque things into with
    // the frame's matrices; EndLayer binds back the framebuffer BeginLayer
    // found, lays the layer's drawn pixels over it within the rectangles
    // the host reports, and clears those rectangles in the layer again.
    // Every pixel the host drew must lie in a rectangle (or bounds.Whole()),
    // and be opaque: the layer is laid over with premultiplied blending,
    // which the renderer does on its fast path and which leaves an opaque
    // pixel as drawn and a cleared one as it was. False, with nothing
    // changed, when the bound framebuffer has a depth buffer or the target
    // cannot be made.
    bool BeginLayer(int width, int height);
    bool InLayer() const { return m_inLayer; }
    void EndLayer(const ScreenBounds& bounds);

    // For tests: the targets' framebuffer and texture names.
    const RenderTarget& Still() const { return m_still; }
    const RenderTarget& Frame() const { return m_frame; }
    const RenderTarget& Layer() const { return m_layer; }

private:
    // A still of width x height pixels is drawn and can be sampled.
    bool StillFits(int width, int height) const
    {
        return Ready() && m_stillDrawn && m_still.Width() == width && m_still.Height() == height;
    }
    void DrawQuads(GLuint texture) const;   // m_quads, sampling texture
    void DrawStillQuadsInPlace(int width, int height);   // m_quads from the still, see DrawRippledInPlace
    // The bound layer cleared within rects, or wholly for nullptr.
    void ClearLayer(const std::vector<ScreenBounds::Rect>* rects);
    void CopyWhole(GLuint texture, int width, int height);   // texture 1:1 over the viewport

    FastPathApi m_gl;
    GLuint m_program = 0;
    RenderTarget m_still;   // the unrippled picture, linear filtering
    RenderTarget m_frame;   // this frame's picture (and, in a frame, all of it), copied 1:1
    GLuint m_frameOuter = 0;   // the framebuffer bound before BeginFrame
    bool m_inFrame = false;
    GLuint m_outer = 0;     // the framebuffer bound before BeginStill
    RenderTarget m_layer;   // the fish layer: clear outside what a frame drew
    GLuint m_layerOuter = 0;   // the framebuffer bound before BeginLayer
    bool m_inLayer = false;
    StillKey m_stillKey;
    bool m_stillDrawn = false;
    std::vector<StillQuad> m_quads;
};
