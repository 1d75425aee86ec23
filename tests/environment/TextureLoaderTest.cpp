// SPDX-License-Identifier: MIT
#include "environment/BmpImage.h"
#include "environment/TextureLoader.h"
#include "tests/support/GlTestContext.h"
#include "tests/support/TestEnvironment.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <array>
#include <fstream>
#include <gtest/gtest.h>

namespace {

// Every header field of a test file, so broken files can claim anything.
struct Header {
    int width = 0, height = 0, bits = 24;
    std::uint32_t infoSize = 40, compression = 0;
    std::uint32_t sizeImage = 0;       // 0: the true size of the pixels
    std::uint32_t clrUsed = 0;
    std::uint32_t paletteEntries = 0;  // entries actually written
    std::int64_t pixelOffset = -1;     // -1: right after the headers and palette
};

Header Indexed(std::uint32_t clrUsed, std::uint32_t entries)
{
    Header h{4, 4, 8};
    h.clrUsed = clrUsed;
    h.paletteEntries = entries;
    return h;
}

// The headers, the palette (entry i is (i, 255 - i, i / 2) as blue, green,
// red) and then `pixels` as given.
std::vector<std::uint8_t> Build(const Header& h, const std::vector<std::uint8_t>& pixels)
{
    std::vector<std::uint8_t> b = {'B', 'M'};
    const auto put = [&b](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b.push_back(std::uint8_t(v >> (8 * i)));
    };
    const std::uint32_t palette = 4 * h.paletteEntries, size = std::uint32_t(pixels.size());
    for (std::uint32_t v : {54 + palette + size, 0u, h.pixelOffset >= 0 ? std::uint32_t(h.pixelOffset) : 54 + palette,
                            h.infoSize, std::uint32_t(h.width), std::uint32_t(h.height)})
        put(v, 4);
    put(1, 2);
    put(std::uint32_t(h.bits), 2);
    for (std::uint32_t v : {h.compression, h.sizeImage ? h.sizeImage : size, 2835u, 2835u, h.clrUsed, 0u})
        put(v, 4);
    for (std::uint32_t i = 0; i < h.paletteEntries; ++i)
        b.insert(b.end(), {std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i / 2), 0});
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

// Rows of a 24-bit picture, bottom row first, padded to 4 bytes; pixel (x, y)
// has the blue, green, red bytes color(x, y).
template <class Color>
std::vector<std::uint8_t> Rows24(int width, int height, Color color)
{
    std::vector<std::uint8_t> rows;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto c = color(x, y);
            rows.insert(rows.end(), {std::uint8_t(c[0]), std::uint8_t(c[1]), std::uint8_t(c[2])});
        }
        rows.resize(rows.size() + (4 - width * 3 % 4) % 4, 0);
    }
    return rows;
}

std::array<int, 3> Gradient(int x, int y) { return {x * 3 % 256, y * 5 % 256, (x + y) % 256}; }

class TextureLoaderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_gl.Ok()); }

    std::string WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        const std::string path = m_dir.Path() + name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return path;
    }
    std::string WriteBmp(const std::string& name, const Header& h, const std::vector<std::uint8_t>& pixels)
    {
        return WriteFile(name, Build(h, pixels));
    }
    static int Level(GLenum what, int level = 0)
    {
        GLint v = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, what, &v);
        return v;
    }
    static int MinFilter()
    {
        GLint v = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &v);
        return v;
    }
    // Level 0 of the bound texture as bytes in the given format, tightly packed.
    static std::vector<std::uint8_t> Texels(GLenum format, int components)
    {
        std::vector<std::uint8_t> out(std::size_t(Level(GL_TEXTURE_WIDTH) * Level(GL_TEXTURE_HEIGHT) * components));
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, out.data());
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        return out;
    }

    GlTestContext m_gl{64, 64};
    TempDir m_dir;
};

// A power-of-two file is uploaded unchanged, bottom row first, as BGR; other
// sizes are scaled to powers of two within the limit, and a flat colour stays
// that colour through the scaling.
TEST_F(TextureLoaderTest, TwentyFourBitFilesBecomePowerOfTwoBgrTexturesWithinTheLimit)
{
    const int cases[][5] = {{64, 64, 512, 64, 64},     {100, 60, 512, 128, 64}, {1024, 768, 512, 512, 512},
                            {1024, 768, 256, 256, 256}, {1, 1, 512, 2, 2},       {3, 5, 512, 4, 8}};
    for (const auto& [w, h, limit, wantW, wantH] : cases) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + " limit " + std::to_string(limit));
        const bool scaled = w != wantW || h != wantH;
        const auto color = [scaled](int x, int y) { return scaled ? std::array<int, 3>{10, 200, 90} : Gradient(x, y); };
        GLuint name = 0;
        LoadTexture(WriteBmp("s.bmp", {w, h}, Rows24(w, h, color)), name, limit);
        EXPECT_EQ(Level(GL_TEXTURE_WIDTH), wantW);
        EXPECT_EQ(Level(GL_TEXTURE_HEIGHT), wantH);
        EXPECT_EQ(MinFilter(), GL_LINEAR) << "any mipmap filter leaves a single level incomplete";
        const std::vector<std::uint8_t> texels = Texels(GL_BGR_EXT, 3);
        ASSERT_EQ(texels.size(), std::size_t(wantW * wantH * 3));
        for (int y : {0, wantH / 3, wantH - 1})
            for (int x : {0, wantW / 2, wantW - 1}) {
                const std::size_t i = std::size_t(y * wantW + x) * 3;
                EXPECT_EQ((std::array<int, 3>{texels[i], texels[i + 1], texels[i + 2]}), color(x, y)) << x << "," << y;
            }
    }
}

