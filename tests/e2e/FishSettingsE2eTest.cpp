// SPDX-License-Identifier: MIT
#include "tests/e2e/ScreenFixture.h"

#include <QColor>
#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <vector>

namespace {

const QPoint kAddFishButton(547, 35);    // the bar's Add Fish: 247, 10, 54, 15 in 2-pixel units
const int kBarBottom = 64;
// The dialog's client area, 500 x 566, centred on the 1680 x 1050 screen.
const QRect kDialog(590, 242, 500, 566);

// The screen as it is seen, and where other windows hide the tank there:
// the bar, the dialog in its frame, a desktop's panel that shows while a
// dialog has the keyboard. The windows are read before and after the shot,
// so one that comes or goes meanwhile counts as hiding its part.
struct Sight {
    QImage shot;
    std::vector<QRect> hidden;
    bool TankAt(int x, int y) const
    {
        return std::none_of(hidden.begin(), hidden.end(), [&](const QRect& r) { return r.contains(x, y); });
    }
};

Sight Look(const VirtualScreen& screen)
{
    Sight sight;
    sight.hidden = screen.PartialTopLevelAreas();
    sight.shot = screen.Screenshot();
    for (const QRect& r : screen.PartialTopLevelAreas())
        sight.hidden.push_back(r);
    return sight;
}

class FishSettingsE2e : public ScreenFixture<1680, 1050> {
protected:
    std::unique_ptr<Process> StartAndOpenDialog()
    {
        auto plovi = m_session.Start();
        EXPECT_TRUE(m_session.WaitForWindow(*plovi)) << plovi->Err();
        EXPECT_TRUE(m_session.WaitForWindow(*plovi, 10, "^Plovi 1")) << "no control bar";
        Pause(1.0);
        Click(kAddFishButton);
        EXPECT_TRUE(m_session.WaitForWindow(*plovi, 5, "^Fish Settings - Plovi 1.0$")) << "no dialog";
        Pause(0.3);
        return plovi;
    }

    void Click(const QPoint& at) const { s_screen->Click(at); }
    void Key(const std::string& key) const { s_screen->Tool({"xdotool", "key", key}); }

    // Lit pixels of the tank where it shows, below the bar.
    static int LitFishPixels(const Sight& sight)
    {
        int lit = 0;
        for (int y = kBarBottom; y < sight.shot.height(); y += 2)
            for (int x = 0; x < sight.shot.width(); x += 2)
                lit += IsLit(sight.shot.pixel(x, y)) && sight.TankAt(x, y);
        return lit;
    }
    static int LitFishPixels() { return LitFishPixels(Look(*s_screen)); }

    // How many separate lit shapes the tank holds where it shows, on an
    // 8-pixel grid.
    static int FishShapes(const Sight& sight)
    {
        constexpr int kStep = 8;
        const auto lit = [&](int x, int y) {   // any lit pixel of the cell where the tank shows
            for (int dy = 0; dy < kStep; dy += 2)
                for (int dx = 0; dx < kStep; dx += 2)
                    if (IsLit(sight.shot.pixel(x + dx, y + dy)) && sight.TankAt(x + dx, y + dy))
                        return true;
            return false;
        };
        return int(LitShapes(sight.shot, kStep, kBarBottom, lit).size());
    }
};

}  // namespace

TEST_F(FishSettingsE2e, ClearEmptiesTheTankAndThreeAddsBringThreeFishWhileTheDialogIsOpen)
{
    m_session.WriteSettings(DarkTankSettings({2, 0, 0, 0, 0, 1}));
    auto plovi = StartAndOpenDialog();
    ASSERT_TRUE(WaitUntil([&] { return LitFishPixels() > 50; }, 3))
        << "no fish to begin with";

    // C: the tank behind the open dialog empties, and the file says so.
    Key("c");
    const double cleared = Now();
    ASSERT_TRUE(WaitUntil([&] { return LitFishPixels() == 0; }, 3))
        << "fish left after Clear";
    EXPECT_LT(Now() - cleared, 1.0);
    const std::string ini = ReadWholeFile(m_session.SettingsPath());
    for (int i = 0; i < 20; ++i)
        EXPECT_NE(ini.find("Fish" + std::to_string(i) + "=0\n"), std::string::npos) << i;

    // A cell, then A three times (either case). The first fish takes up the
    // place of the slot's last fish, which may lie behind the dialog, so the
    // time to its first sight is recorded, not bounded.
    Click(kDialog.topLeft() + QPoint(250, 135));   // cell 7
    Key("a");
    const double added = Now();
    ASSERT_TRUE(WaitUntil([&] { return LitFishPixels() > 0; }, 10))
        << "no fish after Add";
    const double seenAfter = Now() - added;
    RecordProperty("fish_seen_after_ms", int(seenAfter * 1000));
    std::printf("fish seen %.0f ms after the key\n", seenAfter * 1000);
    Key("A");
    Key("a");

    // Enter closes; three fish of species 7 swim (two may cross for a moment).
    Key("Return");
    int most = 0;
    WaitUntil(
        [&] {
            most = std::max(most, FishShapes(Look(*s_screen)));
            return most >= 3;
        },
        8);
    EXPECT_EQ(most, 3);
    EXPECT_NE(ReadWholeFile(m_session.SettingsPath()).find("Fish7=3\n"), std::string::npos);

    // The keyboard is back with the aquarium: Escape ends it.
    Key("Escape");
    auto result = plovi->Wait(5);
    ASSERT_TRUE(result) << "Escape did not reach the aquarium after the dialog";
    EXPECT_EQ(result->exitCode, 0);
}

// A logout's SIGTERM comes the moment after a change, before the dialog's
// half-second save: the end of the program saves the counts as it saves the
// other dialogs'.
TEST_F(FishSettingsE2e, AChangeJustBeforeTheEndSignalIsSaved)
{
    m_session.WriteSettings(DarkTankSettings());
    for (int run = 0; run < 3; ++run) {
        auto plovi = StartAndOpenDialog();
        Click(kDialog.topLeft() + QPoint(250, 135));   // cell 7
        Key("a");
        // Time for the key to arrive; far less than the save period.
        Pause(0.25);
        ASSERT_EQ(::kill(plovi->Pid(), SIGTERM), 0);
        auto result = plovi->Wait(5);
        ASSERT_TRUE(result) << "still running after SIGTERM";
        EXPECT_EQ(result->exitCode, 0);
        EXPECT_NE(ReadWholeFile(m_session.SettingsPath()).find("Fish7=" + std::to_string(run + 1) + "\n"), std::string::npos)
            << "run " << run << ":\n"
            << ReadWholeFile(m_session.SettingsPath());
    }
}
