// SPDX-License-Identifier: MIT
#pragma once
#include <vector>

// The built-in tune: a calm piece of sixteen bars in D major at 72 beats per
// minute (about 53 seconds) for soft pad, bass and a bell-like melody, with a
// little reverb. It loops without a seam: every note and the reverb's tail
// that run past the end come back in at the start.
constexpr int kTuneSampleRate = 22050;
std::vector<float> ComposeTune();
