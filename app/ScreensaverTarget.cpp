// SPDX-License-Identifier: MIT
#include "app/ScreensaverTarget.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace {

ScreensaverTarget WindowFrom(const std::string& text, const char* source)
{
    ScreensaverTarget target;
    if (const auto id = ScreensaverTarget::ParseWindowId(text)) {
        target.kind = ScreensaverTarget::Kind::Window;
        target.window = *id;
    } else {
        target.kind = ScreensaverTarget::Kind::Invalid;
        target.error = std::string(source) + " \"" + text +
                       "\" is not a window id (a decimal or 0x hexadecimal number other than 0)";
    }
    return target;
}

}  // namespace

std::optional<std::uint32_t> ScreensaverTarget::ParseWindowId(const std::string& text)
{
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = hex ? text.substr(2) : text;
    if (digits.empty() || digits.size() > 10)
        return std::nullopt;
    for (char c : digits) {
        const bool ok = hex ? std::isxdigit(static_cast<unsigned char>(c)) : (c >= '0' && c <= '9');
        if (!ok)
            return std::nullopt;
    }
    errno = 0;
    const unsigned long long value = std::strtoull(digits.c_str(), nullptr, hex ? 16 : 10);
    if (errno != 0 || value == 0 || value > 0xFFFFFFFFull)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

ScreensaverTarget ScreensaverTarget::Resolve(const CommandLine& options, const char* envWindow)
{
    if (options.windowIdGiven)
        return WindowFrom(options.windowId, "--window-id");
    if (envWindow && *envWindow)
        return WindowFrom(envWindow, "XSCREENSAVER_WINDOW");
    ScreensaverTarget target;
    if (options.root)
        target.kind = Kind::Root;
    return target;
}
