// SPDX-License-Identifier: MIT
#pragma once
#include "Color.h"
#include "FishShape.h"

// Building blocks for the species designs. Positions are model units or the
// body's (u, v) coordinates (see FishShape); every function returns a weight
// in 0..1 with soft edges, or a colour.
namespace FishPatterns {

// Dark back, mid side, light belly along v.
Rgb Countershade(Rgb back, Rgb side, Rgb belly, float v);

// A band across the body centred at u = centre (half width in u), bent
// forwards at mid height by bulge (in u).
float Band(const FishShape::BodyPoint& p, float centre, float halfWidth, float bulge = 0.0f,
           float soft = 0.006f);
// A stripe along the body centred at v = centre.
float Stripe(float v, float centre, float halfWidth, float soft = 0.012f);

// Round spots on a jittered grid of the given cell size (model units);
// radius as a fraction of the cell, varied by sizeJitter. seed picks the
// layout.
float Spots(float x, float z, float cell, float radius, int seed, float sizeJitter = 0.3f,
            float soft = 0.002f);
// Spots with a ring: returns the weight of the ring (0..1) and writes the
// weight of the centre.
float RingSpots(float x, float z, float cell, float radius, int seed, float& centre);

// Irregular patches: smoothed fractal noise above a threshold.
float Patches(float x, float z, float scale, float threshold, int seed, float soft = 0.03f);

// How a fin looks. The membrane colour runs from color at the base to edge
// at the outer rim; clarity lets the water through (0 opaque, 1 clear).
struct FinLook {
    Rgb color;
    Rgb edge;
    float edgeStart = 0.65f;
    float clarity = 0.35f;
    float rays = 0.25f;
    int rayCount = 12;
};
Rgb FinColor(const FinLook& look, FishShape::Fin fin, const FishShape::FinPoint& p);
// The same look with a different edge band, for single fins.
FinLook WithEdge(FinLook look, Rgb edge, float edgeStart);

}  // namespace FishPatterns
