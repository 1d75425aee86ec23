// SPDX-License-Identifier: MIT
#include "view/AquariumView.h"

#include "resources/BuiltinArt.h"
#include "tests/support/TestEnvironment.h"
#include "ui/ControlBar.h"

#include <QCursor>
#include <gtest/gtest.h>

// The real view with its own GL context: a mode picked on the bar reaches
// the view on its next tick, and the pointer over the aquarium shows that
// mode's cursor at once.
TEST(AquariumViewTest, TheCursorFollowsTheModePickedOnTheBar)
{
    TempDir runtime;
    ScopedEnv runtimeDir("XDG_RUNTIME_DIR", runtime.Path().c_str());
    ControlBar bar;
    AquariumView view(bar);
    ASSERT_TRUE(view.OnCreate(1024, 768));
    struct Step {
        int command;
        int cursor;  // 0: the standard arrow
    } const steps[] = {
        {CMD_TOUCH, 158}, {CMD_ZOOMIN, 167}, {CMD_ZOOMOUT, 169}, {CMD_MUSIC, 0}, {CMD_FEED, 163},
    };
    for (const Step& step : steps) {
        bar.SetCommand(step.command);
        view.OnTimer();
        const QCursor cursor = view.cursor();
        if (step.cursor == 0) {
            EXPECT_EQ(cursor.shape(), Qt::ArrowCursor) << step.command;
            continue;
        }
        const BuiltinArt::Entry* art = BuiltinArt::Find(step.cursor, "CURSOR");
        ASSERT_NE(art, nullptr);
        EXPECT_EQ(cursor.shape(), Qt::BitmapCursor) << step.command;
        EXPECT_EQ(cursor.hotSpot(), QPoint(art->hotX, art->hotY)) << step.command;
    }
    EXPECT_EQ(view.Scene().Mode(), CMD_FEED);

    // What the GL implementation can draw: GL 1.1 promises 64, every
    // implementation in use far more, and none a 65535-pixel side.
    const QSize limit = view.MaxDrawableSize();
    EXPECT_GE(limit.width(), 1024);
    EXPECT_GE(limit.height(), 1024);
    EXPECT_LT(limit.width(), 65535);
    EXPECT_LT(limit.height(), 65535);
}
