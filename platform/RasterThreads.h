// SPDX-License-Identifier: MIT
#pragma once

// How many rasterising threads Mesa's software renderer (llvmpipe) is to
// start. By default it starts one per core, but the program's own thread is
// busy in every frame as well: it moves the fish and transforms, lights and
// sorts their triangles into the renderer's tiles while the rasterisers
// fill the last batch. One rasteriser per core then oversubscribes the
// machine, and the threads' hand-overs cost CPU time of their own. Measured
// at 1920 x 1080 on two cores, a frame took 12.7 ms of CPU with one
// rasteriser against 14.9 ms with two, at the same 50 fps and the same
// pixels (the renderer's tiles come out the same whichever thread fills
// them). Other GL drivers ignore the setting.

// The rasteriser count for a machine with `cores` cores this process may run
// on: one core is left to the frame loop, and there is at least one.
int RasterThreadsFor(int cores);

constexpr char kRasterThreadsVariable[] = "LP_NUM_THREADS";

// Sets LP_NUM_THREADS to RasterThreadsFor(the cores this process may run on)
// unless it is set already (a user's own choice is kept). Call before the GL
// library is first used: the renderer reads it once, when it starts.
void LeaveACoreForTheFrameLoop();

// Whether the variable holds the count set here rather than the user's. The
// count suits this program's frame loop only, so the programs it starts (a
// browser for the link, the music player) are started without it.
bool RasterThreadsChosenHere();
