// SPDX-License-Identifier: MIT
#include "fish/Fish.h"

#include "fish/FishDirections.h"
#include "platform/MsvcRandom.h"
#include "base/TankBox.h"

#include <cmath>

namespace {

constexpr float kDegreesToRadians = 0.017453292f;
constexpr float kMaxHeading = 360.0f;
constexpr float kFullTurn = 360.0f;
constexpr float kMaxPitch = 45.0f;
constexpr float kMinSpeed = 0.05f, kMaxSpeed = 0.4f;
constexpr float kMinSize = 2.0f, kMaxSize = 4.0f;
constexpr float kStillTurning = 0.1f;  // a steer waits until the head is this close
constexpr float kTurnStart = 2.0f;     // a target moved further starts a new turn
constexpr float kHeadStep = 2.0f;      // degrees per step of the head
constexpr int kWanderPause = 200;

float Clamp(float v, float low, float high) { return v < low ? low : (v > high ? high : v); }

}  // namespace

Fish::Fish()
{
    m_targetPitch = float(Rand() % 45);
    m_targetHeading = float(Rand() % 180);
    m_wanderTimer = Rand() % 200;
    SetBoxAroundOrigin();
    UpdateDirections();
    CapturePose();
}

Fish::~Fish() = default;

void Fish::Place(const TankBox& tank)
{
    m_x = float(Rand() % 60 - 30);
    m_y = float(Rand() % 30 - 20);
    m_z = float(Rand() % 10 - 95);
    SetSwimBox(-30.0f, 30.0f, tank.yMin + 15.0f, tank.yMax - 10.0f, -98.0f, -85.0f);
    m_wallState = kFree;
    SetBoxAroundOrigin();
}

// Until its first update a fish's collision box is its unscaled extent
// around the world origin, far from where fish swim.
void Fish::SetBoxAroundOrigin()
{
    m_box = {m_bodyLength / 2, -m_bodyLength / 2, m_bodyHeight / 2, -m_bodyHeight / 2,
             m_bodyWidth / 2,  -m_bodyWidth / 2};
}

void Fish::Step()
{
    StepTurn();
    AdvanceWaves();
    StepPitch();
    Wander();
    CapturePose();
    Move();
    UpdateExtents();
}

void Fish::AdvanceWaves()
{
    m_tailWave.Advance();
    m_dorsalWave.Advance();
    m_pectoralWave.Advance();
    m_pelvicWave.Advance();
    m_caudalWave.Advance();
}

void Fish::CapturePose()
{
    m_drawPose.x = m_x;
    m_drawPose.y = m_y;
    m_drawPose.z = m_z;
    m_drawPose.heading = m_heading;
    m_drawPose.pitch = m_pitch;
    FishPose& body = m_drawPose.body;
    body.size = m_size;
    for (int i = 0; i < kRings; ++i)
        body.yaw[i] = float(m_ringYaw[i]);
}

// The waves are not captured: nothing changes them between the step's
// advance and the draw, and pointers taken here stay right when a fish is
// copied.
FishDrawPose Fish::DrawPose() const
{
    FishDrawPose pose = m_drawPose;
    pose.body.tail = &m_tailWave;
    pose.body.dorsal = &m_dorsalWave;
    pose.body.pectoral = &m_pectoralWave;
    pose.body.pelvic = &m_pelvicWave;
    pose.body.caudal = &m_caudalWave;
    return pose;
}

// ---------------------------------------------------------------- turning

void Fish::StepTurn()
{
    StartTurnIfTargetMoved();
    StepHead();
    if (!m_turnDone)
        SpreadRings();
    else if (!m_ringsSettled)
        SettleRings();
}

void Fish::StartTurnIfTargetMoved()
{
    const float target = m_targetHeading;
    bool moved = std::fabs(m_turnFrom - target) > kTurnStart;
    // A finished turn whose target then moved by 2 degrees or less would
    // never be followed: the head would stay off target for good and ignore
    // every later steer, so such a fish could never turn away from a wall.
    if (m_turnDone && std::fabs(m_heading - target) > kStillTurning)
        moved = true;
    if (moved) {
        m_turnDone = false;
        m_ringsSettled = false;
        m_turnFrom = target;
    }
}

