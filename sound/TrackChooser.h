// SPDX-License-Identifier: MIT
#pragma once

#include <set>

// Which row of the music list plays next. Rows are 0..count-1.
enum class PlayMode { RepeatOne = 0, RepeatAll = 1, Random = 2 };

struct TrackChoice {
    int row = -1;      // the row to open
    int current = -1;  // the new current index
};

// The choice for one play mode and play state:
//
//   mode        not playing                 playing, picked   playing, not picked
//   RepeatOne   selected, else row 0        selected          current again
//   RepeatAll   selected, else row 0        selected          current + 1, wrapping to 0
//   Random      selected, else Rand() % n   selected          Rand() % n (may repeat)
//
// selected is the first selected row or -1; picked is true only for a click
// on a list row. Draws come from the program's generator (platform/
// MsvcRandom), one per Random choice that needs one. Returns false (no
// choice, no draw) when the list is empty.
bool ChooseTrack(PlayMode mode, bool playing, bool picked, int selected, int current, int count,
                 TrackChoice* out);

// The row to try next after a file of the list turned out unplayable while
// the list plays, never one of the rows in `unplayable` (rows found
// unplayable since the music last played; it holds `failed`):
//
//   RepeatOne   none: the list stops
//   RepeatAll   the first playable row after `failed`, wrapping to 0
//   Random      a draw among the playable rows: the (Rand() % playable)-th
//
// -1 (and no draw) when no row is left, so a list without a playable file
// stops after trying each once.
int NextPlayableRow(PlayMode mode, int failed, int count, const std::set<int>& unplayable);
