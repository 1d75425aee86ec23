// SPDX-License-Identifier: MIT
#pragma once
#include "Canvas.h"
#include "FishDesigns.h"

// Paints a species' texture: a size x size picture (row 0 at the top, so
// texture t = 1) laid out as fish/FishTextureLayout.h says, with the body
// band, the fin bands and the eye disc.
Canvas PaintFishTexture(const FishSpecies& species, int size = 256);
