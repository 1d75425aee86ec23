// SPDX-License-Identifier: MIT
#include "Tune.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kBeat = 60.0f / 72.0f;  // seconds
constexpr int kBars = 16;

float Frequency(int midi) { return 440.0f * std::pow(2.0f, float(midi - 69) / 12.0f); }

struct Note {
    float beat;      // start, in beats from the top
    float length;    // beats
    int midi;
};

struct Chord {
    int bass;
    int tones[3];
};

// One chord per bar.
const Chord kChords[kBars] = {
    {50, {54, 57, 61}}, {47, {54, 57, 62}}, {43, {59, 62, 66}}, {45, {57, 62, 64}},
    {50, {54, 57, 61}}, {47, {54, 57, 62}}, {43, {59, 62, 66}}, {45, {57, 61, 64}},
    {52, {55, 59, 62}}, {54, {57, 61, 64}}, {43, {59, 62, 66}}, {45, {57, 61, 64}},
    {50, {54, 57, 61}}, {47, {54, 57, 62}}, {43, {59, 62, 66}}, {45, {57, 61, 64}},
};

// The melody, bar by bar: (beat in bar, length, note).
const Note kMelody[] = {
    {0, 1.5f, 78}, {1.5f, 0.5f, 76}, {2, 1, 74}, {3, 1, 69},
    {4, 1.5f, 71}, {5.5f, 0.5f, 74}, {6, 2, 78},
    {8, 1, 76}, {9, 1, 74}, {10, 1, 71}, {11, 1, 74},
    {12, 3, 76}, {15, 1, 69},
    {16, 1.5f, 78}, {17.5f, 0.5f, 81}, {18, 1, 78}, {19, 1, 76},
    {20, 1.5f, 74}, {21.5f, 0.5f, 71}, {22, 2, 74},
    {24, 1, 71}, {25, 1, 74}, {26, 1, 76}, {27, 1, 79},
    {28, 2, 78}, {30, 2, 76},
    {32, 1, 71}, {33, 1, 76}, {34, 1.5f, 79}, {35.5f, 0.5f, 78},
    {36, 1, 76}, {37, 1, 73}, {38, 2, 69},
    {40, 1, 71}, {41, 1, 74}, {42, 1, 79}, {43, 1, 78},
    {44, 2, 76}, {47, 0.5f, 69}, {47.5f, 0.5f, 73},
    {48, 1.5f, 74}, {49.5f, 0.5f, 78}, {50, 2, 81},
    {52, 1, 83}, {53, 1, 81}, {54, 2, 78},
    {56, 1, 79}, {57, 1, 78}, {58, 1, 76}, {59, 1, 74},
    {60, 2, 76}, {62, 2, 74},
};

class Mixer {
public:
    explicit Mixer(std::size_t length) : m_out(length, 0.0f) {}

    // Adds a voice sample at a time; samples past the end wrap to the start.
    template <class Voice>
    void Add(float startSeconds, float seconds, Voice voice)
    {
        const long start = std::lround(startSeconds * kTuneSampleRate);
        const long count = std::lround(seconds * kTuneSampleRate);
        const long n = long(m_out.size());
        for (long i = 0; i < count; ++i)
            m_out[std::size_t(((start + i) % n + n) % n)] += voice(float(i) / kTuneSampleRate);
    }

    std::vector<float>& Samples() { return m_out; }

private:
    std::vector<float> m_out;
};

// A bell: a sine with quickly fading overtones and a long, soft decay.
float Bell(float f, float t)
{
    const float attack = std::min(1.0f, t / 0.006f);
    const float body = std::sin(2 * kPi * f * t) + 0.35f * std::exp(-t * 3.0f) * std::sin(4 * kPi * f * t) +
                       0.12f * std::exp(-t * 6.0f) * std::sin(6 * kPi * f * t + 0.3f);
    return attack * std::exp(-t * 1.6f) * body;
}

