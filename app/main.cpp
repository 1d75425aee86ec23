#include "app/AquariumApp.h"
#include "app/CommandLine.h"

#include <QApplication>
#include <xcb/xcb.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// QApplication aborts when it cannot reach a display; say so plainly instead.
// Returns false when no display can be reached. The probe connection (if one
// was made) is handed back open in `probe`: an X server may refuse a client
// that connects right after another one of the same process disconnected,
// so it is closed only once Qt has its own connection.
bool DisplayAvailable(const std::vector<std::string>& args, xcb_connection_t*& probe)
{
    probe = nullptr;
    for (const std::string& a : args)
        if (a == "-platform")
            return true;
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform && std::string(platform).rfind("xcb", 0) != 0 &&
        std::string(platform).rfind("wayland", 0) != 0)
        return true;
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (wayland && *wayland)
        return true;
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display)
        return false;
    // Set but unreachable (server gone, no permission) is just as fatal.
    probe = xcb_connect(nullptr, nullptr);
    return xcb_connection_has_error(probe) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv, argv + argc);
    const CommandLine options = CommandLine::Parse(args);
    switch (options.action) {
    case CommandLine::Action::Help:
        std::printf("%s\n\nA full-screen animated aquarium.\n\n"
                    "  --fps       print the measured frame rate to standard error once a second\n"
                    "  --help      show this help and exit\n"
                    "  --version   show the version and exit\n\n"
                    "Escape ends the program. Settings: $XDG_CONFIG_HOME/plovi/PloviSet.ini\n",
                    CommandLine::Usage());
        return 0;
    case CommandLine::Action::Version:
        std::printf("plovi %s\n", PLOVI_VERSION);
        return 0;
    case CommandLine::Action::Error:
        std::fprintf(stderr, "plovi: %s\n%s\n", options.error.c_str(), CommandLine::Usage());
        return 2;
    case CommandLine::Action::Run:
        break;
    }
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
    AquariumApp app(qtApp, options);
    const int early = app.InitInstance();
    if (early >= 0)
        return early;
    return qtApp.exec();
}