// Every third frame the head moves 2 degrees towards the target.
void Fish::StepHead()
{
    const int previous = m_turnTick++;
    if (previous <= 1)
        return;
    m_turnTick = 0;
    const float target = m_targetHeading;
    if (!m_turnDone) {
        if (m_heading < target)
            m_heading = std::fmin(m_heading + kHeadStep, target);
        else if (m_heading > target)
            m_heading = std::fmax(m_heading - kHeadStep, target);
    }
    if (int(m_heading - target) == 0)
        m_turnDone = true;
}

// While the head turns, ring i trails it by i * spread degrees, the spread
// shrinking as the head nears the target. At an x wall the whole fish turns
// at once.
void Fish::SpreadRings()
{
    const float target = m_targetHeading;
    if (m_wallState == kAtXMin || m_wallState == kAtXMax) {
        m_heading = target;
        for (int& yaw : m_ringYaw)
            yaw = int(target);
        return;
    }
    const float spread = std::fmin(1.0f, std::fabs(m_heading - m_turnFrom) / 17.0f);
    for (int i = 0; i < kRings; ++i) {
        float yaw = m_heading;
        if (m_heading < target)
            yaw = m_heading - float(i) * spread;
        else if (m_heading > target)
            yaw = m_heading + float(i) * spread;
        m_ringYaw[i] = int(yaw);
    }
}

// After the head arrived, the rings catch up in whole-degree steps of 1 to 2.
void Fish::SettleRings()
{
    const float target = m_targetHeading;
    const int limit = int(target);
    const float step = 1.0f + float(Rand() % 90) / 100.0f;
    bool changed = false;
    for (int& yaw : m_ringYaw) {
        const int before = yaw;
        if (float(yaw) < target) {
            yaw = int(float(yaw) + step);
            if (yaw > limit)
                yaw = limit;
        }
        if (float(yaw) > target) {
            yaw = int(float(yaw) - step);
            if (yaw < limit)
                yaw = limit;
        }
        changed = changed || yaw != before;
    }
    if (!changed)
        m_ringsSettled = true;
}

// ------------------------------------------------------------------ pitch

void Fish::StepPitch()
{
    if (m_pitch < m_targetPitch)
        m_pitch += 1.0f;
    if (m_pitch > m_targetPitch)
        m_pitch -= 1.0f;
}

// ----------------------------------------------------------------- wander

bool Fish::InFrontBand() const
{
    return (m_z > -75.0f && m_z < -60.0f) || (m_z > -90.0f && m_z < -75.0f);
}

bool Fish::InSwimmingDepth() const { return m_z >= m_zMin && m_z <= m_zMax; }

void Fish::Wander()
{
    if (m_touching || m_attracted)
        return;
    const int previous = m_wanderTimer++;
    if (previous <= kWanderPause)
        return;
    m_wanderTimer = Rand() % 100;
    AdjustSpeed(0.05f, 0.1f * float(Rand() % 4 + 1));
    if (std::fabs(m_heading - m_targetHeading) < 0.01f) {
        // The front band alone would leave most fish, which swim deeper
        // than -90, without a swing for good: they would only ever bounce
        // from wall to wall. Their own depth counts as well.
        if (InFrontBand() || InSwimmingDepth())
            SteerHeading(0.0f, false, kSwing);
        SteerPitch(0.0f, false, kFlip);
    }
}

// ------------------------------------------------------------------- move

void Fish::UpdateDirections()
{
    m_headingFacesMinusX = FacesMinusX(m_heading);
    m_headingFacesPlusZ = FacesPlusZ(m_heading);
    m_targetFacesMinusX = FacesMinusX(m_targetHeading);
    m_targetFacesPlusZ = FacesPlusZ(m_targetHeading);
    m_pitchUp = m_pitch > 0.0f;
}

void Fish::Move()
{
    if (m_heading > kMaxHeading)
        m_heading = 180.0f;
    else if (m_heading < -kMaxHeading)
        m_heading = -180.0f;
    UpdateDirections();
    // A fish turning back from an x wall holds still until it faces away.
    const bool atXWall = m_wallState == kAtXMin || m_wallState == kAtXMax;
    if (atXWall && std::fabs(m_heading - m_targetHeading) > 15.0f)
        return;
    const float h = m_heading * kDegreesToRadians;
    const float dx = std::fabs(std::cos(h)) * m_speed;
    const float dz = std::fabs(std::sin(h)) * m_speed;
    if (m_headingFacesMinusX) {
        if (m_wallState != kAtXMin)
            m_x -= dx;
    } else if (m_wallState != kAtXMax) {
        m_x += dx;
    }
    if (m_headingFacesPlusZ) {
        if (m_wallState != kAtFront)
            m_z += dz;
    } else if (m_wallState != kAtBack) {
        m_z -= dz;
    }
    m_y += std::sin(m_targetPitch * kDegreesToRadians) * m_speed;
    TestBounds();
}

