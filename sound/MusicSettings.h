// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

class SettingsFile;

// The music dialog's part of the settings file, section "Custom Settings":
// "OwnMusic", "RepeatMusic", "CycMusic", "RandomMusic" ("1" / "0"; only 1
// reads as on), "MusicSum" and "MusicList0".."MusicList<MusicSum - 1>" (one
// file path each, in list order). Nothing is written by a read.
struct MusicSettings {
    bool ownMusic = false;
    bool repeatOne = false;
    bool repeatAll = false;
    bool random = false;
    std::vector<std::string> tracks;

    // The entries below "MusicSum" the file holds, in index order; an
    // absent or empty entry leaves no empty row (a negative or damaged
    // count costs nothing: only the file's own keys are looked at). Every
    // entry is read whole up to 4,096 bytes.
    static MusicSettings Read(const SettingsFile& file);
    // Stages the keys in `file` (the caller saves); Read gives back the
    // same list. A track the file cannot hold (a line break in its name) is
    // left out, the ones after it move up, so no entry reads back empty.
    // Entries beyond the list from an earlier, longer save are left in
    // place: "MusicSum" bounds what is read back.
    void Write(SettingsFile& file) const;
};
