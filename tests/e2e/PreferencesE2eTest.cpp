// SPDX-License-Identifier: MIT
// Preferences as a user reaches it: `plovi --preferences` alone, the same
// command while the aquarium runs, and the aquarium's own key.
#include "tests/e2e/ScreenFixture.h"
#include "tests/support/PrivateSoundServer.h"

#include <gtest/gtest.h>
#include <QRect>

namespace {

constexpr const char* kDialogName = "^Preferences - Plovi 1.0$";

double MeanBrightness(const QImage& shot, const QRect& region)
{
    double sum = 0;
    long n = 0;
    for (int y = region.top(); y <= region.bottom(); y += 3)
        for (int x = region.left(); x <= region.right(); x += 3, ++n) {
            const QRgb p = shot.pixel(x, y);
            sum += (qRed(p) + qGreen(p) + qBlue(p)) / 3.0;
        }
    return n ? sum / double(n) : 0;
}

}  // namespace

using Preferences = ScreenFixture<1680, 1050>;

TEST_F(Preferences, AloneItEditsTheFileAndEndsWhenClosed)
{
    auto prefs = m_session.Start({"--preferences"});
    ASSERT_TRUE(WaitUntil([&] { return s_screen->WindowOrigin(kDialogName).has_value(); }, 15)) << prefs->Err();
    const QPoint dialog = *s_screen->WindowOrigin(kDialogName);
    // The picture box (14, 71 in dialog units): a click hides the picture.
    s_screen->Click(dialog + QPoint(14 * 3 / 2 + 6, 71 * 13 / 8 + 8));
    const std::string path = m_session.SettingsPath();
    EXPECT_TRUE(WaitUntil([&] { return ReadWholeFile(path).find("BACKGROUND=1") != std::string::npos; }, 5))
        << ReadWholeFile(path);
    const std::vector<std::string> windows = s_screen->WindowsNamed(kDialogName);
    ASSERT_FALSE(windows.empty());
    s_screen->Tool({"xdotool", "key", "--window", windows[0], "Escape"});
    const auto result = prefs->Wait(5);
    ASSERT_TRUE(result) << "still open after Escape";
    EXPECT_EQ(result->exitCode, 0);
}

TEST_F(Preferences, TheAquariumNamesItselfToTheSoundServer)
{
    TempDir sound;
    PrivateSoundServer server(sound.Path());
    ASSERT_TRUE(server.Ok()) << server.Error();
    const Process::Env pulse = {{"PULSE_SERVER", server.Address()}};
    auto plovi = m_session.Start({}, pulse);
    ASSERT_TRUE(m_session.WaitForWindow(*plovi)) << plovi->Err();
    // The built-in tune's client carries the program's name.
    std::string clients;
    EXPECT_TRUE(WaitUntil([&] {
        clients = RunCommand({"pactl", "list", "clients"}, pulse, 5).out;
        return clients.find("application.name = \"Plovi Aquarium\"") != std::string::npos;
    }, 10)) << clients;
    EXPECT_EQ(clients.find("QtPulseAudio"), std::string::npos) << clients;
}

// The command is started as soon as the aquarium's window shows, however
// busy the aquarium still is with its start: it must be reached all the same.
TEST_F(Preferences, TheRunningAquariumOpensThemAndTakesChangesAtOnce)
{
    auto plovi = m_session.Start();
    ASSERT_TRUE(m_session.WaitForWindow(*plovi)) << plovi->Err();

    // A second command reaches the running aquarium and ends at once,
    // without a dialog of its own.
    const CommandResult asked = RunCommand({PLOVI_BINARY, "--preferences"}, m_session.Environment(), 30);
    ASSERT_EQ(asked.exitCode, 0) << "no answer from the running aquarium: " << asked.err;
    ASSERT_TRUE(WaitUntil([&] { return s_screen->WindowOrigin(kDialogName).has_value(); }, 20)) << plovi->Err();
    QPoint dialog = *s_screen->WindowOrigin(kDialogName);
    const QRect tank(0, 200, 500, 800);   // left of the centred dialog, below the bar
    const double before = MeanBrightness(s_screen->Screenshot(), tank);

    // The light slider (46, 15 in dialog units): focus it, then all the way down.
    s_screen->Click(dialog + QPoint(46 * 3 / 2 + 20, 15 * 13 / 8 + 11));
    s_screen->Tool({"xdotool", "key", "Home"});
    double after = before;
    EXPECT_TRUE(WaitUntil([&] { return (after = MeanBrightness(s_screen->Screenshot(), tank)) < 0.3 * before; }, 5))
        << "brightness " << before << " -> " << after;

    // Closed with Escape, opened again with the aquarium's key.
    s_screen->Tool({"xdotool", "key", "Escape"});
    ASSERT_TRUE(WaitUntil([&] { return !s_screen->WindowOrigin(kDialogName).has_value(); }, 5));
    EXPECT_TRUE(plovi->Running());
    EXPECT_NE(ReadWholeFile(m_session.SettingsPath()).find("LIGHTQIANGDU=100"), std::string::npos);
    s_screen->Click(QPoint(800, 700));
    s_screen->Tool({"xdotool", "key", "p"});
    EXPECT_TRUE(WaitUntil([&] { return s_screen->WindowOrigin(kDialogName).has_value(); }, 5)) << "P did not open it";
}
