// SPDX-License-Identifier: MIT
// Renders the backdrop and the rippling background picture of a real scene
// into an off-screen 1024 x 768 surface and writes a few frames as PPM files,
// so the water effect can be looked at.
//
//   ripple_demo [OUTPUT_PREFIX] [--default]
//
// Without --default the picture is a generated test pattern (a grid with a
// black, keyed-out region); with it, the built-in picture. Writes
// PREFIX_still.ppm (frame 2), PREFIX_a.ppm (frame 120), PREFIX_b.ppm (frame
// 135) and PREFIX_diff.ppm (where frames a and b differ).
#include "platform/MessageBox.h"
#include "platform/MsvcRandom.h"
#include "settings/ProgramValues.h"
#include "tests/support/GlTestContext.h"
#include "tests/support/TestEnvironment.h"
#include "view/scene/AquariumScene.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {
constexpr int kW = 1024, kH = 768;

// A 512 x 512 picture: soft sea-green tiles framed by light grid lines every
// 32 texels, and a pure black rock shape in the lower left that the loader's
// colour key makes transparent.
unsigned MakeTestPicture()
{
    const int size = 512;
    std::vector<unsigned char> rgba(size_t(size) * size * 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            unsigned char* p = &rgba[(size_t(y) * size + x) * 4];
            const bool line = x % 32 < 3 || y % 32 < 3;
            const bool checker = ((x / 32) + (y / 32)) % 2 == 0;
            const double dx = (x - 150) / 130.0, dy = (y - 120) / 90.0;
            const bool rock = dx * dx + dy * dy < 1.0 || (x > 260 && x < 330 && y < 200);
            if (rock) {
                p[0] = p[1] = p[2] = p[3] = 0;
                continue;
            }
            p[0] = line ? 235 : (checker ? 40 : 20);
            p[1] = line ? 240 : (checker ? 170 : 120);
            p[2] = line ? 220 : (checker ? 150 : 110);
            p[3] = 255;
        }
    }
    // Uploaded the way the background loader does it: mipmapped, repeating.
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 4, size, size, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

std::vector<unsigned char> ReadScreen()
{
    std::vector<unsigned char> rgb(size_t(kW) * kH * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kW, kH, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

bool WritePpm(const std::string& path, const std::vector<unsigned char>& rgb)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    std::fprintf(f, "P6\n%d %d\n255\n", kW, kH);
    for (int y = kH - 1; y >= 0; --y)   // GL rows run bottom to top
        std::fwrite(&rgb[size_t(y) * kW * 3], 1, size_t(kW) * 3, f);
    return std::fclose(f) == 0;
}

// Unchanged pixels dimmed grey, changed pixels bright red.
std::vector<unsigned char> Difference(const std::vector<unsigned char>& a,
                                      const std::vector<unsigned char>& b, int& changed)
{
    std::vector<unsigned char> out(a.size());
    changed = 0;
    for (size_t i = 0; i < a.size(); i += 3) {
        const bool same = std::memcmp(&a[i], &b[i], 3) == 0;
        changed += !same;
        const unsigned char grey = (a[i] + a[i + 1] + a[i + 2]) / 9;
        out[i] = same ? grey : 255;
        out[i + 1] = same ? grey : 0;
        out[i + 2] = same ? grey : 0;
    }
    return out;
}
}  // namespace

int main(int argc, char** argv)
{
    std::string prefix = "/tmp/ripple";
    bool builtin = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--default") == 0)
            builtin = true;
        else
            prefix = argv[i];
    }
    GlTestContext gl(kW, kH);
    if (!gl.Ok()) {
        std::fprintf(stderr, "no EGL surfaceless GL context\n");
        return 1;
    }
    TempDir dir;
    ScopedEnv runtime("XDG_RUNTIME_DIR", dir.Path().c_str());
    ScopedEnv config("XDG_CONFIG_HOME", (dir.Path() + "config").c_str());
    SetMessageBoxHandler([](const std::string& text, const std::string&, MessageIcon) {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    });
    ResetProgramValues();
    MsvcRandom::Reset();

    AquariumScene scene;
    scene.SetScreenSize(kW, kH);
    if (!scene.InitScene())
        return 1;
    ProgramValues& values = Program();
    for (int& count : values.speciesCount)
        count = 0;   // the layers behind the fish only
    values.aquarium.backFixed = 1;
    values.aquarium.backColor = 0x00804020;   // deep sea blue behind the picture
    values.aquarium.backGradual = 0;
    values.aquarium.background = 0;
    values.aquarium.showTerra = 1;
    if (!builtin) {
        values.ownImageOn = true;
        scene.SetCustomImageTexture(MakeTestPicture());
    }

    std::vector<unsigned char> still, a, b;
    for (int frame = 1; frame <= 135; ++frame) {
        scene.RenderFrame();
        if (frame == 2)
            still = ReadScreen();
        if (frame == 120)
            a = ReadScreen();
        if (frame == 135)
            b = ReadScreen();
    }
    int changedAB = 0, changedStill = 0;
    const std::vector<unsigned char> diff = Difference(a, b, changedAB);
    Difference(still, b, changedStill);
    bool ok = WritePpm(prefix + "_still.ppm", still) && WritePpm(prefix + "_a.ppm", a) &&
              WritePpm(prefix + "_b.ppm", b) && WritePpm(prefix + "_diff.ppm", diff);
    std::printf("wrote %s_{still,a,b,diff}.ppm\n", prefix.c_str());
    std::printf("pixels changed between frames 120 and 135: %d of %d\n", changedAB, kW * kH);
    std::printf("pixels changed between frames 2 and 135:   %d of %d\n", changedStill, kW * kH);
    return ok ? 0 : 1;
}
