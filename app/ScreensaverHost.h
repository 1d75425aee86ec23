// SPDX-License-Identifier: MIT
#pragma once

#include "app/CommandLine.h"
#include "app/ScreensaverTarget.h"

#include <QAbstractNativeEventFilter>
#include <QSize>
#include <cstdint>
#include <memory>

class AquariumView;
class QWindow;
struct xcb_connection_t;

// Runs the aquarium as a screensaver module: the view (and with it the scene
// and its frame loop) as a child window inside a window another program owns,
// or covering the root window. The view fills the host window and follows its
// size, up to what the GL implementation can draw and the screen can show
// (DrawableSize); a larger host keeps its own background beyond the view,
// which stands at its top-left corner. When the host window is destroyed, or
// on SIGTERM, SIGINT or SIGHUP,
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

    // The view's size in a host of the given size (device pixels): no wider
    // or taller than the largest drawable the GL implementation supports
    // (glLimit) nor than the screen (the root window, of which no more can
    // ever be seen), and at least 1 x 1. An empty glLimit or screen limits
    // nothing.
    static QSize DrawableSize(const QSize& host, const QSize& glLimit, const QSize& screen);

private:
    std::uint32_t FindHostWindow() const;
    bool WatchHostWindow();
    int Fail(const std::string& message) const;
    // Sizes the view for a host of the given size (device pixels).
    void FitView(int hostWidth, int hostHeight);

    ScreensaverTarget m_target;
    CommandLine m_options;
    xcb_connection_t* m_connection = nullptr;
    std::uint32_t m_host = 0;       // the window drawn into
    bool m_coversRoot = false;      // the host is the real root: the view is a top-level window
    QSize m_glLimit;                // see AquariumView::MaxDrawableSize
    QSize m_screen;                 // the root window's size
    std::unique_ptr<QWindow> m_hostWindow;
    std::unique_ptr<AquariumView> m_view;
};
