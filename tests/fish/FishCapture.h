#pragma once

#include "fish/FishModel.h"
#include "fish/FishVertexSink.h"
#include "fish/FishWave.h"

#include <cstddef>
#include <vector>

// Records what the fish model emits, strip by strip.
class FishCapture : public FishVertexSink {
public:
    struct Emitted {
        float pos[3];
        float normal[3];
        float tex[2];
    };
    using Strip = std::vector<Emitted>;

    void BeginStrip() override { strips.emplace_back(); }
    void Vertex(const float p[3], const float n[3], const float t[2]) override
    {
        strips.back().push_back({{p[0], p[1], p[2]}, {n[0], n[1], n[2]}, {t[0], t[1]}});
    }
    void EndStrip() override {}

    std::size_t VertexCount() const
    {
        std::size_t n = 0;
        for (const Strip& s : strips)
            n += s.size();
        return n;
    }

    std::vector<Strip> strips;
};

// The five waves of one fish, advanced together.
struct FishWaves {
    FishWave tail = FishWave::Tail();
    FishWave dorsal = FishWave::Dorsal();
    FishWave pectoral = FishWave::Pectoral();
    FishWave pelvic = FishWave::Pelvic();
    FishWave caudal = FishWave::Caudal();

    void Run(int frames)
    {
        for (int i = 0; i < frames; ++i) {
            tail.Advance();
            dorsal.Advance();
            pectoral.Advance();
            pelvic.Advance();
            caudal.Advance();
        }
    }

    FishPose Pose(float size, float yaw) const
    {
        FishPose pose;
        pose.size = size;
        for (float& y : pose.yaw)
            y = yaw;
        pose.tail = &tail;
        pose.dorsal = &dorsal;
        pose.pectoral = &pectoral;
        pose.pelvic = &pelvic;
        pose.caudal = &caudal;
        return pose;
    }
};

// Draws the pose into a fresh capture.
inline FishCapture Capture(const FishPose& pose)
{
    FishCapture capture;
    FishModel model;
    model.SetVertexSink(&capture);
    model.Draw(pose);
    return capture;
}
