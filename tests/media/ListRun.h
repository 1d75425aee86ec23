// SPDX-License-Identifier: MIT
#pragma once

#include "tests/e2e/AquariumSession.h"

#include <map>
#include <string>
#include <vector>

// One music list played through the real program, judged from outside.
//
// The list is saved with own music on in Repeat All, so the program starts
// playing it at once, and every file is tried in turn until the list wraps to
// its first row again or says that nothing in it can be played. The program
// runs with --fps and --music-log; its standard error is read as it comes:
//   music: row R playing "PATH"          a file starts
//   music: row R is L ms long            its length, once known
//   plovi: cannot play music file "PATH" a file is given up
//   fps: F (longest gap G ms)            once a second while frames are drawn
// Each file's time runs from its start to the next start or its report. At
// the end the program gets SIGTERM and must exit with 0, its list saved as
// it was.
class ListRun {
public:
    struct File {
        std::string path;
        std::string kind;   // the corpus case it belongs to
        int lengthMs = 0;   // of the clean file it was made from
    };
    enum class Outcome {
        NotReached,  // the run ended before it (after a crash, hang or stall)
        Played,      // started and ended in time
        Reported,    // named as unplayable in time
        Stalled,     // neither ended nor reported within its length + 5 s
        Crashed,     // the program ended while it was the current file
        Hung,        // the program drew no frame for 3 s, or ignored SIGTERM, with it current
    };
    struct Result {
        Outcome outcome = Outcome::NotReached;
        int tookMs = 0;
        bool entryKept = false;  // its list entry survived the program's end
    };

    static constexpr int kGraceMs = 5000;     // beyond a file's length
    static constexpr int kFrameGapMs = 500;   // the longest allowed pause between frames
    static constexpr int kHangMs = 3000;      // no frame at all for this long is a hang

    ListRun(const AquariumSession& session, std::string pulseServer);

    // Plays `files` (in list order) and fills Results(); false when the
    // program could not be started at all.
    bool Play(const std::vector<File>& files);

    const std::vector<Result>& Results() const { return m_results; }
    // Seconds after the first two in which two frames were more than
    // kFrameGapMs apart, and the longest such gap.
    int FrameStalls() const { return m_frameStalls; }
    int LongestGapMs() const { return m_longestGapMs; }
    // The program's standard error, for a failure's message.
    const std::string& Err() const { return m_err; }

private:
    void WriteList(const std::vector<File>& files) const;
    void CheckSavedList(const std::vector<File>& files);
    // Handles one line that arrived at `ms`; false once the run is over.
    bool OnLine(const std::string& line, long long ms);
    void Conclude(int row, Outcome outcome, long long ms);

    const AquariumSession& m_session;
    std::string m_pulse;
    std::map<std::string, int> m_rowOf;
    std::vector<Result> m_results;
    std::vector<int> m_reportedLengthMs;
    std::vector<int> m_lengthMs;
    int m_current = -1;
    long long m_startedAt = 0;
    bool m_wrapped = false;
    int m_fpsLines = 0;
    int m_frameStalls = 0;
    int m_longestGapMs = 0;
    std::string m_err;
};
