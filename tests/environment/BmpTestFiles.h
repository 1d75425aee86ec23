#pragma once
// Building BMP files byte by byte for the loader tests, including broken
// ones: every header field can be set to anything.
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace BmpTestFiles {

struct Header {
    int width = 0;
    int height = 0;
    int bits = 24;
    std::uint32_t infoSize = 40;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;      // 0: the true size of the rows
    std::uint32_t clrUsed = 0;
    std::uint32_t paletteEntries = 0; // entries actually written (8 bits)
    std::int64_t pixelOffset = -1;    // -1: right after the headers and palette
};

inline void Put16(std::vector<std::uint8_t>& b, std::uint32_t v)
{
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}

inline void Put32(std::vector<std::uint8_t>& b, std::uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

inline std::size_t RowSize(int bits, int width) { return std::size_t((bits * width + 31) / 32) * 4; }

// The headers (and the palette when h.bits is 8: entry i = (i, 255 - i, i / 2)
// as blue, green, red), followed by `pixels` as given.
inline std::vector<std::uint8_t> Build(const Header& h, const std::vector<std::uint8_t>& pixels)
{
    std::vector<std::uint8_t> b = {'B', 'M'};
    const std::uint32_t offset = h.pixelOffset >= 0 ? std::uint32_t(h.pixelOffset)
                                                    : 54u + 4u * h.paletteEntries;
    Put32(b, std::uint32_t(54 + 4 * h.paletteEntries + pixels.size()));
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, h.infoSize);
    Put32(b, std::uint32_t(h.width));
    Put32(b, std::uint32_t(h.height));
    Put16(b, 1);
    Put16(b, std::uint32_t(h.bits));
    Put32(b, h.compression);
    Put32(b, h.sizeImage ? h.sizeImage : std::uint32_t(pixels.size()));
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, h.clrUsed);
    Put32(b, 0);
    for (std::uint32_t i = 0; i < h.paletteEntries; ++i) {
        b.push_back(std::uint8_t(i));
        b.push_back(std::uint8_t(255 - i));
        b.push_back(std::uint8_t(i / 2));
        b.push_back(0);
    }
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

// Rows of a 24-bit picture (padded to 4 bytes) whose pixel (x, y) has the
// blue, green, red bytes color(x, y) returns, bottom row first.
template <class Color>
std::vector<std::uint8_t> Rows24(int width, int height, Color color)
{
    std::vector<std::uint8_t> rows;
    for (int y = 0; y < height; ++y) {
        const std::size_t start = rows.size();
        for (int x = 0; x < width; ++x) {
            const auto c = color(x, y);
            rows.insert(rows.end(), {std::uint8_t(c[0]), std::uint8_t(c[1]), std::uint8_t(c[2])});
        }
        rows.resize(start + RowSize(24, width), 0);
    }
    return rows;
}

inline void Write(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

}  // namespace BmpTestFiles
