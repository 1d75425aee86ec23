// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

// GL selection mode, one object per pass: the object is drawn, nothing
// reaches the screen, and any hit counts. The program does not pick this way
// (the software driver keeps the vertex data of every round trip); the
// tests keep it as the reference the CPU pick volume must agree with.
//
// The pass projects like the pickers: a pickSize x pickSize pixel region
// centred on the mouse (client pixels, y down), through the current
// projection over the current viewport.
//
// Contract: call with the frame's projection and the camera's model-view
// matrix current, and the matrix mode GL_MODELVIEW. Both matrix stacks, the matrix mode and the render
// mode are as before when it returns.
class SelectionReference {
public:
    // True when `draw`, run after a translation to (x, y, z), puts anything
    // inside the pick region.
    static bool SelectOneObject(int mouseX, int mouseY, int pickSize, const float* position,
                                const std::function<void()>& draw);
};