// A pad: two slightly detuned soft tones that swell in and fade out.
float Pad(float f, float t, float length)
{
    const float env = std::min({1.0f, t / 0.8f, std::max(0.0f, (length - t) / 1.2f)});
    const float tone = std::sin(2 * kPi * f * 1.0015f * t) + std::sin(2 * kPi * f * 0.9985f * t) +
                       0.25f * std::sin(4 * kPi * f * t);
    return env * tone * (0.85f + 0.15f * std::sin(2 * kPi * 0.3f * t));
}

float Bass(float f, float t)
{
    const float env = std::min(1.0f, t / 0.02f) * std::exp(-t * 0.9f);
    return env * (std::sin(2 * kPi * f * t) + 0.2f * std::sin(4 * kPi * f * t));
}

// A small Schroeder reverb, run twice round the loop so its tail is in
// steady state at the seam.
std::vector<float> Reverb(const std::vector<float>& dry)
{
    const int combDelays[4] = {1116, 1188, 1277, 1356};
    const int allpassDelays[2] = {225, 556};
    const std::size_t n = dry.size();
    std::vector<float> wet(n, 0.0f);
    std::vector<std::vector<float>> combs;
    for (int d : combDelays)
        combs.emplace_back(std::size_t(d), 0.0f);
    std::vector<std::vector<float>> allpasses;
    for (int d : allpassDelays)
        allpasses.emplace_back(std::size_t(d), 0.0f);
    std::vector<std::size_t> ci(4, 0), ai(2, 0);
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < n; ++i) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                float& cell = combs[k][ci[k]];
                const float y = cell;
                cell = dry[i] + y * 0.80f;
                ci[k] = (ci[k] + 1) % combs[k].size();
                sum += y;
            }
            float y = sum * 0.25f;
            for (int k = 0; k < 2; ++k) {
                float& cell = allpasses[k][ai[k]];
                const float buffered = cell;
                cell = y + buffered * 0.5f;
                y = buffered - y;
                ai[k] = (ai[k] + 1) % allpasses[k].size();
            }
            wet[i] = y;
        }
    }
    return wet;
}

}  // namespace

std::vector<float> ComposeTune()
{
    const float barSeconds = 4.0f * kBeat;
    Mixer mix(std::size_t(std::lround(kBars * barSeconds * kTuneSampleRate)));
    for (int bar = 0; bar < kBars; ++bar) {
        const float start = bar * barSeconds;
        const Chord& chord = kChords[bar];
        for (int tone : chord.tones) {
            const float f = Frequency(tone);
            const float length = barSeconds + 1.2f;
            mix.Add(start, length, [=](float t) { return 0.045f * Pad(f, t, length); });
        }
        const float fb = Frequency(chord.bass);
        mix.Add(start, 2.5f * kBeat, [=](float t) { return 0.20f * Bass(fb, t); });
        mix.Add(start + 2 * kBeat, 2.5f * kBeat, [=](float t) { return 0.14f * Bass(fb, t); });
        // A quiet arpeggio of the chord, an octave up, in the second half.
        if (bar >= 8) {
            for (int step = 0; step < 8; ++step) {
                const int tone = chord.tones[(step * 2 + step / 4) % 3] + 12;
                const float f = Frequency(tone);
                mix.Add(start + step * 0.5f * kBeat, 1.5f, [=](float t) { return 0.035f * Bell(f, t); });
            }
        }
    }
    for (const Note& note : kMelody) {
        const float f = Frequency(note.midi);
        const float seconds = std::max(note.length * kBeat + 1.5f, 2.0f);
        mix.Add(note.beat * kBeat, seconds, [=](float t) { return 0.16f * Bell(f, t); });
    }
    std::vector<float>& dry = mix.Samples();
    const std::vector<float> wet = Reverb(dry);
    float peak = 0.0f;
    for (std::size_t i = 0; i < dry.size(); ++i) {
        dry[i] = 0.8f * dry[i] + 0.35f * wet[i];
        peak = std::max(peak, std::fabs(dry[i]));
    }
    const float gain = peak > 0.0f ? 0.7f / peak : 1.0f;
    for (float& s : dry)
        s *= gain;
    return dry;
}
