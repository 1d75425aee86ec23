// SPDX-License-Identifier: MIT
#include "tests/e2e/HostWindow.h"
#include "tests/e2e/ScreenFixture.h"

#include <gtest/gtest.h>
#include <QRect>
#include <algorithm>
#include <csignal>

namespace {

// A settings file a first start of the desktop aquarium would complete with
// the default of every missing key and rewrite.
const char kPartialSettings[] =
    "; the user's own comment\r\n"
    "[Aquarium Settings]\r\n"
    "LIGHTQIANGDU=150\r\n"
    "[Fish Number]\r\n"
    "Fish0=4\r\nFish3=4\r\nFish7=4\r\n";

struct RegionLook {
    double keyShare = 1;     // share of pixels still in the host's key colour
    double changedShare = 0; // share of pixels that differ between two grabs
};

bool IsKey(QRgb p)
{
    return qRed(p) > 240 && qGreen(p) < 15 && qBlue(p) > 240;
}

RegionLook Look(const VirtualScreen& screen, const QRect& region)
{
    const QImage first = screen.Screenshot().copy(region);
    const QImage second = screen.Screenshot().copy(region);
    RegionLook look;
    if (first.isNull() || second.size() != first.size())
        return look;
    long key = 0, changed = 0;
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x) {
            key += IsKey(first.pixel(x, y));
            changed += first.pixel(x, y) != second.pixel(x, y);
        }
    const double n = double(first.width()) * first.height();
    look.keyShare = key / n;
    look.changedShare = changed / n;
    return look;
}

// The whole region is drawn by the aquarium and it moves; `program`'s
// standard error goes with a failure.
::testing::AssertionResult ShowsTheAquarium(const VirtualScreen& screen, const QRect& region, const Process& program)
{
    RegionLook look;
    if (WaitUntil(
            [&] {
                look = Look(screen, region);
                return look.keyShare < 0.001 && look.changedShare > 0.002;
            },
            15))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "key share " << look.keyShare << ", changed " << look.changedShare << "\n"
                                         << program.Err();
}

}  // namespace

using Screensaver = ScreenFixture<1024, 768>;

TEST_F(Screensaver, BadWindowIdsAndConflictingOptionsAreOneLineErrors)
{
    const struct {
        std::vector<std::string> args;
        std::optional<std::string> envWindow;
        int exitCode;
        const char* said;
    } cases[] = {
        {{"--window-id", "garbage"}, std::nullopt, 1, "\"garbage\" is not a window id"},
        {{"--window-id", "0"}, std::nullopt, 1, "\"0\" is not a window id"},
        {{"--window-id", "0x1x"}, std::nullopt, 1, "is not a window id"},
        {{"--window-id", "99999999999"}, std::nullopt, 1, "is not a window id"},
        {{"--window-id=0x3ffffff"}, std::nullopt, 1, "window 0x3ffffff does not exist"},
        {{}, std::string("12abc"), 1, "XSCREENSAVER_WINDOW \"12abc\" is not a window id"},
        {{"--root"}, std::string("0x3ffffff"), 1, "window 0x3ffffff does not exist"},
        {{"--root", "--light", "101"}, std::nullopt, 2, "--light takes a whole number from 0 to 100"},
        {{"--preferences", "--window-id", "5"}, std::nullopt, 2, "cannot be used with --root or --window-id"},
        {{"--window-id"}, std::nullopt, 2, "needs a window id"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> argv = {PLOVI_BINARY};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const CommandResult r = RunCommand(argv, m_session.Environment({{"XSCREENSAVER_WINDOW", c.envWindow}}));
        const std::string label = c.args.empty() ? *c.envWindow : c.args.back();
        EXPECT_EQ(r.signal, 0) << label;
        EXPECT_EQ(r.exitCode, c.exitCode) << label;
        EXPECT_NE(r.err.find(c.said), std::string::npos) << label << ": " << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), c.exitCode == 2 ? 2 : 1) << r.err;
    }
}

