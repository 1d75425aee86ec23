// SPDX-License-Identifier: MIT
#include "tests/support/PrivateSoundServer.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {

bool IsSocket(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
}

}  // namespace

PrivateSoundServer::PrivateSoundServer(const std::string& runtimeDir)
    : m_socket(runtimeDir + "pulse/native")
{
    // The daemon gets this directory for everything it keeps (runtime files,
    // cookie, state), so it never meets the developer's own server.
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("XDG_RUNTIME_DIR=", 0) != 0 && entry.rfind("HOME=", 0) != 0 &&
            entry.rfind("PULSE_", 0) != 0 && entry.rfind("XDG_CONFIG_HOME=", 0) != 0)
            env.push_back(entry);
    }
    env.push_back("XDG_RUNTIME_DIR=" + runtimeDir);
    env.push_back("HOME=" + runtimeDir);
    env.push_back("XDG_CONFIG_HOME=" + runtimeDir + "config");
    const std::vector<std::string> args = {
        "pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disable-shm=yes",
        "--use-pid-file=no", "--log-target=stderr", "--log-level=error",
        "-L", "module-null-sink", "-L", "module-native-protocol-unix"};
    std::vector<char*> argv, envp;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    pid_t pid = -1;
    const int rc = ::posix_spawnp(&pid, "pulseaudio", nullptr, nullptr, argv.data(), envp.data());
    if (rc != 0) {
        m_error = std::string("cannot start pulseaudio: ") + std::strerror(rc);
        return;
    }
    m_pid = pid;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (std::chrono::steady_clock::now() < deadline) {
        if (IsSocket(m_socket)) {
            m_ok = true;
            return;
        }
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            m_error = "pulseaudio ended at start";
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    m_error = "pulseaudio made no socket in 15 s";
}

PrivateSoundServer::~PrivateSoundServer()
{
    if (m_pid <= 0)
        return;
    ::kill(m_pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(m_pid, SIGKILL);
    ::waitpid(m_pid, nullptr, 0);
}

std::string PrivateSoundServer::Address() const { return "unix:" + m_socket; }

std::string PrivateSoundServer::NowhereAddress(const std::string& runtimeDir)
{
    return "unix:" + runtimeDir + "no-sound-server";
}
