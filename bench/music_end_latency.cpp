// SPDX-License-Identifier: MIT
// How late the music dialog finds the end of a track. Twenty 500 ms tracks
// play in Repeat All; an observer polls the player every 2 ms and notes when
// its position first reaches the track's length, and the dialog's start of
// the next track is timed against that. Also reported: each track's wall time
// from start to the next start, beyond its 500 ms.
//
//   music_end_latency [--server]   (--server: through a private PulseAudio
//                                   null sink; default: no sound server)
#include "settings/ProgramValues.h"
#include "settings/SettingsFile.h"
#include "sound/MusicDialog.h"
#include "sound/MusicSettings.h"
#include "sound/PlayerProcess.h"
#include "tests/support/SoundWorld.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/ToneFile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <numeric>
#include <vector>

namespace {

constexpr int kTracks = 20;
constexpr int kTrackMs = 500;


void Report(const char* what, std::vector<double> v)
{
    if (v.empty())
        return;
    const double mean = std::accumulate(v.begin(), v.end(), 0.0) / double(v.size());
    std::printf("%-44s mean %7.1f ms  worst %7.1f ms  (n=%zu)\n", what, mean,
                *std::max_element(v.begin(), v.end()), v.size());
}

}  // namespace

int main(int argc, char** argv)
{
    const bool withServer = argc > 1 && std::strcmp(argv[1], "--server") == 0;
    const SoundWorld world(withServer);
    if (!world.Ok()) {
        std::fprintf(stderr, "%s\n", world.Error().c_str());
        return 1;
    }
    TempDir tracks;

    MusicSettings list;
    list.ownMusic = true;
    list.repeatAll = true;
    for (int i = 0; i < kTracks; ++i) {
        list.tracks.push_back(tracks.Path() + "track" + std::to_string(i) + ".wav");
        WriteToneFile(list.tracks.back(), kTrackMs);
    }
    {
        SettingsFile file;
        list.Write(file);
        file.Save();
    }

    QApplication app(argc, argv);
    PlayerProcess::SetProgram(PLOVI_PLAYER_BINARY);
    QElapsedTimer clock;
    clock.start();
    std::vector<double> starts, endSeen;  // ms
    double sawEndAt = -1;
    std::vector<double> lateness, overrun;

    MusicDialog* dialog = nullptr;
    QTimer observer;
    observer.setTimerType(Qt::PreciseTimer);
    observer.setInterval(2);
    QObject::connect(&observer, &QTimer::timeout, [&] {
        MciPlayer& p = dialog->Player();
        if (sawEndAt < 0 && p.Length() > 0 && (p.AtEnd() || p.Position() >= p.Length()))
            sawEndAt = double(clock.nsecsElapsed()) / 1e6;
    });
    auto onStart = [&](int) {
        const double now = double(clock.nsecsElapsed()) / 1e6;
        if (!starts.empty()) {
            overrun.push_back(now - starts.back() - kTrackMs);
            // The dialog may act on the player's end-of-file before the
            // observer's next poll has seen it: that is no lateness.
            lateness.push_back(sawEndAt < 0 ? 0.0 : now - sawEndAt);
        }
        starts.push_back(now);
        sawEndAt = -1;
        if (int(starts.size()) > kTracks)
            app.quit();
    };
    // The dialog starts the list as it is made; time from there.
    dialog = new MusicDialog;
    QObject::connect(dialog, &MusicDialog::trackStarted, onStart);
    onStart(0);
    observer.start();
    QTimer::singleShot(120000, &app, &QCoreApplication::quit);
    app.exec();

    std::printf("%s, %d tracks of %d ms\n", withServer ? "private PulseAudio null sink" : "no sound server",
                kTracks, kTrackMs);
    Report("end found after the player reached it", lateness);
    Report("wall time beyond the track's length", overrun);
    delete dialog;
    return 0;
}
