// SPDX-License-Identifier: MIT
#include "sound/TrackChooser.h"

#include "platform/MsvcRandom.h"

bool ChooseTrack(PlayMode mode, bool playing, bool picked, int selected, int current, int count,
                 TrackChoice* out)
{
    if (count <= 0)
        return false;
    int row = 0;
    if (!playing) {
        if (selected >= 0)
            row = selected;
        else
            row = mode == PlayMode::Random ? Rand() % count : 0;
    } else if (picked) {
        row = selected;
    } else {
        switch (mode) {
        case PlayMode::RepeatOne: row = current; break;
        case PlayMode::RepeatAll: row = current + 1 >= count ? 0 : current + 1; break;
        case PlayMode::Random: row = Rand() % count; break;
        }
    }
    // A current index left outside the list (rows removed while playing)
    // starts again at the first row.
    if (row < 0 || row >= count)
        row = 0;
    out->row = row;
    out->current = row;
    return true;
}

int NextPlayableRow(PlayMode mode, int failed, int count, const std::set<int>& unplayable)
{
    if (mode == PlayMode::RepeatOne || count <= 0)
        return -1;
    int playable = 0;
    for (int row = 0; row < count; ++row)
        playable += unplayable.count(row) ? 0 : 1;
    if (playable == 0)
        return -1;
    if (mode == PlayMode::RepeatAll) {
        for (int step = 1; step <= count; ++step) {
            const int row = ((failed < 0 ? -1 : failed) + step) % count;
            if (!unplayable.count(row))
                return row;
        }
        return -1;
    }
    int pick = Rand() % playable;
    for (int row = 0; row < count; ++row)
        if (!unplayable.count(row) && pick-- == 0)
            return row;
    return -1;
}
