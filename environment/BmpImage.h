// SPDX-License-Identifier: MIT
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reading the BMP files the asset store writes out. Every reader checks the
// header against the real file size before using any field, so a damaged or
// hostile file is refused (the texture then has no image) and nothing is
// ever read past a buffer.
//
// Layout: a 14-byte file header ("BM", file size, pixel data offset at byte
// 10) and a 40-byte information header; rows bottom-up, each padded to a
// multiple of 4 bytes; 8-bit files carry a palette of 4-byte entries (blue,
// green, red, unused) right after the information header.

constexpr std::size_t kBmpFileHeaderSize = 14;
constexpr std::size_t kBmpInfoHeaderSize = 40;

// The 40-byte information header, decoded (little-endian in the file).
struct BmpInfoHeader {
    std::uint32_t size = 0;         // header size in bytes; 40 here
    std::int32_t width = 0;         // pixels
    std::int32_t height = 0;        // pixels; positive: bottom row first
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;     // bits per pixel
    std::uint32_t compression = 0;  // 0: uncompressed
    std::uint32_t sizeImage = 0;    // bytes of pixel data
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;      // palette entries; 0 means 256 at 8 bits
    std::uint32_t clrImportant = 0;
};

BmpInfoHeader DecodeBmpInfoHeader(const std::uint8_t* bytes);

// Bytes in one stored row of `width` pixels at `bits` per pixel:
// ((bits * width + 31) / 32) * 4. 0 for a negative width.
std::uint64_t BmpRowSize(int bits, std::int64_t width);

// A BMP file held in memory: everything after the file header in one block,
// with the decoded information header and where the palette and the pixels
// start in the block.
struct LoadedBitmap {
    std::vector<std::uint8_t> block;
    BmpInfoHeader info;
    int paletteEntries = 0;         // 1..256 at 8 bits, else 0
    std::size_t pixelOffset = 0;    // into block

    int Width() const { return info.width; }
    int Height() const { return info.height; }
    int Bits() const { return info.bitCount; }
    // paletteEntries entries of 4 bytes (blue, green, red, unused); 8 bits only.
    const std::uint8_t* Palette() const { return paletteEntries ? block.data() + kBmpInfoHeaderSize : nullptr; }
    // BmpRowSize(Bits(), Width()) x Height() bytes.
    const std::uint8_t* Pixels() const { return block.data() + pixelOffset; }
};

// Reads an uncompressed 8-bit (palette), 24-bit or 32-bit BMP with a 40-byte
// information header and positive width and height. The palette and pixels
// follow the information header directly (the file header's offset is not
// consulted). Refuses, returning false, any file that is missing, 14 bytes or
// shorter, not "BM", of another depth or header, or whose palette or pixel
// rows do not fit in the file, or (8 bits) with a pixel index outside the
// palette.
bool LoadBmpFile(const std::string& path, LoadedBitmap& out);

// Reads a 24-bit BMP without row padding (width x 3 a multiple of 4) from the
// file header's pixel offset, and returns its width x height pixels as red,
// green, blue bytes, bottom row first, with the information header in info.
// Empty when the file is missing or not such a file, or when the image size
// or the offset do not fit in the file.
std::vector<std::uint8_t> ReadBmpRgb(const std::string& path, BmpInfoHeader& info);

// ReadBmpRgb with a fourth byte: alpha 0 for pure black (0, 0, 0) pixels,
// 255 for every other pixel. Empty when ReadBmpRgb is.
std::vector<std::uint8_t> ReadBmpRgba(const std::string& path, BmpInfoHeader& info);
