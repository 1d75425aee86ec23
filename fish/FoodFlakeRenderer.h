// SPDX-License-Identifier: MIT
#pragma once

#include "fish/FoodFlake.h"

// Draws food flakes from the poses their updates left, with one display
// list for the shape all flakes share: an ellipse of 500 fan vertices,
// 0.8 x 0.4 at the drop depth (0.6 x 0.3 as seen from 60 units), untextured
// in RGB 243, 225, 159. Owns that list: Release() deletes it.
class ScreenBounds;

class FoodFlakeRenderer {
public:
    FoodFlakeRenderer() = default;
    FoodFlakeRenderer(const FoodFlakeRenderer&) = delete;
    FoodFlakeRenderer& operator=(const FoodFlakeRenderer&) = delete;

    // Compiles the shape. Needs a current GL context.
    void CompileShape();
    // Deletes the shape's list (in the context it was made in).
    void Release();
    unsigned DisplayList() const { return m_list; }

    // The flake at its pose, with lighting off; nothing when the pose is not
    // drawn. The matrix stack is left as found; texturing is switched off
    // and on again around the shape, the colour left white.
    void Draw(const FoodFlake::DrawPose& pose) const;

    // While set, every flake drawn adds the window rectangle around it.
    void SetBounds(ScreenBounds* bounds) { m_bounds = bounds; }

private:
    unsigned m_list = 0;
    ScreenBounds* m_bounds = nullptr;
};
