// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <optional>

// One line between the aquarium and its music player process (see
// PlayerProcess and PlayerHelper). Text, one message per line:
//
//   to the player                     from the player
//   open TRACK HEXPATH                loaded TRACK
//   play / pause / close              length TRACK MS
//   seek MS                           position TRACK MS
//   volume 0..1000                    ended TRACK
//                                     failed TRACK
//                                     alive
//
// TRACK numbers the opens, so a late report about an earlier file is told
// apart from one about the current file. The path travels as the hex of its
// bytes, so any byte a file name may hold (spaces, line breaks, bytes that
// are not UTF-8) arrives unchanged. Numbers are decimal, 0..2^53.
struct PlayerMessage {
    enum class Kind {
        Open, Play, Pause, Close, Seek, Volume,           // to the player
        Loaded, Length, Position, Ended, Failed, Alive,  // from the player
    };
    // The longest line either side sends or accepts, newline included: a
    // path of 4,096 bytes as hex and room for the rest.
    static constexpr int kMaxLine = 8448;

    Kind kind = Kind::Alive;
    quint64 track = 0;   // open and the reports about one file
    qint64 value = 0;    // milliseconds (seek, length, position) or volume
    QByteArray path;     // open: the file's name in the file system's bytes

    // The line for this message, ending in '\n'; empty when it cannot be
    // sent (a path so long that the line would pass kMaxLine).
    QByteArray Encode() const;
    // The message a line (without its '\n') holds, or nullopt for anything
    // else: an unknown word, a missing or extra field, a number out of range,
    // odd or non-hex path digits, a line longer than kMaxLine.
    static std::optional<PlayerMessage> Decode(const QByteArray& line);
};
