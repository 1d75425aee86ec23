// SPDX-License-Identifier: MIT
#pragma once

// Drives the real plovi binary on a private virtual X server, the way a user
// would: real windows, real X input (xdotool), real screenshots (import).
// Each end-to-end test group creates one VirtualScreen and starts programs on
// it; everything is torn down when the objects go away.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class Process;
class TempDir;

// Result of a command run to completion.
struct CommandResult {
    int exitCode = -1;        // -1: did not exit normally (signal, timeout)
    int signal = 0;           // the signal that ended it, if any
    std::string out;          // standard output
    std::string err;          // standard error
};

// The window manager a VirtualScreen runs, as a user's desktop does. Openbox
// is the default; IceWM is the second, different one (its own stacking and
// focus rules, and a task bar along the bottom edge like a desktop panel).
// None is the bare X server.
enum class WindowManager { Openbox, IceWm, None };

const char* WindowManagerName(WindowManager wm);   // "openbox", "icewm", "none"

// An Xvfb server on a free display number, at the given size in pixels, with
// a window manager started on it and ready (it has announced itself on the
// root window) before the constructor returns. Several monitors are RandR
// monitors side by side on that one screen, left to right in the order
// given; X clients see them as Xinerama heads.
//
// PLOVI_E2E_WM=icewm (or none) in the environment runs every screen that
// asked for openbox under that one instead, to try the whole suite there.
class VirtualScreen {
public:
    VirtualScreen(int width, int height, WindowManager wm = WindowManager::Openbox);
    // monitors: sizes in pixels, left to right, tops aligned; primary: the
    // index of the primary monitor.
    VirtualScreen(const std::vector<QSize>& monitors, int primary, WindowManager wm = WindowManager::Openbox);
    ~VirtualScreen();
    VirtualScreen(const VirtualScreen&) = delete;
    VirtualScreen& operator=(const VirtualScreen&) = delete;

    // The server runs and the window manager (if any) is ready.
    bool Ok() const { return m_pid > 0 && m_wmReady; }
    const std::string& Display() const { return m_display; }  // ":NN"
    int Width() const { return m_width; }    // the whole screen
    int Height() const { return m_height; }
    // Each monitor's area on the screen, left to right, and the primary one.
    const std::vector<QRect>& Monitors() const { return m_monitors; }
    QRect PrimaryMonitor() const { return m_monitors.at(size_t(m_primary)); }

    // Runs an X tool (xdotool, xwininfo, import ...) against this screen.
    CommandResult Tool(const std::vector<std::string>& argv, double timeoutSeconds = 10) const;
    // The whole screen as an image (import -window root).
    QImage Screenshot() const;
    // Ids of the visible windows whose name matches, via xdotool search.
    std::vector<std::string> WindowsNamed(const std::string& name) const;
    // The top-left corner on the screen of the first visible window whose
    // name matches, or nullopt while there is none.
    std::optional<QPoint> WindowOrigin(const std::string& name) const;
    // Where a window (by id) is on the screen: its own area, without a
    // window manager's frame; nullopt when it cannot be read.
    std::optional<QRect> WindowArea(const std::string& id) const;
    // The areas of the visible windows straight on the root (under a window
    // manager: its frames round the programs' windows, its panels) that
    // leave part of the screen free: the root and full-screen windows are
    // left out. In no particular order.
    std::vector<QRect> PartialTopLevelAreas() const;
    // A real left click at p (screen pixels).
    void Click(QPoint p) const;

private:
    void StartServer();
    bool SetUpMonitors();
    bool StartWindowManager();

    int m_pid = -1;
    int m_width = 0;
    int m_height = 0;
    std::string m_display;
    std::vector<QRect> m_monitors;
    int m_primary = 0;
    WindowManager m_wm;
    std::unique_ptr<Process> m_wmProcess;
    bool m_wmReady = false;
    std::unique_ptr<TempDir> m_wmHome;   // the window manager's own empty settings
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

// How many pixels of shot inside area (clipped to the shot) pass test.
int CountPixels(const QImage& shot, const QRect& area, bool (*test)(QRgb));

// A shape of lit cells on a grid laid over a shot: its box (pixels) and how
// many cells it holds.
struct LitShape {
    QRect box;
    int cells = 0;
};
// The 8-connected shapes of the grid's lit cells: cells of step x step pixels
// from row `top` of the shot down, each lit when `lit` says so of its
// top-left pixel (x, y).
std::vector<LitShape> LitShapes(const QImage& shot, int step, int top, const std::function<bool(int x, int y)>& lit);

// Polls cond every 50 ms until it holds or the timeout passes.
bool WaitUntil(const std::function<bool()>& cond, double timeoutSeconds);
// Lets the programs under test run on for a while.
inline void Pause(double seconds) { WaitUntil([] { return false; }, seconds); }
// Seconds on the steady clock, for timing what the program does.
double Now();
// Something drawn on a black tank: any channel above the darkest shades.
inline bool IsLit(QRgb p) { return qRed(p) > 40 || qGreen(p) > 40 || qBlue(p) > 40; }
