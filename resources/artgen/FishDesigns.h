// SPDX-License-Identifier: MIT
#pragma once
#include "FishPatterns.h"

#include <functional>
#include <string>
#include <vector>

// The twenty species. Each is a colour design over the one fish model: the
// body side, the five fins and the iris. The same designs give the fish
// textures and the pictures of the species grid.
struct FishSpecies {
    std::string name;
    // How its texture file is stored: 8 (palette), 24 or 32 bits per pixel.
    int bits = 24;
    int paletteColours = 256;
    bool zeroPaletteCount = false;  // 8 bits: declare the palette size as 0
    std::function<Rgb(const FishShape::BodyPoint&)> body;
    std::function<Rgb(FishShape::Fin, const FishShape::FinPoint&)> fin;
    Rgb iris;
};

const std::vector<FishSpecies>& AllSpecies();
