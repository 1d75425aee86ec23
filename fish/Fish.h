// SPDX-License-Identifier: MIT
#pragma once

#include "fish/FishPose.h"
#include "fish/FishWave.h"

struct TankBox;

// One swimming fish: an agent that steers its heading, pitch, speed and size
// towards target values. It draws nothing itself: each frame's Step() leaves
// the pose the frame draws (FishRenderer draws it).
//
// Units: positions in world units (the camera at z = -10 looks towards -z;
// fish swim around z = -90), angles in degrees, every rate per frame. Angles
// are not wrapped: headings stay within -360..360 and a target of 359 from a
// heading of 1 is reached by turning up through 180. The heading turns the
// model's nose (-1, 0, 0) to (-cos h, -sin h, 0) in model space, that is
// towards (-cos h, 0, sin h) in the world.
//
// All randomness comes from Rand() (platform/MsvcRandom.h).
class Fish {
public:
    static constexpr int kRings = FishPose::kRings;

    // Steering kinds of SteerHeading.
    static constexpr int kSwing = 0;        // random swing by 0..169
    static constexpr int kAboutTurn = 1;    // +-180
    static constexpr int kNudge = 2;        // sideways by 0..14
    static constexpr int kQuarterTurn = 4;  // +-90, only in the front band
    static constexpr int kAvoid = 5;        // sideways by 10..19
    static constexpr int kReverse = 6;      // 180 towards a side
    static constexpr int kTurnBy = 7;       // sideways by |value|
    // Steering kinds of SteerPitch.
    static constexpr int kFlip = 0;         // 15..29 the other way
    static constexpr int kMirror = 3;       // negated
    static constexpr int kOneDegree = 5;    // up (sense true) or down by 1
    static constexpr int kByAngle = 7;      // up or down by value

    // Walls of the swimming box, as left by the last bounds test.
    enum WallState {
        kFree = 0,
        kAtXMin = 1,   // turning back: no further x decrease, no move while far off target
        kAtXMax = 2,
        kAtBack = 3,   // z minimum: no further z decrease
        kAtFront = 4,  // z maximum: no further z increase
        kAtTop = 5,
        kAtBottom = 6
    };

    // Collision box, world units.
    struct Box {
        float xMax, xMin, yMax, yMin, zMax, zMin;
    };

    // Size 3, speed 0.2, at rest at the origin facing heading 0, with a
    // random target pitch (Rand() % 45), target heading (Rand() % 180) and
    // wander timer (Rand() % 200), drawn in that order.
    Fish();
    virtual ~Fish();

    // Scene start: a random position in the middle of the tank and the
    // swimming box x -30..30, y tank.yMin + 15 .. tank.yMax - 10,
    // z -98..-85.
    void Place(const TankBox& tank);

    // One frame of this fish: heading rings and waves, pitch step, wander
    // decision, the pose to draw (DrawPose(), at the position before the
    // move), move and bounds, nose/tail/box. No GL.
    void Step();

    // The steps of Step, in its order.
    void StepTurn();     // heading rings: head creeps, body rings lag and settle
    void AdvanceWaves(); // tail, dorsal, pectoral, pelvic, caudal
    void StepPitch();    // drawn pitch 1 degree towards the target
    void Wander();       // a random decision every 101..201 frames
    void CapturePose();  // DrawPose() from the current state
    void Move();         // position, then the bounds test
    void UpdateExtents(); // nose, tail and collision box

    // What this frame draws of the fish, as the last Step (or CapturePose)
    // left it. Its waves point into this fish.
    FishDrawPose DrawPose() const;

    // Steering. A heading change is ignored while the fish is still turning
    // (|heading - target| > 0.1). A result past +-360 first moves the
    // heading, the turn's start and the rings by a whole turn (the same
    // pose), so the steer is not lost to the -360..360 range. The
    // side of kNudge, kAvoid, kReverse and kTurnBy is -1 when `sense` equals
    // FacesMinusX(heading), else +1.
    void SteerHeading(float value, bool sense, int kind);
    // Pitch target changes, clamped to -45..45.
    void SteerPitch(float value, bool sense, int kind);
    // One step of `step` towards `goal`, then speed clamped to 0.05..0.4.
    void AdjustSpeed(float step, float goal);
    // Size plus or minus `amount`, clamped to 2..4.
    void Grow(float amount, bool larger);