// Later walls overwrite the state of earlier ones, except that the top and
// the bottom leave a back or front wall's hold.
void Fish::TestBounds()
{
    m_wallState = kFree;
    if (m_x < m_xMin + 10.0f || m_x > m_xMax - 10.0f)
        AdjustSpeed(0.01f, 0.05f);
    if (m_x < m_xMin && FacesMinusX(m_targetHeading)) {
        SteerHeading(0.0f, false, kAboutTurn);
        m_x += 0.1f;
        m_wallState = kAtXMin;
    }
    if (m_x > m_xMax && !FacesMinusX(m_targetHeading)) {
        SteerHeading(0.0f, false, kAboutTurn);
        m_x -= 0.1f;
        m_wallState = kAtXMax;
    }
    if (m_z < m_zMin + 5.0f)
        AdjustSpeed(0.01f, 0.05f);
    if (m_z < m_zMin)
        TestBackWall();
    if (m_z > m_zMax - 5.0f)
        AdjustSpeed(0.01f, 0.05f);
    if (m_z > m_zMax)
        TestFrontWall();
    if (m_y >= m_yMax) {
        SteerPitch(0.0f, false, kMirror);
        m_y = m_yMax;
        ClaimVerticalWall(kAtTop);
        AdjustSpeed(0.1f, 0.05f);
    }
    if (m_y <= m_yMin) {
        SteerPitch(0.0f, false, kMirror);
        m_y = m_yMin;
        ClaimVerticalWall(kAtBottom);
        AdjustSpeed(0.1f, 0.05f);
    }
}

// The top and the bottom hold nothing back themselves (y is clamped), so
// they leave a back or front wall's hold in place: a fish pressed against
// the surface with a level target would otherwise sink in z past the back
// wall for as long as it stayed there.
void Fish::ClaimVerticalWall(int state)
{
    if (m_wallState != kAtBack && m_wallState != kAtFront)
        m_wallState = state;
}

// Beyond the back of its box a fish is nudged until its target heads
// forwards, a target straight along x included (it would leave the fish
// beyond the wall for good), and it gives up no more depth while its head
// still faces backwards: a long turn towards the front would otherwise carry
// it further back, out of the water and behind the picture.
void Fish::TestBackWall()
{
    if (!HeadsIntoPlusZ(m_targetHeading)) {
        SteerHeading(0.0f, false, kNudge);
        m_wallState = kAtBack;
    } else if (!FacesPlusZ(m_heading)) {
        m_wallState = kAtBack;
    }
}

// The same at the front of the box, towards -z.
void Fish::TestFrontWall()
{
    if (!HeadsIntoMinusZ(m_targetHeading)) {
        SteerHeading(0.0f, true, kNudge);
        m_wallState = kAtFront;
    } else if (FacesPlusZ(m_heading)) {
        m_wallState = kAtFront;
    }
}

// The nose and tail are estimated from the target angles; the box grows with
// the fish's slant so that a diagonal fish is covered too.
void Fish::UpdateExtents()
{
    const float length = m_bodyLength * m_size;
    const float height = m_bodyHeight * m_size;
    const float width = m_bodyWidth * m_size;
    const float p = m_targetPitch * kDegreesToRadians;
    const float g = m_targetHeading * kDegreesToRadians;
    const float t = length / 2 * std::fabs(std::cos(g) * std::cos(p));
    const float h = length / 2 * std::fabs(std::sin(p));
    const float l = length / 2 * std::fabs(std::sin(g));
    const float o = height / 2 * std::fabs(std::cos(p));
    const float r = width / 2 * std::fabs(std::cos(g));
    const bool minusX = FacesMinusX(m_heading);
    const bool plusZ = FacesPlusZ(m_heading);
    m_nose[0] = minusX ? m_x - t : m_x + t;
    m_tail[0] = minusX ? m_x + t : m_x - t;
    m_nose[1] = m_pitch > 0.0f ? m_y + h : m_y - h;
    m_tail[1] = m_pitch > 0.0f ? m_y - h : m_y + h;
    m_nose[2] = plusZ ? m_z + l : m_z - l;
    m_tail[2] = plusZ ? m_z - l : m_z + l;
    const float e = h > o ? h : o;
    const float f = l > r ? l : r;
    m_box = {m_x + t + length / 2, m_x - t - length / 2, m_y + e + height / 4,
             m_y - e - height / 4, m_z + f + width / 4,  m_z - f - width / 4};
}

