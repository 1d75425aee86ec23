// SPDX-License-Identifier: MIT
#pragma once

#include "fish/FishVertexSink.h"

#include <vector>

class PickVolume;

// Tests the fish model's quad strips against a pick volume as they are
// emitted, instead of drawing them: at each strip it takes the GL context's
// current model-view matrix (the one a draw would use), and a strip with a
// part inside the volume makes a hit. Once hit, later strips are not tested.
class FishPickSink : public FishVertexSink {
public:
    explicit FishPickSink(PickVolume& volume) : m_volume(volume) {}

    // Forgets the hit, for the next fish.
    void Reset() { m_hit = false; }
    bool Hit() const { return m_hit; }

    void BeginStrip() override;
    void Vertex(const float position[3], const float normal[3], const float texCoord[2]) override;
    void EndStrip() override;

private:
    PickVolume& m_volume;
    std::vector<float> m_strip;  // x, y, z of each vertex of the current strip
    bool m_hit = false;
};
