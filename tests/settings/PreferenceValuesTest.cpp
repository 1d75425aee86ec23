// SPDX-License-Identifier: MIT
#include "settings/PreferenceValues.h"

#include "settings/ProgramValues.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsOverrides.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <fstream>
#include <numeric>

namespace {

class PreferenceValuesTest : public ::testing::Test {
protected:
    std::string Path() const { return m_dir.Path() + "PloviSet.ini"; }
    void Write(const std::string& text) const { std::ofstream(Path(), std::ios::binary) << text; }

    TempDir m_dir;
};

}  // namespace

TEST_F(PreferenceValuesTest, HandEditedValuesShowAsTheNearestInRangeAndAbsentKeysAsDefaults)
{
    Write("[Aquarium Settings]\r\nLIGHTQIANGDU=150\r\nFOGNONGDU=-3\r\nYINLIANG=70000\r\n"
          "BACKGROUND=7\r\nBACK MANJIANBIAN=2\r\nBACK COLOR1=4294967295\r\nBACK COLOR2=33488895\r\n");
    const PreferenceValues v = PreferenceValues::Read(SettingsFile(Path()));
    EXPECT_EQ(v.light, 100);
    EXPECT_EQ(v.fog, 0);
    EXPECT_EQ(v.yinliang, PreferenceValues::kSilent);
    EXPECT_FALSE(v.picture) << "any BACKGROUND but 0 hides the picture";
    EXPECT_FALSE(v.gradient) << "only 1 switches a setting on";
    EXPECT_EQ(v.topColour, 0xFFFFFF) << "atoi saturates; the colour bytes stay";
    EXPECT_EQ(v.bottomColour, 0xFEFFFF);

    Write("");
    EXPECT_EQ(PreferenceValues::Read(SettingsFile(Path())), PreferenceValues());
}

TEST_F(PreferenceValuesTest, OnlyChangedKeysAreWrittenAndEveryOtherLineStays)
{
    const std::string original = "; my notes\r\n[Aquarium Settings]\r\nYINLIANG=70000\r\nLIGHTQIANGDU = 150 ; odd\r\n"
                                 "QIPAONUM=100\r\n[Fish Number]\r\nFish0=3\r\n";
    Write(original);
    const PreferenceValues before = PreferenceValues::Read(SettingsFile(Path()));
    {
        SettingsFile file(Path());
        EXPECT_EQ(before.StageChanges(file, before), 0);
        EXPECT_TRUE(file.Save());
    }
    EXPECT_EQ(ReadWholeFile(Path()), original) << "nothing changed, nothing written";

    PreferenceValues after = before;
    after.fog = 10;
    after.picture = false;
    after.bottomColour = 0x0000FF;
    SettingsFile file(Path());
    EXPECT_EQ(after.StageChanges(file, before), 3);
    ASSERT_TRUE(file.Save());
    EXPECT_EQ(ReadWholeFile(Path()),
              "; my notes\r\n[Aquarium Settings]\r\nYINLIANG=70000\r\nLIGHTQIANGDU = 150 ; odd\r\n"
              "QIPAONUM=100\r\nFOGNONGDU=10\r\nBACKGROUND=1\r\nBACK COLOR2=255\r\n[Fish Number]\r\nFish0=3\r\n");
}

TEST_F(PreferenceValuesTest, AppliedValuesAreWhatTheSceneReadsAndVolumePercentsRoundTrip)
{
    PreferenceValues v;
    v.light = 40;
    v.fog = 5;
    v.picture = false;
    v.gradient = true;
    v.topColour = 0x123456;
    v.yinliang = 1000;
    AquariumSettingsValues memory;
    v.ApplyTo(memory);
    EXPECT_EQ(memory.light, 40);
    EXPECT_EQ(memory.fog, 5);
    EXPECT_NE(memory.background, 0);
    EXPECT_EQ(memory.backGradual, 1);
    EXPECT_EQ(memory.backColor1, 0x123456);
    EXPECT_EQ(memory.volume, 1000);
    EXPECT_EQ(PreferenceValues::From(memory), v);

    EXPECT_EQ(PreferenceValues::Percent(32767), 50);
    EXPECT_EQ(PreferenceValues::Attenuation(0), PreferenceValues::kSilent);
    EXPECT_EQ(PreferenceValues::Attenuation(100), 0);
    for (int p = 0; p <= 100; ++p)
        EXPECT_EQ(PreferenceValues::Percent(PreferenceValues::Attenuation(p)), p);
}

TEST(SettingsOverrides, GivenValuesReplaceTheFilesAndTheRestStays)
{
    ProgramValues values;
    for (int& c : values.speciesCount)
        c = 1;
    values.aquarium.light = 30;
    values.aquarium.fog = 20;
    SettingsOverrides none;
    none.ApplyTo(values);
    EXPECT_EQ(std::accumulate(std::begin(values.speciesCount), std::end(values.speciesCount), 0), 20);
    EXPECT_EQ(values.aquarium.light, 30);

    SettingsOverrides some;
    some.fish = 3;
    some.fog = 99;
    some.ApplyTo(values);
    int active[kSpeciesCount];
    ActiveFishCounts(values.speciesCount, active);
    EXPECT_EQ(std::accumulate(std::begin(active), std::end(active), 0), 3);
    EXPECT_EQ(active[0] + active[1] + active[2], 3) << "three different species";
    EXPECT_EQ(values.aquarium.fog, 25);
    EXPECT_EQ(values.aquarium.light, 30);
}
