// SPDX-License-Identifier: MIT
// The BMP loaders on any bytes: the texture loader's reader and fitting (8-,
// 24- and 32-bit files, palette expansion, scaling to powers of two) and the
// background reader, plain and with black keyed out, each up to a real GL
// upload on a surfaceless context.
#include "environment/BmpImage.h"
#include "environment/TextureLoader.h"
#include "fuzz/FuzzScratch.h"
#include "tests/support/GlTestContext.h"

#include <GL/gl.h>

namespace {

// Small limit: the same fitting code, without spending each run on scaling
// up to 512 x 512.
constexpr int kMaxSide = 64;

void CheckFitted(const LoadedBitmap& bmp)
{
    FittedImage fitted;
    const FitResult result = FitToPowerOfTwo(bmp, fitted, kMaxSide);
    if (result == FitResult::Failed)
        return;
    FUZZ_CHECK(fitted.components == 3 || fitted.components == 4);
    if (result == FitResult::Scaled) {
        const std::uint64_t row = BmpRowSize(8 * fitted.components, fitted.width);
        FUZZ_CHECK(fitted.width >= 2 && fitted.width <= kMaxSide && fitted.height >= 2 && fitted.height <= kMaxSide);
        FUZZ_CHECK(fitted.pixels.size() >= row * std::uint64_t(fitted.height));
    }
}

void CheckBackgroundReaders(const std::string& path)
{
    BmpInfoHeader info;
    const std::vector<std::uint8_t> rgb = ReadBmpRgb(path, info);
    if (!rgb.empty())
        FUZZ_CHECK(rgb.size() == std::uint64_t(info.width) * std::uint64_t(info.height) * 3);
    const std::vector<std::uint8_t> rgba = ReadBmpRgba(path, info);
    FUZZ_CHECK(rgba.size() == rgb.size() / 3 * 4);
    for (std::size_t i = 0, j = 0; j < rgba.size(); i += 3, j += 4)
        FUZZ_CHECK(rgba[j + 3] == ((rgb[i] | rgb[i + 1] | rgb[i + 2]) ? 255 : 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const FuzzScratch scratch;
    static GlTestContext gl(16, 16);
    const std::string path = scratch.Write("input.bmp", data, size);

    LoadedBitmap bmp;
    if (LoadBmpFile(path, bmp)) {
        FUZZ_CHECK(bmp.Width() > 0 && bmp.Height() > 0);
        FUZZ_CHECK(bmp.pixelOffset + BmpRowSize(bmp.Bits(), bmp.Width()) * std::uint64_t(bmp.Height()) <=
                   bmp.block.size());
        CheckFitted(bmp);
    }
    CheckBackgroundReaders(path);

    if (gl.Ok()) {
        GLuint names[2] = {0, 0};
        LoadTexture(path, names[0], kMaxSide);
        LoadMipmappedTexture(path, names[1]);
        glDeleteTextures(2, names);
        FUZZ_CHECK(glGetError() == GL_NO_ERROR);
    }
    return 0;
}
