// SPDX-License-Identifier: MIT
#pragma once

#include "base/PixelRect.h"

#include <vector>

struct TankBox;
struct AquariumSettingsValues;

// The colour plane behind everything: a quad twice as wide and three times as
// high as the tank, three times as deep as its back wall. Two layers, each
// drawn only when switched on, in this order:
//   1. backFixed:   all corners in backColor;
//   2. backGradual: bottom corners in backColor2, top corners in backColor1.
// Colours are 0x00BBGGRR. Both layers lie at the same depth and the depth test
// keeps whatever was drawn there first, so when both are on the fixed colour
// is what shows.
//
// Draws with the lighting, colour-material and fog state in force, texturing
// off; leaves the current colour opaque white, as the passes after it expect.
// Needs a current GL context with the frame's camera applied.
void DrawBackdrop(const TankBox& tank, const AquariumSettingsValues& settings);

// DrawBackdrop on the given window rectangles only (the scissor box; every
// pixel inside one gets exactly the value the whole plane gives it), nothing
// when there are none. Leaves the scissor state as it found it.
void DrawBackdropIn(const TankBox& tank, const AquariumSettingsValues& settings,
                    const std::vector<PixelRect>& rects);
