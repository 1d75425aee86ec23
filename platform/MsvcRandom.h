// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>

// The one program-wide pseudo-random generator. It reproduces the classic
// Windows C runtime: state' = state * 214013 + 2531011, result
// (state' >> 16) & 0x7FFF, so results lie in 0..32767 and the start state is 1.
// Never seeded by the program, so every run replays the same sequence.
class MsvcRandom {
public:
    static constexpr int kMax = 32767;

    // Next value in 0..kMax.
    static int Next();
    // Puts the generator back to its start state (tests, and nothing else).
    static void Reset(std::uint32_t state = 1);
    static std::uint32_t State();

private:
    static std::uint32_t s_state;
};

// Shorthand used by the scene formulas: same contract as MsvcRandom::Next().
inline int Rand() { return MsvcRandom::Next(); }
