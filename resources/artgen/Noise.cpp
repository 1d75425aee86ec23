// SPDX-License-Identifier: MIT
#include "Noise.h"

#include <cmath>

namespace Noise {

std::uint32_t Hash(int x, int y, int seed)
{
    std::uint32_t h = std::uint32_t(x) * 0x8DA6B343u ^ std::uint32_t(y) * 0xD8163841u ^
                      std::uint32_t(seed) * 0xCB1AB31Fu;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

float Random(int x, int y, int seed) { return float(Hash(x, y, seed) >> 8) / 16777216.0f; }

float Value(float x, float y, int seed)
{
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = int(fx), iy = int(fy);
    float tx = x - fx, ty = y - fy;
    tx = tx * tx * (3.0f - 2.0f * tx);
    ty = ty * ty * (3.0f - 2.0f * ty);
    const float a = Random(ix, iy, seed), b = Random(ix + 1, iy, seed);
    const float c = Random(ix, iy + 1, seed), d = Random(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float Fractal(float x, float y, int seed, int octaves)
{
    float sum = 0.0f, amplitude = 1.0f, norm = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += Value(x, y, seed + i * 101) * amplitude;
        norm += amplitude;
        amplitude *= 0.5f;
        x *= 2.03f;
        y *= 2.03f;
    }
    return sum / norm;
}

float Stream::Next()
{
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return float(m_state >> 8) / 16777216.0f;
}

}  // namespace Noise
