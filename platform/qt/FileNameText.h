// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

// File names as the file system holds them (any bytes but NUL) and as text
// the interface can show and keep, without losing a byte on the way. Qt's
// own conversion (QFile::decodeName) turns every byte that is not part of
// valid UTF-8 into U+FFFD, after which the name can neither be opened nor
// saved as it was. Here such a byte b (always 0x80..0xFF) becomes the lone
// surrogate U+DC00 + b in the text, which no valid UTF-8 can give, and turns
// back into b; every other character is plain UTF-8 both ways. Shown, such a
// byte is a replacement mark; the name behind it stays whole.
namespace FileNameText {

QString FromBytes(const QByteArray& bytes);
QByteArray ToBytes(const QString& text);

// Whether a name lost bytes before it got here: it holds U+FFFD, the mark
// Qt's own conversion (a file dialog's answer) leaves for them.
bool LostBytes(const QString& text);

}  // namespace FileNameText
