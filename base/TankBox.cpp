// SPDX-License-Identifier: MIT
#include "base/TankBox.h"

#include <cmath>
#include <cstddef>
#include <cstdlib>

namespace {

struct ScreenClass {
    int width;
    int height;
    int index;
};

constexpr ScreenClass kResolutionIndex[] = {
    {1024, 768, 0}, {1280, 1024, 1}, {1680, 1050, 2}, {1440, 900, 3},
    {1280, 800, 4}, {1600, 900, 5},  {1366, 768, 6},  {1920, 1080, 7},
};

struct TankWidth {
    int width;
    int height;
    float xMin;
    float xMax;
};

constexpr TankWidth kTankWidths[] = {
    {800, 600, -29, 29},   {1024, 768, -29, 29}, {1280, 960, -29, 29}, {1280, 1024, -29, 29},
    {1440, 900, -35, 35},  {1600, 900, -38, 38}, {1680, 1050, -34, 34},
};

// Shapes (width / height) closer than this count as one: 1366 x 768 is as
// much 16:9 as 1920 x 1080, whose wider picture then serves wider screens.
constexpr double kSameShape = 0.01;

// The entry of a table of screen sizes whose shape is nearest to the given
// size's, ties (kSameShape) going to the nearest width.
template <typename Entry, size_t N>
const Entry& NearestInShape(const Entry (&table)[N], int width, int height)
{
    const double shape = double(width) / double(height > 0 ? height : 1);
    const Entry* best = &table[0];
    for (const Entry& c : table) {
        const double d = std::fabs(double(c.width) / c.height - shape);
        const double bestD = std::fabs(double(best->width) / best->height - shape);
        const bool closerWidth = std::labs(long(c.width) - width) < std::labs(long(best->width) - width);
        if (d < bestD - kSameShape || (d < bestD + kSameShape && closerWidth))
            best = &c;
    }
    return *best;
}

template <typename Entry, size_t N>
const Entry* Listed(const Entry (&table)[N], int width, int height)
{
    for (const Entry& c : table)
        if (c.width == width && c.height == height)
            return &c;
    return nullptr;
}

}  // namespace

int ResolutionIndexFor(int screenWidth, int screenHeight)
{
    if (const ScreenClass* listed = Listed(kResolutionIndex, screenWidth, screenHeight))
        return listed->index;
    return ResolutionIndexByShape(screenWidth, screenHeight);
}

int ResolutionIndexByShape(int width, int height)
{
    return NearestInShape(kResolutionIndex, width, height).index;
}

TankBox ComputeTankBoxFor(int screenWidth, int screenHeight)
{
    const TankWidth* entry = Listed(kTankWidths, screenWidth, screenHeight);
    if (!entry)
        entry = &NearestInShape(kTankWidths, screenWidth, screenHeight);
    TankBox box;
    box.xMin = entry->xMin - 20.0f;
    box.xMax = entry->xMax + 20.0f;
    box.yMax = 21.0f;
    box.yMin = -21.0f;
    box.zBack = -50.0f;
    box.zFront = 0.0f;
    return box;
}
