// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

struct ProgramValues;

// Values given for one run only (the screensaver's options): they replace
// what the settings file says in memory, after it has been read, and are
// never written to the file.
struct SettingsOverrides {
    std::optional<int> fish;    // fish in all, 0..kMaxFish: one each of the first N species
    std::optional<int> light;   // as "LIGHTQIANGDU": 0 (full light) .. 100 (dark)
    std::optional<int> fog;     // as "FOGNONGDU": 0 (densest) .. 25 (none)

    bool Any() const { return fish || light || fog; }

    // Replaces the given values in `values`; the others stay as read.
    // Values outside their ranges are taken as the nearest inside.
    void ApplyTo(ProgramValues& values) const;
};
