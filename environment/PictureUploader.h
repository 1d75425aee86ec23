// SPDX-License-Identifier: MIT
#pragma once
#include <GL/gl.h>
#include <cstdint>
#include <vector>

// Turns a picture already sized and mipmapped elsewhere (a user's own
// background picture) into a texture object. Needs the scene's GL context
// current; restores the texture binding and the pixel-store state it used.
class PictureUploader {
public:
    // One mipmap level: width x height RGBA pixels, 4 bytes each, rows
    // tightly packed, bottom row first.
    struct Level {
        const std::uint8_t* rgba = nullptr;
        int width = 0;
        int height = 0;
    };

    // A new texture name holding the levels in order: either level 0 alone
    // (any size the GL takes), filtered GL_LINEAR both ways, or level 0 first
    // and the whole chain down to 1 x 1, minifying filter
    // GL_LINEAR_MIPMAP_NEAREST, magnifying GL_LINEAR. Edges clamped. 0 when
    // there are no levels or GL refused the image (nothing is left behind).
    static GLuint Upload(const std::vector<Level>& levels);

    // Deletes a texture made by Upload; 0 is ignored.
    static void Release(GLuint texture);

    // GL_MAX_TEXTURE_SIZE of the current context (pixels).
    static int MaxTextureSize();
};
