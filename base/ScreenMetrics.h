// SPDX-License-Identifier: MIT
#pragma once

// The screen the scene is drawn for: its size in device pixels (the whole
// screen, not the window) and the screen class the size falls into, which
// picks the tank box and the picture's width.
struct ScreenMetrics {
    int width = 1680;
    int height = 1050;
    int resolutionIndex = 1;  // 0..7, see ResolutionIndexFor
};
