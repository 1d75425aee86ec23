// SPDX-License-Identifier: MIT
#pragma once

struct ProgramValues;

// The start-up settings reader: fills Program().aquarium and
// Program().speciesCount from the settings file, writing the default text of
// every absent key and the forced value of the forced keys back to the file
// (one atomic write) unless writeBack is false: then the file is only read and
// the values in memory are the same as if it had been written. A count above 20 is used as 20 but stays in the file;
// "FOGNONGDU" outside 0..25 and "LIGHTQIANGDU" outside 0..100 are replaced by
// their defaults. Absent fish counts are drawn with Rand() % 2. Write failures
// (a read-only file or directory) leave the file as it was; the values in
// memory are the same either way. When it writes, it first deletes what
// saves killed midway at earlier runs left beside the file.
void ReadSettings();
// The same into `values` (a scene's own values; ReadSettings() fills Program()).
// With writeBack false the file is only read; the values are the same.
void ReadSettings(ProgramValues& values, bool writeBack = true);
