// SPDX-License-Identifier: MIT
#pragma once

// A rectangle of window pixels as glScissor takes it: origin at the bottom
// left, x and y of its first pixel, width and height in pixels.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
