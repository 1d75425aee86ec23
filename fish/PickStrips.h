// SPDX-License-Identifier: MIT
#pragma once

struct TankBox;

// The invisible strips the feed picker aims with: 50 tall vertical strips
// across the tank and 10 wide horizontal ones up it, all in the plane of
// the food drops. They sway back and forth every frame in feed mode so that
// within a few frames some strip passes under any pointer position.
//
// They exist only for the pick tests and are never drawn: on screen with
// alpha 0 they would change no pixel yet cost the software renderer some
// 16 ms a frame at 1920 x 1080 (1.5 million blended pixels).
//
// Units: world units. Vertical strip k starts at (xMin + k * sx, 0, -70)
// with sx = (xMax - xMin) / 49, so strip 49 reaches xMax; horizontal strip k
// at (0, yMin + k * sy, -70) with sy = trunc(trunc(yMax - yMin) * 1.5) / 9
// in whole units. A vertical strip is the quad x -0.5..0.5, y -30..30 at
// z = 1 about its position, a horizontal one x -90..90, y -0.5..0.5.
class PickStrips {
public:
    static constexpr int kVertical = 50;
    static constexpr int kHorizontal = 10;
    static constexpr float kDepth = -70.0f;                // z of every strip position
    static constexpr float kQuadDepth = kDepth + 1.0f;     // z of the quads themselves
    static constexpr float kSwayReach = 5.0f;  // strip 0 stays within its edge +- this
    static constexpr float kSwayStep = 0.5f;   // per frame

    // Lays the strips out over the tank and resets both sway directions.
    void Setup(const TankBox& tank);

    // One frame of sway for both sets.
    void Sweep();

    // The strip quads about their own positions, corners in GL_QUADS order.
    static constexpr float kVerticalQuad[4][3] = {
        {-0.5f, -30.0f, 1.0f}, {0.5f, -30.0f, 1.0f}, {0.5f, 30.0f, 1.0f}, {-0.5f, 30.0f, 1.0f}};
    static constexpr float kHorizontalQuad[4][3] = {
        {-90.0f, -0.5f, 1.0f}, {90.0f, -0.5f, 1.0f}, {90.0f, 0.5f, 1.0f}, {-90.0f, 0.5f, 1.0f}};

    const float* Vertical(int k) const { return m_vertical[k]; }    // x, y, z
    const float* Horizontal(int k) const { return m_horizontal[k]; }

private:
    // Sways one set around `edge` along `axis`: strip 0 (already moved when
    // k > 0) decides the direction of every strip.
    static void Sway(float (*strips)[3], int count, int axis, float edge, bool& towardsPlus);

    float m_vertical[kVertical][3] = {};
    float m_horizontal[kHorizontal][3] = {};
    float m_xMin = -54.0f;
    float m_yMin = -21.0f;
    bool m_verticalTowardsPlus = false;   // starts moving towards -x
    bool m_horizontalTowardsPlus = true;  // starts moving towards +y
};
