// SPDX-License-Identifier: MIT
#include "tests/e2e/E2eHarness.h"

#include "tests/support/TestEnvironment.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

std::string TempFile(const char* stem)
{
    std::string path = (std::filesystem::temp_directory_path() / (std::string(stem) + "-XXXXXX")).string();
    int fd = ::mkstemp(path.data());
    if (fd >= 0)
        ::close(fd);
    return path;
}

int Spawn(const std::vector<std::string>& argv, const Process::Env& env, const std::string& workDir,
          const std::string& outPath, const std::string& errPath)
{
    pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    // Child: own process group, so a kill reaches nothing else of ours.
    ::setpgid(0, 0);
    if (!workDir.empty() && ::chdir(workDir.c_str()) != 0)
        ::_exit(126);
    for (const auto& [name, value] : env) {
        if (value)
            ::setenv(name.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name.c_str());
    }
    int in = ::open("/dev/null", O_RDONLY);
    int out = ::open(outPath.c_str(), O_WRONLY | O_TRUNC);
    int err = ::open(errPath.c_str(), O_WRONLY | O_TRUNC);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    ::_exit(127);
}

CommandResult FromStatus(int status)
{
    CommandResult r;
    if (WIFEXITED(status))
        r.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        r.signal = WTERMSIG(status);
    return r;
}

}  // namespace

