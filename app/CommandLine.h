// SPDX-License-Identifier: MIT
#pragma once
#include "settings/SettingsOverrides.h"

#include <optional>
#include <string>
#include <vector>

// The program's own command-line options. Qt's options (-platform and the
// like) are left for QApplication to take. Options that take a value accept
// "--name value", "--name=value" and the screensaver daemon's "-name value".
struct CommandLine {
    enum class Action { Run, Preferences, Help, Version, Error };
    Action action = Action::Run;
    bool reportFps = false;     // --fps: the frame rate, on screen in screensaver mode,
                                //   else to stderr once a second
    bool logMusic = false;      // --music-log: each track of the user's music to stderr
    bool root = false;          // --root: draw on the (virtual) root window
    bool windowIdGiven = false; // --window-id given; its text, checked later
    std::string windowId;       //   (a bad number is a runtime error, not a usage error)
    std::optional<int> delayUs; // --delay: the frame period in microseconds
    SettingsOverrides overrides;   // --fish, --light, --fog: for this run only
    std::string error;          // set when action is Error

    // Screensaver mode: drawing into a window another program owns. With
    // both --root and a window id the window wins (a daemon's preview passes
    // the module's usual --root along with the window it made).
    bool Screensaver() const { return root || windowIdGiven; }

    static constexpr int kDefaultDelayUs = 20000;   // the 20 ms tick
    static constexpr int kMaxDelayUs = 10000000;

    static CommandLine Parse(const std::vector<std::string>& args);  // args[0] is the program
    static const char* Usage();
};
