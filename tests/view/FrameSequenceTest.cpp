#include "tests/support/SceneFixture.h"

#include <GL/gl.h>
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

// A fixed sequence of frames and clicks, replayed from the generator's start
// state, must take the same random draws at the same moments and give the
// same pixels whatever the frame's code looks like inside. The expected
// figures were taken from the scene as it stood before its frame was split
// into behaviour steps and drawing; any change to the order of the random
// draws or to the pixels shows here.
namespace {

std::uint64_t Fnv(std::uint64_t hash, const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    return hash;
}

// How many draws lead from state `from` to state `to` (at most `limit`).
int DrawsBetween(std::uint32_t from, std::uint32_t to, int limit)
{
    int n = 0;
    while (from != to && n < limit) {
        from = from * 214013u + 2531011u;
        ++n;
    }
    return n;
}

struct Replay {
    std::vector<int> drawsPerFrame;   // until 10,000 draws were taken
    std::uint64_t stateHash = 14695981039346656037ull;
    std::uint64_t pixelHash = 14695981039346656037ull;
};

struct Click {
    int frame, mode, x, y;
};

}  // namespace

class FrameSequence : public SceneFixture {
protected:
    FrameSequence() : SceneFixture(1920, 1080) {}
    // The pixel figures are those of the exact fixed-function drawing; the
    // random draws are the same on every path.
    ScopedEnv m_fixedFunction{"PLOVI_GL", "1.1"};

    Replay Run(int w, int h, int frames)
    {
        Replay replay;
        auto scene = MakeScene(w, h);
        // Feed clicks, a touch, zooms, and a click with no mode, at fixed frames.
        const Click clicks[] = {
            {10, CMD_FEED, w / 3, h / 2},      {40, CMD_FEED, w / 2, h / 3},
            {70, CMD_FEED, 2 * w / 3, h / 2},  {120, CMD_TOUCH, w / 2, h / 2},
            {160, CMD_ZOOMIN, w / 2, 2 * h / 3}, {200, CMD_ZOOMOUT, w / 3, h / 3},
            {240, CMD_NONE, w / 2, h / 2},     {260, CMD_FEED, w / 4, h / 4},
        };
        std::uint32_t state = MsvcRandom::State();
        int taken = 0;
        for (int frame = 0; frame < frames; ++frame) {
            for (const Click& c : clicks) {
                if (c.frame != frame)
                    continue;
                int command = c.mode;
                scene->PollCommand(command);
                scene->OnMouseMove(c.x, c.y);
                scene->OnLeftButtonDown(c.x, c.y);
                if (c.mode != CMD_TOUCH)
                    scene->OnLeftButtonUp(c.x, c.y);
            }
            scene->RenderFrame();
            const std::uint32_t now = MsvcRandom::State();
            const int draws = DrawsBetween(state, now, 1 << 20);
            state = now;
            if (taken < 10000)
                replay.drawsPerFrame.push_back(draws);
            taken += draws;
            for (int i = 0; i < kMaxFish; ++i) {
                Fish& f = scene->FishAt(i);
                const float values[] = {f.X(), f.Y(), f.Z(), f.Heading(), f.Pitch(), f.Speed(), f.Size()};
                replay.stateHash = Fnv(replay.stateHash, values, sizeof values);
            }
            for (int i = 0; i < FoodFlake::kSlots; ++i)
                replay.stateHash = Fnv(replay.stateHash, scene->FlakeAt(i).World(), 3 * sizeof(float));
            if (frame % 60 == 59) {
                std::vector<unsigned char> pixels(std::size_t(w) * h * 4);
                glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
                replay.pixelHash = Fnv(replay.pixelHash, pixels.data(), pixels.size());
            }
        }
        return replay;
    }
};

TEST_F(FrameSequence, TakesTheSameDrawsAtTheSameFramesAndDrawsTheSamePixels)
{
    struct Expected {
        int w, h, frames;
        std::size_t drawFrames;      // frames that took the first 10,000 draws (or all)
        std::uint64_t drawHash;      // of the draws per frame over those frames
        std::uint64_t stateHash;     // fish and flakes after every frame
        std::uint64_t pixelHash;     // every 60th frame, whole
    };
    const Expected expected[] = {
        // The two large screens for their pixels, the small one (cheap to
        // draw) for the first 10,000 draws.
        {1920, 1080, 150, 150, 0xab2c5e5fc8be33e0ull, 0x8d0fcd533ffa05a0ull, 0x48cbcf7fa865237ull},
        {1024, 768, 100, 100, 0xee0544b0837a2164ull, 0xef3c268c4e81d9a8ull, 0x3f484b23208944cbull},
        {320, 240, 3100, 3015, 0x9802a51512d0d62full, 0x576e024cdda49480ull, 0xcb0f9a1641282b44ull},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(std::to_string(e.w) + "x" + std::to_string(e.h));
        ResetProgramValues();
        MsvcRandom::Reset();
        const Replay r = Run(e.w, e.h, e.frames);
        const std::uint64_t drawHash =
            Fnv(14695981039346656037ull, r.drawsPerFrame.data(), r.drawsPerFrame.size() * sizeof(int));
        EXPECT_EQ(r.drawsPerFrame.size(), e.drawFrames);
        if (e.frames == 3100)
            EXPECT_LT(r.drawsPerFrame.size(), std::size_t(e.frames)) << "the first 10,000 draws are covered";
        EXPECT_EQ(drawHash, e.drawHash);
        EXPECT_EQ(r.stateHash, e.stateHash);
        EXPECT_EQ(r.pixelHash, e.pixelHash);
    }
}