    // Scene set-up, feeding, picking and tests.
    void SetPosition(float x, float y, float z);
    void SetSwimBox(float xMin, float xMax, float yMin, float yMax, float zMin, float zMax);
    // At rest facing `degrees` (clamped to -360..360): heading, target, the
    // last turn and every ring there, the turn finished and settled.
    void FaceHeading(float degrees);
    // Drawn and target pitch, clamped to -45..45.
    void SetPitch(float degrees);
    void SetSpeed(float speed);  // clamped to 0.05..0.4
    void SetTouching(bool touching) { m_touching = touching; }
    void SetAttracted(bool attracted) { m_attracted = attracted; }

    float X() const { return m_x; }
    float Y() const { return m_y; }
    float Z() const { return m_z; }
    float Heading() const { return m_heading; }
    float TargetHeading() const { return m_targetHeading; }
    float Pitch() const { return m_pitch; }
    float TargetPitch() const { return m_targetPitch; }
    float Speed() const { return m_speed; }
    float Size() const { return m_size; }
    int Wall() const { return m_wallState; }
    bool TurnDone() const { return m_turnDone; }
    bool RingsSettled() const { return m_ringsSettled; }
    int RingYaw(int ring) const { return m_ringYaw[ring]; }
    bool Touching() const { return m_touching; }
    bool Attracted() const { return m_attracted; }
    int WanderTimer() const { return m_wanderTimer; }
    const float* Nose() const { return m_nose; }  // x, y, z
    const float* Tail() const { return m_tail; }  // x, y, z
    const Box& CollisionBox() const { return m_box; }
    const FishWave& TailWave() const { return m_tailWave; }
    const FishWave& DorsalWave() const { return m_dorsalWave; }
    const FishWave& PectoralWave() const { return m_pectoralWave; }
    const FishWave& PelvicWave() const { return m_pelvicWave; }
    const FishWave& CaudalWave() const { return m_caudalWave; }

private:
    void StartTurnIfTargetMoved();
    void StepHead();
    void SpreadRings();
    void SettleRings();
    void UpdateDirections();
    void TestBounds();
    void TestBackWall();
    void TestFrontWall();
    void ClaimVerticalWall(int state);  // kAtTop or kAtBottom
    void TurnAnglesBy(float degrees);  // heading, turn start and rings; the target is the caller's
    void SetBoxAroundOrigin();
    bool InFrontBand() const;
    bool InSwimmingDepth() const;  // zMin <= z <= zMax
    float HeadingSide(bool sense) const;

    float m_size = 3.0f;         // 2..4
    float m_speed = 0.2f;        // world units per frame, 0.05..0.4
    float m_targetPitch = 0.0f;  // -45..45
    float m_targetHeading = 0.0f;  // -360..360
    float m_pitch = 0.0f;
    bool m_attracted = false;    // following food this frame
    float m_heading = 0.0f;      // of the head ring
    int m_turnTick = 0;          // frames of the heading stepper
    bool m_turnDone = false;     // the head reached the target
    bool m_ringsSettled = false; // every ring reached the target
    int m_ringYaw[kRings] = {};  // whole degrees, ring 0 at the head
    float m_turnFrom = 0.0f;     // the target when the current turn started
    FishWave m_tailWave = FishWave::Tail();
    FishWave m_dorsalWave = FishWave::Dorsal();
    FishWave m_pectoralWave = FishWave::Pectoral();
    FishWave m_pelvicWave = FishWave::Pelvic();
    FishWave m_caudalWave = FishWave::Caudal();
    float m_x = 0.0f, m_y = 0.0f, m_z = 0.0f;
    // Direction flags, derived every frame.
    bool m_headingFacesMinusX = true;
    bool m_headingFacesPlusZ = true;
    bool m_targetFacesMinusX = true;
    bool m_targetFacesPlusZ = true;
    bool m_pitchUp = false;
    float m_xMin = -30.0f, m_xMax = 30.0f, m_yMax = 11.0f, m_yMin = -6.0f, m_zMin = -98.0f, m_zMax = -85.0f;
    int m_wallState = kFree;
    int m_wanderTimer = 0;
    float m_bodyLength = 0.64383f;  // collision extents, times the size
    float m_bodyWidth = 1.0f;
    float m_bodyHeight = 0.18151f;
    Box m_box = {};
    float m_nose[3] = {};
    float m_tail[3] = {};
    bool m_touching = false;     // overlapping another fish
    FishDrawPose m_drawPose;     // left by the last step
};
