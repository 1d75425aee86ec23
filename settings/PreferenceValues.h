// SPDX-License-Identifier: MIT
#pragma once

#include <string>

class SettingsFile;
struct AquariumSettingsValues;

// The settings of "Aquarium Settings" that the Preferences dialog edits, as
// the dialog shows them: every value inside its range.
struct PreferenceValues {
    int light = 0;          // "LIGHTQIANGDU": 0 (full light) .. 100 (dark)
    int fog = 25;           // "FOGNONGDU": 0 (densest) .. 25 (no fog)
    bool picture = true;    // "BACKGROUND" 0: the background picture shows
    bool gradient = false;  // "BACK MANJIANBIAN": colour gradient behind the picture
    int topColour = 65280;  // "BACK COLOR1", 0x00BBGGRR
    int bottomColour = 0;   // "BACK COLOR2", 0x00BBGGRR
    int yinliang = 32767;   // "YINLIANG": tune attenuation, 0 (loudest) .. 65535 (silent)

    static constexpr int kSilent = 65535;

    // The file's values (absent keys: the defaults of the settings table),
    // each taken as the nearest value inside its range; colours keep their
    // three colour bytes.
    static PreferenceValues Read(const SettingsFile& file);
    // The same from values in memory (a running aquarium's).
    static PreferenceValues From(const AquariumSettingsValues& values);

    // Stages in `file` the keys whose value differs between `before` and
    // this; every other key, line and comment of the file stays as it is.
    // Returns how many keys were staged.
    int StageChanges(SettingsFile& file, const PreferenceValues& before) const;

    // Puts the values into a running aquarium's settings.
    void ApplyTo(AquariumSettingsValues& values) const;

    // The tune's loudness in percent (0..100) for an attenuation, and back.
    // Percent(Attenuation(p)) == p for every p.
    static int Percent(int yinliang);
    static int Attenuation(int percent);

    bool operator==(const PreferenceValues& o) const;
    bool operator!=(const PreferenceValues& o) const { return !(*this == o); }
};
