// SPDX-License-Identifier: MIT
#include "platform/MessageBox.h"

#include <cstdio>
#include <utility>

namespace {
MessageBoxHandler& Handler()
{
    static MessageBoxHandler handler;
    return handler;
}
}

void ShowMessageBox(const std::string& text, const std::string& caption, MessageIcon icon)
{
    if (Handler()) {
        Handler()(text, caption, icon);
        return;
    }
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler)
{
    return std::exchange(Handler(), std::move(handler));
}
