// SPDX-License-Identifier: MIT
#pragma once

#include "app/CommandLine.h"

#include <cstdint>
#include <optional>
#include <string>

// Which window the screensaver mode draws into, decided from the options and
// the environment the way screensaver daemons start their modules:
// --window-id ID first, then $XSCREENSAVER_WINDOW (which the daemon sets
// even when the command line says --root), then --root.
struct ScreensaverTarget {
    enum class Kind {
        None,    // not a screensaver: the ordinary aquarium
        Window,  // a window another program owns, `window`
        Root,    // the screen's root window, or the virtual root that names itself
        Invalid, // a window id that cannot name a window; `error` says why
    };
    Kind kind = Kind::None;
    std::uint32_t window = 0;
    std::string error;

    // envWindow: the value of XSCREENSAVER_WINDOW, nullptr when unset.
    static ScreensaverTarget Resolve(const CommandLine& options, const char* envWindow);

    // A window id written in decimal or as 0x hex, the whole text; nullopt
    // for anything else, for 0 and for values beyond 32 bits.
    static std::optional<std::uint32_t> ParseWindowId(const std::string& text);
};
