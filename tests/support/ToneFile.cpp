// SPDX-License-Identifier: MIT
#include "tests/support/ToneFile.h"

#include <cmath>
#include <cstdint>
#include <fstream>

void WriteToneFile(const std::string& path, int milliseconds)
{
    const int rate = 22050;
    const std::uint32_t frames = std::uint32_t(rate * milliseconds / 1000);
    std::ofstream out(path, std::ios::binary);
    auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.put(char((v >> (8 * i)) & 0xFF));
    };
    out << "RIFF";
    put(36 + frames * 2, 4);
    out << "WAVEfmt ";
    put(16, 4), put(1, 2), put(1, 2), put(rate, 4), put(rate * 2, 4), put(2, 2), put(16, 2);
    out << "data";
    put(frames * 2, 4);
    for (std::uint32_t i = 0; i < frames; ++i)
        put(std::uint32_t(std::lround(8000 * std::sin(i * 0.125))) & 0xFFFF, 2);
}
