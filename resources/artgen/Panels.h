// SPDX-License-Identifier: MIT
#pragma once
#include "Canvas.h"

#include <string>
#include <vector>

// The control bar's picture: 2016 x 64, a bar of deep water along the top of
// the screen behind the buttons, the clock and the title; every pixel outside
// the bar's shape is exactly the colour key RGB(211, 218, 229).
constexpr Rgb kControlBarKey{211.0f / 255.0f, 218.0f / 255.0f, 229.0f / 255.0f};
Canvas PaintControlBar();

// The Fish Settings dialog's species picture: 500 x 512, cell i (column
// i mod 5, row i div 5, 100 x 90 pixels from (100 column + 2, 90 row + 2))
// shows species i from the side with its name.
Canvas PaintSpeciesGrid(const std::vector<Canvas>& sideViews, const std::vector<std::string>& names);
