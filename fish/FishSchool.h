// SPDX-License-Identifier: MIT
#pragma once

class Fish;

// The passes that make the fish react to each other, run by the frame loop
// after each fish's update and draw: collision avoidance and the position
// snapshot per fish, then vertical separation over all active fish.
//
// Only the active fish (slots 0..activeCount-1) take part: a slot that is
// not drawn has no body for the others to swerve around.
class FishSchool {
public:
    static constexpr int kSlots = 20;

    // Fish `index` against every other active fish, in slot order. Its
    // touching flag is cleared first (a lone fish's too) and again before
    // each pair test, and set, for both fish,
    // when their collision boxes overlap. Overlapping fish that swim side by
    // side or head-on (nose lines within 10 degrees in both the x-y and x-z
    // planes): head-on, the smaller fish reverses; same way, the one in front
    // speeds up to 0.1 above the other. Otherwise fish `index` swerves.
    // activeCount: 0..kSlots; fish: at least activeCount slots.
    static void AvoidCollisions(Fish* fish, int activeCount, int index);

    // Remembers fish `index`'s position (0 <= index < kSlots) for Separate.
    void RecordPosition(int index, const Fish& fish);

    // For every pair a < b of active fish whose recorded positions are
    // closer than 5 in each of x, y and z, fish a pitches one degree away
    // from b (up when it is the higher one).
    void Separate(Fish* fish, int activeCount) const;

private:
    float m_snapshot[kSlots][3] = {};
};
