// SPDX-License-Identifier: MIT
#include "fish/FishWave.h"

#include <cmath>

namespace {
constexpr float kPi = 3.14159265f;
constexpr double kFullTurn = 6.283185;
}  // namespace

FishWave::FishWave(int elements, int divider, float phaseStep, float frequency, float amplitude,
                   Envelope envelope)
    : m_elements(elements < 1 ? 1 : (elements > kMaxElements ? kMaxElements : elements)),
      m_divider(divider),
      m_phaseStep(phaseStep),
      m_frequency(frequency),
      m_amplitude(amplitude),
      m_envelope(envelope)
{
}

// Tail: a 40-frame beat whose amplitude grows towards the tail root; the
// front third of the body never sways.
FishWave FishWave::Tail() { return FishWave(18, 3, kPi / 4, kPi / 12, 0.01f, Envelope::TailRamp); }

FishWave FishWave::Dorsal()
{
    return FishWave(16, 5, kPi / 6, kPi / 16, 0.02f, Envelope::FirstTwelve);
}

// Pectoral fins flap fastest (48 frames) and are not scaled with the fish.
FishWave FishWave::Pectoral() { return FishWave(23, 1, kPi / 8, kPi / 4, 0.2f, Envelope::Uniform); }

FishWave FishWave::Pelvic() { return FishWave(10, 5, kPi / 6, kPi / 16, 0.03f, Envelope::Uniform); }

FishWave FishWave::Caudal() { return FishWave(24, 5, kPi / 6, kPi / 4, 0.03f, Envelope::Uniform); }

void FishWave::Advance()
{
    const int previous = m_tick++;
    if (previous > m_divider) {
        m_tick = 0;
        m_phase += m_phaseStep;
        if (m_phase > kFullTurn)
            m_phase = 0.0;
    }
    const float phase = float(m_phase);
    for (int i = 0; i < m_elements; ++i)
        m_values[i] = Weight(i) * std::sin(float(i) * m_frequency + phase);
}

float FishWave::Weight(int i) const
{
    switch (m_envelope) {
    case Envelope::TailRamp:
        return i > 4 ? m_amplitude * float(i - 5) * 0.5f : 0.0f;
    case Envelope::FirstTwelve:
        return i > 11 ? 0.0f : m_amplitude;
    case Envelope::Uniform:
    default:
        return m_amplitude;
    }
}
