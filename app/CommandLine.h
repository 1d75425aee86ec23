#pragma once
#include <string>
#include <vector>

// The program's own command-line options. Qt's options (-platform and the
// like) are left for QApplication to take.
struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    bool reportFps = false;     // --fps: frame rate to stderr once a second
    bool logMusic = false;      // --music-log: each track of the user's music to stderr
    bool root = false;          // --root: draw on the (virtual) root window
    bool windowIdGiven = false; // --window-id given; its text, checked later
    std::string windowId;       //   (a bad number is a runtime error, not a usage error)
    std::string error;          // set when action is Error

    // Screensaver mode: drawing into a window another program owns.
    bool Screensaver() const { return root || windowIdGiven; }

    static CommandLine Parse(const std::vector<std::string>& args);  // args[0] is the program
    static const char* Usage();
};
