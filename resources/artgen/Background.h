// SPDX-License-Identifier: MIT
#pragma once
#include "Canvas.h"

// The default background picture: a sea floor with sand, rocks, plants and
// light falling from above, 1024 x 512. Open water is left transparent
// (alpha 0); everything painted is opaque and never pure black, so the
// picture can be stored with black as the see-through key.
Canvas PaintBackground();

// The picture as stored: transparent pixels become pure black (0, 0, 0),
// every other pixel keeps its colour and is nudged off pure black.
Canvas KeyedForStorage(const Canvas& picture);
