// SPDX-License-Identifier: MIT
#pragma once

class Fish;
class FoodFlake;

// How fish find and eat food flakes. Both operations run once per frame
// for each active fish, after its update and draw.
//
// Units: world units and degrees.
namespace Feeding {

// Reach of the senses, world units between the fish's nose and a flake.
constexpr float kSmellRange = 20.0f;   // |dx| and |dy| below this: turn to it
constexpr float kMouthRange = 3.0f;    // |dx| and |dy| below this: slow down / eat
constexpr float kMouthDepth = 10.0f;   // |dz| below this: eat

// Steers `fish` towards every active flake within smell range, in slot
// order (later flakes win the steer only once the fish has finished a turn),
// and slows it right down next to one. Sets the fish's attracted flag when
// any flake is within range and clears it otherwise. Feed mode only: the
// caller skips it in the other modes, so the flag keeps its value there.
void FoodAttraction(Fish& fish, const FoodFlake* flakes, int count);

// In every mode: the fish eats each active, alive flake its nose touches.
// A flake eaten here is dead for every later fish of the same frame.
void FoodEating(const Fish& fish, FoodFlake* flakes, int count);

// The elevation figure of a point (x, y) seen from the world origin, in
// whole degrees: 0..90 in the first quadrant, 90 - e elsewhere, and the
// axis values 0, 90, 180, 270. A figure above 90 leaves the pitch as it is.
int ElevationFigure(float x, float y);

// The angle in degrees (0..90) between the fish's heading line (centre to
// nose) and the line from its centre to `point` (x, z used).
float HorizontalAngle(const Fish& fish, const float* point);

}  // namespace Feeding
