#pragma once

#include "view/scene/CommandCodes.h"

// The control bar's command state. The frame loop polls m_nCommand at the
// end of every tick; the bar's buttons write it.
class ControlBar {
public:
    int m_nCommand = CMD_FEED;
};
