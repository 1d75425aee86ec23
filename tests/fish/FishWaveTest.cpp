#include "fish/FishWave.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr float kPi = 3.14159265f;

std::vector<float> Values(const FishWave& wave)
{
    std::vector<float> values;
    for (int i = 0; i < wave.Elements(); ++i)
        values.push_back(wave[i]);
    return values;
}

// The smallest period p with which the wave's values repeat: values at
// frame k equal those at frame k + p for every k in a long run.
int CycleLength(FishWave wave)
{
    std::vector<std::vector<float>> frames;
    for (int frame = 0; frame < 600; ++frame) {
        wave.Advance();
        frames.push_back(Values(wave));
    }
    for (int p = 1; p < 300; ++p) {
        bool repeats = true;
        for (int k = 0; k + p < int(frames.size()) && repeats; ++k)
            repeats = frames[k] == frames[k + p];
        if (repeats)
            return p;
    }
    return -1;
}

}  // namespace

TEST(FishWave, ElementValuesAtTheFirstFrame)
{
    FishWave tail = FishWave::Tail(), dorsal = FishWave::Dorsal(), pectoral = FishWave::Pectoral();
    FishWave pelvic = FishWave::Pelvic(), caudal = FishWave::Caudal();
    for (FishWave* w : {&tail, &dorsal, &pectoral, &pelvic, &caudal})
        w->Advance();
    ASSERT_EQ(tail.Elements(), 18);
    ASSERT_EQ(dorsal.Elements(), 16);
    ASSERT_EQ(pectoral.Elements(), 23);
    ASSERT_EQ(pelvic.Elements(), 10);
    ASSERT_EQ(caudal.Elements(), 24);
    for (int i = 0; i < 18; ++i) {
        const float expected = i > 4 ? 0.01f * float(i - 5) * std::sin(float(i) * kPi / 12) * 0.5f : 0.0f;
        EXPECT_NEAR(tail[i], expected, 1e-6f) << i;
    }
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(dorsal[i], i > 11 ? 0.0f : 0.02f * std::sin(float(i) * kPi / 16), 1e-6f) << i;
    for (int i = 0; i < 23; ++i)
        EXPECT_NEAR(pectoral[i], 0.2f * std::sin(float(i) * kPi / 4), 1e-6f) << i;
    for (int i = 0; i < 10; ++i)
        EXPECT_NEAR(pelvic[i], 0.03f * std::sin(float(i) * kPi / 16), 1e-6f) << i;
    for (int i = 0; i < 24; ++i)
        EXPECT_NEAR(caudal[i], 0.03f * std::sin(float(i) * kPi / 4), 1e-6f) << i;
}

TEST(FishWave, PhaseStepsOnEveryNthCall)
{
    struct Case {
        FishWave wave;
        int calls;   // calls per step
        float step;  // radians
    };
    Case cases[] = {{FishWave::Tail(), 5, kPi / 4},     {FishWave::Pectoral(), 3, kPi / 8},
                    {FishWave::Dorsal(), 7, kPi / 6},   {FishWave::Pelvic(), 7, kPi / 6},
                    {FishWave::Caudal(), 7, kPi / 6}};
    for (Case& c : cases) {
        for (int call = 1; call < c.calls; ++call)
            c.wave.Advance();
        EXPECT_EQ(c.wave.Phase(), 0.0);
        c.wave.Advance();
        EXPECT_NEAR(c.wave.Phase(), c.step, 1e-6);
        for (int call = 0; call < c.calls; ++call)
            c.wave.Advance();
        EXPECT_NEAR(c.wave.Phase(), 2 * c.step, 1e-6);
        // The values follow the phase: element i = A sin(i f + phase).
    }
    FishWave pectoral = FishWave::Pectoral();
    for (int call = 0; call < 3; ++call)
        pectoral.Advance();
    EXPECT_NEAR(pectoral[1], 0.2f * std::sin(kPi / 4 + kPi / 8), 1e-6f);
}

TEST(FishWave, TheFrontThirdOfTheBodyNeverSways)
{
    FishWave tail = FishWave::Tail();
    bool tailMoved = false;
    for (int frame = 0; frame < 200; ++frame) {
        tail.Advance();
        for (int i = 0; i < 5; ++i)
            ASSERT_EQ(tail[i], 0.0f) << "frame " << frame << " element " << i;
        tailMoved = tailMoved || std::fabs(tail[17]) > 0.05f;
    }
    EXPECT_TRUE(tailMoved);
}

TEST(FishWave, CyclesLast40And48And84Frames)
{
    EXPECT_EQ(CycleLength(FishWave::Tail()), 40);
    EXPECT_EQ(CycleLength(FishWave::Pectoral()), 48);
    EXPECT_EQ(CycleLength(FishWave::Dorsal()), 84);
    EXPECT_EQ(CycleLength(FishWave::Pelvic()), 84);
    EXPECT_EQ(CycleLength(FishWave::Caudal()), 84);
}
