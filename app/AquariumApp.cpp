// SPDX-License-Identifier: MIT
#include "app/AquariumApp.h"

#include "app/MainFrame.h"
#include "app/PreferencesChannel.h"
#include "app/RunOptions.h"
#include "app/ShellWiring.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/RegistryProfile.h"
#include "platform/qt/TerminationSignals.h"
#include "settings/ProgramValues.h"
#include "ui/ControlBar.h"
#include "view/AquariumView.h"

#include <QApplication>
#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <unistd.h>
#if defined(PLOVI_SANITIZED)
#include <sanitizer/lsan_interface.h>
#endif
#include <vector>

namespace {

// Taken when the program's static objects are set up, just before main.
const std::chrono::steady_clock::time_point g_processStart = std::chrono::steady_clock::now();

std::vector<std::function<void()>>& ShutdownHooks()
{
    static std::vector<std::function<void()>> hooks;
    return hooks;
}

}  // namespace

AquariumApp::AquariumApp(QApplication& qtApp, const CommandLine& options)
    : m_qtApp(qtApp), m_options(options)
{
}

AquariumApp::~AquariumApp() = default;

int AquariumApp::InitInstance()
{
    // Single instance: a second start ends silently with code 0.
    const std::string lockDir = Paths::RuntimeDirectory();
    if (lockDir.empty()) {
        std::fprintf(stderr, "plovi: no usable runtime directory; running without the single-instance lock\n");
    } else {
        if (m_firstLock.Acquire(lockDir, kFirstLockName) == InstanceLock::Result::Busy)
            return 0;
        if (m_appLock.Acquire(lockDir, kAppLockName) == InstanceLock::Result::Busy)
            return 0;
    }

    QCoreApplication::setOrganizationName("Local AppWizard-Generated Applications");
    QCoreApplication::setApplicationName(kAppName);
    Program().musicVolume = ReadVolumeProfile();
    QtMessageBox::Install();

    // A logout, Ctrl-C or a closed terminal ends the program as Exit does.
    // Installed before the scene is built: a signal that comes during the
    // start-up waits in the event loop until the transient files are gone.
    m_signals = std::make_unique<TerminationSignals>([](int) { EndProcess(0); });
    m_controlBar = std::make_unique<ControlBar>();
    m_frame = std::make_unique<CMainFrame>(*m_controlBar);
    const int created = m_frame->OnCreate(m_options.reportFps);
    if (created != 0) {
        // No GL context: the message has been shown; never tick without a scene.
        return 1;
    }
    // Listening before the window shows: a `plovi --preferences` started by
    // anyone who sees the aquarium finds its socket. Its request waits there
    // until the dialog is wired up below.
    m_preferencesChannel = std::make_unique<PreferencesChannel>();
    const bool listening = m_preferencesChannel->Listen();
    m_frame->ShowMaximized();
    // The bar goes on top of the shown frame. Without a scene nothing would
    // act on its buttons, so it stays hidden then.
    if (m_frame->View()) {
        ApplyRunOptions(m_options, *m_frame->View());
        m_wiring = std::make_unique<ShellWiring>(*m_controlBar, *m_frame->View());
        if (m_options.logMusic)
            m_wiring->LogMusic();
        m_controlBar->ShowOver(*m_frame);
        QObject::connect(m_preferencesChannel.get(), &PreferencesChannel::preferencesRequested,
                         m_wiring.get(), &ShellWiring::ShowPreferences);
        m_preferencesChannel->Serve();
        if (!listening)
            std::fprintf(stderr, "plovi: plovi --preferences cannot reach this aquarium (no socket in the runtime directory); the P key still opens Preferences\n");
        // The aquarium, not its bar, has the keyboard at start.
        m_frame->TakeFocus();
    } else {
        m_preferencesChannel.reset();   // nothing here could show Preferences
    }
    return -1;
}

void AquariumApp::AddShutdownHook(std::function<void()> hook)
{
    ShutdownHooks().push_back(std::move(hook));
}

void AquariumApp::EndProcess(int code)
{
    // Nothing at the end waits for the user: a modal box here would keep a
    // logout's SIGTERM from ending the program. Messages go to standard
    // error instead.
    SetMessageBoxHandler(nullptr);
    for (auto& hook : ShutdownHooks())
        hook();
    std::fflush(nullptr);
#if defined(PLOVI_SANITIZED)
    // The sanitizer build checks for leaks here: what the windows and the
    // scene still hold is reachable and not reported; anything lost is, and
    // the check then ends the process with its own failing exit code.
    __lsan_do_leak_check();
#endif
    // _exit: no static destructors run against live windows and GL state.
    ::_exit(code);
}

double AquariumApp::MillisecondsSinceStart()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - g_processStart).count();
}
