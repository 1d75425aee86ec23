// SPDX-License-Identifier: MIT
#pragma once

// The one value the program keeps in the desktop's per-user application
// settings (QSettings, native format) instead of the settings file:
// "Settings/Volume" of organisation "Local AppWizard-Generated Applications",
// application "PloviFishScr". The program only reads it.

// The initial volume of the user's own music, 0..1000: 1000 when the value is
// absent or not a whole number, clamped into range otherwise.
int ReadVolumeProfile();
