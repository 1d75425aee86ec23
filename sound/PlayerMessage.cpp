// SPDX-License-Identifier: MIT
#include "sound/PlayerMessage.h"

#include <QList>
#include <cstring>

namespace {

using Kind = PlayerMessage::Kind;

// Which fields follow a message's word, in this order: track, value, path.
struct Shape {
    Kind kind;
    const char* word;
    bool track;
    bool value;
    bool path;
};

const Shape kShapes[] = {
    {Kind::Open, "open", true, false, true},
    {Kind::Play, "play", false, false, false},
    {Kind::Pause, "pause", false, false, false},
    {Kind::Close, "close", false, false, false},
    {Kind::Seek, "seek", false, true, false},
    {Kind::Volume, "volume", false, true, false},
    {Kind::Loaded, "loaded", true, false, false},
    {Kind::Length, "length", true, true, false},
    {Kind::Position, "position", true, true, false},
    {Kind::Ended, "ended", true, false, false},
    {Kind::Failed, "failed", true, false, false},
    {Kind::Alive, "alive", false, false, false},
};

constexpr qint64 kMaxNumber = qint64(1) << 53;

const Shape* ShapeOf(Kind kind)
{
    for (const Shape& s : kShapes)
        if (s.kind == kind)
            return &s;
    return nullptr;
}

const Shape* ShapeOf(const QByteArray& word)
{
    for (const Shape& s : kShapes)
        if (word == s.word)
            return &s;
    return nullptr;
}

// A decimal number 0..kMaxNumber written without sign, spaces or leading
// zeros (so every number has one spelling).
std::optional<qint64> ParseNumber(const QByteArray& text)
{
    if (text.isEmpty() || text.size() > 16 || (text.size() > 1 && text[0] == '0'))
        return std::nullopt;
    qint64 n = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        n = n * 10 + (c - '0');
    }
    if (n > kMaxNumber)
        return std::nullopt;
    return n;
}

std::optional<QByteArray> ParseHex(const QByteArray& text)
{
    if (text.isEmpty() || text.size() % 2 != 0)
        return std::nullopt;
    for (char c : text)
        if (c == '\0' || !std::strchr("0123456789abcdef", c))
            return std::nullopt;
    return QByteArray::fromHex(text);
}

}  // namespace

QByteArray PlayerMessage::Encode() const
{
    const Shape* shape = ShapeOf(kind);
    if (!shape)
        return {};
    QByteArray line = shape->word;
    if (shape->track)
        line += ' ' + QByteArray::number(track);
    if (shape->value)
        line += ' ' + QByteArray::number(qBound<qint64>(0, value, kMaxNumber));
    if (shape->path) {
        if (path.isEmpty())
            return {};
        line += ' ' + path.toHex();
    }
    line += '\n';
    return line.size() > kMaxLine ? QByteArray() : line;
}

std::optional<PlayerMessage> PlayerMessage::Decode(const QByteArray& line)
{
    if (line.size() >= kMaxLine)
        return std::nullopt;
    const QList<QByteArray> fields = line.split(' ');
    const Shape* shape = ShapeOf(fields.first());
    if (!shape)
        return std::nullopt;
    const int expected = 1 + int(shape->track) + int(shape->value) + int(shape->path);
    if (fields.size() != expected)
        return std::nullopt;

    PlayerMessage m;
    m.kind = shape->kind;
    int at = 1;
    if (shape->track) {
        const auto n = ParseNumber(fields[at++]);
        if (!n)
            return std::nullopt;
        m.track = quint64(*n);
    }
    if (shape->value) {
        const auto n = ParseNumber(fields[at++]);
        if (!n)
            return std::nullopt;
        m.value = *n;
    }
    if (shape->path) {
        const auto bytes = ParseHex(fields[at++]);
        if (!bytes)
            return std::nullopt;
        // No file name holds a NUL byte.
        if (bytes->contains('\0'))
            return std::nullopt;
        m.path = *bytes;
    }
    return m;
}
