// SPDX-License-Identifier: MIT
#pragma once

#include "tests/e2e/E2eHarness.h"
#include "tests/support/TestEnvironment.h"

#include <memory>

// The aquarium as a user sees it: the real binary on a virtual screen, with
// its own empty settings, runtime and home directories, started in an empty
// working directory of its own (so a file it writes to "./" stays in the
// session's tree).
class AquariumSession {
public:
    explicit AquariumSession(const VirtualScreen& screen);

    // The environment the program gets: this session's directories, the
    // screen's display. Overrides replace or (nullopt) unset single names.
    Process::Env Environment(const Process::Env& overrides = {}) const;

    // Starts plovi with the given arguments.
    std::unique_ptr<Process> Start(const std::vector<std::string>& args = {},
                                   const Process::Env& overrides = {}) const;

    // Waits until a visible window of this program (named after it, or
    // matching `name`, and carrying its process id) is on the screen, so a
    // window of an earlier run that is still going away never counts.
    bool WaitForWindow(const Process& plovi, double timeoutSeconds = 15, const std::string& name = kWindowName) const;

    // Presses a key for the program and waits for it to end; the key is
    // pressed again (up to three times) while the window is still taking the
    // keyboard focus after it appeared.
    std::optional<CommandResult> PressKeyUntilExit(Process& plovi, const std::string& key) const;

    // The settings file the program reads, and writing it before a start.
    std::string SettingsPath() const { return m_configDir + "/plovi/PloviSet.ini"; }
    void WriteSettings(const std::string& text) const;

    const std::string& ConfigDir() const { return m_configDir; }    // $XDG_CONFIG_HOME
    const std::string& RuntimeDir() const { return m_runtimeDir; }  // $XDG_RUNTIME_DIR
    const std::string& TmpDir() const { return m_tmpDir; }          // an empty directory for $TMPDIR
    const std::string& WorkDir() const { return m_workDir; }        // the program's working directory
    const std::string& HomeDir() const { return m_homeDir; }        // $HOME
    const std::string& RootDir() const { return m_root.Path(); }    // holds all of the above; ends with '/'

    static constexpr const char* kWindowName = "PloviFishScr";

private:
    const VirtualScreen& m_screen;
    TempDir m_root;
    std::string m_configDir;
    std::string m_runtimeDir;
    std::string m_homeDir;
    std::string m_tmpDir;
    std::string m_workDir;
};

// Settings for a black tank (no background picture, so every lit pixel is a
// fish, a flake or a window) with counts[i] fish of species i, none of the
// species past the list.
std::string DarkTankSettings(const std::vector<int>& counts = {});
