// SPDX-License-Identifier: MIT
#pragma once
#include <cstddef>
#include <cstdint>

// The art built into the program: pictures, icons, cursors and the tune,
// generated at build time by resources/artgen and linked in as read-only data.
// Entries are looked up by numeric id and type, like resources:
//
//   "RCAD"   the scene's assets (background picture, fish textures, music),
//            stored scrambled with AssetCipher; the asset store writes them
//            out and unscrambles them into BMP or WAV files.
//   "BITMAP" plain BMP files (control bar 153, species grid 129).
//   "ICON"   PNG images with alpha; the hot spot is the centre.
//   "CURSOR" PNG images with alpha and the cursor's hot spot.
//
// The data lives for the life of the process. No Qt and no GL in here.
namespace BuiltinArt {

struct Entry {
    int id;
    const char* type;            // "RCAD", "BITMAP", "ICON" or "CURSOR"
    const char* name;            // the name it was generated under, e.g. "fish3"
    const unsigned char* data;   // the stored bytes (scrambled for "RCAD")
    std::size_t size;            // bytes
    int hotX, hotY;              // hot spot in pixels from the top left (0 if none)
    std::uint32_t plainCrc32;    // CRC-32 of the unscrambled bytes
};

// The entry with this id and type (type compared exactly), or nullptr.
const Entry* Find(int id, const char* type);

// Every entry, in generation order.
std::size_t Count();
const Entry& At(std::size_t index);

}  // namespace BuiltinArt
