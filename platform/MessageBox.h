// SPDX-License-Identifier: MIT
#pragma once
#include <functional>
#include <string>

// Every message the program shows to the user goes through ShowMessageBox.
// The Qt shell installs a handler that opens a modal box; tests install one
// that records the call, so a modal box can never hang a test. Without any
// handler the text goes to standard error.
enum class MessageIcon { None, Exclamation };
using MessageBoxHandler =
    std::function<void(const std::string& text, const std::string& caption, MessageIcon icon)>;

void ShowMessageBox(const std::string& text, const std::string& caption,
                    MessageIcon icon = MessageIcon::None);
// Replaces the handler; returns the previous one so callers can restore it.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
