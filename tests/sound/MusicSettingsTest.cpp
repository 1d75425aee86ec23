// SPDX-License-Identifier: MIT
#include "settings/SettingsFile.h"
#include "sound/MusicSettings.h"
#include "tests/support/TestEnvironment.h"

#include <fstream>
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

// A damaged count must not turn into a million lookups at the start, a
// million empty rows in the dialog and a million keys saved at the end: the
// list is the entries below the count the file holds, in index order, and an
// absent or empty entry leaves no empty row.
TEST(MusicSettings, ADamagedCountReadsOnlyTheEntriesTheFileHolds)
{
    TempDir dir;
    const std::string path = dir.Path() + "PloviSet.ini";
    const struct {
        const char* text;
        std::vector<std::string> tracks;
    } cases[] = {
        {"[Custom Settings]\nMusicSum=1048576\nMusicList5=/a.mp3\n", {"/a.mp3"}},
        {"[Custom Settings]\nMusicSum=2147483647\nMusicList2147483646=/z.mp3\nmusiclist0=/a.mp3\n"
         "MusicList1=\n",
         {"/a.mp3", "/z.mp3"}},
        {"[Custom Settings]\nMusicSum=3\nMusicList2=/c.mp3\nMusicList0=/a.mp3\nMusicList0=/second.mp3\n",
         {"/a.mp3", "/c.mp3"}},
        {"[Custom Settings]\nMusicSum=-5\nMusicList0=/a.mp3\n", {}},
        // Past the count, or not a name the list writes, is not listed.
        {"[Custom Settings]\nMusicSum=2\nMusicList0=/a.mp3\nMusicList2=/c.mp3\nMusicList01=/b.mp3\n"
         "MusicList+1=/b.mp3\n[Other]\nMusicList1=/b.mp3\n",
         {"/a.mp3"}},
    };
    for (const auto& c : cases) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << c.text;
        EXPECT_EQ(MusicSettings::Read(SettingsFile(path)).tracks, c.tracks) << c.text;
    }
}

}  // namespace
