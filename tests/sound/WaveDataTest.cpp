// SPDX-License-Identifier: MIT
#include "sound/LoopingBuffer.h"
#include "sound/WaveData.h"
#include "tests/sound/SoundTestSupport.h"

#include <gtest/gtest.h>

namespace {

void Set32(QByteArray& b, int at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

TEST(WaveData, ReadsFormatAndWholeFrames)
{
    const QByteArray file = SoundTest::SineWave(500, 44100, 2);
    WaveData wave;
    ASSERT_TRUE(WaveData::Parse(file, &wave));
    EXPECT_EQ(wave.format.sampleRate(), 44100);
    EXPECT_EQ(wave.format.channelCount(), 2);
    EXPECT_EQ(wave.format.sampleFormat(), QAudioFormat::Int16);
    EXPECT_EQ(wave.frames.size(), 22050 * 4);
    EXPECT_EQ(wave.DurationMs(), 500);
    EXPECT_EQ(wave.frames, file.mid(44));
}

TEST(WaveData, BadFilesAreRefusedOrCutToWhatIsThere)
{
    const QByteArray good = SoundTest::SineWave(100);  // 2205 frames, 44-byte header
    const struct {
        const char* what;
        std::function<QByteArray()> make;
        bool ok;
        qsizetype frames;  // bytes of sound kept when ok
    } cases[] = {
        {"empty", [] { return QByteArray(); }, false, 0},
        {"text", [] { return QByteArray("this is not a wave file at all"); }, false, 0},
        {"header only", [&] { return good.left(44); }, false, 0},
        {"cut in the format chunk", [&] { return good.left(30); }, false, 0},
        {"cut in the data, odd byte dropped", [&] { return good.left(1001); }, true, 956},
        {"data size beyond the file", [&] { QByteArray b = good; Set32(b, 40, 0xFFFFFFF0u); return b; }, true, 4410},
        {"format size beyond the file", [&] { QByteArray b = good; Set32(b, 16, 0xFFFFFFF0u); return b; }, false, 0},
        {"no channels", [&] { QByteArray b = good; b[22] = 0; return b; }, false, 0},
        {"24-bit samples", [&] { QByteArray b = good; b[34] = 24; return b; }, false, 0},
        {"block alignment lies", [&] { QByteArray b = good; b[32] = 7; return b; }, false, 0},
        {"compressed format", [&] { QByteArray b = good; b[20] = 0x55; return b; }, false, 0},
        {"no data chunk", [&] { QByteArray b = good; b[36] = 'x'; return b; }, false, 0},
    };
    for (const auto& c : cases) {
        WaveData wave;
        wave.frames = "untouched";
        QString error;
        EXPECT_EQ(WaveData::Parse(c.make(), &wave, &error), c.ok) << c.what;
        if (c.ok)
            EXPECT_EQ(wave.frames.size(), c.frames) << c.what;
        else
            EXPECT_TRUE(wave.frames == "untouched" && !error.isEmpty()) << c.what;
    }
}

TEST(LoopingBuffer, ReadsRunOnAcrossTheEndInWholeFrames)
{
    LoopingBuffer buffer(QByteArray("abcdefg"), 2);  // frames "ab" "cd" "ef"; 'g' dropped
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    EXPECT_GT(buffer.bytesAvailable(), 1 << 20);
    EXPECT_EQ(buffer.read(5), QByteArray("abcd"));  // never half a frame
    EXPECT_EQ(buffer.read(10), QByteArray("efabcdefab"));
    EXPECT_EQ(buffer.Loops(), 2);
    buffer.Rewind();
    EXPECT_EQ(buffer.read(2), QByteArray("ab"));

    LoopingBuffer empty(QByteArray(), 2);
    ASSERT_TRUE(empty.open(QIODevice::ReadOnly));
    EXPECT_EQ(empty.read(8), QByteArray());
}

}  // namespace
