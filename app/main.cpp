// SPDX-License-Identifier: MIT
#include "app/AquariumApp.h"
#include "app/CommandLine.h"
#include "app/PreferencesChannel.h"
#include "app/ScreensaverHost.h"
#include "app/ScreensaverTarget.h"
#include "platform/RasterThreads.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/XServerLoss.h"
#include "ui/PreferencesDialog.h"

#include <QApplication>
#include <xcb/xcb.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool HasPlatformOption(const std::vector<std::string>& args)
{
    for (const std::string& a : args)
        if (a == "-platform" || a.rfind("-platform=", 0) == 0)
            return true;
    return false;
}

// On a Wayland desktop the program runs through XWayland: the control bar's
// absolute position and shape and the screensaver protocol are X11 features.
// A platform the user chose (QT_QPA_PLATFORM, -platform) is kept.
void PreferX11OnWayland(const std::vector<std::string>& args)
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((platform && *platform) || HasPlatformOption(args))
        return;
    if (wayland && *wayland)
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
}

// QApplication aborts when it cannot reach a display; say so plainly instead.
// Returns false when no display can be reached. The probe connection (if one
// was made) is handed back open in `probe`: an X server may refuse a client
// that connects right after another one of the same process disconnected,
// so it is closed only once Qt has its own connection.
bool DisplayAvailable(const std::vector<std::string>& args, xcb_connection_t*& probe)
{
    probe = nullptr;
    if (HasPlatformOption(args))
        return true;
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform && std::string(platform).rfind("xcb", 0) != 0 &&
        std::string(platform).rfind("wayland", 0) != 0)
        return true;
    const bool x11 = platform && std::string(platform).rfind("xcb", 0) == 0;
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (!x11 && wayland && *wayland)
        return true;
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display)
        return false;
    // Set but unreachable (server gone, no permission) is just as fatal.
    probe = xcb_connect(nullptr, nullptr);
    return xcb_connection_has_error(probe) == 0;
}

// The sound server lists the program under its own name, not the audio
// library's; a name the user set in the environment is kept.
void NameForTheSoundServer()
{
    ::setenv("PULSE_PROP_OVERRIDE_application.name", "Plovi Aquarium", 0);
    ::setenv("PULSE_PROP_OVERRIDE_application.icon_name", "plovi", 0);
}

// `plovi --preferences`: the running aquarium shows its Preferences, or,
// with none running, the dialog runs alone and saves to the settings file.
int RunPreferences()
{
    if (PreferencesChannel::AskRunningAquarium())
        return 0;
    QtMessageBox::Install();
    PreferencesDialog dialog;
    dialog.exec();
    dialog.SaveSettings();
    return 0;
}

const char kHelp[] =
    "%s\n\nA full-screen animated aquarium.\n\n"
    "  --fps             show the measured frame rate: on the picture in screensaver\n"
    "                    mode, else on standard error once a second\n"
    "  --music-log       print each track of your own music as it starts, and its\n"
    "                    length, to standard error\n"
    "  --delay US        microseconds between two frames (default 20000)\n"
    "  --fish N          N fish (0-20), one of each of the first N species\n"
    "  --light N         light, 0 (full) to 100 (dark)\n"
    "  --fog N           fog, 0 (densest) to 25 (none)\n"
    "                    (--fish, --light and --fog are for this run only: the\n"
    "                    settings file is not changed)\n"
    "  --root            run as a screensaver on the root window (or the virtual root)\n"
    "  --window-id ID    run as a screensaver inside the window ID (decimal or 0x hex);\n"
    "                    XSCREENSAVER_WINDOW in the environment means the same, and\n"
    "                    either wins over --root\n"
    "  --preferences     show Preferences (light, fog, background, the tune's volume):\n"
    "                    in the running aquarium, or alone when none runs\n"
    "  --help            show this help and exit\n"
    "  --version         show the version and exit\n\n"
    "As a screensaver it shows the scene alone and only reads the settings.\n"
    "Escape ends the program; P opens Preferences.\n"
    "Settings: $XDG_CONFIG_HOME/plovi/PloviSet.ini (man plovi lists every key)\n";

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv, argv + argc);
    const CommandLine options = CommandLine::Parse(args);
    switch (options.action) {
    case CommandLine::Action::Help:
        std::printf(kHelp, CommandLine::Usage());
        return 0;
    case CommandLine::Action::Version:
        std::printf("plovi %s\n", PLOVI_VERSION);
        return 0;
    case CommandLine::Action::Error:
        std::fprintf(stderr, "plovi: %s\n%s\n", options.error.c_str(), CommandLine::Usage());
        return 2;
    case CommandLine::Action::Run:
    case CommandLine::Action::Preferences:
        break;
    }
    const ScreensaverTarget target = ScreensaverTarget::Resolve(options, std::getenv("XSCREENSAVER_WINDOW"));
    if (target.kind == ScreensaverTarget::Kind::Invalid) {
        std::fprintf(stderr, "plovi: %s\n", target.error.c_str());
        return 1;
    }
    NameForTheSoundServer();
    LeaveACoreForTheFrameLoop();
    PreferX11OnWayland(args);
    xcb_connection_t* probe = nullptr;
    if (!DisplayAvailable(args, probe)) {
        if (probe)
            xcb_disconnect(probe);
        const char* display = std::getenv("DISPLAY");
        if (display && *display)
            std::fprintf(stderr, "plovi: cannot open display %s; cannot show the aquarium\n", display);
        else
            std::fprintf(stderr, "plovi: no display (DISPLAY is not set); cannot show the aquarium\n");
        return 1;
    }

    QApplication qtApp(argc, argv);
    if (probe)
        xcb_disconnect(probe);
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        XServerLoss::Install();
    if (options.action == CommandLine::Action::Preferences)
        return RunPreferences();
    if (target.kind != ScreensaverTarget::Kind::None) {
        ScreensaverHost host(target, options);
        const int early = host.Start();
        return early >= 0 ? early : qtApp.exec();
    }
    AquariumApp app(qtApp, options);
    const int early = app.InitInstance();
    if (early >= 0)
        return early;
    return qtApp.exec();
}
