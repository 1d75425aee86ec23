// SPDX-License-Identifier: MIT
// Wall time of the start-up settings reader in a temporary settings
// directory: a first run (creates the file with 47 keys, one atomic write), a
// normal start (every key present, nothing written) and a start on a file
// with a 10 MB garbage line. For scale it also times the same first run done
// key by key, each write a full read and atomic rewrite of the file.
// Last, a damaged 50 MB file of three million short lines without the
// program's keys: the first start on it (every default written back) and a
// second one, each in a child process whose peak resident memory is given
// against an idle child's.
//
//   settings_benchmark [RUNS]     (default 20)
#include "platform/MsvcRandom.h"
#include "settings/PrivateProfile.h"
#include "settings/ReadSettings.h"
#include "settings/SettingsFile.h"
#include "tests/support/TestEnvironment.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double WallSeconds()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

template <typename Setup, typename Work>
double MillisecondsPerRun(int runs, Setup setup, Work work)
{
    double total = 0.0;
    for (int i = 0; i < runs; ++i) {
        setup();
        const double start = WallSeconds();
        work();
        total += WallSeconds() - start;
    }
    return total * 1000.0 / runs;
}

// The first run's 47 keys written one at a time, as separate accesses.
void FirstRunKeyByKey(const std::string& path)
{
    const char* aquarium[] = {"Show Water", "Show Light", "Show Terra", "FRONT GUDING", "FRONTCOLOR",
                              "FRONT MANJIANBIAN", "FRONT COLOR1", "FRONT COLOR2", "FRONT AUTOJIANBIAN",
                              "CHECK LOCKFORE", "LOCKFORE ROT", "BACK GUDING", "BACKCOLOR",
                              "BACK MANJIANBIAN", "BACK COLOR1", "BACK COLOR2", "BACK AUTOJIANBIAN",
                              "CHECK LOCKBACK", "LOCKBACK ROT", "YINLIANG", "QIPAONUM", "BACKGROUND",
                              "FOGNONGDU", "LIGHTQIANGDU", "CHECK VIEWS", "VIEWSLEFTRIGHT", "VIEWSNEARFAR"};
    for (const char* key : aquarium) {
        ReadPrivateProfileString(SettingsSection::kAquarium, key, path);
        WritePrivateProfileString(SettingsSection::kAquarium, key, "0", path);
    }
    for (int i = 0; i < 20; ++i) {
        const std::string key = "Fish" + std::to_string(i);
        ReadPrivateProfileString(SettingsSection::kFishNumber, key, path);
        WritePrivateProfileString(SettingsSection::kFishNumber, key, std::to_string(Rand() % 2), path);
    }
}

// Runs work() once in a child process; its wall time in ms and the child's
// peak resident memory in MB.
template <typename Work>
std::pair<double, double> InChild(Work work)
{
    const double start = WallSeconds();
    const pid_t pid = ::fork();
    if (pid == 0) {
        work();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    const double ms = (WallSeconds() - start) * 1000.0;
    struct rusage usage {};
    ::getrusage(RUSAGE_CHILDREN, &usage);  // the largest child so far
    return {ms, usage.ru_maxrss / 1024.0};
}

void WriteShortLines(const std::string& path, std::size_t bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << "[Aquarium Settings]\n";
    std::size_t written = 0;
    for (int i = 0; written < bytes; ++i) {
        const std::string line = "junk" + std::to_string(i) + "=" + std::to_string(i % 97) + "\n";
        out << line;
        written += line.size();
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    TempDir dir;
    ScopedEnv config("XDG_CONFIG_HOME", dir.Path().c_str());
    const std::string path = dir.Path() + "plovi/PloviSet.ini";
    auto removeFile = [&] {
        std::filesystem::remove(path);
        MsvcRandom::Reset();
    };

    const double firstRun = MillisecondsPerRun(runs, removeFile, [] { ReadSettings(); });
    const double normalStart = MillisecondsPerRun(runs, [] {}, [] { ReadSettings(); });
    const double keyByKey = MillisecondsPerRun(runs, removeFile, [&] { FirstRunKeyByKey(path); });

    removeFile();
    ReadSettings();
    const std::string full = ReadWholeFile(path);
    std::ofstream(path, std::ios::binary) << std::string(10u << 20, 'x') << "\n" << full;
    const double hugeLine = MillisecondsPerRun(runs, [] {}, [] { ReadSettings(); });

    const double idleMb = InChild([] {}).second;
    WriteShortLines(path, 50u << 20);
    const double fileMb = std::filesystem::file_size(path) / 1048576.0;
    const auto [bigFirstMs, bigFirstMb] = InChild([] { ReadSettings(); });
    const auto [bigAgainMs, bigAgainMb] = InChild([] { ReadSettings(); });

    std::printf("ReadSettings, first run (one atomic write)     %8.3f ms\n", firstRun);
    std::printf("ReadSettings, normal start (no write)          %8.3f ms\n", normalStart);
    std::printf("ReadSettings, file with a 10 MB line           %8.3f ms\n", hugeLine);
    std::printf("first run key by key (47 reads + 47 rewrites)  %8.3f ms\n", keyByKey);
    std::printf("%.1f MB file of short lines, first start  %8.1f ms, peak %.1f MB above an idle child\n", fileMb,
                bigFirstMs, bigFirstMb - idleMb);
    std::printf("%.1f MB file of short lines, next start   %8.1f ms, peak %.1f MB above an idle child\n", fileMb,
                bigAgainMs, bigAgainMb - idleMb);
    std::printf("(%d runs each, wall time, settings in %s)\n", runs, dir.Path().c_str());
    return 0;
}
