// SPDX-License-Identifier: MIT
#pragma once
#include "Canvas.h"

#include <string>

// A 5 x 7 pixel font (capitals, digits and a little punctuation; small
// letters are drawn as capitals) for labels in the generated pictures.
namespace PixelFont {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kAdvance = 6;

// Width in pixels of text drawn at the given scale.
int TextWidth(const std::string& text, int scale = 1);
// Draws text with its top-left corner at (x, y); each font pixel becomes a
// scale x scale block.
void DrawText(Canvas& canvas, int x, int y, const std::string& text, Rgb color, int scale = 1,
              float alpha = 1.0f);

}  // namespace PixelFont
