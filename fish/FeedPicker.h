// SPDX-License-Identifier: MIT
#pragma once

class PickStrips;
struct TankBox;

// Turns a feed click into a world point in the plane of the food drops.
// Each frame while the click is pending it looks for the first vertical and
// the first horizontal strip under the pointer; a coordinate found inside the
// tank is held across frames until the other one is found too.
class FeedPicker {
public:
    static constexpr int kPickSize = 15;       // pixels
    static constexpr float kNoHit = -10000.0f;

    // One frame's attempt at (mouseX, mouseY), client pixels. Returns true
    // once both coordinates are held; (x, y) is then the world point and both
    // holds are released. Needs the frame's projection and the camera's
    // model-view matrix current.
    bool Pick(const PickStrips& strips, const TankBox& tank, int mouseX, int mouseY, float& x,
              float& y);

    // The x (vertical strips) or y (horizontal strips) of the first strip in
    // index order under (mouseX, mouseY), or kNoHit. Needs the frame's
    // projection and the camera's model-view matrix current.
    static float FirstStrip(const PickStrips& strips, bool vertical, int mouseX, int mouseY);

    bool HasX() const { return m_gotX; }
    bool HasY() const { return m_gotY; }

private:
    bool m_gotX = false;
    bool m_gotY = false;
    float m_x = 0.0f;
    float m_y = 0.0f;
};
