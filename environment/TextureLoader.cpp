// SPDX-License-Identifier: MIT
#include "environment/TextureLoader.h"

#include <algorithm>

#include <GL/glext.h>
#include <GL/glu.h>
#include <new>

namespace {

// Pixel rows in client memory are padded to 4 bytes, as BMP rows are.
class PixelStoreScope {
public:
    PixelStoreScope()
    {
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        for (GLenum e : {GL_UNPACK_ROW_LENGTH, GL_UNPACK_SKIP_ROWS, GL_UNPACK_SKIP_PIXELS, GL_PACK_ROW_LENGTH,
                         GL_PACK_SKIP_ROWS, GL_PACK_SKIP_PIXELS})
            glPixelStorei(e, 0);
        glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
        glPixelStorei(GL_PACK_SWAP_BYTES, GL_FALSE);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
    }
    ~PixelStoreScope() { glPopClientAttrib(); }
    PixelStoreScope(const PixelStoreScope&) = delete;
    PixelStoreScope& operator=(const PixelStoreScope&) = delete;
};

int PowerOfTwoSide(int side, int maxSize)
{
    const int target = std::min(side, std::max(maxSize, 2));
    int p = 2;
    while (p < target && p <= maxSize / 2)
        p *= 2;
    return p;
}

// The 8-bit pixels looked up in the palette: rows of blue, green, red.
bool ExpandPalette(const LoadedBitmap& bitmap, std::vector<std::uint8_t>& out)
{
    const std::uint64_t sourceRow = BmpRowSize(8, bitmap.Width());
    const std::uint64_t targetRow = BmpRowSize(24, bitmap.Width());
    try {
        out.assign(std::size_t(targetRow * std::uint64_t(bitmap.Height())), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const std::uint8_t* palette = bitmap.Palette();
    for (int y = 0; y < bitmap.Height(); ++y) {
        const std::uint8_t* source = bitmap.Pixels() + sourceRow * std::uint64_t(y);
        std::uint8_t* target = out.data() + targetRow * std::uint64_t(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            const std::uint8_t* entry = palette + 4 * source[x];  // indices were checked on loading
            target[3 * x] = entry[0];
            target[3 * x + 1] = entry[1];
            target[3 * x + 2] = entry[2];
        }
    }
    return true;
}

}  // namespace

int TextureSizeLimit()
{
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    return size > 512 ? 512 : int(size);
}

bool TextureIsOpaque(GLuint name)
{
    glPushAttrib(GL_TEXTURE_BIT);
    glBindTexture(GL_TEXTURE_2D, name);
    PixelStoreScope store;
    bool opaque = true;
    std::vector<GLubyte> alpha;
    for (GLint level = 0; opaque; ++level) {
        GLint width = 0, height = 0, alphaBits = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &height);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
        if (width <= 0 || height <= 0)
            break;
        if (alphaBits == 0)
            continue;
        alpha.assign(std::size_t(width) * std::size_t(height), 0);
        glGetTexImage(GL_TEXTURE_2D, level, GL_ALPHA, GL_UNSIGNED_BYTE, alpha.data());
        opaque = std::all_of(alpha.begin(), alpha.end(), [](GLubyte a) { return a == 255; });
    }
    glPopAttrib();
    return opaque;
}

FitResult FitToPowerOfTwo(const LoadedBitmap& bitmap, FittedImage& out, int maxSize)
{
    out = FittedImage{};
    const int w = bitmap.Width(), h = bitmap.Height(), bits = bitmap.Bits();
    if (w <= 0 || h <= 0 || (bits != 8 && bits != 24 && bits != 32))
        return FitResult::Failed;
    const bool alpha = bits == 32;
    out.format = alpha ? GL_BGRA_EXT : GL_BGR_EXT;
    out.components = alpha ? 4 : 3;
    out.width = PowerOfTwoSide(w, maxSize);
    out.height = PowerOfTwoSide(h, maxSize);
    if (out.width == w && out.height == h && bits != 8)
        return FitResult::Unchanged;

    std::vector<std::uint8_t> expanded;
    if (bits == 8 && !ExpandPalette(bitmap, expanded))
        return FitResult::Failed;
    const void* source = bits == 8 ? expanded.data() : bitmap.Pixels();
    try {
        out.pixels.assign(std::size_t(BmpRowSize(out.components * 8, out.width) * std::uint64_t(out.height)), 0);
    } catch (const std::bad_alloc&) {
        return FitResult::Failed;
    }
    // Only the component count matters to the scaling; the bytes keep their
    // blue-green-red order.
    PixelStoreScope store;
    const GLint status = gluScaleImage(alpha ? GL_BGRA_EXT : GL_RGB, w, h, GL_UNSIGNED_BYTE, source, out.width,
                                       out.height, GL_UNSIGNED_BYTE, out.pixels.data());
    if (status != 0) {
        out.pixels.clear();
        return FitResult::Failed;
    }
    return FitResult::Scaled;
}

void LoadTexture(const std::string& path, GLuint& name, int maxSize)
{
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    LoadedBitmap bitmap;
    if (!LoadBmpFile(path, bitmap))
        return;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    FittedImage image;
    const FitResult fit = FitToPowerOfTwo(bitmap, image, maxSize > 0 ? maxSize : TextureSizeLimit());
    if (fit == FitResult::Failed)
        return;
    PixelStoreScope store;
    if (fit == FitResult::Scaled)
        glTexImage2D(GL_TEXTURE_2D, 0, image.components, image.width, image.height, 0, image.format,
                     GL_UNSIGNED_BYTE, image.pixels.data());
    else
        glTexImage2D(GL_TEXTURE_2D, 0, image.components, bitmap.Width(), bitmap.Height(), 0, image.format,
                     GL_UNSIGNED_BYTE, bitmap.Pixels());
}

void LoadMipmappedTexture(const std::string& path, GLuint& name)
{
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    BmpInfoHeader info;
    const std::vector<std::uint8_t> pixels = ReadBmpRgba(path, info);
    if (pixels.empty())
        return;
    {
        PixelStoreScope store;
        gluBuild2DMipmaps(GL_TEXTURE_2D, 4, info.width, info.height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
}
