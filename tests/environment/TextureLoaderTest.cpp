#include "environment/BmpImage.h"
#include "environment/TextureLoader.h"
#include "tests/environment/BmpTestFiles.h"
#include "tests/support/GlTestContext.h"
#include "tests/support/TestEnvironment.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <array>
#include <gtest/gtest.h>

using BmpTestFiles::Header;

namespace {

class TextureLoaderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_gl.Ok()); }

    std::string WriteBmp(const std::string& name, const Header& h, const std::vector<std::uint8_t>& pixels)
    {
        const std::string path = m_dir.Path() + name;
        BmpTestFiles::Write(path, BmpTestFiles::Build(h, pixels));
        return path;
    }

    static int Level(GLenum what, int level = 0)
    {
        GLint v = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, what, &v);
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

std::array<int, 3> Gradient(int x, int y) { return {x * 3 % 256, y * 5 % 256, (x + y) % 256}; }

TEST_F(TextureLoaderTest, PowerOfTwo24BitFileIsUploadedUnchangedAsBgr)
{
    const std::string path = WriteBmp("a.bmp", {64, 64}, BmpTestFiles::Rows24(64, 64, Gradient));
    LoadedBitmap bmp;
    ASSERT_TRUE(LoadBmpFile(path, bmp));
    FittedImage fitted;
    EXPECT_EQ(FitToPowerOfTwo(bmp, fitted, 512), FitResult::Unchanged);
    EXPECT_EQ(fitted.format, GLenum(GL_BGR_EXT));
    EXPECT_EQ(fitted.components, 3);

    GLuint name = 0;
    LoadTexture(path, name);
    ASSERT_NE(name, 0u);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), name);
    EXPECT_EQ(Level(GL_TEXTURE_WIDTH), 64);
    EXPECT_EQ(Level(GL_TEXTURE_HEIGHT), 64);
    const std::vector<std::uint8_t> texels = Texels(GL_BGR_EXT, 3);
    for (int y : {0, 17, 63})
        for (int x : {0, 31, 63}) {
            const auto c = Gradient(x, y);
            const std::size_t i = std::size_t(y * 64 + x) * 3;  // first row in memory is t = 0
            EXPECT_EQ(texels[i], c[0]);
            EXPECT_EQ(texels[i + 1], c[1]);
            EXPECT_EQ(texels[i + 2], c[2]);
        }
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &filter);
    EXPECT_EQ(filter, GL_REPEAT);
}

TEST_F(TextureLoaderTest, OtherSizesAreScaledToPowersOfTwoWithinTheLimit)
{
    struct Case {
        int w, h, limit, wantW, wantH;
    } cases[] = {
        {100, 60, 512, 128, 64}, {1024, 768, 512, 512, 512}, {1024, 768, 256, 256, 256},
        {1, 1, 512, 2, 2},       {3, 5, 512, 4, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + " limit " + std::to_string(c.limit));
        const std::string path = WriteBmp("s.bmp", {c.w, c.h}, BmpTestFiles::Rows24(c.w, c.h, [](int, int) {
            return std::array<int, 3>{10, 200, 90};
        }));
        GLuint name = 0;
        LoadTexture(path, name, c.limit);
        EXPECT_EQ(Level(GL_TEXTURE_WIDTH), c.wantW);
        EXPECT_EQ(Level(GL_TEXTURE_HEIGHT), c.wantH);
        // A flat colour stays that colour through the scaling.
        const std::vector<std::uint8_t> texels = Texels(GL_BGR_EXT, 3);
        ASSERT_FALSE(texels.empty());
        EXPECT_EQ(texels[texels.size() - 3], 10);
        EXPECT_EQ(texels[texels.size() - 2], 200);
        EXPECT_EQ(texels[texels.size() - 1], 90);
    }
}

