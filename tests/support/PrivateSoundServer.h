// SPDX-License-Identifier: MIT
#pragma once
#include <string>

// A PulseAudio daemon of the test's own, with one null sink (a real output
// device that plays into nothing), listening only in its own runtime
// directory. It ends when the object goes away.
class PrivateSoundServer {
public:
    // runtimeDir: an existing private directory; the server's socket is
    // runtimeDir + "pulse/native". Waits up to 15 s for the socket.
    explicit PrivateSoundServer(const std::string& runtimeDir);
    ~PrivateSoundServer();
    PrivateSoundServer(const PrivateSoundServer&) = delete;
    PrivateSoundServer& operator=(const PrivateSoundServer&) = delete;

    bool Ok() const { return m_ok; }
    // The value for PULSE_SERVER: "unix:" + the socket's path.
    std::string Address() const;
    // Why it did not start, for the test's message.
    const std::string& Error() const { return m_error; }

    // A PULSE_SERVER value where no server can be: clients find no sound
    // server and no device.
    static std::string NowhereAddress(const std::string& runtimeDir);

private:
    std::string m_socket;
    std::string m_error;
    int m_pid = -1;
    bool m_ok = false;
};
