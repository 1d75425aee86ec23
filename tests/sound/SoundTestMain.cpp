#include "tests/sound/SoundTestSupport.h"
#include "tests/support/PrivateSoundServer.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>

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

    TempDir config, runtime;
    ScopedEnv xdgConfig("XDG_CONFIG_HOME", config.Path().c_str());
    ScopedEnv xdgRuntime("XDG_RUNTIME_DIR", runtime.Path().c_str());
    std::unique_ptr<PrivateSoundServer> server;
    std::string address = PrivateSoundServer::NowhereAddress(runtime.Path());
    if (withServer) {
        server = std::make_unique<PrivateSoundServer>(runtime.Path());
        if (!server->Ok()) {
            std::fprintf(stderr, "sound tests: %s\n", server->Error().c_str());
            return 1;
        }
        address = server->Address();
    }
    ScopedEnv pulse("PULSE_SERVER", address.c_str());
    SoundTest::SetHaveSoundServer(withServer);

    int result;
    {
        QApplication app(argc, argv);
        result = RUN_ALL_TESTS();
    }
    return result;
}
