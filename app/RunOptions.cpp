// SPDX-License-Identifier: MIT
#include "app/RunOptions.h"

#include "app/CommandLine.h"
#include "view/AquariumView.h"

void ApplyRunOptions(const CommandLine& options, AquariumView& view)
{
    view.SetReportFps(options.reportFps);
    if (options.delayUs)
        view.SetFramePeriod(*options.delayUs);
    options.overrides.ApplyTo(view.Scene().Values());
}
