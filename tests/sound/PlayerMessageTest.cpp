// SPDX-License-Identifier: MIT
#include "sound/PlayerMessage.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using Kind = PlayerMessage::Kind;

PlayerMessage Make(Kind kind, quint64 track = 0, qint64 value = 0, QByteArray path = {})
{
    PlayerMessage m;
    m.kind = kind;
    m.track = track;
    m.value = value;
    m.path = std::move(path);
    return m;
}

// Every message crosses the line and back unchanged; a path keeps every
// byte a file name can hold (spaces, line breaks, bytes that are not UTF-8).
TEST(PlayerMessage, EveryMessageComesBackAsSent)
{
    QByteArray allBytes;
    for (int b = 1; b < 256; ++b)
        allBytes.append(char(b));
    const PlayerMessage messages[] = {
        Make(Kind::Open, 1, 0, "/music/reef.mp3"),
        Make(Kind::Open, 9007199254740992ull, 0, allBytes),
        Make(Kind::Open, 3, 0, QByteArray(4096, '\xe9')),
        Make(Kind::Play), Make(Kind::Pause), Make(Kind::Close), Make(Kind::Alive),
        Make(Kind::Seek, 0, 0), Make(Kind::Seek, 0, 183400), Make(Kind::Volume, 0, 1000),
        Make(Kind::Loaded, 4), Make(Kind::Length, 4, 2000), Make(Kind::Position, 4, 1999),
        Make(Kind::Ended, 4), Make(Kind::Failed, 5),
    };
    for (const PlayerMessage& m : messages) {
        const QByteArray line = m.Encode();
        ASSERT_TRUE(line.endsWith('\n')) << line.toStdString();
        EXPECT_EQ(line.count('\n'), 1) << line.toStdString();
        const auto back = PlayerMessage::Decode(line.chopped(1));
        ASSERT_TRUE(back.has_value()) << line.toStdString();
        EXPECT_EQ(int(back->kind), int(m.kind));
        EXPECT_EQ(back->track, m.track);
        EXPECT_EQ(back->value, m.value);
        EXPECT_EQ(back->path, m.path);
    }
    // What cannot travel is not sent: no path, or one too long for a line.
    EXPECT_TRUE(Make(Kind::Open, 1, 0, {}).Encode().isEmpty());
    EXPECT_TRUE(Make(Kind::Open, 1, 0, QByteArray(PlayerMessage::kMaxLine / 2, 'a')).Encode().isEmpty());
}

// A line that is not exactly one message is nothing: a player that writes
// such lines is taken for broken, and the helper drops such commands.
TEST(PlayerMessage, MalformedLinesAreRefused)
{
    const std::string bad[] = {
        "", " ", "alive ", " alive", "Alive", "hello", "play now", "ended", "ended 1 2",
        "length 1", "position 1 -5", "position 1 +5", "position 1 05", "position 1 1e3",
        "position 1 12345678901234567", "position 1 9007199254740993", "seek", "volume x",
        "open 1", "open 1 2f6", "open 1 2F6D", "open 1 2f6g", "open 1 2f 6d", "open 1 2f00",
        "open x 2f6d", "loaded 1\r", std::string("alive\0", 6),
    };
    for (const std::string& line : bad)
        EXPECT_FALSE(PlayerMessage::Decode(QByteArray(line.data(), int(line.size()))).has_value()) << line;
    EXPECT_FALSE(PlayerMessage::Decode("open 1 " + QByteArray(PlayerMessage::kMaxLine, 'a')).has_value());
}

}  // namespace
