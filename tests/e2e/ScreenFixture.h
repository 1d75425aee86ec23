// SPDX-License-Identifier: MIT
#pragma once

#include "tests/e2e/AquariumSession.h"

#include <gtest/gtest.h>

// A test group on one virtual screen of Width x Height pixels under the
// window manager Wm, shared by the group's tests; each test gets its own
// fresh session (empty settings, runtime and home directories).
template <int Width, int Height, WindowManager Wm = WindowManager::Openbox>
class ScreenFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_screen = new VirtualScreen(Width, Height, Wm); }
    static void TearDownTestSuite()
    {
        delete s_screen;
        s_screen = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(s_screen->Ok()) << "Xvfb or its window manager did not start"; }

    static inline VirtualScreen* s_screen = nullptr;
    AquariumSession m_session{*s_screen};
};
