// SPDX-License-Identifier: MIT
// plovi-player: the aquarium's music player process. The aquarium starts it
// beside itself and talks to it over its standard input and output (see
// sound/PlayerHelper.h); it is not meant to be run by hand. The user's music
// files are decoded here, so a decoder that crashes or hangs on a damaged
// file takes down this process only.
#include "sound/PlayerHelper.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace {
constexpr rlim_t kDataLimitBytes = rlim_t(1) << 30;
}

int main(int argc, char** argv)
{
#ifdef __linux__
    // A player whose aquarium died (even by SIGKILL) goes with it, also when
    // a decoder thread holds the event loop so the closed input is never seen.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
    // The aquarium names itself; when it is no longer the parent it died
    // before the line above took effect.
    if (argc != 2 || std::strtoll(argv[1], nullptr, 10) != ::getppid()) {
        std::fprintf(stderr, "plovi-player: the aquarium's music player, started by plovi only\n");
        return 2;
    }
#ifndef PLOVI_SANITIZED
    // A decoder that asks for memory without end meets a failed allocation
    // (and this process its end) long before the desktop runs short; playing
    // takes about 140 MB. A sanitizer's shadow memory needs far more.
    rlimit data {};
    if (::getrlimit(RLIMIT_DATA, &data) == 0 && data.rlim_cur > kDataLimitBytes) {
        data.rlim_cur = kDataLimitBytes;
        ::setrlimit(RLIMIT_DATA, &data);
    }
#endif
    // A write to an aquarium that is gone fails instead of killing silently.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication app(argc, argv);
    PlayerHelper helper(STDIN_FILENO, STDOUT_FILENO);
    QObject::connect(&helper, &PlayerHelper::finished, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    return app.exec();
}
