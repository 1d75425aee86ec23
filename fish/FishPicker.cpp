// SPDX-License-Identifier: MIT
#include "fish/FishPicker.h"

#include "fish/Fish.h"
#include "fish/FishPickSink.h"
#include "fish/FishRenderer.h"
#include "fish/PickVolume.h"
#include "base/CommandCodes.h"

#include <GL/gl.h>

namespace {

// Points the renderer at the pick sink for one pick, and back at GL after.
class SinkScope {
public:
    SinkScope(FishRenderer& renderer, FishVertexSink* sink) : m_renderer(renderer) { renderer.SetVertexSink(sink); }
    ~SinkScope() { m_renderer.SetVertexSink(nullptr); }
    SinkScope(const SinkScope&) = delete;
    SinkScope& operator=(const SinkScope&) = delete;

private:
    FishRenderer& m_renderer;
};

}  // namespace

int FishPicker::PickFish(Fish* fish, int active, FishRenderer& renderer, int mouseX, int mouseY, int mode)
{
    PickVolume volume(mouseX, mouseY, kPickSize);
    FishPickSink sink(volume);
    SinkScope scope(renderer, &sink);
    for (int i = 0; i < active; ++i) {
        Fish& candidate = fish[i];
        sink.Reset();
        // Placed where the fish stood before its extra step, as it always was.
        glPushMatrix();
        glTranslatef(candidate.X(), candidate.Y(), candidate.Z());
        candidate.Step();
        renderer.DrawAtPosition(candidate.DrawPose());
        glPopMatrix();
        if (sink.Hit()) {
            Apply(candidate, mode);
            return i;
        }
    }
    return -1;
}

void FishPicker::Apply(Fish& fish, int mode)
{
    switch (mode) {
    case CMD_TOUCH:
        // The quarter turn only happens in the front band; the fish checks.
        fish.SteerHeading(0.0f, false, Fish::kQuarterTurn);
        fish.AdjustSpeed(0.4f, 0.4f);
        break;
    case CMD_ZOOMIN: fish.Grow(2.0f, true); break;
    case CMD_ZOOMOUT: fish.Grow(2.0f, false); break;
    default: break;
    }
}
