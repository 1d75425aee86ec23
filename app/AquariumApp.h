// SPDX-License-Identifier: MIT
#pragma once

#include "app/CommandLine.h"
#include "platform/InstanceLock.h"

#include <functional>
#include <memory>

class QApplication;
class CMainFrame;
class ControlBar;
class PreferencesChannel;
class ShellWiring;
class TerminationSignals;

// The application: the single-instance rule, the start-up sequence and the
// two ways the program ends.
class AquariumApp {
public:
    // Names of the two process-wide locks (single-instance rule).
    static constexpr const char* kFirstLockName = "FirstMyProject_Vemo";
    static constexpr const char* kAppLockName = "PloviFishScr";
    static constexpr const char* kAppName = "PloviFishScr";

    AquariumApp(QApplication& qtApp, const CommandLine& options);
    ~AquariumApp();

    // Runs the start-up sequence. Returns -1 when the program should go on
    // into the event loop, otherwise the exit code to end with now.
    int InitInstance();

    // Ends the process at once with the given code: Exit, Escape and the
    // termination signals all end here. Registered shutdown hooks (the
    // dialogs' settings savers) run first; nothing else does.
    [[noreturn]] static void EndProcess(int code);
    static void AddShutdownHook(std::function<void()> hook);

    // Milliseconds since the process entered main (for start-up reports).
    static double MillisecondsSinceStart();

private:
    QApplication& m_qtApp;
    CommandLine m_options;
    InstanceLock m_firstLock;
    InstanceLock m_appLock;
    std::unique_ptr<ControlBar> m_controlBar;
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<ShellWiring> m_wiring;   // after the frame: it connects the frame's view
    std::unique_ptr<TerminationSignals> m_signals;
    std::unique_ptr<PreferencesChannel> m_preferencesChannel;   // `plovi --preferences` reaches us here
};
