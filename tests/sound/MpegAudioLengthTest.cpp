// SPDX-License-Identifier: MIT
#include "sound/MpegAudioLength.h"

#include "tests/sound/SoundTestSupport.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

QByteArray Mp3Of(int milliseconds, const TempDir& dir)
{
    const std::string wav = dir.Path() + "tone.wav", mp3 = dir.Path() + "tone.mp3";
    SoundTest::WriteFile(wav, SoundTest::SineWave(milliseconds));
    return SoundTest::EncodeMp3(wav, mp3) ? QByteArray::fromStdString(ReadWholeFile(mp3)) : QByteArray();
}

}  // namespace

// Real files from the encoder: the length is the sound's, give or take the
// encoder's delay and the last frame's padding (under 60 ms at 22,050 Hz),
// with or without a tag in front and behind.
TEST(MpegAudioLength, CountsTheSoundOfRealMp3Files)
{
    TempDir dir;
    for (int ms : {700, 3000}) {
        const QByteArray mp3 = Mp3Of(ms, dir);
        ASSERT_FALSE(mp3.isEmpty());
        EXPECT_NEAR(double(MpegAudioLength::Milliseconds(mp3)), ms, 80.0) << ms;
        // An ID3v2 tag of 300 bytes in front, an ID3v1 tag behind.
        QByteArray tagged("ID3\x04\x00\x00\x00\x00\x02\x2C", 10);
        tagged += QByteArray(300, '\0') + mp3 + "TAG" + QByteArray(125, ' ');
        EXPECT_NEAR(double(MpegAudioLength::Milliseconds(tagged)), ms, 80.0) << ms << " tagged";
    }
}

// What is not a chain of MPEG audio frames from its start has no length: a
// wave file, a program stream holding a few frames, a file cut to a third,
// garbage that looks like one header, a tag claiming more than the file.
TEST(MpegAudioLength, GivesNoLengthToWhatIsNotMpegAudio)
{
    TempDir dir;
    const QByteArray mp3 = Mp3Of(3000, dir);
    ASSERT_FALSE(mp3.isEmpty());
    EXPECT_EQ(MpegAudioLength::Milliseconds(SoundTest::SineWave(700)), 0);
    EXPECT_EQ(MpegAudioLength::Milliseconds(QByteArray("\x00\x00\x01\xBA", 4) + mp3.left(2000) + QByteArray(20000, 'x')), 0);
    EXPECT_EQ(MpegAudioLength::Milliseconds(mp3.left(mp3.size() / 3) + QByteArray(2 * mp3.size() / 3, '\x55')), 0);
    EXPECT_EQ(MpegAudioLength::Milliseconds(QByteArray("\xFF\xFB\x90\x64", 4)), 0);
    EXPECT_EQ(MpegAudioLength::Milliseconds(QByteArray("ID3\x04\x00\x00\x7F\x7F\x7F\x7F", 10) + mp3), 0);
    EXPECT_EQ(MpegAudioLength::Milliseconds(QByteArray()), 0);
    // Every prefix of a real file is read without going past its end.
    for (qsizetype n = 0; n < 600; n += 7)
        MpegAudioLength::Milliseconds(mp3.left(n));
}
