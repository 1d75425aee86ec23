// SPDX-License-Identifier: MIT
#include "sound/MusicSettings.h"

#include "settings/SettingsFile.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr const char* kOwnMusic = "OwnMusic";
constexpr const char* kRepeatMusic = "RepeatMusic";
constexpr const char* kCycMusic = "CycMusic";
constexpr const char* kRandomMusic = "RandomMusic";
constexpr const char* kMusicSum = "MusicSum";
constexpr const char* kMusicList = "MusicList";

const char* Switch(bool on) { return on ? "1" : "0"; }

std::string EntryKey(int index) { return kMusicList + std::to_string(index); }

// The index of an entry's key ("MusicList" and the index in plain decimal,
// as EntryKey writes it; the name in any letter case), or -1.
int IndexOf(const std::string& key)
{
    const std::size_t prefix = std::strlen(kMusicList);
    if (key.size() <= prefix || key.size() > prefix + 10 || (key[prefix] == '0' && key.size() > prefix + 1))
        return -1;
    for (std::size_t i = 0; i < prefix; ++i)
        if (std::tolower(static_cast<unsigned char>(key[i])) != std::tolower(static_cast<unsigned char>(kMusicList[i])))
            return -1;
    long long index = 0;
    for (std::size_t i = prefix; i < key.size(); ++i) {
        if (key[i] < '0' || key[i] > '9')
            return -1;
        index = index * 10 + (key[i] - '0');
    }
    return index <= INT_MAX ? int(index) : -1;
}

// The indices below `count` the file has entries for, in order, each once.
// Found from the keys the file holds, never by trying every index up to
// the count: a damaged count (a billion) costs nothing.
std::vector<int> EntryIndices(const SettingsFile& file, int count)
{
    std::vector<int> indices;
    for (const std::string& key : file.Keys(SettingsSection::kCustomMusic))
        if (const int index = IndexOf(key); index >= 0 && index < count)
            indices.push_back(index);
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    return indices;
}

}  // namespace

MusicSettings MusicSettings::Read(const SettingsFile& file)
{
    const char* section = SettingsSection::kCustomMusic;
    MusicSettings s;
    s.ownMusic = file.ReadInt(section, kOwnMusic) == 1;
    s.repeatOne = file.ReadInt(section, kRepeatMusic) == 1;
    s.repeatAll = file.ReadInt(section, kCycMusic) == 1;
    s.random = file.ReadInt(section, kRandomMusic) == 1;
    const int count = file.ReadInt(section, kMusicSum);
    for (int index : EntryIndices(file, count))
        if (std::string track = file.ReadString(section, EntryKey(index), PrivateProfile::kPathBufferSize); !track.empty())
            s.tracks.push_back(std::move(track));
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
