// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QtGlobal>

// The playing time of a file of MPEG audio frames (MP3, MP2, MP1), counted
// from its frame headers: the media stack does not always announce the length
// of a short MP3, and a list needs it to show and to tell a stall from an end.
//
// Trusts nothing in the file: every header is checked before its frame is
// counted, no read goes past the data, and the answer is 0 (unknown) unless
// the file is MPEG audio from its start (after an ID3v2 tag, if any) and the
// chain of whole frames covers nearly all of it, so a program stream or any
// other file that merely holds a few frame-like bytes never gets a length.
class MpegAudioLength {
public:
    // Milliseconds of sound in data, or 0 when it cannot be told.
    static qint64 Milliseconds(const QByteArray& data);

    // One frame header at data[at..at+3]: its size in bytes and its samples,
    // or false when the four bytes are no valid header.
    static bool ReadHeader(const QByteArray& data, qsizetype at, int* bytes, int* samples, int* rate);
};
