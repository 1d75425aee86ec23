// SPDX-License-Identifier: MIT
// The settings reader on any file: the private-profile rules (lookups, and a
// change followed by lookups on the changed profile, which must read like a
// fresh read of its text), then the start-up reader and the list reads of
// the dialogs with the values they promise; the music list also through its
// save and a read of what was saved.
//
// Input: the first line is a change to make, "section|key|value"; the rest
// is the settings file.
#include "fuzz/FuzzScratch.h"
#include "platform/MessageBox.h"
#include "platform/MsvcRandom.h"
#include "settings/PrivateProfile.h"
#include "settings/ProgramValues.h"
#include "settings/ReadSettings.h"
#include "settings/SettingsFile.h"
#include "sound/MusicSettings.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Change {
    std::string section, key, value;
};

Change ParseChange(const std::string& line)
{
    Change c;
    const std::size_t a = line.find('|');
    const std::size_t b = a == std::string::npos ? a : line.find('|', a + 1);
    if (b == std::string::npos)
        return {"Aquarium Settings", "FOGNONGDU", line};
    return {line.substr(0, a), line.substr(a + 1, b - a - 1), line.substr(b + 1)};
}

void CheckProfile(const std::string& path, const Change& change)
{
    std::vector<std::pair<std::string, std::string>> names = {
        {"Aquarium Settings", "FOGNONGDU"}, {"aquarium settings", "show water"}, {"Fish Number", "Fish0"},
        {"Custom Images", "ImageList0"},    {"Custom Settings", "MusicSum"},     {"", ""},
        {change.section, change.key},       {change.section, "x"},
    };
    PrivateProfile profile(path);
    profile.Load();
    for (const auto& [s, k] : names)
        FUZZ_CHECK(profile.Get(s, k, PrivateProfile::kPathBufferSize).size() < PrivateProfile::kPathBufferSize);
    if (!profile.Set(change.section, change.key, change.value))
        return;
    const std::string copyPath = path + ".copy";
    FILE* copy = std::fopen(copyPath.c_str(), "wb");
    std::fwrite(profile.Text().data(), 1, profile.Text().size(), copy);
    std::fclose(copy);
    PrivateProfile fresh(copyPath);
    fresh.Load();
    for (const auto& [s, k] : names)
        FUZZ_CHECK(profile.Get(s, k) == fresh.Get(s, k));
}

void CheckStartupReader()
{
    ResetProgramValues();
    MsvcRandom::Reset();
    ReadSettings();
    const AquariumSettingsValues& v = Program().aquarium;
    FUZZ_CHECK(v.fog >= 0 && v.fog <= 25);
    FUZZ_CHECK(v.light >= 0 && v.light <= 100);
    FUZZ_CHECK(v.volume >= 0 && v.volume <= 65535);
    for (int count : Program().speciesCount)
        FUZZ_CHECK(count <= kMaxFish);
    int active[kSpeciesCount];
    ActiveFishCounts(Program().speciesCount, active);
    int sum = 0;
    for (int count : active) {
        FUZZ_CHECK(count >= 0);
        sum += count;
    }
    FUZZ_CHECK(sum <= kMaxFish);

    // The picture list, read as the background dialog reads it.
    const SettingsFile file;
    const int images = file.ReadInt(SettingsSection::kCustomImages, "ImageSum");
    for (int i = 0; i < std::min(images, 10); ++i)
        FUZZ_CHECK(file.ReadString(SettingsSection::kCustomImages, "ImageList" + std::to_string(i),
                                   PrivateProfile::kPathBufferSize)
                       .size() < PrivateProfile::kPathBufferSize);
}

bool Storable(const std::string& path) { return path.find_first_of("\r\n") == std::string::npos; }

// The music list as its dialog reads it, and its save read back from a
// file of its own: the same switches, the same list but for the tracks no
// file can hold.
void CheckMusicList(const std::string& scratchDir)
{
    const SettingsFile file;
    const MusicSettings read = MusicSettings::Read(file);
    const int count = file.ReadInt(SettingsSection::kCustomMusic, "MusicSum");
    FUZZ_CHECK(read.tracks.size() <= std::size_t(std::max(count, 0)));
    FUZZ_CHECK(read.tracks.size() <= file.Keys(SettingsSection::kCustomMusic).size());
    std::vector<std::string> storable;
    for (const std::string& track : read.tracks) {
        FUZZ_CHECK(!track.empty() && track.size() < PrivateProfile::kPathBufferSize);
        if (Storable(track))
            storable.push_back(track);
    }
    const std::string copyPath = scratchDir + "music.ini";
    std::remove(copyPath.c_str());
    SettingsFile copy(copyPath);
    read.Write(copy);
    FUZZ_CHECK(copy.Save());
    const MusicSettings back = MusicSettings::Read(SettingsFile(copyPath));
    FUZZ_CHECK(back.ownMusic == read.ownMusic && back.repeatOne == read.repeatOne &&
               back.repeatAll == read.repeatAll && back.random == read.random);
    FUZZ_CHECK(back.tracks == storable);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const FuzzScratch scratch;
    static const bool ready = [] {
        ::setenv("XDG_CONFIG_HOME", scratch.Dir().c_str(), 1);
        SetMessageBoxHandler([](const std::string&, const std::string&, MessageIcon) {});
        return ::mkdir((scratch.Dir() + "plovi").c_str(), 0700) == 0;
    }();
    FUZZ_CHECK(ready);
    const char* text = reinterpret_cast<const char*>(data);
    const void* newline = std::memchr(text, '\n', size);
    const std::size_t split = newline ? std::size_t(static_cast<const char*>(newline) - text) : 0;
    const Change change = ParseChange(std::string(text, split));
    const std::size_t body = newline ? split + 1 : 0;
    const std::string path = scratch.Write("plovi/PloviSet.ini", data + body, size - body);

    CheckProfile(path, change);
    CheckStartupReader();
    CheckMusicList(scratch.Dir());
    return 0;
}
