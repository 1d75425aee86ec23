// SPDX-License-Identifier: MIT
#pragma once

// Command codes of the control bar. The bar stores one in its command member;
// the frame loop copies it into the view's mode at the end of every tick.
constexpr int CMD_TOUCH = 1035;    // mouse mode: touch a fish
constexpr int CMD_FEED = 1036;     // mouse mode: feed (the start mode)
constexpr int CMD_ZOOMIN = 1037;   // mouse mode: make a fish larger
constexpr int CMD_ZOOMOUT = 1038;  // mouse mode: make a fish smaller
constexpr int CMD_EXIT = 1042;     // end the program
constexpr int CMD_MUSIC = 1050;    // show the Custom Music dialog
constexpr int CMD_IMAGE = 1052;    // show the Custom Background dialog
constexpr int CMD_NONE = 1124;     // no mouse mode (after a dialog was shown)
