// SPDX-License-Identifier: MIT
#include "fish/SlotAssignment.h"

int AssignSpeciesToSlots(const int (&counts)[kSpeciesCount], int (&speciesOfSlot)[kMaxFish])
{
    int active[kSpeciesCount];
    ActiveFishCounts(counts, active);
    int slot = 0;
    for (int j = 0; j < kSpeciesCount; ++j)
        for (int n = 0; n < active[j] && slot < kMaxFish; ++n)
            speciesOfSlot[slot++] = j;
    for (int i = slot; i < kMaxFish; ++i)
        speciesOfSlot[i] = -1;
    return slot;
}
