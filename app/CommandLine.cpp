#include "app/CommandLine.h"

namespace {
// Options QApplication understands itself; each name takes one value unless
// it is written name=value.
const char* const kQtOptionsWithValue[] = {"-platform", "-platformpluginpath", "-platformtheme",
                                           "-plugin", "-qmljsdebugger", "-display", "-geometry",
                                           "-style", "-stylesheet", "-session", "-name", "-title"};
const char* const kQtFlags[] = {"-reverse", "-widgetcount", "-nograb", "-dograb", "-sync"};

CommandLine Failed(const std::string& message)
{
    CommandLine result;
    result.action = CommandLine::Action::Error;
    result.error = message;
    return result;
}

bool IsQtOption(const std::string& arg, bool& takesValue)
{
    for (const char* o : kQtOptionsWithValue)
        if (arg == o) {
            takesValue = true;
            return true;
        }
    for (const char* o : kQtFlags)
        if (arg == o)
            return true;
    return false;
}
}  // namespace

const char* CommandLine::Usage()
{
    return "Usage: plovi [--fps] [--music-log] [--root | --window-id ID] [--help] [--version]";
}

CommandLine CommandLine::Parse(const std::vector<std::string>& args)
{
    CommandLine result;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool takesValue = false;
        if (arg == "--help" || arg == "-h") {
            result.action = Action::Help;
            return result;
        }
        if (arg == "--version") {
            result.action = Action::Version;
            return result;
        }
        if (arg == "--fps") {
            result.reportFps = true;
        } else if (arg == "--music-log") {
            result.logMusic = true;
        } else if (arg == "--root" || arg == "-root") {
            // The single-dash spelling is the screensaver daemon's custom.
            result.root = true;
        } else if (arg == "--window-id" || arg == "-window-id") {
            if (i + 1 == args.size())
                return Failed("--window-id needs a window id");
            result.windowIdGiven = true;
            result.windowId = args[++i];
        } else if (arg.rfind("--window-id=", 0) == 0) {
            result.windowIdGiven = true;
            result.windowId = arg.substr(std::string("--window-id=").size());
        } else if (IsQtOption(arg, takesValue)) {
            if (takesValue)
                ++i;
        } else {
            return Failed("unknown option: " + arg);
        }
    }
    if (result.root && result.windowIdGiven)
        return Failed("--root and --window-id cannot be used together");
    return result;
}