// --------------------------------------------------------------- steering

float Fish::HeadingSide(bool sense) const { return sense == FacesMinusX(m_heading) ? -1.0f : 1.0f; }

void Fish::SteerHeading(float value, bool sense, int kind)
{
    if (std::fabs(m_heading - m_targetHeading) > kStillTurning)
        return;
    const float side = HeadingSide(sense);
    float target = m_targetHeading;
    switch (kind) {
    case kSwing: {
        const int d = Rand() % 170;
        target = target > 180.0f ? target - float(d) : target + float(d);
        break;
    }
    case kAboutTurn:
        target = target > 180.0f ? target - 180.0f : target + 180.0f;
        break;
    case kNudge:
        target += side * float(Rand() % 15);
        break;
    case kQuarterTurn:
        if (!InFrontBand())
            break;
        if (target > 0.0f && target <= 180.0f)
            target += 90.0f;
        else if (target > 180.0f)
            target -= 90.0f;
        else if (target >= -180.0f)
            target -= 90.0f;
        else
            target += 90.0f;
        break;
    case kAvoid:
        target += side * float(10 + Rand() % 10);
        break;
    case kReverse:
        target += side * 180.0f;
        break;
    case kTurnBy:
        target += side * float(int(std::fabs(value)));
        break;
    default:
        break;
    }
    // Past +-360 the clamp would swallow the steer: a fish at 360 could never
    // be nudged off the x axis. Its angles move by a whole turn instead,
    // which changes nothing it shows, and the steer turns it as asked.
    if (target > kMaxHeading) {
        TurnAnglesBy(-kFullTurn);
        target -= kFullTurn;
    } else if (target < -kMaxHeading) {
        TurnAnglesBy(kFullTurn);
        target += kFullTurn;
    }
    m_targetHeading = Clamp(target, -kMaxHeading, kMaxHeading);
}

void Fish::TurnAnglesBy(float degrees)
{
    m_heading += degrees;
    m_turnFrom += degrees;
    for (int& yaw : m_ringYaw)
        yaw += int(degrees);
}

void Fish::SteerPitch(float value, bool sense, int kind)
{
    float target = m_targetPitch;
    switch (kind) {
    case kFlip: {
        const int d = 15 + Rand() % 15;
        target = target > 0.0f ? target - float(d) : target + float(d);
        break;
    }
    case kMirror:
        target = -target;
        break;
    case kOneDegree:
        target += sense ? 1.0f : -1.0f;
        break;
    case kByAngle:
        if (target + value > 90.0f || target - value < -90.0f)
            break;
        target = sense ? target + value : target - value;
        break;
    default:
        break;
    }
    m_targetPitch = Clamp(target, -kMaxPitch, kMaxPitch);
}

void Fish::AdjustSpeed(float step, float goal)
{
    if (m_speed < goal)
        m_speed += step;
    else if (m_speed > goal)
        m_speed -= step;
    m_speed = Clamp(m_speed, kMinSpeed, kMaxSpeed);
}

void Fish::Grow(float amount, bool larger)
{
    m_size = Clamp(larger ? m_size + amount : m_size - amount, kMinSize, kMaxSize);
}

// ---------------------------------------------------------------- set-up

void Fish::SetPosition(float x, float y, float z)
{
    m_x = x;
    m_y = y;
    m_z = z;
}

void Fish::SetSwimBox(float xMin, float xMax, float yMin, float yMax, float zMin, float zMax)
{
    m_xMin = xMin;
    m_xMax = xMax;
    m_yMin = yMin;
    m_yMax = yMax;
    m_zMin = zMin;
    m_zMax = zMax;
}

void Fish::FaceHeading(float degrees)
{
    const float h = Clamp(degrees, -kMaxHeading, kMaxHeading);
    m_heading = m_targetHeading = m_turnFrom = h;
    for (int& yaw : m_ringYaw)
        yaw = int(h);
    m_turnDone = true;
    m_ringsSettled = true;
    UpdateDirections();
}

void Fish::SetPitch(float degrees)
{
    m_pitch = m_targetPitch = Clamp(degrees, -kMaxPitch, kMaxPitch);
    UpdateDirections();
}

void Fish::SetSpeed(float speed) { m_speed = Clamp(speed, kMinSpeed, kMaxSpeed); }
