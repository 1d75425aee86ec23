// SPDX-License-Identifier: MIT
// The user's music list against a corpus of damaged MP3, WAV and MPEG files
// (tests/media/make_media_corpus.sh), played through the real program: no
// file may crash it, hang it, stall the list (each file ends or is reported
// within 5 s of its length) or pause its frames for more than 0.5 s, and the
// saved list must come through the program's end whole.
//
// PLOVI_MEDIA_CORPUS=N sets the number of mutated files (default: the fixed
// part CI runs); the table of cases is printed either way.
#include "tests/e2e/ScreenFixture.h"
#include "tests/media/ListRun.h"
#include "tests/support/PrivateSoundServer.h"
#include "tests/support/TestEnvironment.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace {

constexpr int kCiMutations = 80;
constexpr std::size_t kFilesPerRun = 70;

struct Tally {
    int runs = 0, played = 0, reported = 0, crashes = 0, hangs = 0, stalls = 0, notReached = 0, dataLost = 0;
};

std::vector<ListRun::File> ReadManifest(const std::string& path)
{
    std::vector<ListRun::File> files;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        ListRun::File f;
        std::string length;
        if (std::getline(fields, f.path, '\t') && std::getline(fields, f.kind, '\t') && std::getline(fields, length))
            files.push_back({f.path, f.kind, std::atoi(length.c_str())});
    }
    return files;
}

void Count(Tally& t, const ListRun::Result& r)
{
    using O = ListRun::Outcome;
    ++t.runs;
    t.played += r.outcome == O::Played;
    t.reported += r.outcome == O::Reported;
    t.crashes += r.outcome == O::Crashed;
    t.hangs += r.outcome == O::Hung;
    t.stalls += r.outcome == O::Stalled;
    t.notReached += r.outcome == O::NotReached;
    t.dataLost += !r.entryKept;
}

void PrintTable(const std::map<std::string, Tally>& cases, const Tally& all)
{
    std::printf("\n%-22s %5s %7s %8s %7s %5s %6s %8s %9s\n", "case", "runs", "played", "reported", "crashes",
                "hangs", "stalls", "not run", "data lost");
    auto row = [](const std::string& name, const Tally& t) {
        std::printf("%-22s %5d %7d %8d %7d %5d %6d %8d %9d\n", name.c_str(), t.runs, t.played, t.reported,
                    t.crashes, t.hangs, t.stalls, t.notReached, t.dataLost);
    };
    for (const auto& [name, t] : cases)
        row(name, t);
    row("all", all);
}

class MediaCorpusTest : public ScreenFixture<1024, 768> {};

TEST_F(MediaCorpusTest, NoMusicFileCrashesHangsOrStallsTheAquarium)
{
    const char* asked = std::getenv("PLOVI_MEDIA_CORPUS");
    const int mutations = asked ? std::atoi(asked) : kCiMutations;
    TempDir corpus;
    const CommandResult made = RunCommand(
        {PLOVI_SOURCE_DIR "/tests/media/make_media_corpus.sh", corpus.Path(), std::to_string(mutations)}, {}, 600);
    ASSERT_EQ(made.exitCode, 0) << made.err;
    const std::vector<ListRun::File> files = ReadManifest(corpus.Path() + "manifest.tsv");
    ASSERT_GE(files.size(), std::size_t(mutations));

    TempDir sound;
    PrivateSoundServer server(sound.Path());
    ASSERT_TRUE(server.Ok()) << server.Error();

    std::map<std::string, Tally> cases;
    Tally all;
    int frameStalls = 0, longestGap = 0, programRuns = 0;
    for (std::size_t first = 0; first < files.size();) {
        std::vector<ListRun::File> part(files.begin() + long(first),
                                        files.begin() + long(std::min(files.size(), first + kFilesPerRun)));
        AquariumSession session(*s_screen);
        ListRun run(session, server.Address());
        ASSERT_TRUE(run.Play(part));
        ++programRuns;
        frameStalls += run.FrameStalls();
        longestGap = std::max(longestGap, run.LongestGapMs());
        // A run ends early only after a fault; the files after the last one
        // it reached are played in the next run.
        std::size_t reached = 0;
        for (std::size_t i = 0; i < part.size(); ++i)
            if (run.Results()[i].outcome != ListRun::Outcome::NotReached)
                reached = i + 1;
        for (std::size_t i = 0; i < part.size(); ++i) {
            const ListRun::Result& r = run.Results()[i];
            EXPECT_TRUE(r.entryKept) << "list entry lost: " << part[i].path;
            if (i >= reached)
                continue;
            Count(cases[part[i].kind], r);
            Count(all, r);
            EXPECT_TRUE(r.outcome == ListRun::Outcome::Played || r.outcome == ListRun::Outcome::Reported)
                << part[i].path << " (" << part[i].kind << "): outcome " << int(r.outcome) << " after "
                << r.tookMs << " ms\n" << run.Err();
        }
        if (reached == 0) {
            ADD_FAILURE() << "no file of this run was reached:\n" << run.Err();
            reached = part.size();  // never loop on one run
        }
        first += reached;
    }
    PrintTable(cases, all);
    std::printf("%zu files in %d program runs; seconds with a frame gap over %d ms: %d; longest gap %d ms\n",
                files.size(), programRuns, ListRun::kFrameGapMs, frameStalls, longestGap);
    EXPECT_EQ(all.crashes + all.hangs + all.stalls + all.dataLost, 0);
    EXPECT_EQ(frameStalls, 0);
}

}  // namespace
