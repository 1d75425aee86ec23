// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <vector>

// A small zlib stream writer for the PNG files of the generator: one
// fixed-Huffman deflate block with greedy LZ77 matching. Not as tight as zlib,
// but the pictures it writes are a fraction of their raw size.
std::vector<std::uint8_t> ZlibCompress(const std::vector<std::uint8_t>& data);

// CRC-32 (IEEE, as in PNG and zip) of a byte range, continuing from crc.
std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);
