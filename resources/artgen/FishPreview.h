// SPDX-License-Identifier: MIT
#pragma once
#include "Canvas.h"

// Draws a fish from the side with its texture laid on as the model carries
// it, on a transparent canvas: how a species will look in the tank. Used by
// the species grid and the contact sheet.
Canvas RenderFishSideView(const Canvas& texture, int width, int height);
