// SPDX-License-Identifier: MIT
#include "resources/BuiltinArt.h"

#include <cstring>

// Written by the art generator (ArtTable.cpp in the build's art directory).
namespace BuiltinArt {
extern const Entry kGeneratedEntries[];
extern const std::size_t kGeneratedEntryCount;
}  // namespace BuiltinArt

namespace BuiltinArt {

const Entry* Find(int id, const char* type)
{
    if (!type)
        return nullptr;
    for (std::size_t i = 0; i < kGeneratedEntryCount; ++i) {
        const Entry& entry = kGeneratedEntries[i];
        if (entry.id == id && std::strcmp(entry.type, type) == 0)
            return &entry;
    }
    return nullptr;
}

std::size_t Count() { return kGeneratedEntryCount; }

const Entry& At(std::size_t index) { return kGeneratedEntries[index]; }

}  // namespace BuiltinArt