TEST_F(TextureLoaderTest, PaletteFilesAreAlwaysExpandedThroughThePalette)
{
    // 4 x 4 (a power of two) with a two-entry palette, and the same with the
    // entry count 0, which means 256 entries: index 200 is then valid.
    for (std::uint32_t clrUsed : {2u, 0u}) {
        SCOPED_TRACE(clrUsed);
        const int index = clrUsed == 0 ? 200 : 1;
        std::vector<std::uint8_t> rows(16, 0);
        rows[5] = std::uint8_t(index);  // pixel (1, 1)
        Header h{4, 4, 8};
        h.clrUsed = clrUsed;
        h.paletteEntries = clrUsed == 0 ? 256 : clrUsed;
        const std::string path = WriteBmp("p.bmp", h, rows);
        LoadedBitmap bmp;
        ASSERT_TRUE(LoadBmpFile(path, bmp));
        EXPECT_EQ(bmp.paletteEntries, int(h.paletteEntries));
        FittedImage fitted;
        ASSERT_EQ(FitToPowerOfTwo(bmp, fitted, 512), FitResult::Scaled);
        EXPECT_EQ(fitted.components, 3);
        EXPECT_EQ(fitted.format, GLenum(GL_BGR_EXT));

        GLuint name = 0;
        LoadTexture(path, name);
        EXPECT_EQ(Level(GL_TEXTURE_WIDTH), 4);
        const std::vector<std::uint8_t> texels = Texels(GL_BGR_EXT, 3);
        // Palette entry i is (i, 255 - i, i / 2) as blue, green, red.
        EXPECT_EQ(texels[(1 * 4 + 1) * 3 + 0], index);
        EXPECT_EQ(texels[(1 * 4 + 1) * 3 + 1], 255 - index);
        EXPECT_EQ(texels[(1 * 4 + 1) * 3 + 2], index / 2);
        EXPECT_EQ(texels[0], 0);
        EXPECT_EQ(texels[1], 255);
    }
}

TEST_F(TextureLoaderTest, ThirtyTwoBitFilesKeepTheirAlpha)
{
    std::vector<std::uint8_t> rows;
    for (int i = 0; i < 4 * 4; ++i)
        rows.insert(rows.end(), {std::uint8_t(i), 20, 30, std::uint8_t(i * 16)});
    const std::string path = WriteBmp("t.bmp", {4, 4, 32}, rows);
    LoadedBitmap bmp;
    ASSERT_TRUE(LoadBmpFile(path, bmp));
    FittedImage fitted;
    EXPECT_EQ(FitToPowerOfTwo(bmp, fitted, 512), FitResult::Unchanged);
    EXPECT_EQ(fitted.format, GLenum(GL_BGRA_EXT));
    EXPECT_EQ(fitted.components, 4);
    GLuint name = 0;
    LoadTexture(path, name);
    const std::vector<std::uint8_t> texels = Texels(GL_BGRA_EXT, 4);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(texels[std::size_t(i) * 4], i);
        EXPECT_EQ(texels[std::size_t(i) * 4 + 3], i * 16);
    }
    // Scaled 32-bit pictures keep four components too.
    std::vector<std::uint8_t> odd(3 * 3 * 4, 128);
    const std::string oddPath = WriteBmp("t3.bmp", {3, 3, 32}, odd);
    ASSERT_TRUE(LoadBmpFile(oddPath, bmp));
    EXPECT_EQ(FitToPowerOfTwo(bmp, fitted, 512), FitResult::Scaled);
    EXPECT_EQ(fitted.components, 4);
    EXPECT_EQ(fitted.pixels.size(), 4u * 4u * 4u);
}

TEST_F(TextureLoaderTest, MipmappedBackgroundKeysOutExactlyPureBlack)
{
    // Left column pure black, next (0, 0, 1), the rest grey; 4 x 2 pixels
    // (12 bytes a row: no padding).
    auto color = [](int x, int) {
        return x == 0 ? std::array<int, 3>{0, 0, 0} : x == 1 ? std::array<int, 3>{1, 0, 0} : std::array<int, 3>{90, 90, 90};
    };
    const std::string path = WriteBmp("bg.bmp", {4, 2}, BmpTestFiles::Rows24(4, 2, color));
    GLuint name = 0;
    LoadMipmappedTexture(path, name);
    ASSERT_NE(name, 0u);
    EXPECT_EQ(Level(GL_TEXTURE_WIDTH), 4);
    EXPECT_EQ(Level(GL_TEXTURE_WIDTH, 1), 2);  // a mipmap chain
    const std::vector<std::uint8_t> texels = Texels(GL_RGBA, 4);
    EXPECT_EQ(texels[3], 0);     // (0, 0, 0): transparent
    EXPECT_EQ(texels[4 + 2], 1); // (0, 0, 1) keeps its blue...
    EXPECT_EQ(texels[4 + 3], 255);  // ...and stays opaque
    EXPECT_EQ(texels[8 + 3], 255);
    GLint v = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &v);
    EXPECT_EQ(v, GL_LINEAR_MIPMAP_NEAREST);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &v);
    EXPECT_EQ(v, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &v);
    EXPECT_EQ(v, GL_REPEAT);
}

