// SPDX-License-Identifier: MIT
#include "tests/e2e/ScreenFixture.h"

#include <QColor>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

class Scene : public ScreenFixture<1024, 768> {
protected:
    // Mean brightness (0..255) of a rectangle of the screen.
    static double Brightness(const QImage& shot, const QRect& area)
    {
        double sum = 0;
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); y += 4)
            for (int x = area.left(); x <= area.right(); x += 4, ++count)
                sum += QColor(shot.pixel(x, y)).value();
        return count ? sum / count : 0;
    }

    // Starts the aquarium and gives it time for its first frames.
    std::unique_ptr<Process> StartAndSettle()
    {
        auto plovi = m_session.Start();
        EXPECT_TRUE(m_session.WaitForWindow(*plovi)) << plovi->Err();
        Pause(1.5);
        return plovi;
    }
};

const QRect kWater(100, 150, 824, 300);   // open water and plants, below the surface

}  // namespace

TEST_F(Scene, FirstStartWritesTheSettingsLeavesNoArtBehindAndRipples)
{
    auto plovi = StartAndSettle();
    const std::string ini = ReadWholeFile(m_session.SettingsPath());
    for (const char* part : {"[Aquarium Settings]", "FOGNONGDU=25", "[Fish Number]", "Fish19="})
        EXPECT_NE(ini.find(part), std::string::npos) << part;
    // The built-in art was unpacked, loaded and deleted again.
    const std::string assets = m_session.RuntimeDir() + "/plovi";
    ASSERT_TRUE(std::filesystem::is_directory(assets));
    EXPECT_TRUE(std::filesystem::is_empty(assets));

    const QImage first = s_screen->Screenshot();
    Pause(0.5);
    const QImage second = s_screen->Screenshot();
    ASSERT_FALSE(first.isNull());
    // Water below the surface. (The black backdrop above the surface lies
    // under the control bar, which covers the top of the screen.)
    EXPECT_GT(Brightness(first, kWater), 60);
    // Drops fall every frame: the picture moves between two looks.
    int changed = 0;
    for (int y = kWater.top(); y <= kWater.bottom(); ++y)
        for (int x = kWater.left(); x <= kWater.right(); ++x)
            changed += first.pixel(x, y) != second.pixel(x, y);
    EXPECT_GT(changed, 2000);
    EXPECT_TRUE(plovi->Running());
}

TEST_F(Scene, LightAndFogSettingsChangeWhatTheUserSees)
{
    // The mean brightness of the water with no fish at these settings.
    auto waterWith = [&](const std::string& light, const std::string& fog) {
        m_session.WriteSettings("[Aquarium Settings]\nLIGHTQIANGDU=" + light + "\nFOGNONGDU=" + fog +
                      "\n[Fish Number]\nFish0=0\n");
        auto plovi = StartAndSettle();
        const QImage shot = s_screen->Screenshot();
        EXPECT_FALSE(shot.isNull()) << "no screenshot";
        EXPECT_TRUE(plovi->Running()) << plovi->Err();
        return Brightness(shot, kWater);
    };
    const double normal = waterWith("0", "25");
    const double dark = waterWith("90", "25");
    const double foggy = waterWith("0", "0");
    RecordProperty("water_normal_dark_foggy",
                   std::to_string(int(normal)) + " " + std::to_string(int(dark)) + " " + std::to_string(int(foggy)));
    EXPECT_LT(dark, normal * 0.5) << "light 90 should darken the tank";
    EXPECT_GT(foggy, normal + 40) << "dense fog should wash the tank out towards white";
}
