// SPDX-License-Identifier: MIT
// The aquarium as a module of the real screensaver daemon. The daemon will
// not run its modules as root, so a test run as root runs it as "nobody" with
// a private home holding the daemon's settings.
#include "tests/e2e/E2eHarness.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <QRect>
#include <fstream>
#include <pwd.h>
#include <regex>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool Installed(const char* tool)
{
    return RunCommand({"sh", "-c", std::string("command -v ") + tool}, {}).exitCode == 0;
}

// Whether any pixel of the region still changes: the fish and the ripple move.
double ChangedShare(const VirtualScreen& screen, const QRect& region)
{
    const QImage a = screen.Screenshot().copy(region), b = screen.Screenshot().copy(region);
    if (a.isNull() || a.size() != b.size())
        return 0;
    long changed = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            changed += a.pixel(x, y) != b.pixel(x, y);
    return double(changed) / (double(a.width()) * a.height());
}

// The share of the region in the fog's white: the module's densest fog
// (its --fog 0 knob) turns the picture almost white.
double FoggedShare(const QImage& shot, const QRect& region)
{
    long hits = 0;
    for (int y = region.top(); y <= region.bottom(); y += 4)
        for (int x = region.left(); x <= region.right(); x += 4) {
            const QRgb p = shot.pixel(x, y);
            hits += qRed(p) > 170 && qGreen(p) > 170 && qBlue(p) > 170;
        }
    return double(hits) / ((region.width() / 4.0) * (region.height() / 4.0));
}

class DaemonUser {
public:
    // Runs as "nobody" when this process is root, else as this user.
    DaemonUser()
    {
        ::chmod(m_dir.Path().c_str(), 0755);
        m_home = m_dir.Path() + "home";
        m_runtime = m_dir.Path() + "run";
        ::mkdir(m_home.c_str(), 0755);
        ::mkdir(m_runtime.c_str(), 0700);
        if (::getuid() == 0) {
            const passwd* nobody = ::getpwnam("nobody");
            if (!nobody) {
                m_unusable = "there is no user \"nobody\" to run the daemon as";
                return;
            }
            for (const std::string& d : {m_home, m_runtime})
                if (::chown(d.c_str(), nobody->pw_uid, nobody->pw_gid) != 0)
                    m_unusable = "cannot hand a home directory to \"nobody\"";
            m_prefix = {"runuser", "-u", "nobody", "--"};
        }
    }

    const std::string& Unusable() const { return m_unusable; }
    const std::string& Home() const { return m_home; }

    std::vector<std::string> Command(const std::string& display, const std::vector<std::string>& argv) const
    {
        std::vector<std::string> full = m_prefix;
        for (const std::string& a : {std::string("env"), std::string("-i"), "HOME=" + m_home, "DISPLAY=" + display,
                                     "XDG_RUNTIME_DIR=" + m_runtime, std::string("PATH=/usr/bin:/bin")})
            full.push_back(a);
        full.insert(full.end(), argv.begin(), argv.end());
        return full;
    }

private:
    TempDir m_dir;
    std::string m_home, m_runtime, m_unusable;
    std::vector<std::string> m_prefix;
};

}  // namespace

TEST(Daemon, TheActiveScreensaverShowsTheAquariumWithItsKnobAndEndsWithTheDaemonsSignal)
{
    if (!Installed("xscreensaver") || !Installed("xscreensaver-command"))
        GTEST_SKIP() << "the xscreensaver daemon is not installed";
    DaemonUser user;
    if (!user.Unusable().empty())
        GTEST_SKIP() << user.Unusable();
    VirtualScreen screen(1280, 1024);
    ASSERT_TRUE(screen.Ok());
    if (RunCommand(user.Command(screen.Display(), {"test", "-x", PLOVI_BINARY}), {}).exitCode != 0)
        GTEST_SKIP() << "the daemon's user cannot run " << PLOVI_BINARY;

    std::ofstream(user.Home() + "/.xscreensaver")
        << "mode: one\nselected: 0\nfade: False\nunfade: False\nsplash: False\nlock: False\n"
           "timeout: 0:30:00\nprograms: GL: \"Plovi Aquarium\" " PLOVI_BINARY " --root --fog 0 \\n\n";
    Process daemon(user.Command(screen.Display(), {"xscreensaver", "-no-splash", "-verbose"}), {});
    const auto control = [&](const char* what) {
        return RunCommand(user.Command(screen.Display(), {"xscreensaver-command", what}), {}, 10);
    };
    const bool answers = WaitUntil([&] { return control("-version").exitCode == 0 || !daemon.Running(); }, 15);
    if (!daemon.Running())
        GTEST_SKIP() << "the daemon cannot run here: " << daemon.Err();
    ASSERT_TRUE(answers) << "the daemon runs but does not answer: " << daemon.Err();

    ASSERT_EQ(control("-activate").exitCode, 0) << daemon.Err();
    // The match refers into the log it was found in, so the log must outlive it.
    std::string log;
    std::smatch hack;
    const std::regex forked("forked \"" PLOVI_BINARY " --root --fog 0\" in pid ([0-9]+)");
    ASSERT_TRUE(WaitUntil([&] { log = daemon.Err(); return std::regex_search(log, hack, forked); }, 10))
        << daemon.Err();
    const int hackPid = std::stoi(hack[1]);

    const QRect below(0, 80, 1280, 944);
    double share = 0, changed = 0;
    EXPECT_TRUE(WaitUntil([&] {
        share = FoggedShare(screen.Screenshot(), below);
        changed = ChangedShare(screen, below);
        return share > 0.6 && changed > 0.002;
    }, 15)) << "fogged share " << share << ", changed " << changed << "\n" << daemon.Err();

    // The daemon ends its module with SIGTERM when the user comes back.
    ASSERT_EQ(control("-deactivate").exitCode, 0);
    EXPECT_TRUE(WaitUntil([&] { return ::kill(hackPid, 0) != 0; }, 3)) << "the module outlived the screensaver";
    struct stat st;
    EXPECT_NE(::stat((user.Home() + "/.config/plovi/PloviSet.ini").c_str(), &st), 0)
        << "the module wrote a settings file";
    control("-exit");
    daemon.Wait(5);
}