TEST_F(TextureLoaderTest, LoadersLeaveThePixelStoreAsTheyFoundIt)
{
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 8);
    GLuint name = 0;
    LoadTexture(WriteBmp("c.bmp", {5, 3}, BmpTestFiles::Rows24(5, 3, Gradient)), name);
    LoadMipmappedTexture(WriteBmp("d.bmp", {4, 4}, BmpTestFiles::Rows24(4, 4, Gradient)), name);
    GLint unpack = 0, pack = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpack);
    glGetIntegerv(GL_PACK_ALIGNMENT, &pack);
    EXPECT_EQ(unpack, 1);
    EXPECT_EQ(pack, 8);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
}

// Files that must give no image, whatever their header claims. Each is
// tried with both loaders; none may crash or read past its buffer (the
// suite also runs under AddressSanitizer).
struct BadFile {
    const char* what;
    std::vector<std::uint8_t> bytes;
};

std::vector<BadFile> BadFiles()
{
    auto rows = BmpTestFiles::Rows24(4, 4, Gradient);
    auto file = [&](Header h, const std::vector<std::uint8_t>& pixels) { return BmpTestFiles::Build(h, pixels); };
    std::vector<BadFile> bad;
    bad.push_back({"empty", {}});
    bad.push_back({"file header only", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0}});
    auto good = file({4, 4}, rows);
    auto wrongSignature = good;
    wrongSignature[0] = 'P';
    bad.push_back({"not BM", wrongSignature});
    bad.push_back({"truncated info header", std::vector<std::uint8_t>(good.begin(), good.begin() + 30)});
    bad.push_back({"truncated pixels", std::vector<std::uint8_t>(good.begin(), good.end() - 1)});
    bad.push_back({"zero width", file({0, 4}, rows)});
    bad.push_back({"zero height", file({4, 0}, rows)});
    bad.push_back({"negative height", file({4, -4}, rows)});
    bad.push_back({"negative width", file({-4, 4}, rows)});
    bad.push_back({"huge width", file({0x7FFFFFFF, 4}, rows)});
    bad.push_back({"huge both", file({0x7FFFFFFF, 0x7FFFFFFF}, rows)});
    bad.push_back({"width times height wraps 32 bits", file({65536, 65536}, rows)});
    bad.push_back({"16 bits per pixel", file({4, 4, 16}, rows)});
    bad.push_back({"0 bits per pixel", file({4, 4, 0}, rows)});
    Header rle{4, 4, 8};
    rle.compression = 1;
    rle.paletteEntries = 2;
    rle.clrUsed = 2;
    bad.push_back({"compressed", file(rle, std::vector<std::uint8_t>(16, 0))});
    Header core{4, 4};
    core.infoSize = 12;
    bad.push_back({"other info header size", file(core, rows)});
    Header pal{4, 4, 8};
    pal.clrUsed = 300;
    pal.paletteEntries = 300;
    bad.push_back({"palette of 300 entries", file(pal, std::vector<std::uint8_t>(16, 0))});
    Header shortPal{4, 4, 8};
    shortPal.clrUsed = 256;
    shortPal.paletteEntries = 2;
    bad.push_back({"palette larger than the file", file(shortPal, std::vector<std::uint8_t>(16, 0))});
    Header fewEntries{4, 4, 8};
    fewEntries.clrUsed = 2;
    fewEntries.paletteEntries = 2;
    std::vector<std::uint8_t> indices(16, 1);
    indices[9] = 5;
    bad.push_back({"index beyond the palette", file(fewEntries, indices)});
    return bad;
}

