// SPDX-License-Identifier: MIT
#pragma once
#include "environment/BmpImage.h"

#include <GL/gl.h>
#include <string>
#include <vector>

// The two loaders that turn the BMP files written by the asset store into
// OpenGL texture objects. They need the scene's GL context current, leave the
// texture they made bound to GL_TEXTURE_2D, and give its name to the caller,
// who keeps it for the life of the scene. A file that cannot be read leaves
// the texture without an image (incomplete, so it draws untextured); nothing
// is reported. The GL pixel-store state is restored on return.

// The largest texture side LoadTexture makes: GL_MAX_TEXTURE_SIZE, lowered
// to 512 when larger. Needs a current context.
int TextureSizeLimit();

// True when every texel the texture can give is fully opaque: its image has
// no alpha channel, or every texel of every level has alpha 255; also for a
// texture with no image (it samples as opaque black). Reads the texels back,
// so it is for set-up, not for every frame. Needs a current context; the
// texture binding and the pixel-store state are left as they were.
bool TextureIsOpaque(GLuint name);

// A bitmap fitted to power-of-two sides for upload.
struct FittedImage {
    GLenum format = 0;       // GL_BGR_EXT or GL_BGRA_EXT: the bytes stay blue, green, red(, alpha)
    int components = 0;      // 3 or 4
    int width = 0;           // pixels, a power of two >= 2
    int height = 0;
    std::vector<std::uint8_t> pixels;  // rows of width x components bytes, padded to 4, bottom row first
};

enum class FitResult {
    Unchanged,  // 24/32 bits with power-of-two sides: upload the bitmap's own pixels
    Scaled,     // out.pixels holds the image (8-bit files are always expanded)
    Failed,     // no image could be made
};

// Chooses the texture size for the bitmap: each side becomes the smallest
// power of two (at least 2) not below min(side, maxSize); e.g. with 512:
// 100 -> 128, 128 -> 128, 1024 -> 512, 1 -> 2. 8-bit pixels are looked up in
// the palette; 32-bit files keep their fourth byte as alpha. maxSize is
// normally TextureSizeLimit(). Sets format and components in every case but
// Failed.
FitResult FitToPowerOfTwo(const LoadedBitmap& bitmap, FittedImage& out, int maxSize);

// Generates a texture name into `name`, binds it and uploads the BMP at path
// as one level (no mipmaps), filters GL_LINEAR, wrap left at GL_REPEAT. With
// maxSize 0 the side limit is TextureSizeLimit().
void LoadTexture(const std::string& path, GLuint& name, int maxSize = 0);

// Generates a texture name into `name`, binds it and uploads the 24-bit BMP
// at path (no row padding) as an RGBA mipmap chain in which exactly the pure
// black pixels are transparent; wrap GL_REPEAT, magnifying filter GL_LINEAR,
// minifying filter GL_LINEAR_MIPMAP_NEAREST.
void LoadMipmappedTexture(const std::string& path, GLuint& name);
