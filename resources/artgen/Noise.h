// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>

// Deterministic noise for the art: the same numbers on every build.
namespace Noise {

// A well-mixed 32-bit hash of integer coordinates and a seed.
std::uint32_t Hash(int x, int y, int seed);
// Hash as a float in [0, 1).
float Random(int x, int y, int seed);
// Smooth value noise in about [0, 1], one lattice cell per unit.
float Value(float x, float y, int seed);
// Sum of octaves of value noise, normalised to about [0, 1].
float Fractal(float x, float y, int seed, int octaves = 4);

// A small sequential generator for places that need a stream of numbers.
class Stream {
public:
    explicit Stream(std::uint32_t seed) : m_state(seed * 2654435761u + 1u) {}
    float Next();                      // [0, 1)
    float Range(float lo, float hi) { return lo + (hi - lo) * Next(); }
    int Below(int n) { return int(Next() * float(n)) % n; }

private:
    std::uint32_t m_state;
};

}  // namespace Noise
