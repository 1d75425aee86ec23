// SPDX-License-Identifier: MIT
#include "sound/PlayerProcess.h"
#include "tests/sound/SoundTestSupport.h"
#include "tests/support/SoundWorld.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

// The sound tests in one of two worlds, chosen by PLOVI_TEST_SOUND:
// "server" starts a private PulseAudio with a null sink before Qt looks for
// audio devices; "none" points every client at a server that is not there,
// as on a machine without sound. Qt settles its audio devices once per
// process, hence one world per run. Settings and runtime files go to private
// directories either way.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    const char* mode = std::getenv("PLOVI_TEST_SOUND");
    const bool withServer = !mode || std::strcmp(mode, "none") != 0;

    const SoundWorld world(withServer);
    if (!world.Ok()) {
        std::fprintf(stderr, "sound tests: %s\n", world.Error().c_str());
        return 1;
    }
    SoundTest::SetHaveSoundServer(withServer);
    PlayerProcess::SetProgram(PLOVI_PLAYER_BINARY);

    int result;
    {
        QApplication app(argc, argv);
        result = RUN_ALL_TESTS();
    }
    return result;
}
