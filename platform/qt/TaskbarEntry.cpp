// SPDX-License-Identifier: MIT
#include "platform/qt/TaskbarEntry.h"

#include <QGuiApplication>
#include <QWindow>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

void TaskbarEntry::Skip(QWindow& window)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display || !window.handle())
        return;
    const ::Window id = ::Window(window.winId());
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    Atom skip[2] = {XInternAtom(display, "_NET_WM_STATE_SKIP_TASKBAR", False),
                    XInternAtom(display, "_NET_WM_STATE_SKIP_PAGER", False)};
    // Replaced, not appended: on an unmapped window the program owns the
    // property, and Qt adds its own states to it when it maps the window.
    XChangeProperty(display, id, state, XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(skip), 2);
    XFlush(display);
}
