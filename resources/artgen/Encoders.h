// SPDX-License-Identifier: MIT
#pragma once
#include "Canvas.h"

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// File formats the generator writes. BMP files use the 14-byte file header and
// the 40-byte information header, rows bottom-up and padded to 4 bytes, with
// the image size filled in.
namespace Encoders {

Bytes Bmp24(const Canvas& picture);
// Keeps the canvas alpha as the fourth byte (blue, green, red, alpha).
Bytes Bmp32(const Canvas& picture);
// 8 bits per pixel through a palette of up to 256 colours chosen by median
// cut. With writeZeroCount a full palette is declared with the count 0,
// which readers take as 256 entries.
Bytes Bmp8(const Canvas& picture, int colours, bool writeZeroCount);

// RGBA PNG (colour type 6), or RGB (type 2) when withAlpha is false.
Bytes Png(const Canvas& picture, bool withAlpha);

// 16-bit mono PCM WAV.
Bytes Wav16(const std::vector<float>& samples, int sampleRate);

void WriteFile(const std::string& path, const Bytes& bytes);

}  // namespace Encoders
