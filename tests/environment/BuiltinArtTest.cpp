// The generated art as the rest of the program relies on it: every id the
// windows and the scene ask for, in the sizes, depths and layouts they use.
#include "environment/AssetCipher.h"
#include "resources/BuiltinArt.h"

#include <array>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <set>

namespace {

std::uint32_t U32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24); }
std::uint16_t U16(const unsigned char* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
std::uint32_t BigU32(const unsigned char* p) { return (std::uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3]; }

std::vector<unsigned char> Plain(const BuiltinArt::Entry& e)
{
    std::vector<unsigned char> out(e.data, e.data + e.size);
    if (std::strcmp(e.type, "RCAD") == 0) {
        AssetCipher cipher;
        for (unsigned char& b : out)
            b = cipher.Unscramble(b);
    }
    return out;
}

// A decoded BMP: blue, green, red per pixel, (0, 0) the bottom-left corner.
struct Picture {
    int width = 0, height = 0, bits = 0;
    std::uint32_t dataOffset = 0, imageSize = 0;
    std::vector<std::array<int, 3>> pixels;
    const std::array<int, 3>& At(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

Picture DecodeBmp(const std::vector<unsigned char>& b)
{
    Picture p;
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M')
        return p;
    p.dataOffset = U32(&b[10]);
    p.width = int(U32(&b[18]));
    p.height = int(U32(&b[22]));
    p.bits = U16(&b[28]);
    p.imageSize = U32(&b[34]);
    const std::uint32_t entries = p.bits == 8 ? (U32(&b[46]) ? U32(&b[46]) : 256) : 0;
    const std::size_t row = std::size_t((p.bits * p.width + 31) / 32) * 4;
    if (p.dataOffset + row * p.height > b.size())
        return Picture{};
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const unsigned char* px = &b[p.dataOffset + row * y + std::size_t(x) * p.bits / 8];
            if (p.bits == 8) {
                EXPECT_LT(px[0], entries);
                const unsigned char* e = &b[54 + 4 * px[0]];
                p.pixels.push_back({e[0], e[1], e[2]});
            } else {
                p.pixels.push_back({px[0], px[1], px[2]});
            }
        }
    return p;
}

const BuiltinArt::Entry& Get(int id, const char* type)
{
    const BuiltinArt::Entry* e = BuiltinArt::Find(id, type);
    if (!e)
        throw std::runtime_error(std::string("no ") + type + " " + std::to_string(id));
    return *e;
}

TEST(BuiltinArt, HoldsEveryIdTheProgramAsksFor)
{
    for (int id = 10000; id < 10020; ++id)
        EXPECT_NE(BuiltinArt::Find(id, "RCAD"), nullptr) << id;
    for (int id : {154, 227})
        EXPECT_NE(BuiltinArt::Find(id, "RCAD"), nullptr) << id;
    for (int id : {129, 153})
        EXPECT_NE(BuiltinArt::Find(id, "BITMAP"), nullptr) << id;
    for (int id : {128, 134, 135, 136, 160, 175, 180, 183, 184, 232, 253})
        EXPECT_NE(BuiltinArt::Find(id, "ICON"), nullptr) << id;
    for (int id : {158, 159, 163, 164, 167, 169, 177, 178})
        EXPECT_NE(BuiltinArt::Find(id, "CURSOR"), nullptr) << id;
    EXPECT_EQ(BuiltinArt::Find(154, "BITMAP"), nullptr);
    EXPECT_EQ(BuiltinArt::Find(154, nullptr), nullptr);
}

TEST(BuiltinArt, IconsAndCursorsArePngsWithTheirHotSpotInside)
{
    for (std::size_t i = 0; i < BuiltinArt::Count(); ++i) {
        const BuiltinArt::Entry& e = BuiltinArt::At(i);
        const bool cursor = std::strcmp(e.type, "CURSOR") == 0;
        if (!cursor && std::strcmp(e.type, "ICON") != 0)
            continue;
        SCOPED_TRACE(e.id);
        ASSERT_GT(e.size, 33u);
        EXPECT_EQ(std::memcmp(e.data, "\x89PNG\r\n\x1a\n", 8), 0);
        const int w = int(BigU32(e.data + 16)), h = int(BigU32(e.data + 20));
        EXPECT_EQ(e.data[25], 6) << "RGBA";
        EXPECT_GE(e.hotX, 0);
        EXPECT_GE(e.hotY, 0);
        EXPECT_LT(e.hotX, w);
        EXPECT_LT(e.hotY, h);
        if (cursor || (e.id != 128 && e.id != 183 && e.id != 184)) {
            EXPECT_EQ(w, 32);
            EXPECT_EQ(h, 32);
        }
        if (!cursor) {  // a check box takes twice the hot spot as the icon's size
            EXPECT_EQ(2 * e.hotX, w);
        }
    }
}

TEST(BuiltinArt, ControlBarIsCutOutByItsColourKey)
{
    const Picture bar = DecodeBmp(Plain(Get(153, "BITMAP")));
    ASSERT_EQ(bar.width, 2016);
    ASSERT_EQ(bar.height, 64);
    EXPECT_EQ(bar.bits, 24);
    const std::array<int, 3> key{229, 218, 211};  // blue, green, red
    EXPECT_EQ(bar.At(2015, 0), key);
    EXPECT_EQ(bar.At(2015, 63), key);
    // Behind the buttons, the clock and the title the bar is solid.
    for (int x : {0, 14, 500, 1000, 1060, 1148, 1400})
        for (int yFromTop : {1, 20, 50})
            EXPECT_NE(bar.At(x, 63 - yFromTop), key) << x << "," << yFromTop;
}

TEST(BuiltinArt, SpeciesGridIsA32BitPictureOfTheGridSize)
{
    const Picture grid = DecodeBmp(Plain(Get(129, "BITMAP")));
    EXPECT_EQ(grid.width, 500);
    EXPECT_EQ(grid.height, 512);
    EXPECT_EQ(grid.bits, 32);
}

TEST(BuiltinArt, BackgroundIsSeeThroughOnlyAboveTheSeaFloor)
{
    const Picture bg = DecodeBmp(Plain(Get(154, "RCAD")));
    ASSERT_EQ(bg.bits, 24);
    ASSERT_GT(bg.width, 0);
    EXPECT_EQ(bg.width * 3 % 4, 0) << "rows must not be padded";
    EXPECT_EQ(bg.imageSize, std::uint32_t(bg.width * bg.height * 3));
    const std::array<int, 3> black{0, 0, 0};
    // Black is the open water above the sea floor: most of the top row, none
    // of the lower quarter (sand and rocks).
    int blackTop = 0, blackLow = 0;
    for (int x = 0; x < bg.width; ++x) {
        blackTop += bg.At(x, bg.height - 1) == black;
        for (int y = 0; y < bg.height / 4; ++y)
            blackLow += bg.At(x, y) == black;
    }
    EXPECT_GT(blackTop, bg.width / 2);
    EXPECT_EQ(blackLow, 0);
}

TEST(BuiltinArt, FishTexturesUseSeveralDepthsAndLookDifferent)
{
    std::set<int> depths;
    std::vector<std::vector<double>> thumbs;
    for (int i = 0; i < 20; ++i) {
        const Picture p = DecodeBmp(Plain(Get(10000 + i, "RCAD")));
        ASSERT_EQ(p.width, 256) << i;
        ASSERT_EQ(p.height, 256) << i;
        depths.insert(p.bits);
        // An 8 x 4 thumbnail of the body band (t 0.30..0.75, s 0.09..0.99).
        std::vector<double> thumb;
        for (int ty = 0; ty < 4; ++ty)
            for (int tx = 0; tx < 8; ++tx) {
                double sum[3] = {0, 0, 0};
                int n = 0;
                for (int y = 77 + ty * 29; y < 77 + (ty + 1) * 29; ++y)
                    for (int x = 23 + tx * 29; x < 23 + (tx + 1) * 29; ++x, ++n)
                        for (int c = 0; c < 3; ++c)
                            sum[c] += p.At(x, y)[c];
                for (double s : sum)
                    thumb.push_back(s / n);
            }
        thumbs.push_back(thumb);
    }
    EXPECT_EQ(depths, (std::set<int>{8, 24, 32}));
    for (int a = 0; a < 20; ++a)
        for (int b = a + 1; b < 20; ++b) {
            double sq = 0;
            for (std::size_t k = 0; k < thumbs[a].size(); ++k)
                sq += (thumbs[a][k] - thumbs[b][k]) * (thumbs[a][k] - thumbs[b][k]);
            EXPECT_GT(std::sqrt(sq / double(thumbs[a].size())), 25.0) << "species " << a << " and " << b;
        }
}

TEST(BuiltinArt, TuneIsAShortCalmWaveFile)
{
    const std::vector<unsigned char> wav = Plain(Get(227, "RCAD"));
    ASSERT_GT(wav.size(), 44u);
    EXPECT_EQ(std::memcmp(wav.data(), "RIFF", 4), 0);
    EXPECT_EQ(std::memcmp(wav.data() + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(U16(&wav[20]), 1);      // PCM
    EXPECT_EQ(U16(&wav[22]), 1);      // mono
    EXPECT_EQ(U32(&wav[24]), 22050u);
    EXPECT_EQ(U16(&wav[34]), 16);
    EXPECT_EQ(std::memcmp(wav.data() + 36, "data", 4), 0);
    const double seconds = double(U32(&wav[40])) / (22050.0 * 2);
    EXPECT_GT(seconds, 40.0);
    EXPECT_LT(seconds, 75.0);
    EXPECT_EQ(U32(&wav[40]) + 44, wav.size());
    // Loops without a click: the last and the first samples are close.
    const auto sample = [&](std::size_t i) { return int(std::int16_t(U16(&wav[44 + 2 * i]))); };
    const std::size_t n = U32(&wav[40]) / 2;
    EXPECT_LT(std::abs(sample(n - 1) - sample(0)), 1500);
}

}  // namespace
