// SPDX-License-Identifier: MIT
#pragma once

#include "settings/ProgramValues.h"

// Which species each fish slot shows. Species j occupies the consecutive
// slots after those of species 0..j-1, so when a count changes the ranges
// move: a slot keeps its fish (position, heading, size) but may be drawn
// with another species' texture from then on.
//
// counts: fish per species as the settings hold them (see
// ActiveFishCounts for negative counts and the cap of kMaxFish).
// speciesOfSlot: filled for slots 0..N-1 with 0..kSpeciesCount-1; the
// other entries are -1. Returns N, the number of active slots (0..kMaxFish).
int AssignSpeciesToSlots(const int (&counts)[kSpeciesCount], int (&speciesOfSlot)[kMaxFish]);
