// SPDX-License-Identifier: MIT
#include "environment/BmpImage.h"

#include <cstdio>
#include <limits>
#include <new>
#include <sys/stat.h>

namespace {

// Files larger than this are refused outright: no built-in picture comes
// near it, and it bounds every size computed from header fields.
constexpr std::uint64_t kMaxFileSize = std::uint64_t(1) << 30;

std::uint16_t Read16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }

std::uint32_t Read32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

class File {
public:
    explicit File(const std::string& path) : m_file(std::fopen(path.c_str(), "rb")) {}
    ~File()
    {
        if (m_file)
            std::fclose(m_file);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    bool Ok() const { return m_file != nullptr; }
    // Size of a regular file, 0 for anything else.
    std::uint64_t Size() const
    {
        struct stat st {};
        if (::fstat(::fileno(m_file), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0)
            return 0;
        return std::uint64_t(st.st_size);
    }
    bool Read(void* into, std::size_t bytes) { return std::fread(into, 1, bytes, m_file) == bytes; }
    bool Seek(std::uint64_t offset) { return std::fseek(m_file, long(offset), SEEK_SET) == 0; }

private:
    std::FILE* m_file;
};

bool IsBmpSignature(const std::uint8_t* header) { return Read16(header) == 0x4D42; }

// Checks that the information header describes an image this program can
// read, and that its palette and rows fit in the block; finds the pixels.
bool LocatePixels(LoadedBitmap& bmp)
{
    const BmpInfoHeader& info = bmp.info;
    if (info.size != kBmpInfoHeaderSize || info.compression != 0 || info.width <= 0 || info.height <= 0)
        return false;
    if (info.bitCount != 8 && info.bitCount != 24 && info.bitCount != 32)
        return false;
    std::uint64_t offset = kBmpInfoHeaderSize;
    if (info.bitCount == 8) {
        const std::uint32_t entries = info.clrUsed == 0 ? 256 : info.clrUsed;
        if (entries > 256)
            return false;
        bmp.paletteEntries = int(entries);
        offset += 4u * entries;
    }
    const std::uint64_t row = BmpRowSize(info.bitCount, info.width);
    const std::uint64_t available = bmp.block.size();
    if (offset > available || row > (available - offset) / std::uint64_t(info.height))
        return false;
    bmp.pixelOffset = std::size_t(offset);
    return true;
}

bool IndicesInPalette(const LoadedBitmap& bmp)
{
    const std::uint64_t row = BmpRowSize(8, bmp.Width());
    for (int y = 0; y < bmp.Height(); ++y) {
        const std::uint8_t* p = bmp.Pixels() + row * std::uint64_t(y);
        for (int x = 0; x < bmp.Width(); ++x)
            if (p[x] >= bmp.paletteEntries)
                return false;
    }
    return true;
}

}  // namespace

BmpInfoHeader DecodeBmpInfoHeader(const std::uint8_t* b)
{
    BmpInfoHeader h;
    h.size = Read32(b);
    h.width = std::int32_t(Read32(b + 4));
    h.height = std::int32_t(Read32(b + 8));
    h.planes = Read16(b + 12);
    h.bitCount = Read16(b + 14);
    h.compression = Read32(b + 16);
    h.sizeImage = Read32(b + 20);
    h.xPelsPerMeter = std::int32_t(Read32(b + 24));
    h.yPelsPerMeter = std::int32_t(Read32(b + 28));
    h.clrUsed = Read32(b + 32);
    h.clrImportant = Read32(b + 36);
    return h;
}

std::uint64_t BmpRowSize(int bits, std::int64_t width)
{
    if (width < 0 || bits < 0)
        return 0;
    return ((std::uint64_t(bits) * std::uint64_t(width) + 31) / 32) * 4;
}

bool LoadBmpFile(const std::string& path, LoadedBitmap& out)
{
    out = LoadedBitmap{};
    File file(path);
    if (!file.Ok())
        return false;
    const std::uint64_t size = file.Size();
    if (size <= kBmpFileHeaderSize || size > kMaxFileSize)
        return false;
    std::uint8_t header[kBmpFileHeaderSize];
    if (!file.Read(header, sizeof header) || !IsBmpSignature(header))
        return false;
    LoadedBitmap bmp;
    try {
        bmp.block.resize(std::size_t(size - kBmpFileHeaderSize));
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!file.Read(bmp.block.data(), bmp.block.size()) || bmp.block.size() < kBmpInfoHeaderSize)
        return false;
    bmp.info = DecodeBmpInfoHeader(bmp.block.data());
    if (!LocatePixels(bmp) || (bmp.Bits() == 8 && !IndicesInPalette(bmp)))
        return false;
    out = std::move(bmp);
    return true;
}

std::vector<std::uint8_t> ReadBmpRgb(const std::string& path, BmpInfoHeader& info)
{
    info = BmpInfoHeader{};
    File file(path);
    if (!file.Ok())
        return {};
    const std::uint64_t fileSize = file.Size();
    std::uint8_t header[kBmpFileHeaderSize + kBmpInfoHeaderSize];
    if (fileSize > kMaxFileSize || fileSize < sizeof header || !file.Read(header, sizeof header) ||
        !IsBmpSignature(header))
        return {};
    info = DecodeBmpInfoHeader(header + kBmpFileHeaderSize);
    const std::uint64_t offset = Read32(header + 10);
    if (info.size < kBmpInfoHeaderSize || info.bitCount != 24 || info.compression != 0 || info.width <= 0 ||
        info.height <= 0 || (std::uint64_t(info.width) * 3) % 4 != 0)
        return {};
    // Rows are taken as one run of 3-byte pixels; the stated image size must
    // hold them all and lie inside the file.
    const std::uint64_t bytes = std::uint64_t(info.width) * 3 * std::uint64_t(info.height);
    if (offset < sizeof header || info.sizeImage < bytes || offset > fileSize ||
        info.sizeImage > fileSize - offset)
        return {};
    std::vector<std::uint8_t> pixels;
    try {
        pixels.resize(std::size_t(bytes));
    } catch (const std::bad_alloc&) {
        return {};
    }
    if (!file.Seek(offset) || !file.Read(pixels.data(), pixels.size()))
        return {};
    for (std::size_t i = 0; i + 2 < pixels.size(); i += 3)
        std::swap(pixels[i], pixels[i + 2]);
    return pixels;
}

std::vector<std::uint8_t> ReadBmpRgba(const std::string& path, BmpInfoHeader& info)
{
    const std::vector<std::uint8_t> rgb = ReadBmpRgb(path, info);
    if (rgb.empty())
        return {};
    std::vector<std::uint8_t> rgba;
    try {
        rgba.resize(rgb.size() / 3 * 4);
    } catch (const std::bad_alloc&) {
        return {};
    }
    for (std::size_t i = 0, j = 0; i + 2 < rgb.size(); i += 3, j += 4) {
        rgba[j] = rgb[i];
        rgba[j + 1] = rgb[i + 1];
        rgba[j + 2] = rgb[i + 2];
        rgba[j + 3] = (rgb[i] | rgb[i + 1] | rgb[i + 2]) ? 255 : 0;
    }
    return rgba;
}
