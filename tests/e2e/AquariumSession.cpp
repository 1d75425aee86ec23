// SPDX-License-Identifier: MIT
#include "tests/e2e/AquariumSession.h"

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

AquariumSession::AquariumSession(const VirtualScreen& screen) : m_screen(screen)
{
    m_configDir = m_root.Path() + "config";
    m_runtimeDir = m_root.Path() + "runtime";
    m_homeDir = m_root.Path() + "home";
    m_tmpDir = m_root.Path() + "tmp";
    m_workDir = m_root.Path() + "work";
    ::mkdir(m_tmpDir.c_str(), 0700);
    ::mkdir(m_workDir.c_str(), 0700);
    ::mkdir(m_runtimeDir.c_str(), 0700);
    ::mkdir(m_homeDir.c_str(), 0700);
}

Process::Env AquariumSession::Environment(const Process::Env& overrides) const
{
    Process::Env env = {
        {"DISPLAY", m_screen.Display()},
        {"XDG_CONFIG_HOME", m_configDir},
        {"XDG_RUNTIME_DIR", m_runtimeDir},
        {"HOME", m_homeDir},
        {"QT_QPA_PLATFORM", std::nullopt},
        {"WAYLAND_DISPLAY", std::nullopt},
        // Every session has a fresh home, where GStreamer would rebuild its
        // plugin registry at each start (1.5 s of CPU before the window);
        // one registry beside the binary serves them all.
        {"GST_REGISTRY", std::string(PLOVI_BINARY) + "-e2e-gst-registry.bin"},
    };
    for (const auto& [name, value] : overrides)
        env[name] = value;
    return env;
}

std::unique_ptr<Process> AquariumSession::Start(const std::vector<std::string>& args,
                                                const Process::Env& overrides) const
{
    std::vector<std::string> argv = {PLOVI_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    return std::make_unique<Process>(argv, Environment(overrides), m_workDir);
}

void AquariumSession::WriteSettings(const std::string& text) const
{
    std::filesystem::create_directories(m_configDir + "/plovi");
    std::ofstream(SettingsPath(), std::ios::binary) << text;
}

std::string DarkTankSettings(const std::vector<int>& counts)
{
    std::string text = "[Aquarium Settings]\nBACKGROUND=1\n[Fish Number]\n";
    for (int i = 0; i < 20; ++i)
        text += "Fish" + std::to_string(i) + "=" + std::to_string(i < int(counts.size()) ? counts[i] : 0) + "\n";
    return text;
}

bool AquariumSession::WaitForWindow(const Process& plovi, double timeoutSeconds, const std::string& name) const
{
    const std::string pid = std::to_string(plovi.Pid());
    return WaitUntil(
        [&] {
            CommandResult r = m_screen.Tool(
                {"xdotool", "search", "--onlyvisible", "--pid", pid, "--name", name});
            return r.exitCode == 0 && !r.out.empty();
        },
        timeoutSeconds);
}

std::optional<CommandResult> AquariumSession::PressKeyUntilExit(Process& plovi, const std::string& key) const
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        m_screen.Tool({"xdotool", "key", key});
        if (auto result = plovi.Wait(1.0))
            return result;
    }
    return std::nullopt;
}