int CountPixels(const QImage& shot, const QRect& area, bool (*test)(QRgb))
{
    int n = 0;
    const QRect inside = area.intersected(shot.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            n += test(shot.pixel(x, y));
    return n;
}

std::vector<LitShape> LitShapes(const QImage& shot, int step, int top, const std::function<bool(int x, int y)>& lit)
{
    const int columns = shot.width() / step, rows = std::max(0, (shot.height() - top) / step);
    std::vector<char> cell(std::size_t(columns * rows), 0);   // 1: lit, 2: in a shape found already
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            cell[std::size_t(r * columns + c)] = lit(c * step, top + r * step) ? 1 : 0;
    std::vector<LitShape> shapes;
    for (int start = 0; start < columns * rows; ++start) {
        if (cell[std::size_t(start)] != 1)
            continue;
        LitShape shape;
        std::vector<int> stack{start};
        cell[std::size_t(start)] = 2;
        while (!stack.empty()) {
            const int at = stack.back(), r = at / columns, c = at % columns;
            stack.pop_back();
            ++shape.cells;
            shape.box |= QRect(c * step, top + r * step, step, step);
            for (int nr = r - 1; nr <= r + 1; ++nr)
                for (int nc = c - 1; nc <= c + 1; ++nc)
                    if (nr >= 0 && nr < rows && nc >= 0 && nc < columns && cell[std::size_t(nr * columns + nc)] == 1) {
                        cell[std::size_t(nr * columns + nc)] = 2;
                        stack.push_back(nr * columns + nc);
                    }
        }
        shapes.push_back(shape);
    }
    return shapes;
}

bool WaitUntil(const std::function<bool()>& cond, double timeoutSeconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (true) {
        if (cond())
            return true;
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

double Now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

Process::Process(const std::vector<std::string>& argv, const Env& env, const std::string& workDir)
    : m_outPath(TempFile("plovi-e2e-out")), m_errPath(TempFile("plovi-e2e-err"))
{
    m_pid = Spawn(argv, env, workDir, m_outPath, m_errPath);
}

Process::~Process()
{
    if (Running()) {
        ::kill(m_pid, SIGKILL);
        Wait(5);
    }
    std::remove(m_outPath.c_str());
    std::remove(m_errPath.c_str());
}

bool Process::Running()
{
    if (m_result || m_pid <= 0)
        return false;
    int status = 0;
    pid_t r = ::waitpid(m_pid, &status, WNOHANG);
    if (r == m_pid) {
        m_result = FromStatus(status);
        return false;
    }
    return r == 0;
}

std::optional<CommandResult> Process::Wait(double timeoutSeconds)
{
    WaitUntil([this] { return !Running(); }, timeoutSeconds);
    if (!m_result)
        return std::nullopt;
    CommandResult r = *m_result;
    r.out = ReadWholeFile(m_outPath);
    r.err = ReadWholeFile(m_errPath);
    // In the sanitizer build the leak check runs as the program exits, and
    // now and then the checker itself crashes while the program's other
    // threads (the renderer's, the sound server's) go; it then ends the
    // program with its own code 1. That says nothing of the program, which
    // was exiting; its leaks are looked for again in every other run.
    if (r.exitCode == 1 && r.err.find("LeakSanitizer has encountered a fatal error") != std::string::npos) {
        std::fprintf(stderr, "note: the leak checker crashed at the program's exit; exit taken as 0\n");
        r.exitCode = 0;
    }
    return r;
}

std::string Process::Err() const { return ReadWholeFile(m_errPath); }

CommandResult RunCommand(const std::vector<std::string>& argv, const Process::Env& env,
                         double timeoutSeconds)
{
    Process p(argv, env);
    auto r = p.Wait(timeoutSeconds);
    return r ? *r : CommandResult{};
}

namespace {

// Starts Xvfb on display `number` and waits until it accepts clients (it
// writes the number to the pipe then). Returns its pid, or -1 when it could
// not take that display.
pid_t StartXvfb(int number, const std::string& screen)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    const std::string display = ":" + std::to_string(number);
    pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        int devnull = ::open("/dev/null", O_WRONLY);
        ::dup2(devnull, 1);
        ::dup2(devnull, 2);
        const std::string fd = std::to_string(fds[1]);
        ::execlp("Xvfb", "Xvfb", display.c_str(), "-displayfd", fd.c_str(), "-screen", "0",
                 screen.c_str(), "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    std::string written;
    char c = 0;
    while (::read(fds[0], &c, 1) == 1 && c != '\n')
        written += c;
    ::close(fds[0]);
    if (pid > 0 && written == std::to_string(number))
        return pid;
    if (pid > 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    return -1;
}

}  // namespace

namespace {

// The window manager a screen runs: the one asked for, or where that is the
// default, the one PLOVI_E2E_WM names.
WindowManager Chosen(WindowManager asked)
{
    const char* name = std::getenv("PLOVI_E2E_WM");
    if (asked != WindowManager::Openbox || !name)
        return asked;
    for (WindowManager wm : {WindowManager::Openbox, WindowManager::IceWm, WindowManager::None})
        if (std::string(name) == WindowManagerName(wm))
            return wm;
    return asked;
}

}  // namespace

const char* WindowManagerName(WindowManager wm)
{
    switch (wm) {
    case WindowManager::Openbox:
        return "openbox";
    case WindowManager::IceWm:
        return "icewm";
    case WindowManager::None:
        return "none";
    }
    return "none";
}

VirtualScreen::VirtualScreen(int width, int height, WindowManager wm)
    : m_width(width), m_height(height), m_monitors{QRect(0, 0, width, height)}, m_wm(Chosen(wm))
{
    StartServer();
    m_wmReady = m_pid > 0 && StartWindowManager();
}

VirtualScreen::VirtualScreen(const std::vector<QSize>& monitors, int primary, WindowManager wm)
    : m_primary(primary), m_wm(Chosen(wm))
{
    for (const QSize& size : monitors) {
        m_monitors.push_back(QRect(QPoint(m_width, 0), size));
        m_width += size.width();
        m_height = std::max(m_height, size.height());
    }
    if (monitors.empty() || primary < 0 || primary >= int(monitors.size()))
        return;
    StartServer();
    m_wmReady = m_pid > 0 && SetUpMonitors() && StartWindowManager();
}

void VirtualScreen::StartServer()
{
    // Displays from 400 up, away from :0 (a desktop), :99 and on (xvfb-run -a)
    // and each other's runs; a display already taken makes Xvfb give up at
    // once, and the next number is tried.
    const std::string screen = std::to_string(m_width) + "x" + std::to_string(m_height) + "x24";
    const int first = 400 + int(::getpid() % 500);
    for (int attempt = 0; attempt < 40 && m_pid < 0; ++attempt) {
        const int number = first + attempt;
        const pid_t pid = StartXvfb(number, screen);
        if (pid > 0) {
            m_pid = pid;
            m_display = ":" + std::to_string(number);
        }
    }
}

// Xvfb's own Xinerama stacks every screen at (0, 0); RandR monitors on one
// screen are placed where asked, carry the primary flag, and are what both
// Qt and the window managers read as the desktop's monitors.
bool VirtualScreen::SetUpMonitors()
{
    if (m_monitors.size() < 2)
        return true;
    for (size_t i = 0; i < m_monitors.size(); ++i) {
        const QRect& m = m_monitors[i];
        auto mm = [](int pixels) { return std::to_string(pixels * 254 / 960); };   // 96 dpi
        const std::string geometry = std::to_string(m.width()) + "/" + mm(m.width()) + "x" +
                                     std::to_string(m.height()) + "/" + mm(m.height()) + "+" +
                                     std::to_string(m.x()) + "+" + std::to_string(m.y());
        const std::string name = (int(i) == m_primary ? "*m" : "m") + std::to_string(i);
        // The first monitor takes over the server's one output, whose own
        // whole-screen monitor would otherwise stay beside them.
        if (Tool({"xrandr", "--setmonitor", name, geometry, i == 0 ? "screen" : "none"}).exitCode != 0)
            return false;
    }
    const std::string count = "Monitors: " + std::to_string(m_monitors.size());
    return Tool({"xrandr", "--listmonitors"}).out.rfind(count, 0) == 0;
}

bool VirtualScreen::StartWindowManager()
{
    if (m_wm == WindowManager::None)
        return true;
    // A private home and configuration: the developer's own window manager
    // settings never change what a test sees.
    m_wmHome = std::make_unique<TempDir>();
    const Process::Env env = {
        {"DISPLAY", m_display},
        {"HOME", m_wmHome->Path()},
        {"XDG_CONFIG_HOME", m_wmHome->Path() + "config"},
        {"ICEWM_PRIVCFG", m_wmHome->Path() + "icewm"},
    };
    const std::vector<std::string> argv = m_wm == WindowManager::Openbox
                                              ? std::vector<std::string>{"openbox", "--sm-disable"}
                                              : std::vector<std::string>{"icewm"};
    m_wmProcess = std::make_unique<Process>(argv, env);
    // Ready once it has announced itself on the root window (EWMH); until
    // then a new window could be mapped before it is managed.
    return WaitUntil(
        [&] {
            if (!m_wmProcess->Running())
                return false;
            const CommandResult r = Tool({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"});
            return r.out.find("window id") != std::string::npos;
        },
        15);
}

VirtualScreen::~VirtualScreen()
{
    m_wmProcess.reset();   // killed before its display goes
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }
}

CommandResult VirtualScreen::Tool(const std::vector<std::string>& argv, double timeoutSeconds) const
{
    // The X server can refuse a client that connects just as another one
    // disconnects; a tool that could not open the display is run again.
    CommandResult r;
    for (int attempt = 0; attempt < 3; ++attempt) {
        r = RunCommand(argv, {{"DISPLAY", m_display}}, timeoutSeconds);
        const bool refused = r.exitCode != 0 && (r.err.find("open display") != std::string::npos ||
                                                 r.err.find("unable to open X server") != std::string::npos);
        if (!refused)
            break;
    }
    return r;
}

QImage VirtualScreen::Screenshot() const
{
    // A raw PPM: PNG compression of a full screen takes over a second while
    // the aquarium keeps both cores busy; PPM takes some 70 ms.
    // A grab that fails (import can lose the race with a window being
    // mapped or unmapped) is taken again rather than handed on as a black
    // screen.
    QImage image;
    for (int attempt = 0; attempt < 3 && image.isNull(); ++attempt) {
        const std::string path = TempFile("plovi-e2e-shot") + ".ppm";
        Tool({"import", "-window", "root", path});
        image.load(QString::fromStdString(path));
        std::remove(path.c_str());
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

std::optional<QPoint> VirtualScreen::WindowOrigin(const std::string& name) const
{
    const std::vector<std::string> ids = WindowsNamed(name);
    if (ids.empty())
        return std::nullopt;
    if (const std::optional<QRect> area = WindowArea(ids.front()))
        return area->topLeft();
    return std::nullopt;
}

std::optional<QRect> VirtualScreen::WindowArea(const std::string& id) const
{
    // xwininfo's absolute corner: xdotool's geometry adds a window manager's
    // frame offset a second time.
    const CommandResult r = Tool({"xwininfo", "-id", id});
    std::map<std::string, int> values;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
        const size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        const size_t start = line.find_first_not_of(' ');
        values[line.substr(start, colon - start)] = std::atoi(line.c_str() + colon + 1);
    }
    const char* keys[] = {"Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"};
    for (const char* key : keys)
        if (!values.count(key))
            return std::nullopt;
    return QRect(values[keys[0]], values[keys[1]], values[keys[2]], values[keys[3]]);
}

std::vector<QRect> VirtualScreen::PartialTopLevelAreas() const
{
    // One call for all of them: per window "Window ID", "Position: X,Y ..."
    // and "Geometry: WxH" lines. A window on the root has no frame offset
    // for xdotool to add.
    const CommandResult r = Tool({"xdotool", "search", "--onlyvisible", "--maxdepth", "1", "--name", "",
                                  "getwindowgeometry", "%@"});
    std::vector<QRect> areas;
    QPoint at;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
        int a = 0, b = 0;
        if (std::sscanf(line.c_str(), " Position: %d,%d", &a, &b) == 2)
            at = QPoint(a, b);
        else if (std::sscanf(line.c_str(), " Geometry: %dx%d", &a, &b) == 2 && a > 0 && b > 0)
            areas.emplace_back(at, QSize(a, b));
    }
    // The root, a window of depth 0, is listed too.
    areas.erase(std::remove(areas.begin(), areas.end(), QRect(0, 0, m_width, m_height)), areas.end());
    return areas;
}

void VirtualScreen::Click(QPoint p) const
{
    Tool({"xdotool", "mousemove", std::to_string(p.x()), std::to_string(p.y()), "click", "1"});
}

std::vector<std::string> VirtualScreen::WindowsNamed(const std::string& name) const
{
    CommandResult r = Tool({"xdotool", "search", "--onlyvisible", "--name", name});
    std::vector<std::string> ids;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty())
            ids.push_back(line);
    return ids;
}
