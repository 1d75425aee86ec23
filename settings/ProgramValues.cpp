// SPDX-License-Identifier: MIT
#include "settings/ProgramValues.h"

ProgramValues& Program()
{
    static ProgramValues values;
    return values;
}

void ResetProgramValues() { Program() = ProgramValues(); }

void ActiveFishCounts(const int (&counts)[kSpeciesCount], int (&out)[kSpeciesCount])
{
    int left = kMaxFish;
    for (int j = 0; j < kSpeciesCount; ++j) {
        int n = counts[j] < 0 ? 0 : counts[j];
        if (n > left)
            n = left;
        out[j] = n;
        left -= n;
    }
}
