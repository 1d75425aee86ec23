// SPDX-License-Identifier: MIT
#include "platform/qt/XServerLoss.h"

#include <QString>
#include <QtGlobal>
#include <X11/Xlib.h>
#include <atomic>
#include <unistd.h>

namespace {

std::atomic<bool> g_qtSaidIt{false};
QtMessageHandler g_previous = nullptr;

void Observe(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("X11 connection broke")))
        g_qtSaidIt = true;
    if (g_previous)
        g_previous(type, context, message);
}

// Called by Xlib for a connection it cannot use any more; must not return.
// Only async-signal-safe calls: it may run inside Qt's own exit.
int OnFatalIoError(Display*)
{
    if (!g_qtSaidIt) {
        static const char line[] = "plovi: the X11 connection broke: the X server went away\n";
        [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line, sizeof line - 1);
    }
    ::_exit(1);
}

}  // namespace

void XServerLoss::Install()
{
    g_previous = qInstallMessageHandler(Observe);
    XSetIOErrorHandler(OnFatalIoError);
}
