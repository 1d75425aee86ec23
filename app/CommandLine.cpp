#include "app/CommandLine.h"

namespace {
// Options QApplication understands itself; each name takes one value unless
// it is written name=value.
const char* const kQtOptionsWithValue[] = {"-platform", "-platformpluginpath", "-platformtheme",
                                           "-plugin", "-qmljsdebugger", "-display", "-geometry",
                                           "-style", "-stylesheet", "-session", "-name", "-title"};
const char* const kQtFlags[] = {"-reverse", "-widgetcount", "-nograb", "-dograb", "-sync"};

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
    return "Usage: plovi [--fps] [--help] [--version]";
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
        } else if (IsQtOption(arg, takesValue)) {
            if (takesValue)
                ++i;
        } else {
            result.action = Action::Error;
            result.error = "unknown option: " + arg;
            return result;
        }
    }
    return result;
}
