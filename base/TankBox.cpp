#include "base/TankBox.h"

#include <cmath>
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

const TankWidth& NearestTankWidth(int w, int h)
{
    const TankWidth* best = &kTankWidths[0];
    long bestScore = -1;
    for (const TankWidth& entry : kTankWidths) {
        // Width decides first; height only breaks ties between equal widths.
        long score = std::labs(long(entry.width) - w) * 100000L + std::labs(long(entry.height) - h);
        if (bestScore < 0 || score < bestScore) {
            bestScore = score;
            best = &entry;
        }
    }
    return *best;
}

}  // namespace

int ResolutionIndexFor(int screenWidth, int screenHeight)
{
    for (const ScreenClass& c : kResolutionIndex)
        if (c.width == screenWidth && c.height == screenHeight)
            return c.index;
    return 1;
}

int ResolutionIndexByShape(int width, int height)
{
    const double shape = double(width) / double(height > 0 ? height : 1);
    const ScreenClass* best = &kResolutionIndex[0];
    for (const ScreenClass& c : kResolutionIndex) {
        const double d = std::fabs(double(c.width) / c.height - shape);
        const double bestD = std::fabs(double(best->width) / best->height - shape);
        if (d < bestD - 1e-9 || (d < bestD + 1e-9 && std::labs(long(c.width) - width) < std::labs(long(best->width) - width)))
            best = &c;
    }
    return best->index;
}

TankBox ComputeTankBoxFor(int screenWidth, int screenHeight)
{
    const TankWidth& entry = NearestTankWidth(screenWidth, screenHeight);
    TankBox box;
    box.xMin = entry.xMin - 20.0f;
    box.xMax = entry.xMax + 20.0f;
    box.yMax = 21.0f;
    box.yMin = -21.0f;
    box.zBack = -50.0f;
    box.zFront = 0.0f;
    return box;
}
