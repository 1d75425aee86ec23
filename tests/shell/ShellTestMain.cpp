// SPDX-License-Identifier: MIT
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <gtest/gtest.h>

// Window tests need one QApplication for the whole run. The run gets its own
// configuration directory, so nothing under test reads or changes the user's
// real settings (QSettings resolves its paths once per process).
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    TempDir config;
    ScopedEnv xdgConfig("XDG_CONFIG_HOME", config.Path().c_str());
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
