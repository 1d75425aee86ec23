// SPDX-License-Identifier: MIT
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

// The entry's bytes as the program uses them. Throws when it is absent.
std::vector<unsigned char> Plain(int id, const char* type)
{
    const BuiltinArt::Entry* e = BuiltinArt::Find(id, type);
    if (!e)
        throw std::runtime_error(std::string("no ") + type + " " + std::to_string(id));
    std::vector<unsigned char> out(e->data, e->data + e->size);
    AssetCipher cipher;
    if (std::strcmp(type, "RCAD") == 0)
        for (unsigned char& b : out)
            b = cipher.Unscramble(b);
    return out;
}

// A decoded BMP: blue, green, red per pixel, (0, 0) the bottom-left corner.
struct Picture {
    int width = 0, height = 0, bits = 0;
    std::uint32_t imageSize = 0;
    std::vector<std::array<int, 3>> pixels;
    const std::array<int, 3>& At(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

Picture DecodeBmp(const std::vector<unsigned char>& b)
{
    Picture p;
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M')
        return p;
    const std::uint32_t offset = U32(&b[10]);
    p = {int(U32(&b[18])), int(U32(&b[22])), U16(&b[28]), U32(&b[34]), {}};
    const std::uint32_t entries = p.bits == 8 ? (U32(&b[46]) ? U32(&b[46]) : 256) : 0;
    const std::size_t row = std::size_t((p.bits * p.width + 31) / 32) * 4;
    if (offset + row * p.height > b.size())
        return Picture{};
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const unsigned char* px = &b[offset + row * y + std::size_t(x) * p.bits / 8];
            EXPECT_TRUE(p.bits != 8 || px[0] < entries);
            const unsigned char* bgr = p.bits == 8 ? &b[54 + 4 * px[0]] : px;
            p.pixels.push_back({bgr[0], bgr[1], bgr[2]});
        }
    return p;
}

// Icons and cursors are RGBA PNGs with their hot spot inside.
TEST(BuiltinArt, HoldsEveryIdTheProgramAsksFor)
{
    std::vector<int> scene = {154, 227};
    for (int id = 10000; id < 10020; ++id)
        scene.push_back(id);
    const std::pair<const char*, std::vector<int>> wanted[] = {
        {"RCAD", scene},
        {"BITMAP", {129, 153}},
        {"ICON", {128, 134, 135, 136, 160, 175, 180, 183, 184, 232, 253}},
        {"CURSOR", {158, 159, 163, 164, 167, 169, 177, 178}},
    };
    for (const auto& [type, ids] : wanted)
        for (int id : ids) {
            SCOPED_TRACE(std::string(type) + " " + std::to_string(id));
            const BuiltinArt::Entry* e = BuiltinArt::Find(id, type);
            ASSERT_NE(e, nullptr);
            const bool cursor = std::strcmp(type, "CURSOR") == 0;
            if (!cursor && std::strcmp(type, "ICON") != 0)
                continue;
            ASSERT_GT(e->size, 33u);
            EXPECT_EQ(std::memcmp(e->data, "\x89PNG\r\n\x1a\n", 8), 0);
            EXPECT_EQ(e->data[25], 6) << "RGBA";
            const int w = int(BigU32(e->data + 16)), h = int(BigU32(e->data + 20));
            EXPECT_TRUE(e->hotX >= 0 && e->hotY >= 0 && e->hotX < w && e->hotY < h);
            const bool fullSize = cursor || (id != 128 && id != 183 && id != 184);
            EXPECT_TRUE(!fullSize || (w == 32 && h == 32));
            EXPECT_TRUE(cursor || 2 * e->hotX == w) << "a check box takes twice the hot spot as the icon's size";
        }
    EXPECT_EQ(BuiltinArt::Find(154, "BITMAP"), nullptr);
    EXPECT_EQ(BuiltinArt::Find(154, nullptr), nullptr);
}

// The control bar's picture is checked with the bar's window; the species
// grid is a plain 500 x 512 picture.
TEST(BuiltinArt, BackgroundIsSeeThroughOnlyAboveTheSeaFloor)
{
    const Picture grid = DecodeBmp(Plain(129, "BITMAP"));
    EXPECT_EQ((std::array<int, 3>{grid.width, grid.height, grid.bits}), (std::array<int, 3>{500, 512, 32}));
    const Picture bg = DecodeBmp(Plain(154, "RCAD"));
    ASSERT_EQ(bg.bits, 24);
    ASSERT_GT(bg.width, 0);
    EXPECT_EQ(bg.width * 3 % 4, 0) << "rows must not be padded";
    EXPECT_EQ(bg.imageSize, std::uint32_t(bg.width * bg.height * 3));
    // Black is the open water: most of the top row, none of the lower quarter
    // (sand and rocks).
    const std::array<int, 3> black{0, 0, 0};
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
        const Picture p = DecodeBmp(Plain(10000 + i, "RCAD"));
        ASSERT_TRUE(p.width == 256 && p.height == 256) << i;
        depths.insert(p.bits);
        // An 8 x 4 thumbnail of the body band (t 0.30..0.75, s 0.09..0.99):
        // mean colours of 29 x 29 blocks.
        std::vector<double> thumb(8 * 4 * 3, 0.0);
        for (int y = 77; y < 77 + 4 * 29; ++y)
            for (int x = 23; x < 23 + 8 * 29; ++x)
                for (int c = 0; c < 3; ++c)
                    thumb[std::size_t(((y - 77) / 29 * 8 + (x - 23) / 29) * 3 + c)] += p.At(x, y)[c] / (29.0 * 29.0);
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
    const std::vector<unsigned char> wav = Plain(227, "RCAD");
    ASSERT_GT(wav.size(), 44u);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4) + std::string(wav.begin() + 8, wav.begin() + 16) +
                  std::string(wav.begin() + 36, wav.begin() + 40),
              "RIFFWAVEfmt data");
    // PCM, mono, 22050 Hz, 16 bits.
    EXPECT_EQ((std::array<int, 4>{U16(&wav[20]), U16(&wav[22]), int(U32(&wav[24])), U16(&wav[34])}),
              (std::array<int, 4>{1, 1, 22050, 16}));
    const std::uint32_t bytes = U32(&wav[40]);
    EXPECT_EQ(bytes + 44, wav.size());
    EXPECT_TRUE(bytes > 40 * 44100 && bytes < 75 * 44100) << bytes / 44100.0 << " s";
    // Loops without a click: the last and the first samples are close.
    const auto sample = [&](std::size_t i) { return int(std::int16_t(U16(&wav[44 + 2 * i]))); };
    EXPECT_LT(std::abs(sample(bytes / 2 - 1) - sample(0)), 1500);
}

}  // namespace
