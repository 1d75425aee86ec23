// SPDX-License-Identifier: MIT
#pragma once

// The program-wide values shared between the scene and the windows. They are
// filled once at start-up by ReadSettings and changed afterwards only by the
// dialogs that own them. Everything lives in one object so a test can put it
// back to its start state with ResetProgramValues().

constexpr int kSpeciesCount = 20;   // number of fish species and of fish slots
constexpr int kMaxFish = 20;        // the scene never has more active fish

struct AquariumSettingsValues {
    // Section "Aquarium Settings", in file order. Switches are 0/1, colours
    // are 0x00BBGGRR.
    int showWater = 0;
    int showLight = 0;
    int showTerra = 1;             // T: background picture switch
    int frontFixed = 1;
    int frontColor = 16777215;
    int frontGradual = 0;
    int frontColor1 = 16777215;
    int frontColor2 = 16777215;
    int frontAutoGradient = 0;
    int lockFore = 0;
    float lockForeRot = 0.0f;      // degrees
    int backFixed = 1;
    int backColor = 0;
    int backGradual = 0;
    int backColor1 = 65280;
    int backColor2 = 0;
    int backAutoGradient = 0;
    int lockBack = 0;
    float lockBackRot = 0.0f;      // degrees
    int volume = 32767;            // "YINLIANG": built-in tune attenuation, 0..65535
    int bubbleCount = 100;
    int background = 0;            // B: 0 shows the background picture
    int fog = 25;                  // F: 0 (dense) .. 25 (none)
    int light = 0;                 // L: 0 (full light) .. 100 (dark)
    int checkViews = 1;
    int viewsLeftRight = 0;
    int viewsNearFar = 0;
};

struct ProgramValues {
    AquariumSettingsValues aquarium;
    // Fish per species as read (each capped at 20, may be negative in a
    // hand-edited file); see ActiveFishCounts() for what the scene uses.
    int speciesCount[kSpeciesCount] = {};
    // Music hand-over flags: the user's music is switched on / the built-in
    // tune is held silent and must be restarted once the user's music stops.
    bool customMusicPlaying = true;
    bool builtinMusicPending = true;
    // True while the Custom Background dialog's own-image box is ticked.
    bool ownImageOn = false;
    // Registry stand-in "Settings/Volume": initial volume of the user's
    // music, 0..1000.
    int musicVolume = 1000;
};

ProgramValues& Program();
void ResetProgramValues();

// The per-species counts the scene uses: negative counts count as 0 and later
// species are cut so that the sum never exceeds kMaxFish.
void ActiveFishCounts(const int (&counts)[kSpeciesCount], int (&out)[kSpeciesCount]);

// g_speciesCount: the counts of Program(), by their traditional name.
#define g_speciesCount (Program().speciesCount)
