#pragma once

#include "tests/e2e/E2eHarness.h"
#include "tests/support/TestEnvironment.h"

#include <memory>

// The aquarium as a user sees it: the real binary on a virtual screen, with
// its own empty settings, runtime and home directories.
class AquariumSession {
public:
    explicit AquariumSession(const VirtualScreen& screen);

    // The environment the program gets: this session's directories, the
    // screen's display. Overrides replace or (nullopt) unset single names.
    Process::Env Environment(const Process::Env& overrides = {}) const;

    // Starts plovi with the given arguments.
    std::unique_ptr<Process> Start(const std::vector<std::string>& args = {},
                                   const Process::Env& overrides = {}) const;

    // Waits until the aquarium's frame window is visible on the screen.
    bool WaitForWindow(double timeoutSeconds = 15) const;

    const std::string& ConfigDir() const { return m_configDir; }    // $XDG_CONFIG_HOME
    const std::string& RuntimeDir() const { return m_runtimeDir; }  // $XDG_RUNTIME_DIR
    const std::string& TmpDir() const { return m_tmpDir; }          // an empty directory for $TMPDIR

    static constexpr const char* kWindowName = "PloviFishScr";

private:
    const VirtualScreen& m_screen;
    TempDir m_root;
    std::string m_configDir;
    std::string m_runtimeDir;
    std::string m_homeDir;
    std::string m_tmpDir;
};
