// SPDX-License-Identifier: MIT
#include "platform/qt/FileNameText.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

// Every name a file system can hold comes back byte for byte: valid UTF-8
// of every length, and every way bytes can fail to be UTF-8.
TEST(FileNameText, AnyBytesComeBackWholeAndValidUtf8ReadsAsItsText)
{
    const QByteArray names[] = {
        "/music/plain.mp3",
        "/fotos/\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x90\x9F.jpg",   // é, €, a fish (four bytes)
        "/latin1/\xE9t\xE9.jpg",                                       // ISO-8859-1, not UTF-8
        "/cut/\xE2\x82",                                                 // a sequence cut at the end
        "/stray/\x80\xBF continuation bytes",
        "/overlong/\xC0\xAF and \xE0\x80\xAF",
        "/surrogate/\xED\xA0\x80 encoded",
        "/too-high/\xF4\x90\x80\x80 and \xF8\x88\x80\x80\x80",
        "/every/\xFF\xFE\xC2",
    };
    for (const QByteArray& name : names)
        EXPECT_EQ(FileNameText::ToBytes(FileNameText::FromBytes(name)), name) << name.toHex().constData();

    QByteArray all;
    for (int b = 1; b < 256; ++b)
        all += char(b);
    EXPECT_EQ(FileNameText::ToBytes(FileNameText::FromBytes(all)), all);

    // Valid UTF-8 is the text it says, the same as Qt's own reading.
    EXPECT_EQ(FileNameText::FromBytes(names[1]), QString::fromUtf8(names[1]));
    EXPECT_EQ(FileNameText::ToBytes(QString::fromUtf8(names[1])), names[1]);
    // Two names that differ only in their undecodable bytes stay apart.
    EXPECT_NE(FileNameText::FromBytes("/a\xE9"), FileNameText::FromBytes("/a\xE8"));
}

TEST(FileNameText, TextThatLostItsBytesIsRecognised)
{
    EXPECT_TRUE(FileNameText::LostBytes(QFile::decodeName("/latin1/\xE9t\xE9.jpg")));
    EXPECT_FALSE(FileNameText::LostBytes(FileNameText::FromBytes("/latin1/\xE9t\xE9.jpg")));
    EXPECT_FALSE(FileNameText::LostBytes(QString::fromUtf8("/fotos/\xC3\xA9t\xC3\xA9.jpg")));
}

}  // namespace
