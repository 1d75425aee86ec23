// SPDX-License-Identifier: MIT
#pragma once

// Helpers shared by the benchmark and demo programs (header only: every
// .cpp in this folder is a program of its own).

#include "platform/GlFeatures.h"
#include "platform/RasterThreads.h"
#include "tests/support/GlTestContext.h"
#include "tests/support/TestEnvironment.h"

#include <GL/gl.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <ctime>
#include <string>
#include <sys/stat.h>
#include <vector>

// The command line every benchmark takes: [count] [width height], where
// count is frames or runs; width and height are pixels (both or neither).
struct BenchArgs {
    int count;
    int width = 1920;
    int height = 1080;
};

inline BenchArgs ReadBenchArgs(int argc, char** argv, int defaultCount)
{
    BenchArgs args{argc > 1 ? std::max(1, std::atoi(argv[1])) : defaultCount};
    if (argc > 3) {
        args.width = std::atoi(argv[2]);
        args.height = std::atoi(argv[3]);
    }
    return args;
}

// Process CPU time in milliseconds: every thread, so the software
// renderer's rasterising threads count.
inline double ProcessCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// A steady clock in milliseconds, for differences only.
inline double WallMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// A settings file in CONFIG/plovi/ with one fish of each of the 20 kinds.
inline void WriteOneFishOfEachKind(const std::string& configDir)
{
    ::mkdir((configDir + "plovi").c_str(), 0700);
    std::ofstream ini(configDir + "plovi/PloviSet.ini");
    ini << "[Fish Number]\n";
    for (int i = 0; i < 20; ++i)
        ini << "Fish" << i << "=1\n";
}

// Reads the current GL colour buffer (width x height pixels) into DIR/NAME.ppm
// and, when png is set and /usr/bin/convert exists, a PNG copy; prints the
// path written.
inline bool WriteShot(const std::string& dir, const std::string& name, int width, int height,
                      bool png = true)
{
    std::vector<unsigned char> pixels(size_t(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    const std::string ppm = dir + "/" + name + ".ppm";
    FILE* file = std::fopen(ppm.c_str(), "wb");
    if (!file)
        return false;
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    for (int row = height - 1; row >= 0; --row)
        std::fwrite(&pixels[size_t(row) * width * 3], 1, size_t(width) * 3, file);
    std::fclose(file);
    const std::string pngPath = dir + "/" + name + ".png";
    const std::string command = "/usr/bin/convert '" + ppm + "' '" + pngPath + "' 2>/dev/null";
    const bool converted = png && std::system(command.c_str()) == 0;
    std::printf("%s\n", converted ? pngPath.c_str() : ppm.c_str());
    return true;
}

// A private home for one benchmark run: its own runtime and settings
// directories (a settings file with one fish of each kind) and a GL context
// of width x height pixels, made current. As in the program's window, the
// surface has a depth buffer only where the scene's fast path is not offered
// (or PLOVI_GL=1.1 turns it off).
class FullTankBench {
public:
    FullTankBench(int width, int height)
    {
        // The renderer as the program starts it.
        LeaveACoreForTheFrameLoop();
        WriteOneFishOfEachKind(m_dir.Path());
        m_gl = std::make_unique<GlTestContext>(width, height, false);
        if (!m_gl->Ok() || !GlFeatures::OfCurrentContext().FastPicture()) {
            m_gl.reset();
            m_gl = std::make_unique<GlTestContext>(width, height, true);
        }
        if (!m_gl->Ok())
            std::fprintf(stderr, "no GL context\n");
    }
    bool Ok() const { return m_gl->Ok(); }

private:
    TempDir m_dir;
    ScopedEnv m_runtime{"XDG_RUNTIME_DIR", m_dir.Path().c_str()};
    ScopedEnv m_config{"XDG_CONFIG_HOME", m_dir.Path().c_str()};
    std::unique_ptr<GlTestContext> m_gl;
};
