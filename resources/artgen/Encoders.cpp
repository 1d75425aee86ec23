// SPDX-License-Identifier: MIT
#include "Encoders.h"

#include "Deflate.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace {

void Put16(Bytes& b, std::uint32_t v)
{
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}

void Put32(Bytes& b, std::uint32_t v)
{
    Put16(b, v & 0xFFFFu);
    Put16(b, v >> 16);
}

void PutBig32(Bytes& b, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        b.push_back(std::uint8_t(v >> shift));
}

std::size_t RowSize(int bits, int width) { return std::size_t((bits * width + 31) / 32) * 4; }

Bytes BmpHeaders(int width, int height, int bits, std::uint32_t paletteEntries, std::uint32_t declaredEntries)
{
    const std::uint32_t imageSize = std::uint32_t(RowSize(bits, width) * std::size_t(height));
    const std::uint32_t offset = 14 + 40 + paletteEntries * 4;
    Bytes b;
    b.push_back('B');
    b.push_back('M');
    Put32(b, offset + imageSize);
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, 40);
    Put32(b, std::uint32_t(width));
    Put32(b, std::uint32_t(height));
    Put16(b, 1);
    Put16(b, std::uint32_t(bits));
    Put32(b, 0);  // uncompressed
    Put32(b, imageSize);
    Put32(b, 2835);  // 72 dpi
    Put32(b, 2835);
    Put32(b, declaredEntries);
    Put32(b, 0);
    return b;
}

Bytes BmpDirect(const Canvas& picture, int bits)
{
    const int w = picture.Width(), h = picture.Height();
    Bytes b = BmpHeaders(w, h, bits, 0, 0);
    const std::size_t row = RowSize(bits, w);
    for (int y = h - 1; y >= 0; --y) {
        const std::size_t start = b.size();
        for (int x = 0; x < w; ++x) {
            const Rgb c = picture.Color(x, y);
            b.push_back(ToByte(c.b));
            b.push_back(ToByte(c.g));
            b.push_back(ToByte(c.r));
            if (bits == 32)
                b.push_back(ToByte(picture.Alpha(x, y)));
        }
        b.resize(start + row, 0);
    }
    return b;
}

using Colour3 = std::array<int, 3>;

// Median cut: split the box with the widest channel range at its median
// until there are enough boxes; each box's mean is a palette entry.
std::vector<Colour3> MedianCut(std::vector<Colour3> pixels, int colours)
{
    std::vector<std::pair<std::size_t, std::size_t>> boxes = {{0, pixels.size()}};
    auto widest = [&](std::pair<std::size_t, std::size_t> box, int& range) {
        int best = 0;
        range = -1;
        for (int c = 0; c < 3; ++c) {
            int lo = 255, hi = 0;
            for (std::size_t i = box.first; i < box.second; ++i) {
                lo = std::min(lo, pixels[i][c]);
                hi = std::max(hi, pixels[i][c]);
            }
            if (hi - lo > range) {
                range = hi - lo;
                best = c;
            }
        }
        return best;
    };
    while (int(boxes.size()) < colours) {
        int pick = -1, pickRange = 0, pickChannel = 0;
        for (int i = 0; i < int(boxes.size()); ++i) {
            int range = 0;
            const int channel = widest(boxes[i], range);
            if (boxes[i].second - boxes[i].first > 1 && range > pickRange) {
                pick = i;
                pickRange = range;
                pickChannel = channel;
            }
        }
        if (pick < 0)
            break;
        auto [first, last] = boxes[pick];
        std::sort(pixels.begin() + long(first), pixels.begin() + long(last),
                  [c = pickChannel](const Colour3& a, const Colour3& b) { return a[c] < b[c]; });
        const std::size_t mid = (first + last) / 2;
        boxes[pick] = {first, mid};
        boxes.push_back({mid, last});
    }
    std::vector<Colour3> palette;
    for (auto [first, last] : boxes) {
        long sum[3] = {0, 0, 0};
        for (std::size_t i = first; i < last; ++i)
            for (int c = 0; c < 3; ++c)
                sum[c] += pixels[i][c];
        const long n = long(last - first);
        palette.push_back({int(sum[0] / n), int(sum[1] / n), int(sum[2] / n)});
    }
    return palette;
}

