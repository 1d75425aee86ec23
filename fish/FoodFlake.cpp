// SPDX-License-Identifier: MIT
#include "fish/FoodFlake.h"

#include "platform/MsvcRandom.h"

#include <cmath>

namespace {

constexpr float kLargestRand = 32767.0f;
constexpr float kSunkDepth = -10.0f;     // offset y at which an uneaten flake ends
constexpr float kHangBelow = 0.2f;       // the drawn flake hangs this far below its offset

// (r() - r()) * scale / 32767: a symmetric random amount within +-scale.
float Jitter(float scale)
{
    const int a = Rand();
    const int b = Rand();
    return float(a - b) * scale / kLargestRand;
}

}  // namespace

FoodFlake::FoodFlake() = default;
FoodFlake::~FoodFlake() = default;

void FoodFlake::Reset()
{
    m_offset[0] = Jitter(1.38f);
    m_offset[1] = 1.0f;
    m_offset[2] = Jitter(0.38f);
    m_tilt = Jitter(180.0f);
    m_spin = Jitter(180.0f);
    m_spin += Jitter(180.0f);
    m_sinkSpeed = 0.005f + 0.0005f * float(Rand() % 10);
    m_alive = 1.0f;
    m_world[0] = m_world[1] = m_world[2] = 0.0f;
}

void FoodFlake::Drop(float x, float y, float z)
{
    m_anchor[0] = x;
    m_anchor[1] = y;
    m_anchor[2] = z;
    Reset();
    // The fish see the flake from the frame it falls in, which runs their
    // food pass before the flake's first update: with the cleared position
    // they would all turn towards the world origin for that frame.
    UpdateWorld();
    m_active = true;
}

void FoodFlake::Update()
{
    m_pose.drawn = Alive();
    if (Alive())
        CapturePose();
    else
        m_active = false;
    Step();
}

void FoodFlake::CapturePose()
{
    const float hangY = m_offset[1] - kHangBelow;
    for (int i = 0; i < 3; ++i)
        m_pose.anchor[i] = m_anchor[i];
    m_pose.offset[0] = m_offset[0];
    m_pose.offset[1] = hangY;
    m_pose.offset[2] = m_offset[2];
    m_pose.spin = m_spin;
    m_pose.tilt = m_tilt;
    UpdateWorld();
}

// The fish aim at the unspun position.
void FoodFlake::UpdateWorld()
{
    m_world[0] = m_anchor[0] + m_offset[0];
    m_world[1] = m_anchor[1] + (m_offset[1] - kHangBelow);
    m_world[2] = m_anchor[2] + m_offset[2];
}

void FoodFlake::Step()
{
    if (m_offset[1] > kSunkDepth) {
        m_offset[0] += Jitter(0.002f);
        m_offset[2] += Jitter(0.002f);
        m_offset[1] -= m_sinkSpeed;
        m_tilt += 0.4f;
        m_spin += 2.0f;
        return;
    }
    m_offset[1] = -40.0f;
    m_tilt -= float(Rand()) * 0.2f / kLargestRand;
    m_spin += float(Rand()) * 1.0f / kLargestRand;
    m_alive = 0.0f;
}

void FoodFlake::Eat(float dx, float dy)
{
    m_offset[0] += dx;
    m_offset[1] += dy;
    m_alive = 0.0f;
}
