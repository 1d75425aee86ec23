#include "settings/SettingsFile.h"
#include "sound/MusicSettings.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// The list a save leaves must be the list the next start reads: names the
// reader would trim or unquote come back whole, and a name no settings line
// can hold is left out without leaving an empty entry in its place.
TEST(MusicSettings, EveryTrackASaveCanHoldComesBackAsItWas)
{
    TempDir dir;
    const std::string path = dir.Path() + "PloviSet.ini";
    const std::string longName = "/" + std::string(4094, 'm') + " ";   // 4,096 bytes, ends in a space
    MusicSettings saved;
    saved.repeatAll = saved.ownMusic = true;
    saved.tracks = {"/music/plain.mp3",
                    "/music/ends in a space ",
                    "\t/music/starts with a tab.wav",
                    "\"/music/in quotes\"",
                    "'/music/in single quotes'",
                    "/music/one \"quote.mp3",
                    "/music/a line\rbreak.mp3",
                    "/music/after the break.mp3",
                    longName};
    {
        SettingsFile file(path);
        saved.Write(file);
        ASSERT_TRUE(file.Save());
    }
    const MusicSettings back = MusicSettings::Read(SettingsFile(path));
    std::vector<std::string> expected = saved.tracks;
    expected.erase(expected.begin() + 6);
    EXPECT_EQ(back.tracks, expected);
    EXPECT_TRUE(back.repeatAll && back.ownMusic && !back.repeatOne && !back.random);

    // The count still stands above the list, where the file has always had it.
    const std::string text = ReadWholeFile(path);
    EXPECT_LT(text.find("MusicSum=8"), text.find("MusicList0="));
    EXPECT_EQ(text.find("MusicList8="), std::string::npos);
}

}  // namespace
