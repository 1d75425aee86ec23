// SPDX-License-Identifier: MIT
#pragma once
#include "Sdf.h"

// The fish model's side view, in model units (x along the fish, head at
// negative x; z up), and how the species texture is laid over it. Painting in
// these units keeps spots round and bands upright although the texture's
// body band is stretched differently along the fish.
namespace FishShape {

constexpr float kBodyHeadX = -0.427f;  // x of the body's first ring (texture s = 0.09)
constexpr float kBodyTailX = 0.316f;   // x of the tail root (texture s = 0.99)
constexpr float kSnoutX = -0.50f;      // the snout tip

// Top (dorsal) and bottom (ventral) edge of the side view at x.
float DorsalZ(float x);
float VentralZ(float x);

// A point of the body side: where it lies on the fish and on the texture.
struct BodyPoint {
    float u;  // 0 at the head end of the body, 1 at the tail root
    float v;  // 0 on the ventral midline, 1 on the dorsal midline
    float x;  // model x
    float z;  // model z
};
BodyPoint BodyPointAt(float u, float v);

// The fins. a runs along the fin's base (front to back; for the caudal fin
// bottom to top), b from the base (0) to the outer edge (1).
enum class Fin { Dorsal, Pectoral, Pelvic, Anal, Caudal };
struct FinPoint {
    float a, b;
    float x;  // model x of the fin point in the side view (for patterns that
              // continue from the body onto the fin)
    float z;
};
// Side-view position of a fin point (approximates the model's fin shapes).
Vec2 FinPosition(Fin fin, float a, float b);
FinPoint FinPointAt(Fin fin, float a, float b);

// Texture coordinates (s, t; t up) of body and fin points, per the shared
// layout, and their inverses for the painter.
Vec2 BodyTexCoord(float u, float v);
Vec2 FinTexCoord(Fin fin, float a, float b);
// The eye disc: centre and radii in texture coordinates.
Vec2 EyeCentre();
Vec2 EyeRadii();

// Side view of the eye: centre and radius in model units.
Vec2 EyeViewCentre();
float EyeViewRadius();

}  // namespace FishShape
