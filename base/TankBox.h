// SPDX-License-Identifier: MIT
#pragma once

// The world-space box the scene is sized by (world units; the camera looks
// down -z). The backdrop, the feed area and the fishes' vertical bounds derive
// from it.
struct TankBox {
    float xMin = -54.0f;
    float xMax = 54.0f;
    float yMax = 21.0f;
    float yMin = -21.0f;
    float zBack = -50.0f;
    float zFront = 0.0f;
};

// Screen class 0..7 for the listed sizes (pixels); any other size takes the
// class of the listed size nearest in shape (ResolutionIndexByShape), so the
// background picture still covers the screen from edge to edge.
int ResolutionIndexFor(int screenWidth, int screenHeight);

// Screen class 0..7 of the listed size whose shape (width / height) is
// nearest, ties going to the nearest width: for windows of any size, such as
// a screensaver's preview, whose picture must still fill them. Listed sizes
// give their own class.
int ResolutionIndexByShape(int width, int height);

// The tank for a screen of the given size in pixels. Sizes in the tank table
// give their own x range; any other size takes the box of the table's size
// nearest in shape (ties: the nearest width), so the tank keeps to what the
// screen shows. The box is then widened by 20 on each side in x.
TankBox ComputeTankBoxFor(int screenWidth, int screenHeight);
