// SPDX-License-Identifier: MIT
#pragma once

class QWindow;

// A window that belongs to its application's main window on the desktop
// (the control bar, the modeless dialogs): it gets no task-bar or pager
// entry of its own, so the program shows as one task. On X11 these are the
// EWMH states _NET_WM_STATE_SKIP_TASKBAR and _NET_WM_STATE_SKIP_PAGER, set
// on the unmapped window; Qt keeps them when it writes its own states.
class TaskbarEntry {
public:
    // Call once the native window exists and before each show (a window
    // manager drops the states of a window that was hidden). Does nothing
    // on other platforms.
    static void Skip(QWindow& window);
};
