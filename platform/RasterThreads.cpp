// SPDX-License-Identifier: MIT
#include "platform/RasterThreads.h"

#include <sched.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

std::string g_chosenHere;   // the count set here, "" when none was

// The cores this process may run on (its affinity, which a container or
// taskset may narrow), or the machine's when that cannot be read.
int UsableCores()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0)
        return CPU_COUNT(&set);
    return int(std::max(1u, std::thread::hardware_concurrency()));
}

}  // namespace

int RasterThreadsFor(int cores)
{
    return std::max(1, cores - 1);
}

void LeaveACoreForTheFrameLoop()
{
    if (std::getenv(kRasterThreadsVariable))
        return;
    g_chosenHere = std::to_string(RasterThreadsFor(UsableCores()));
    ::setenv(kRasterThreadsVariable, g_chosenHere.c_str(), 1);
}

bool RasterThreadsChosenHere()
{
    const char* value = std::getenv(kRasterThreadsVariable);
    return value && !g_chosenHere.empty() && g_chosenHere == value;
}
