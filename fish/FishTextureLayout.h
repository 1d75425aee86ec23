// SPDX-License-Identifier: MIT
#pragma once

// Where each part of the fish model reads its colours in a species texture.
// The fish model's texture coordinates and the art generator's pictures both
// follow this layout, so any species picture fits the one model.
//
// Coordinates are OpenGL texture coordinates: s left to right, t bottom to
// top of the picture (the first BMP row is t = 0). The body is addressed with
// repeat in t: its vertices carry t + 1 (1.30 .. 1.75), which lands on the
// band below.
namespace FishTextureLayout {

struct Region {
    float s0, s1;  // s from s0 to s1
    float t0, t1;  // t from t0 to t1
};

// Body side: s runs head (0.09) to tail root (0.99); t runs from the ventral
// midline (0.30) to the dorsal midline (0.75). Snout pieces use the head end.
constexpr Region kBody{0.09f, 0.99f, 0.30f, 0.75f};
constexpr float kBodyTOffset = 1.0f;   // added to body t (repeat in t)

// Top band: dorsal fin (base at t0, tip at t1; s front to back) and the
// pectoral fins (root at t0, outer edge at t1).
constexpr Region kDorsalFin{0.30f, 0.98f, 0.80f, 0.97f};
constexpr Region kPectoralFin{0.02f, 0.25f, 0.80f, 0.97f};

// Bottom band: pelvic and anal fins (base at t1, outer edge at t0), caudal
// fin (root at s0, outer edge at s1; t bottom to top of the fin).
constexpr Region kPelvicFin{0.05f, 0.30f, 0.03f, 0.27f};
constexpr Region kAnalFin{0.35f, 0.60f, 0.03f, 0.27f};
constexpr Region kCaudalFin{0.65f, 0.98f, 0.03f, 0.27f};

// Eye: a disc centred in this region (pupil in the middle, iris around it).
constexpr Region kEye{0.00f, 0.08f, 0.40f, 0.62f};

}  // namespace FishTextureLayout
