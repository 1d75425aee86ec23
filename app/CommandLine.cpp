// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"

#include <cstdlib>

namespace {
// Options QApplication understands itself; each name takes one value unless
// it is written name=value.
const char* const kQtOptionsWithValue[] = {"-platform", "-platformpluginpath", "-platformtheme",
                                           "-plugin", "-qmljsdebugger", "-display", "-geometry",
                                           "-style", "-stylesheet", "-session", "-name", "-title"};
const char* const kQtFlags[] = {"-reverse", "-widgetcount", "-nograb", "-dograb", "-sync"};

// The options with a whole-number value, their range and where it goes.
struct NumberOption {
    const char* name;   // without dashes
    int min, max;
    std::optional<int>& (*field)(CommandLine&);
};
const NumberOption kNumberOptions[] = {
    {"delay", 0, CommandLine::kMaxDelayUs, [](CommandLine& c) -> std::optional<int>& { return c.delayUs; }},
    {"fish", 0, 20, [](CommandLine& c) -> std::optional<int>& { return c.overrides.fish; }},
    {"light", 0, 100, [](CommandLine& c) -> std::optional<int>& { return c.overrides.light; }},
    {"fog", 0, 25, [](CommandLine& c) -> std::optional<int>& { return c.overrides.fog; }},
};

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

// "--name", "-name" or "--name=...": the option's name; "" for anything else.
std::string OptionName(const std::string& arg, std::string* inlineValue, bool* hasInline)
{
    std::size_t start = arg.rfind("--", 0) == 0 ? 2 : arg.rfind("-", 0) == 0 ? 1 : 0;
    if (start == 0)
        return {};
    const std::size_t equals = arg.find('=');
    *hasInline = equals != std::string::npos && start == 2;
    if (*hasInline)
        *inlineValue = arg.substr(equals + 1);
    return arg.substr(start, *hasInline ? equals - start : std::string::npos);
}

// Decimal digits only, at most nine of them.
std::optional<int> WholeNumber(const std::string& text)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::atoi(text.c_str());
}

}  // namespace

const char* CommandLine::Usage()
{
    return "Usage: plovi [--fps] [--music-log] [--delay US] [--fish N] [--light N] [--fog N] [--root]"
           " [--window-id ID] | --preferences | --help | --version";
}

CommandLine CommandLine::Parse(const std::vector<std::string>& args)
{
    CommandLine result;
    bool preferences = false;
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
        if (IsQtOption(arg, takesValue)) {
            if (takesValue)
                ++i;
            continue;
        }
        std::string value;
        bool hasInline = false;
        const std::string name = OptionName(arg, &value, &hasInline);
        if (name == "fps" || name == "root" || name == "preferences" || name == "music-log") {
            if (hasInline)
                return Failed("--" + name + " takes no value");
            (name == "fps"           ? result.reportFps
             : name == "root"        ? result.root
             : name == "music-log"   ? result.logMusic
                                     : preferences) = true;
            continue;
        }
        const bool windowId = name == "window-id";
        const NumberOption* number = nullptr;
        for (const NumberOption& o : kNumberOptions)
            if (name == o.name)
                number = &o;
        if (!windowId && !number)
            return Failed("unknown option: " + arg);
        if (!hasInline) {
            if (i + 1 == args.size())
                return Failed("--" + name + (windowId ? " needs a window id" : " needs a number"));
            value = args[++i];
        }
        if (windowId) {
            result.windowIdGiven = true;
            result.windowId = value;
            continue;
        }
        const std::optional<int> n = WholeNumber(value);
        if (!n || *n < number->min || *n > number->max)
            return Failed("--" + name + " takes a whole number from " + std::to_string(number->min) + " to " +
                          std::to_string(number->max) + ", not \"" + value + "\"");
        number->field(result) = n;
    }
    if (preferences) {
        if (result.Screensaver())
            return Failed("--preferences cannot be used with --root or --window-id");
        result.action = Action::Preferences;
    }
    return result;
}
