#pragma once

#include <functional>

// One object tested against the mouse with GL selection mode: the object is
// drawn, nothing reaches the screen, and any hit counts. Both the feed and
// the fish picker are built on it.
//
// The pass uses its own projection: a pick region of `pickSize` x `pickSize`
// pixels centred on the mouse (client pixels, y down) and a 45-degree
// perspective (near 0.1, far 1000) over the current viewport. That is not
// exactly the frame's projection (half-height 0.4 at distance 1 rather than
// tan 22.5 = 0.414), so a pick near the screen's edge lands a few per cent
// closer to the centre than the pointer.
//
// Contract: call with the camera's model-view matrix current and the
// matrix mode GL_MODELVIEW. Both matrix stacks, the matrix mode and the
// render mode are as before when it returns, whether or not it hit.
class SelectionPass {
public:
    static constexpr int kBufferEntries = 512;

    // True when `draw`, run after a translation to (x, y, z), puts anything
    // inside the pick region.
    static bool SelectOneObject(int mouseX, int mouseY, int pickSize, const float* position,
                                const std::function<void()>& draw);
};
