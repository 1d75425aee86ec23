#include "sound/MusicSettings.h"

#include "settings/SettingsFile.h"

#include <string>

namespace {

constexpr const char* kOwnMusic = "OwnMusic";
constexpr const char* kRepeatMusic = "RepeatMusic";
constexpr const char* kCycMusic = "CycMusic";
constexpr const char* kRandomMusic = "RandomMusic";
constexpr const char* kMusicSum = "MusicSum";
constexpr const char* kMusicList = "MusicList";
// No list is longer than the file could hold; a corrupt count cannot make the
// reader spin through billions of absent keys.
constexpr int kMaxEntries = 1 << 20;

const char* Switch(bool on) { return on ? "1" : "0"; }

std::string EntryKey(int index) { return kMusicList + std::to_string(index); }

}  // namespace

MusicSettings MusicSettings::Read(const SettingsFile& file)
{
    const char* section = SettingsSection::kCustomMusic;
    MusicSettings s;
    s.ownMusic = file.ReadInt(section, kOwnMusic) == 1;
    s.repeatOne = file.ReadInt(section, kRepeatMusic) == 1;
    s.repeatAll = file.ReadInt(section, kCycMusic) == 1;
    s.random = file.ReadInt(section, kRandomMusic) == 1;
    int count = file.ReadInt(section, kMusicSum);
    if (count > kMaxEntries)
        count = kMaxEntries;
    for (int i = 0; i < count; ++i)
        s.tracks.push_back(file.ReadString(section, EntryKey(i), PrivateProfile::kPathBufferSize));
    return s;
}

void MusicSettings::Write(SettingsFile& file) const
{
    const char* section = SettingsSection::kCustomMusic;
    file.WriteString(section, kRandomMusic, Switch(random));
    file.WriteString(section, kCycMusic, Switch(repeatAll));
    file.WriteString(section, kRepeatMusic, Switch(repeatOne));
    file.WriteString(section, kOwnMusic, Switch(ownMusic));
    // The count goes above the list, as it always has; it is set again once
    // the list shows how many tracks the file could hold.
    file.WriteInt(section, kMusicSum, int(tracks.size()));
    int stored = 0;
    for (const std::string& track : tracks)
        if (file.WritePath(section, EntryKey(stored), track))
            ++stored;
    file.WriteInt(section, kMusicSum, stored);
}
