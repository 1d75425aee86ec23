#pragma once

// Drives the real plovi binary on a private virtual X server, the way a user
// would: real windows, real X input (xdotool), real screenshots (import).
// Each end-to-end test group creates one VirtualScreen and starts programs on
// it; everything is torn down when the objects go away.

#include <QImage>
#include <QPoint>
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

// Result of a command run to completion.
struct CommandResult {
    int exitCode = -1;        // -1: did not exit normally (signal, timeout)
    int signal = 0;           // the signal that ended it, if any
    std::string out;          // standard output
    std::string err;          // standard error
};

// An Xvfb server on a free display number, at the given size in pixels.
class VirtualScreen {
public:
    VirtualScreen(int width, int height);
    ~VirtualScreen();
    VirtualScreen(const VirtualScreen&) = delete;
    VirtualScreen& operator=(const VirtualScreen&) = delete;

    bool Ok() const { return m_pid > 0; }
    const std::string& Display() const { return m_display; }  // ":NN"
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Runs an X tool (xdotool, xwininfo, import ...) against this screen.
    CommandResult Tool(const std::vector<std::string>& argv, double timeoutSeconds = 10) const;
    // The whole screen as an image (import -window root).
    QImage Screenshot() const;
    // Ids of the visible windows whose name matches, via xdotool search.
    std::vector<std::string> WindowsNamed(const std::string& name) const;
    // The top-left corner on the screen of the first visible window whose
    // name matches, or nullopt while there is none.
    std::optional<QPoint> WindowOrigin(const std::string& name) const;
    // A real left click at p (screen pixels).
    void Click(QPoint p) const;

private:
    int m_pid = -1;
    int m_width;
    int m_height;
    std::string m_display;
};

// One started program. Its standard output and error go to files that Out()
// and Err() read back.
class Process {
public:
    using Env = std::map<std::string, std::optional<std::string>>;  // nullopt: unset

    // workDir: the program's working directory ("": this process's own);
    // a directory it cannot enter ends it with code 126.
    Process(const std::vector<std::string>& argv, const Env& env, const std::string& workDir = {});
    ~Process();   // kills the program if it still runs
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Waits for the program to end; the result, or nullopt on timeout.
    std::optional<CommandResult> Wait(double timeoutSeconds);
    bool Running();
    int Pid() const { return m_pid; }
    std::string Err() const;

private:
    int m_pid = -1;
    std::string m_outPath;
    std::string m_errPath;
    std::optional<CommandResult> m_result;
};

// Runs a program to completion (with a timeout) and collects its output.
CommandResult RunCommand(const std::vector<std::string>& argv, const Process::Env& env,
                         double timeoutSeconds = 20);

// Polls cond every 50 ms until it holds or the timeout passes.
bool WaitUntil(const std::function<bool()>& cond, double timeoutSeconds);