TEST_F(TextureLoaderTest, MalformedFilesLoadNothingAndNeverReadOutside)
{
    for (const BadFile& bad : BadFiles()) {
        SCOPED_TRACE(bad.what);
        const std::string path = m_dir.Path() + "bad.bmp";
        BmpTestFiles::Write(path, bad.bytes);
        LoadedBitmap bmp;
        EXPECT_FALSE(LoadBmpFile(path, bmp));
        GLuint plain = 0;
        LoadTexture(path, plain);
        EXPECT_NE(plain, 0u);
        EXPECT_EQ(Level(GL_TEXTURE_WIDTH), 0) << "the texture must stay without an image";
        GLuint mipmapped = 0;
        LoadMipmappedTexture(path, mipmapped);
        EXPECT_NE(mipmapped, 0u);
        EXPECT_EQ(Level(GL_TEXTURE_WIDTH), 0);
    }
}

TEST_F(TextureLoaderTest, BackgroundReaderChecksOffsetImageSizeAndPadding)
{
    // The background reader takes the pixels from the header's offset as one
    // run of the stated image size: these files load as tiles but give the
    // background loader nothing.
    const auto rows = BmpTestFiles::Rows24(4, 4, Gradient);
    Header farOffset{4, 4};
    farOffset.pixelOffset = 1 << 20;
    Header hugeImage{4, 4};
    hugeImage.sizeImage = 0xFFFFFFF0u;
    Header smallImage{4, 4};
    smallImage.sizeImage = 12;
    const std::vector<std::pair<const char*, std::string>> files = {
        {"pixel offset beyond the file", WriteBmp("o.bmp", farOffset, rows)},
        {"image size beyond the file", WriteBmp("h.bmp", hugeImage, rows)},
        {"image size smaller than the pixels", WriteBmp("s.bmp", smallImage, rows)},
        {"padded rows", WriteBmp("pad.bmp", {3, 2}, BmpTestFiles::Rows24(3, 2, Gradient))},
        {"32 bits", WriteBmp("deep.bmp", {4, 4, 32}, std::vector<std::uint8_t>(64, 7))},
    };
    for (const auto& [what, path] : files) {
        SCOPED_TRACE(what);
        BmpInfoHeader info;
        EXPECT_TRUE(ReadBmpRgb(path, info).empty());
        EXPECT_TRUE(ReadBmpRgba(path, info).empty());
        GLuint name = 0;
        LoadMipmappedTexture(path, name);
        EXPECT_EQ(Level(GL_TEXTURE_WIDTH), 0);
        LoadedBitmap bmp;
        EXPECT_TRUE(LoadBmpFile(path, bmp));
    }
}

TEST_F(TextureLoaderTest, BackgroundReaderTakesPixelsFromTheHeadersOffset)
{
    // A gap of 8 bytes between the headers and the pixels.
    std::vector<std::uint8_t> body(8, 0xEE);
    const auto rows = BmpTestFiles::Rows24(4, 1, [](int x, int) { return std::array<int, 3>{x, 2 * x, 3 * x + 1}; });
    body.insert(body.end(), rows.begin(), rows.end());
    Header h{4, 1};
    h.pixelOffset = 54 + 8;
    h.sizeImage = std::uint32_t(rows.size());
    const std::string path = WriteBmp("gap.bmp", h, body);
    BmpInfoHeader info;
    const std::vector<std::uint8_t> rgb = ReadBmpRgb(path, info);
    ASSERT_EQ(rgb.size(), 12u);
    EXPECT_EQ(info.width, 4);
    // Blue, green, red in the file become red, green, blue.
    EXPECT_EQ(rgb[3 * 3 + 0], 3 * 3 + 1);
    EXPECT_EQ(rgb[3 * 3 + 1], 2 * 3);
    EXPECT_EQ(rgb[3 * 3 + 2], 3);
}

TEST_F(TextureLoaderTest, MissingFileGivesABoundNameWithoutImage)
{
    GLuint name = 0;
    LoadTexture(m_dir.Path() + "nothing.bmp", name);
    ASSERT_NE(name, 0u);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), name);
    EXPECT_EQ(Level(GL_TEXTURE_WIDTH), 0);
}

}  // namespace
