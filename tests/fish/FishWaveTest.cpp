// SPDX-License-Identifier: MIT
#include "fish/FishWave.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr float kPi = 3.14159265f;

struct WaveCase {
    FishWave (*make)();
    int elements;
    float amplitude;
    float frequency;    // radians per element
    float (*envelope)(int element);
    int calls;          // Advance() calls per phase step
    float step;         // radians per phase step
    int cycle;          // frames until the values repeat
};

float Uniform(int) { return 1.0f; }

const WaveCase kWaves[] = {
    {FishWave::Tail, 18, 0.01f, kPi / 12, [](int i) { return i > 4 ? 0.5f * float(i - 5) : 0.0f; }, 5, kPi / 4,
     40},
    {FishWave::Dorsal, 16, 0.02f, kPi / 16, [](int i) { return i > 11 ? 0.0f : 1.0f; }, 7, kPi / 6, 84},
    {FishWave::Pectoral, 23, 0.2f, kPi / 4, Uniform, 3, kPi / 8, 48},
    {FishWave::Pelvic, 10, 0.03f, kPi / 16, Uniform, 7, kPi / 6, 84},
    {FishWave::Caudal, 24, 0.03f, kPi / 4, Uniform, 7, kPi / 6, 84},
};

}  // namespace

// Values follow the phase, which steps on every nth call; the cycles last
// 40, 48 and 84 frames; the front third of the body and the back of the
// dorsal fin never sway.
TEST(FishWave, ValuesFollowThePhaseAndRepeatOverTheirCycle)
{
    for (const WaveCase& c : kWaves) {
        SCOPED_TRACE(c.elements);
        FishWave wave = c.make();
        ASSERT_EQ(wave.Elements(), c.elements);
        const auto expectValues = [&](float phase) {
            for (int i = 0; i < c.elements; ++i)
                EXPECT_NEAR(wave[i], c.envelope(i) * c.amplitude * std::sin(float(i) * c.frequency + phase), 1e-6f)
                    << "element " << i << " phase " << phase;
        };
        for (int call = 1; call < c.calls; ++call)
            wave.Advance();
        expectValues(0.0f);
        wave.Advance();
        expectValues(c.step);

        std::vector<std::vector<float>> frames(600);
        for (std::vector<float>& values : frames) {
            wave.Advance();
            for (int i = 0; i < c.elements; ++i)
                values.push_back(wave[i]);
        }
        int period = 1;
        while (period < 300 && !std::equal(frames.begin() + period, frames.end(), frames.begin()))
            ++period;
        EXPECT_EQ(period, c.cycle);
        for (const std::vector<float>& values : frames)
            for (int i = 0; i < c.elements; ++i)
                ASSERT_TRUE(c.envelope(i) != 0.0f || values[i] == 0.0f) << "element " << i << ": " << values[i];
    }
}
