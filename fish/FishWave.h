// SPDX-License-Identifier: MIT
#pragma once

// One travelling wave along a row of elements (body rings or fin spokes),
// advanced once per frame. Element i holds
//     envelope(i) * amplitude * sin(i * frequency + phase)
// in model units (the model multiplies most of them by the fish's size).
// The phase steps by `phaseStep` radians on every (divider + 2)-th call and
// starts again at 0 once it passes 2 pi, so each wave repeats exactly.
class FishWave {
public:
    static constexpr int kMaxElements = 24;

    // How the amplitude varies along the row.
    enum class Envelope {
        Uniform,     // the same amplitude everywhere
        TailRamp,    // 0 for elements 0..4, then 0.5 * (i - 5) * amplitude
        FirstTwelve  // elements above 11 are 0
    };

    // elements: 1..kMaxElements. divider: the call counter's previous value
    // must exceed it for the phase to step. phaseStep, frequency: radians
    // (per step, per element).
    FishWave(int elements, int divider, float phaseStep, float frequency, float amplitude,
             Envelope envelope);

    // The five waves of a fish body: 18 tail rings, 16 dorsal spokes,
    // 23 pectoral, 10 pelvic and 24 caudal spokes.
    static FishWave Tail();
    static FishWave Dorsal();
    static FishWave Pectoral();
    static FishWave Pelvic();
    static FishWave Caudal();

    // One frame: counts the call, steps the phase when due, recomputes every
    // element.
    void Advance();

    // Element i (0 <= i < Elements()); model units.
    float operator[](int i) const { return m_values[i]; }
    int Elements() const { return m_elements; }
    // Current phase in radians, 0 <= phase <= 2 pi.
    double Phase() const { return m_phase; }

private:
    float Weight(int i) const;

    int m_elements;
    int m_divider;
    float m_phaseStep;
    float m_frequency;
    float m_amplitude;
    Envelope m_envelope;
    // Accumulated in double: in float, n steps of 2 pi / n fall just short of
    // the reset threshold and the wave would take one step too many.
    double m_phase = 0.0;
    int m_tick = 0;
    float m_values[kMaxElements] = {};
};
