// SPDX-License-Identifier: MIT
#include "tests/media/ListRun.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// The text between the first pair of double quotes after `from`.
std::string Quoted(const std::string& line, std::size_t from = 0)
{
    const std::size_t open = line.find('"', from);
    const std::size_t close = open == std::string::npos ? open : line.rfind('"');
    return close == std::string::npos || close <= open ? std::string() : line.substr(open + 1, close - open - 1);
}

}  // namespace

ListRun::ListRun(const AquariumSession& session, std::string pulseServer)
    : m_session(session), m_pulse(std::move(pulseServer))
{
}

void ListRun::WriteList(const std::vector<File>& files) const
{
    std::string text = "[Custom Settings]\nOwnMusic=1\nCycMusic=1\nRepeatMusic=0\nRandomMusic=0\nMusicSum=" +
                       std::to_string(files.size()) + "\n";
    for (std::size_t i = 0; i < files.size(); ++i)
        text += "MusicList" + std::to_string(i) + "=" + files[i].path + "\n";
    m_session.WriteSettings(text);
}

void ListRun::CheckSavedList(const std::vector<File>& files)
{
    std::ifstream ini(m_session.SettingsPath());
    std::map<std::string, std::string> keys;
    std::string line;
    while (std::getline(ini, line)) {
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos)
            keys[line.substr(0, eq)] = line.substr(eq + 1);
    }
    const bool listIntact = keys["OwnMusic"] == "1" && keys["CycMusic"] == "1" &&
                            keys["MusicSum"] == std::to_string(files.size());
    for (std::size_t i = 0; i < files.size(); ++i)
        m_results[i].entryKept = listIntact && keys["MusicList" + std::to_string(i)] == files[i].path;
}

bool ListRun::Play(const std::vector<File>& files)
{
    m_results.assign(files.size(), {});
    m_reportedLengthMs.assign(files.size(), 0);
    m_lengthMs.clear();
    m_rowOf.clear();
    for (std::size_t i = 0; i < files.size(); ++i) {
        m_rowOf[files[i].path] = int(i);
        m_lengthMs.push_back(files[i].lengthMs);
    }
    WriteList(files);

    auto plovi = m_session.Start({"--fps", "--music-log"}, {{"PULSE_SERVER", m_pulse}});
    const Clock::time_point start = Clock::now();
    std::size_t seen = 0;
    long long lastFrameAt = 0;
    bool over = false, crashed = false, hung = false;
    while (!over) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const long long now = MsSince(start);
        const bool running = plovi->Running();
        m_err = plovi->Err();
        std::size_t end;
        while (!over && (end = m_err.find('\n', seen)) != std::string::npos) {
            const std::string line = m_err.substr(seen, end - seen);
            seen = end + 1;
            if (line.rfind("fps: ", 0) == 0)
                lastFrameAt = now;
            over = !OnLine(line, now);
        }
        if (over)
            break;
        if (!running) {
            crashed = true;
            break;
        }
        // Start-up (GL, art, first frame) is not the music's business.
        if (m_fpsLines > 0 && now - lastFrameAt > kHangMs + 1000) {
            hung = true;
            break;
        }
        if (m_current >= 0) {
            const int allowed = std::max(m_lengthMs[std::size_t(m_current)],
                                         m_reportedLengthMs[std::size_t(m_current)]) + kGraceMs;
            if (now - m_startedAt > allowed + 1000) {
                Conclude(m_current, Outcome::Stalled, now);
                break;
            }
        } else if (now > 60000) {
            hung = true;  // no file started in a minute
            break;
        }
    }
    if (crashed && m_current >= 0)
        Conclude(m_current, Outcome::Crashed, MsSince(start));
    if (!crashed && plovi->Running()) {
        ::kill(plovi->Pid(), SIGTERM);
        const auto ended = plovi->Wait(10);
        if (!ended)
            hung = true;
        else if (ended->exitCode != 0)
            crashed = true;
        if (ended)
            m_err = ended->err;
    }
    if (hung && m_current >= 0 && m_results[std::size_t(m_current)].outcome == Outcome::NotReached)
        Conclude(m_current, Outcome::Hung, MsSince(start));
    if (crashed && m_current >= 0 && m_results[std::size_t(m_current)].outcome != Outcome::Crashed)
        m_results[std::size_t(m_current)].outcome = Outcome::Crashed;
    CheckSavedList(files);
    return true;
}

bool ListRun::OnLine(const std::string& line, long long ms)
{
    int row = -1, value = 0, matched = 0;
    if (std::sscanf(line.c_str(), "music: row %d playing %n", &row, &matched) == 1 && matched > 0) {
        if (row < 0 || row >= int(m_results.size()))
            return true;
        if (m_current >= 0 && m_results[std::size_t(m_current)].outcome == Outcome::NotReached)
            Conclude(m_current, Outcome::Played, ms);
        // Back at a row already tried: the list has gone round once.
        if (m_results[std::size_t(row)].outcome != Outcome::NotReached) {
            m_current = -1;
            return false;
        }
        m_current = row;
        m_startedAt = ms;
        return true;
    }
    if (std::sscanf(line.c_str(), "music: row %d is %d ms long%n", &row, &value, &matched) == 2 && matched > 0) {
        if (row >= 0 && row < int(m_results.size()))
            m_reportedLengthMs[std::size_t(row)] = value;
        return true;
    }
    if (line.rfind("plovi: cannot play music file ", 0) == 0) {
        // The name runs to the last quote before " (why)", or the line's end.
        std::string name = Quoted(line);
        const std::size_t why = line.rfind("\" (");
        if (why != std::string::npos)
            name = line.substr(line.find('"') + 1, why - line.find('"') - 1);
        const auto found = m_rowOf.find(name);
        if (found != m_rowOf.end() && m_results[std::size_t(found->second)].outcome == Outcome::NotReached) {
            if (found->second != m_current)
                m_startedAt = ms;  // refused before it could start
            Conclude(found->second, Outcome::Reported, ms);
            if (found->second == m_current)
                m_current = -1;
        }
        return true;
    }
    if (line.rfind("plovi: no file of the music list can be played", 0) == 0)
        return false;
    double fps = 0;
    int gap = 0;
    if (std::sscanf(line.c_str(), "fps: %lf (longest gap %d ms)%n", &fps, &gap, &matched) == 2 && matched > 0) {
        if (++m_fpsLines > 2) {
            m_longestGapMs = std::max(m_longestGapMs, gap);
            m_frameStalls += gap > kFrameGapMs ? 1 : 0;
        }
    }
    return true;
}

void ListRun::Conclude(int row, Outcome outcome, long long ms)
{
    Result& r = m_results[std::size_t(row)];
    r.outcome = outcome;
    r.tookMs = int(ms - m_startedAt);
    const int allowed = std::max(m_lengthMs[std::size_t(row)], m_reportedLengthMs[std::size_t(row)]) + kGraceMs;
    if ((outcome == Outcome::Played || outcome == Outcome::Reported) && r.tookMs > allowed)
        r.outcome = Outcome::Stalled;
}