int Nearest(const std::vector<Colour3>& palette, const Colour3& c)
{
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < int(palette.size()); ++i) {
        long d = 0;
        for (int k = 0; k < 3; ++k)
            d += long(palette[i][k] - c[k]) * (palette[i][k] - c[k]);
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

void PngChunk(Bytes& out, const char* type, const Bytes& data)
{
    PutBig32(out, std::uint32_t(data.size()));
    Bytes body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutBig32(out, Crc32(body.data(), body.size()));
}

int Paeth(int a, int b, int c)
{
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
}

// Chooses for each row the filter with the smallest sum of magnitudes.
Bytes FilterRows(const Bytes& raw, std::size_t stride, int height, int bpp)
{
    Bytes out;
    Bytes zero(stride, 0);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = raw.data() + std::size_t(y) * stride;
        const std::uint8_t* up = y > 0 ? row - stride : zero.data();
        Bytes best;
        long bestScore = -1;
        for (int filter = 0; filter < 5; ++filter) {
            Bytes f = {std::uint8_t(filter)};
            long score = 0;
            for (std::size_t i = 0; i < stride; ++i) {
                const int a = i >= std::size_t(bpp) ? row[i - bpp] : 0;
                const int c = i >= std::size_t(bpp) ? up[i - bpp] : 0;
                const int pred = filter == 0 ? 0 : filter == 1 ? a : filter == 2 ? up[i]
                               : filter == 3 ? (a + up[i]) / 2 : Paeth(a, up[i], c);
                const std::uint8_t v = std::uint8_t(row[i] - pred);
                f.push_back(v);
                score += v < 128 ? v : 256 - v;
            }
            if (bestScore < 0 || score < bestScore) {
                bestScore = score;
                best.swap(f);
            }
        }
        out.insert(out.end(), best.begin(), best.end());
    }
    return out;
}

}  // namespace

namespace Encoders {

Bytes Bmp24(const Canvas& picture) { return BmpDirect(picture, 24); }

Bytes Bmp32(const Canvas& picture) { return BmpDirect(picture, 32); }

Bytes Bmp8(const Canvas& picture, int colours, bool writeZeroCount)
{
    const int w = picture.Width(), h = picture.Height();
    std::vector<Colour3> pixels;
    pixels.reserve(std::size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgb c = picture.Color(x, y);
            pixels.push_back({ToByte(c.r), ToByte(c.g), ToByte(c.b)});
        }
    std::vector<Colour3> palette = MedianCut(pixels, std::clamp(colours, 2, 256));
    if (writeZeroCount)
        palette.resize(256, Colour3{0, 0, 0});
    const std::uint32_t entries = std::uint32_t(palette.size());
    Bytes b = BmpHeaders(w, h, 8, entries, writeZeroCount ? 0u : entries);
    for (const Colour3& c : palette) {
        b.push_back(std::uint8_t(c[2]));
        b.push_back(std::uint8_t(c[1]));
        b.push_back(std::uint8_t(c[0]));
        b.push_back(0);
    }
    const std::size_t row = RowSize(8, w);
    for (int y = h - 1; y >= 0; --y) {
        const std::size_t start = b.size();
        for (int x = 0; x < w; ++x)
            b.push_back(std::uint8_t(Nearest(palette, pixels[std::size_t(y) * w + x])));
        b.resize(start + row, 0);
    }
    return b;
}

Bytes Png(const Canvas& picture, bool withAlpha)
{
    const int w = picture.Width(), h = picture.Height(), bpp = withAlpha ? 4 : 3;
    Bytes raw;
    raw.reserve(std::size_t(w) * h * bpp);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgb c = picture.Color(x, y);
            raw.push_back(ToByte(c.r));
            raw.push_back(ToByte(c.g));
            raw.push_back(ToByte(c.b));
            if (withAlpha)
                raw.push_back(ToByte(picture.Alpha(x, y)));
        }
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBig32(header, std::uint32_t(w));
    PutBig32(header, std::uint32_t(h));
    header.insert(header.end(), {8, std::uint8_t(withAlpha ? 6 : 2), 0, 0, 0});
    PngChunk(out, "IHDR", header);
    PngChunk(out, "IDAT", ZlibCompress(FilterRows(raw, std::size_t(w) * bpp, h, bpp)));
    PngChunk(out, "IEND", {});
    return out;
}

Bytes Wav16(const std::vector<float>& samples, int sampleRate)
{
    const std::uint32_t dataSize = std::uint32_t(samples.size() * 2);
    Bytes b = {'R', 'I', 'F', 'F'};
    Put32(b, 36 + dataSize);
    b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Put32(b, 16);
    Put16(b, 1);  // PCM
    Put16(b, 1);  // mono
    Put32(b, std::uint32_t(sampleRate));
    Put32(b, std::uint32_t(sampleRate * 2));
    Put16(b, 2);
    Put16(b, 16);
    b.insert(b.end(), {'d', 'a', 't', 'a'});
    Put32(b, dataSize);
    for (float s : samples) {
        const long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
        Put16(b, std::uint32_t(v) & 0xFFFFu);
    }
    return b;
}

void WriteFile(const std::string& path, const Bytes& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) {
        if (f)
            std::fclose(f);
        throw std::runtime_error("cannot write " + path);
    }
    if (std::fclose(f) != 0)
        throw std::runtime_error("cannot write " + path);
}

}  // namespace Encoders
