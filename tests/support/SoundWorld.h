// SPDX-License-Identifier: MIT
#pragma once

#include "tests/support/PrivateSoundServer.h"
#include "tests/support/TestEnvironment.h"

#include <memory>
#include <string>

// The world a sound test or benchmark runs in, set up before Qt looks for
// audio devices (it settles them once per process): private settings and
// runtime directories, and either a private PulseAudio server with a null
// sink or, without one, PULSE_SERVER pointing where no server can be, as on
// a machine without sound. Everything is undone when it goes away.
class SoundWorld {
public:
    explicit SoundWorld(bool withServer);

    // False when the server was asked for and did not start; Error() says why.
    bool Ok() const { return !m_server || m_server->Ok(); }
    std::string Error() const { return m_server ? m_server->Error() : std::string(); }

private:
    TempDir m_config, m_runtime;
    ScopedEnv m_xdgConfig{"XDG_CONFIG_HOME", m_config.Path().c_str()};
    ScopedEnv m_xdgRuntime{"XDG_RUNTIME_DIR", m_runtime.Path().c_str()};
    std::unique_ptr<PrivateSoundServer> m_server;
    std::unique_ptr<ScopedEnv> m_pulse;
};
