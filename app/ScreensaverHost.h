#pragma once

#include "app/CommandLine.h"
#include "app/ScreensaverTarget.h"

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <memory>

class AquariumView;
class QWindow;
struct xcb_connection_t;

// Runs the aquarium as a screensaver module: the view (and with it the scene
// and its frame loop) as a child window inside a window another program owns,
// or covering the root window. The view fills the host window and follows its
// size; when the host window is destroyed, or on SIGTERM, SIGINT or SIGHUP,
// the process ends at once with code 0. Nothing else of the program is made:
// no control bar, dialogs, music, lock or keys.
class ScreensaverHost : public QAbstractNativeEventFilter {
public:
    // options: the run's frame rate, period and settings overrides.
    ScreensaverHost(const ScreensaverTarget& target, const CommandLine& options);
    ~ScreensaverHost() override;

    // Needs the QGuiApplication. Returns -1 when the program should go on
    // into the event loop, otherwise the exit code to end with now (after one
    // line on standard error).
    int Start();

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    std::uint32_t FindHostWindow() const;
    bool WatchHostWindow();
    int Fail(const std::string& message) const;

    ScreensaverTarget m_target;
    CommandLine m_options;
    xcb_connection_t* m_connection = nullptr;
    std::uint32_t m_host = 0;       // the window drawn into
    bool m_coversRoot = false;      // the host is the real root: the view is a top-level window
    std::unique_ptr<QWindow> m_hostWindow;
    std::unique_ptr<AquariumView> m_view;
};
