// SPDX-License-Identifier: MIT
#pragma once

class Fish;
class FishRenderer;

// Finds the fish under a click in touch or zoom mode and acts on it.
class FishPicker {
public:
    static constexpr int kPickSize = 20;  // pixels

    // Tests the first `active` fish in slot order at (mouseX, mouseY),
    // client pixels. Each fish tested takes a whole behaviour step and its
    // shapes, as a draw would emit them, are tested against the pick volume
    // (see PickVolume), so it advances one extra frame. The first hit wins
    // (the lower slot, not the nearer fish) and gets the effect of `mode`:
    // touch darts it away at full speed (a quarter turn as well in the front
    // band), zoom in / out grows / shrinks it by 2 (size stays within 2..4).
    // Returns the slot picked, or -1 when the click hit no fish. Needs the
    // frame's projection and the camera's model-view matrix current, in
    // matrix mode GL_MODELVIEW; the
    // renderer draws with GL again afterwards.
    static int PickFish(Fish* fish, int active, FishRenderer& renderer, int mouseX, int mouseY, int mode);

    // The effect of `mode` on a picked fish.
    static void Apply(Fish& fish, int mode);
};
