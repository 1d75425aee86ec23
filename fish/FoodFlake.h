// SPDX-License-Identifier: MIT
#pragma once

// One food flake: a small yellowish disc that wobbles, tumbles, spins and
// sinks from its drop point until a fish eats it or it has sunk 11 units.
// It draws nothing itself: each frame's Update() leaves the pose the frame
// draws (FoodFlakeRenderer draws it).
//
// Units: world units and degrees; every rate is per frame. All randomness
// comes from Rand() (platform/MsvcRandom.h).
class FoodFlake {
public:
    static constexpr int kSlots = 10;            // flakes in the tank at most
    // z of every drop point: the middle of the fishes' swimming depth
    // (-98..-85), where a fish's mouth (10 units deep) can reach a flake.
    static constexpr float kDropDepth = -90.0f;

    FoodFlake();
    virtual ~FoodFlake();

    // How a frame draws the flake: translated to the anchor, spun about the
    // vertical, moved by the offset (hanging 0.2 below it), tumbled about x.
    struct DrawPose {
        bool drawn = false;   // false once eaten or sunk: nothing to draw
        float anchor[3] = {};
        float offset[3] = {}; // x, hanging y, z
        float spin = 0.0f;    // degrees
        float tilt = 0.0f;    // degrees
    };

    // The random start state: drift offset, tilt, spin and sink speed
    // (0.005..0.0095), alive again, world position cleared.
    void Reset();

    // Starts the flake at anchor (x, y, z): resets it, sets its world
    // position and marks the slot active.
    void Drop(float x, float y, float z);

    // One frame: while it is alive, the pose to draw (Pose()) and its world
    // position; the slot freed once it is dead; then the drift, tumble, spin
    // and sinking advance. No GL.
    void Update();
    const DrawPose& Pose() const { return m_pose; }

    // A fish has eaten the flake: it is no longer drawn and its slot is freed
    // at its next update. The drift pull (dx, dy) is added to the offset.
    void Eat(float dx, float dy);

    bool Active() const { return m_active; }
    bool Alive() const { return m_alive != 0.0f; }
    const float* World() const { return m_world; }    // x, y, z as the fish see it
    const float* Anchor() const { return m_anchor; }  // the drop point
    const float* Offset() const { return m_offset; }  // drift from the anchor
    float SinkSpeed() const { return m_sinkSpeed; }

private:
    void CapturePose();
    void UpdateWorld();  // anchor + offset, hanging
    void Step();

    float m_offset[3] = {0.0f, 1.0f, 0.0f};  // x, y (height), z before the spin
    float m_tilt = 0.0f;                     // tumble about x
    float m_spin = 0.0f;                     // about the vertical axis
    float m_sinkSpeed = 0.005f;              // y decrease per frame
    float m_alive = 1.0f;                    // 1 while it exists, 0 once eaten or sunk
    float m_world[3] = {};                   // anchor + offset, unspun
    float m_anchor[3] = {0.0f, 0.0f, kDropDepth};
    bool m_active = false;                   // the slot is in use
    DrawPose m_pose;                         // left by the last update
};
