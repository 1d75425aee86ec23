#include "fish/FishPicker.h"

#include "fish/Fish.h"
#include "fish/FishRenderer.h"
#include "fish/SelectionPass.h"
#include "base/CommandCodes.h"

int FishPicker::PickFish(Fish* fish, int active, FishRenderer& renderer, int mouseX, int mouseY, int mode)
{
    for (int i = 0; i < active; ++i) {
        Fish& candidate = fish[i];
        const float position[3] = {candidate.X(), candidate.Y(), candidate.Z()};
        if (SelectionPass::SelectOneObject(mouseX, mouseY, kPickSize, position,
                                           [&candidate, &renderer] {
                                               candidate.Step();
                                               renderer.DrawAtPosition(candidate.DrawPose());
                                           })) {
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
