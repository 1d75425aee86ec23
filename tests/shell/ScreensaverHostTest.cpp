// SPDX-License-Identifier: MIT
#include "app/ScreensaverHost.h"

#include <gtest/gtest.h>

namespace {

TEST(ScreensaverHost, TheDrawableFollowsTheHostWithinWhatGlAndTheScreenAllow)
{
    const QSize gl(16384, 16384), screen(1920, 1080);
    const struct {
        QSize host, glLimit, screen, expected;
    } cases[] = {
        {{320, 240}, gl, screen, {320, 240}},                  // a preview
        {{1920, 1080}, gl, screen, {1920, 1080}},              // the whole screen
        {{65535, 65535}, gl, screen, {1920, 1080}},            // the largest X window
        {{32767, 200}, gl, screen, {1920, 200}},               // each side on its own
        {{65535, 65535}, gl, {40000, 30000}, {16384, 16384}},  // a screen beyond the GL limit
        {{65535, 65535}, {8192, 4096}, {}, {8192, 4096}},      // no screen size known
        {{3000, 2000}, {}, {}, {3000, 2000}},                  // nothing known: the host's
        {{0, 0}, gl, screen, {1, 1}},                          // never empty
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScreensaverHost::DrawableSize(c.host, c.glLimit, c.screen), c.expected)
            << c.host.width() << " x " << c.host.height();
}

}  // namespace
