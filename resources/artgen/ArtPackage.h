// SPDX-License-Identifier: MIT
#pragma once
#include "Encoders.h"

#include <string>
#include <vector>

// Collects the generated files and writes what the build embeds: every file
// under the output directory, the scrambled copies of the "RCAD" entries, the
// assembler file that includes their bytes (ArtData.S) and the C++ table that
// finds them by id and type (ArtTable.cpp).
class ArtPackage {
public:
    explicit ArtPackage(std::string directory);

    // A scene asset: written plain as name + extension (for people and for
    // the contact sheet) and scrambled as name + ".rcad", which is embedded.
    void AddAsset(int id, const std::string& name, const std::string& extension, const Bytes& plain);

    // A picture for the windows ("BITMAP", "ICON", "CURSOR"), embedded as is.
    void AddImage(int id, const char* type, const std::string& name, const std::string& extension,
                  const Bytes& bytes, int hotX = 0, int hotY = 0);

    void WriteIndex() const;

    const std::string& Directory() const { return m_directory; }
    std::size_t EmbeddedBytes() const;

private:
    struct Item {
        int id;
        std::string type;
        std::string name;
        std::string file;  // the embedded file, inside the directory
        std::size_t size;
        int hotX, hotY;
        std::uint32_t plainCrc;
    };

    std::string m_directory;
    std::vector<Item> m_items;
};
