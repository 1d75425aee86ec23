// SPDX-License-Identifier: MIT
// Renders fixed-seed frames of the whole scene and writes them as raw PPM
// files, so that two builds of the program can be compared pixel for pixel
// (tools/compare_frames.py). Each look starts from the same random state and
// a fresh scene; frames 1, 60, 150 and 250 of each are written.
//
// Usage: frame_dump OUTDIR [width height [--motion]]   (default 1920 1080)
// With --motion only the default look is drawn, and frames 240..251 are all
// written, to compare the ripple in motion side by side.
//
// Looks: "default" (20 fish, rippling picture, feed strips), "nopicture",
// "gradient" (the two-colour backdrop), "fog" (fog and half light), and
// "custom" (an own image with transparent and half-transparent texels).

#include "bench/BenchSupport.h"
#include "platform/MsvcRandom.h"
#include "settings/ProgramValues.h"
#include "view/scene/AquariumScene.h"

#include <GL/glu.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

// 64 x 64 RGBA, mipmapped: a colour ramp with a fully transparent band, a
// half-transparent band and opaque black texels, to exercise every blend case.
unsigned MakeTranslucentPicture()
{
    std::vector<unsigned char> texels(64 * 64 * 4);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            unsigned char* p = &texels[(y * 64 + x) * 4];
            p[0] = (unsigned char)(x * 4);
            p[1] = (unsigned char)(y * 4);
            p[2] = (unsigned char)((x + y) * 2);
            p[3] = x < 8 ? 0 : (x < 16 ? 128 : 255);
            if (y > 56)
                p[0] = p[1] = p[2] = 0;
        }
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 4, 64, 64, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return name;
}

struct Look {
    const char* name;
    std::function<void(AquariumScene&)> apply;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: frame_dump OUTDIR [width height [--motion]]\n");
        return 2;
    }
    const std::string outDir = argv[1];
    const int width = argc > 3 ? std::atoi(argv[2]) : 1920;
    const int height = argc > 3 ? std::atoi(argv[3]) : 1080;
    const Look looks[] = {
        {"default", [](AquariumScene&) {}},
        {"nopicture", [](AquariumScene&) { Program().aquarium.showTerra = 0; }},
        {"gradient",
         [](AquariumScene&) {
             Program().aquarium.backFixed = 0;
             Program().aquarium.backGradual = 1;
             Program().aquarium.backColor1 = 0x00FF8000;
             Program().aquarium.backColor2 = 0x000000FF;
         }},
        {"fog",
         [](AquariumScene&) {
             Program().aquarium.fog = 10;
             Program().aquarium.light = 50;
         }},
        {"custom",
         [](AquariumScene& scene) {
             scene.SetCustomImageTexture(MakeTranslucentPicture());
             Program().ownImageOn = true;
         }},
    };
    const bool motion = argc > 4 && std::string(argv[4]) == "--motion";
    std::vector<int> shots = {1, 60, 150, 250};
    if (motion)
        shots = {240, 241, 242, 243, 244, 245, 246, 247, 248, 249, 250, 251};
    for (const Look& look : looks) {
        if (motion && &look != &looks[0])
            break;
        FullTankBench bench(width, height);
        if (!bench.Ok())
            return 1;
        Program() = ProgramValues{};
        MsvcRandom::Reset();
        AquariumScene scene;
        scene.SetScreenSize(width, height);
        scene.InitScene();
        look.apply(scene);
        int next = 0;
        for (int frame = 1; frame <= shots.back(); ++frame) {
            scene.RenderFrame();
            if (frame == shots[std::size_t(next)]) {
                WriteShot(outDir, std::string(look.name) + "-" + std::to_string(width) + "x" +
                                      std::to_string(height) + "-" + std::to_string(frame),
                          width, height, false);
                ++next;
            }
        }
    }
    return 0;
}
