// SPDX-License-Identifier: MIT
#include "settings/SettingsOverrides.h"

#include "settings/ProgramValues.h"

#include <algorithm>

void SettingsOverrides::ApplyTo(ProgramValues& values) const
{
    if (fish) {
        // Twenty species and at most twenty fish: N fish are N species, so
        // a small tank still shows N different looks.
        const int n = std::clamp(*fish, 0, kMaxFish);
        for (int j = 0; j < kSpeciesCount; ++j)
            values.speciesCount[j] = j < n ? 1 : 0;
    }
    if (light)
        values.aquarium.light = std::clamp(*light, 0, 100);
    if (fog)
        values.aquarium.fog = std::clamp(*fog, 0, 25);
}