TEST_F(TextureLoaderTest, PaletteFilesAreAlwaysExpandedThroughThePalette)
{
    // An entry count of 0 means 256 entries: index 200 is then valid.
    for (std::uint32_t clrUsed : {2u, 0u}) {
        SCOPED_TRACE(clrUsed);
        const int index = clrUsed == 0 ? 200 : 1;
        std::vector<std::uint8_t> rows(16, 0);
        rows[5] = std::uint8_t(index);  // pixel (1, 1)
        GLuint name = 0;
        LoadTexture(WriteBmp("p.bmp", Indexed(clrUsed, clrUsed ? clrUsed : 256), rows), name);
        const std::vector<std::uint8_t> texels = Texels(GL_BGR_EXT, 3);
        ASSERT_EQ(texels.size(), 48u);
        EXPECT_EQ(texels[15], index);
        EXPECT_EQ(texels[16], 255 - index);
        EXPECT_EQ(texels[17], index / 2);
        EXPECT_EQ(texels[1], 255);
    }
}

TEST_F(TextureLoaderTest, ThirtyTwoBitFilesKeepTheirAlphaScaledOrNot)
{
    std::vector<std::uint8_t> rows, odd;
    for (int i = 0; i < 16; ++i)
        rows.insert(rows.end(), {std::uint8_t(i), 20, 30, std::uint8_t(i * 16)});
    GLuint name = 0;
    LoadTexture(WriteBmp("t.bmp", {4, 4, 32}, rows), name);
    EXPECT_EQ(Texels(GL_BGRA_EXT, 4), rows);
    for (int i = 0; i < 9; ++i)
        odd.insert(odd.end(), {128, 128, 128, 77});
    LoadTexture(WriteBmp("t3.bmp", {3, 3, 32}, odd), name);
    EXPECT_EQ(Level(GL_TEXTURE_WIDTH), 4);
    EXPECT_EQ(Texels(GL_BGRA_EXT, 4)[3], 77);
}

TEST_F(TextureLoaderTest, MipmappedBackgroundKeysOutExactlyPureBlack)
{
    // Columns: pure black, (0, 0, 1), grey, grey.
    const std::string path = WriteBmp("bg.bmp", {4, 2}, Rows24(4, 2, [](int x, int) {
        return std::array<int, 3>{x == 0 ? 0 : x == 1 ? 1 : 90, x < 2 ? 0 : 90, x < 2 ? 0 : 90};
    }));
    GLuint name = 0;
    LoadMipmappedTexture(path, name);
    EXPECT_EQ(Level(GL_TEXTURE_WIDTH), 4);
    EXPECT_EQ(Level(GL_TEXTURE_WIDTH, 1), 2);
    const std::vector<std::uint8_t> texels = Texels(GL_RGBA, 4);
    EXPECT_EQ(texels[3], 0);
    EXPECT_EQ(texels[4 + 2], 1);
    EXPECT_EQ(texels[4 + 3], 255);
    EXPECT_EQ(texels[8 + 3], 255);
    EXPECT_EQ(MinFilter(), GL_LINEAR_MIPMAP_NEAREST) << "the ripple pass relies on it";
}

TEST_F(TextureLoaderTest, LoadersLeaveThePixelStoreAsTheyFoundIt)
{
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 8);
    GLuint name = 0;
    LoadTexture(WriteBmp("c.bmp", {5, 3}, Rows24(5, 3, Gradient)), name);
    LoadMipmappedTexture(WriteBmp("d.bmp", {4, 4}, Rows24(4, 4, Gradient)), name);
    GLint store[2] = {};
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &store[0]);
    glGetIntegerv(GL_PACK_ALIGNMENT, &store[1]);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    EXPECT_EQ(store[0], 1);
    EXPECT_EQ(store[1], 8);
}

