// SPDX-License-Identifier: MIT
#pragma once
#include "Canvas.h"

// The control bar's button icons (32 x 32: 136 feed, 160 touch, 134 zoom in,
// 135 zoom out, 180 add fish, 253 music, 232 image, 175 exit) and the two
// check-box icons (16 x 16: 184 ticked, 183 clear).
Canvas PaintIcon(int id);

// The scene's mode cursors (32 x 32) with their hot spots: 158/159 touch,
// 163/164 feed, 167/177 zoom in, 169/178 zoom out (button up / down).
struct CursorArt {
    Canvas image;
    int hotX, hotY;
};
CursorArt PaintCursor(int id);

// The sizes of the program's icon in the desktop's icon theme (pixels).
inline constexpr int kThemeIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The program's icon, size x size pixels (64 for the window icon; the
// desktop's icon theme sizes from 16 to 256), around a fish wearing the given
// texture. Painted at each size, not scaled from one picture, so every size is
// sharp.
Canvas PaintProgramIcon(const Canvas& fishTexture, int size);
