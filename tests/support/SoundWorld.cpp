// SPDX-License-Identifier: MIT
#include "tests/support/SoundWorld.h"

SoundWorld::SoundWorld(bool withServer)
{
    std::string address = PrivateSoundServer::NowhereAddress(m_runtime.Path());
    if (withServer) {
        m_server = std::make_unique<PrivateSoundServer>(m_runtime.Path());
        if (m_server->Ok())
            address = m_server->Address();
    }
    m_pulse = std::make_unique<ScopedEnv>("PULSE_SERVER", address.c_str());
}
