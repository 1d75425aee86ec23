// SPDX-License-Identifier: MIT
#pragma once

#include "platform/MessageBox.h"
#include "platform/MsvcRandom.h"
#include "settings/ProgramValues.h"
#include "tests/support/GlTestContext.h"
#include "tests/support/TestEnvironment.h"
#include "view/scene/AquariumScene.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// A scene built in a real GL context, with every file it touches in a
// private temporary directory, the program values and the random generator
// at their start state, and message boxes recorded instead of shown.
class SceneFixture : public ::testing::Test {
protected:
    // The drawing surface is `surfaceWidth` x `surfaceHeight` pixels; tests
    // that read whole frames back make it as large as the screen they render.
    // depth: whether the surface has a depth buffer, as the window has
    // unless the fast path is offered.
    explicit SceneFixture(int surfaceWidth = 256, int surfaceHeight = 256, bool depth = true)
        : m_gl(surfaceWidth, surfaceHeight, depth)
    {
    }

    void SetUp() override
    {
        ASSERT_TRUE(m_gl.Ok()) << "no EGL surfaceless GL context";
        ResetProgramValues();
        MsvcRandom::Reset();
        m_previous = SetMessageBoxHandler(
            [this](const std::string& text, const std::string&, MessageIcon) { m_messages.push_back(text); });
    }
    void TearDown() override { SetMessageBoxHandler(m_previous); }

    // A scene for a screen of w x h pixels (the surface stays 256 x 256:
    // the scene's viewport is the screen, which is all selection needs).
    std::unique_ptr<AquariumScene> MakeScene(int w, int h)
    {
        auto scene = std::make_unique<AquariumScene>();
        scene->SetScreenSize(w, h);
        EXPECT_TRUE(scene->InitScene());
        return scene;
    }

    GlTestContext m_gl;
    TempDir m_dir;
    ScopedEnv m_runtime{"XDG_RUNTIME_DIR", m_dir.Path().c_str()};
    ScopedEnv m_config{"XDG_CONFIG_HOME", (m_dir.Path() + "config").c_str()};
    MessageBoxHandler m_previous;
    std::vector<std::string> m_messages;
};
