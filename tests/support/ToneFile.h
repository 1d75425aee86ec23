// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// Writes a real wave file for the music tests and benchmarks: a mono 16-bit
// sine tone at 22,050 Hz lasting `milliseconds`.
void WriteToneFile(const std::string& path, int milliseconds);
