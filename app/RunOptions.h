// SPDX-License-Identifier: MIT
#pragma once

struct CommandLine;
class AquariumView;

// Puts the options of one run into a view whose scene has been built (so its
// settings have been read): the frame-rate report, the frame period, and the
// fish, light and fog given on the command line in place of the file's.
// Nothing is written to the settings file.
void ApplyRunOptions(const CommandLine& options, AquariumView& view);
