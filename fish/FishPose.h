// SPDX-License-Identifier: MIT
#pragma once

class FishWave;

// What one draw of the fish model needs from the fish's behaviour.
struct FishPose {
    static constexpr int kRings = 18;

    float size = 3.0f;           // scale factor, 2..4
    float yaw[kRings] = {};      // heading of each body ring, degrees, ring 0 at the head
    const FishWave* tail = nullptr;      // 18 lateral offsets of the body rings
    const FishWave* dorsal = nullptr;    // 16
    const FishWave* pectoral = nullptr;  // 23
    const FishWave* pelvic = nullptr;    // 10
    const FishWave* caudal = nullptr;    // 24
};

// One fish as a frame draws it, as its behaviour step left it: where it is
// (world units, the position before this frame's move), which way it heads
// and how it pitches (degrees), and the bent body.
struct FishDrawPose {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    float heading = 0.0f;
    float pitch = 0.0f;
    FishPose body;   // its waves point into the fish, valid while the fish lives
};