TEST_F(Screensaver, DrawsOnlyIntoTheGivenWindowFollowsItsSizeAndLeavesTheSettingsAlone)
{
    m_session.WriteSettings(kPartialSettings);

    HostWindow host(s_screen->Display(), 100, 80, 320, 240);
    ASSERT_TRUE(host.Ok());
    const std::vector<std::uint32_t> before = host.OtherMappedTopLevels();
    auto plovi = m_session.Start({"--window-id", host.HexIdText()});

    EXPECT_TRUE(ShowsTheAquarium(*s_screen, QRect(100, 80, 320, 240), *plovi));
    EXPECT_EQ(host.OtherMappedTopLevels(), before) << "the module showed a window of its own";

    // A larger window is filled again, to its new edges.
    host.Resize(640, 480);
    EXPECT_TRUE(ShowsTheAquarium(*s_screen, QRect(100, 80, 640, 480), *plovi));

    const auto sent = std::chrono::steady_clock::now();
    ::kill(plovi->Pid(), SIGTERM);
    const auto result = plovi->Wait(2.0);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - sent).count();
    ASSERT_TRUE(result) << "still running after SIGTERM";
    EXPECT_EQ(result->signal, 0);
    EXPECT_EQ(result->exitCode, 0);
    EXPECT_LT(seconds, 0.5);
    EXPECT_EQ(ReadWholeFile(m_session.SettingsPath()), kPartialSettings) << "the settings file was changed";
}

// Windows far larger than any screen or GL implementation: the module draws
// what can be shown, at the window's top-left corner, and keeps running,
// also when a window grows to the largest size X allows.
TEST_F(Screensaver, HostWindowsOfAnySizeAreDrawnWithoutACrash)
{
    HostWindow host(s_screen->Display(), 0, 0, 32767, 32767);
    ASSERT_TRUE(host.Ok());
    auto plovi = m_session.Start({"--window-id", host.HexIdText()});
    const QRect screen(0, 0, 1024, 768);
    EXPECT_TRUE(ShowsTheAquarium(*s_screen, screen, *plovi));
    host.Resize(65535, 65535);
    Pause(1.0);
    EXPECT_TRUE(ShowsTheAquarium(*s_screen, screen, *plovi));
    ASSERT_TRUE(plovi->Running()) << plovi->Err();
    host.Destroy();
    const auto result = plovi->Wait(2.0);
    ASSERT_TRUE(result) << "still running after its window was destroyed\n" << plovi->Err();
    EXPECT_EQ(result->signal, 0);
    EXPECT_EQ(result->exitCode, 0) << plovi->Err();
}

TEST_F(Screensaver, APreviewAndAFullScreenRunAtOnceAndEndWhenTheirWindowsGo)
{
    // The environment's window (the daemon's way) and a second module beside
    // it: no single-instance rule in this mode.
    HostWindow preview(s_screen->Display(), 20, 20, 200, 150);
    HostWindow full(s_screen->Display(), 300, 200, 400, 300);
    ASSERT_TRUE(preview.Ok() && full.Ok());
    auto first = m_session.Start({"--root"}, {{"XSCREENSAVER_WINDOW", preview.IdText()}});
    auto second = m_session.Start({"--window-id", full.IdText()});
    EXPECT_TRUE(ShowsTheAquarium(*s_screen, QRect(20, 20, 200, 150), *first));
    EXPECT_TRUE(ShowsTheAquarium(*s_screen, QRect(300, 200, 400, 300), *second));

    // The owner destroys its window: the module's job is done.
    for (auto* pair : {&preview, &full})
        pair->Destroy();
    for (Process* p : {first.get(), second.get()}) {
        const auto result = p->Wait(2.0);
        ASSERT_TRUE(result) << "still running after its window was destroyed";
        EXPECT_EQ(result->exitCode, 0) << p->Err();
    }
}

TEST_F(Screensaver, RootModeCoversTheScreen)
{
    auto plovi = m_session.Start({"--root"});
    EXPECT_TRUE(ShowsTheAquarium(*s_screen, QRect(0, 100, 1024, 668), *plovi));
    EXPECT_TRUE(s_screen->WindowsNamed(AquariumSession::kWindowName).empty()) << "the desktop frame appeared";
    ::kill(plovi->Pid(), SIGTERM);
    const auto result = plovi->Wait(2.0);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->exitCode, 0);
}

TEST_F(Screensaver, AWaylandSessionRunsThroughX11UnlessThePlatformWasChosen)
{
    // Qt would pick its Wayland platform for this session; the aquarium
    // needs X11 and finds the XWayland display in DISPLAY.
    auto plovi = m_session.Start({}, {{"WAYLAND_DISPLAY", "wayland-plovi-test"}, {"XDG_SESSION_TYPE", "wayland"}});
    EXPECT_TRUE(m_session.WaitForWindow(*plovi)) << plovi->Err();
    EXPECT_EQ(plovi->Err().find("wayland"), std::string::npos) << plovi->Err();
    ::kill(plovi->Pid(), SIGKILL);
}