// No loader may accept these files, whatever their headers claim, nor read
// past their end (the suite also runs under AddressSanitizer).
TEST_F(TextureLoaderTest, MalformedFilesLoadNothingAndNeverReadOutside)
{
    const auto rows = Rows24(4, 4, Gradient);
    const auto good = Build({4, 4}, rows);
    auto notBm = good;
    notBm[0] = 'P';
    Header rle = Indexed(2, 2);
    rle.compression = 1;
    std::vector<std::uint8_t> outsidePalette(16, 1);
    outsidePalette[9] = 2;  // the first index past a two-entry palette
    const std::pair<const char*, std::vector<std::uint8_t>> files[] = {
        {"empty", {}},
        {"file header only", {good.begin(), good.begin() + 14}},
        {"not BM", notBm},
        {"truncated info header", {good.begin(), good.begin() + 30}},
        {"truncated pixels", {good.begin(), good.end() - 1}},
        {"zero width", Build({0, 4}, rows)},
        {"zero height", Build({4, 0}, rows)},
        {"negative height", Build({4, -4}, rows)},
        {"negative width", Build({-4, 4}, rows)},
        {"huge width", Build({0x7FFFFFFF, 4}, rows)},
        {"width times height wraps 32 bits", Build({65536, 65536}, rows)},
        {"16 bits per pixel", Build({4, 4, 16}, rows)},
        {"0 bits per pixel", Build({4, 4, 0}, rows)},
        {"compressed", Build(rle, std::vector<std::uint8_t>(16, 0))},
        {"other info header size", Build({4, 4, 24, 12}, rows)},
        {"palette of 300 entries", Build(Indexed(300, 300), std::vector<std::uint8_t>(16, 0))},
        {"palette larger than the file", Build(Indexed(256, 2), std::vector<std::uint8_t>(16, 0))},
        {"index beyond the palette", Build(Indexed(2, 2), outsidePalette)},
    };
    std::vector<std::pair<std::string, std::string>> paths = {{"missing file", m_dir.Path() + "nothing.bmp"}};
    for (const auto& [what, bytes] : files)
        paths.emplace_back(what, WriteFile(std::string(what) + ".bmp", bytes));
    for (const auto& [what, path] : paths) {
        SCOPED_TRACE(what);
        LoadedBitmap bmp;
        EXPECT_FALSE(LoadBmpFile(path, bmp));
        for (auto load : {+[](const std::string& p, GLuint& n) { LoadTexture(p, n); }, &LoadMipmappedTexture}) {
            GLuint name = 0;
            load(path, name);
            GLint bound = 0;
            glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
            EXPECT_NE(name, 0u);
            EXPECT_EQ(GLuint(bound), name);
            EXPECT_EQ(Level(GL_TEXTURE_WIDTH), 0) << "the texture must stay without an image";
        }
    }
}

TEST_F(TextureLoaderTest, BackgroundReaderTakesPixelsFromTheHeadersOffsetAndChecksIt)
{
    std::vector<std::uint8_t> gap(8, 0xEE);  // between the headers and the pixels
    const auto row = Rows24(4, 1, [](int x, int) { return std::array<int, 3>{x, 2 * x, 3 * x + 1}; });
    gap.insert(gap.end(), row.begin(), row.end());
    BmpInfoHeader info;
    const std::vector<std::uint8_t> rgb =
        ReadBmpRgb(WriteBmp("gap.bmp", {4, 1, 24, 40, 0, std::uint32_t(row.size()), 0, 0, 54 + 8}, gap), info);
    ASSERT_EQ(rgb.size(), 12u);
    EXPECT_EQ(std::vector<std::uint8_t>(rgb.end() - 3, rgb.end()), (std::vector<std::uint8_t>{10, 6, 3}));

    // These files load as tiles but give the background loader nothing.
    const auto rows = Rows24(4, 4, Gradient);
    const std::pair<const char*, std::string> files[] = {
        {"pixel offset beyond the file", WriteBmp("o.bmp", {4, 4, 24, 40, 0, 0, 0, 0, 1 << 20}, rows)},
        {"image size beyond the file", WriteBmp("h.bmp", {4, 4, 24, 40, 0, 0xFFFFFFF0u}, rows)},
        {"image size smaller than the pixels", WriteBmp("s.bmp", {4, 4, 24, 40, 0, 12}, rows)},
        {"padded rows", WriteBmp("pad.bmp", {3, 2}, Rows24(3, 2, Gradient))},
        {"32 bits", WriteBmp("deep.bmp", {4, 4, 32}, std::vector<std::uint8_t>(64, 7))},
    };
    for (const auto& [what, path] : files) {
        SCOPED_TRACE(what);
        EXPECT_TRUE(ReadBmpRgb(path, info).empty());
        EXPECT_TRUE(ReadBmpRgba(path, info).empty());
        GLuint name = 0;
        LoadMipmappedTexture(path, name);
        EXPECT_EQ(Level(GL_TEXTURE_WIDTH), 0);
        LoadedBitmap bmp;
        EXPECT_TRUE(LoadBmpFile(path, bmp));
    }
}

}  // namespace
