// SPDX-License-Identifier: MIT
#include "platform/MsvcRandom.h"

std::uint32_t MsvcRandom::s_state = 1;

int MsvcRandom::Next()
{
    s_state = s_state * 214013u + 2531011u;
    return static_cast<int>((s_state >> 16) & 0x7FFFu);
}

void MsvcRandom::Reset(std::uint32_t state) { s_state = state; }

std::uint32_t MsvcRandom::State() { return s_state; }
