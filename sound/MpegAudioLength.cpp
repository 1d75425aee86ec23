// SPDX-License-Identifier: MIT
#include "sound/MpegAudioLength.h"

namespace {

// kbit/s by [MPEG-1?][layer 1..3][index]; index 0 (free) and 15 are refused.
const int kBitrates[2][3][16] = {
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}},
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}},
};
const int kRates[3] = {44100, 48000, 32000};   // MPEG-1; halved for 2, quartered for 2.5

unsigned char At(const QByteArray& data, qsizetype i) { return static_cast<unsigned char>(data[i]); }

// Where the frames start: after an ID3v2 tag ("ID3", version, flags, a
// 28-bit size in four 7-bit bytes), if there is one.
qsizetype FirstFrame(const QByteArray& data)
{
    if (data.size() < 10 || !data.startsWith("ID3"))
        return 0;
    qsizetype size = 0;
    for (int i = 6; i < 10; ++i) {
        if (At(data, i) & 0x80)
            return -1;
        size = (size << 7) | At(data, i);
    }
    const bool footer = (At(data, 5) & 0x10) != 0;
    return 10 + size + (footer ? 10 : 0);
}

// A frame that only carries the encoder's information ("Xing" or "Info"
// where the sound would start) is silent and not played.
bool IsInfoFrame(const QByteArray& data, qsizetype at, int bytes)
{
    const QByteArray frame = data.mid(at, qMin<qsizetype>(bytes, 64));
    return frame.contains("Xing") || frame.contains("Info");
}

}  // namespace

bool MpegAudioLength::ReadHeader(const QByteArray& data, qsizetype at, int* bytes, int* samples, int* rate)
{
    if (at < 0 || at + 4 > data.size())
        return false;
    const unsigned char b1 = At(data, at + 1), b2 = At(data, at + 2);
    if (At(data, at) != 0xFF || (b1 & 0xE0) != 0xE0)
        return false;
    const int version = (b1 >> 3) & 3;   // 0: 2.5, 1: reserved, 2: 2, 3: 1
    const int layer = 4 - ((b1 >> 1) & 3);   // 4: reserved
    const int bitrateIndex = b2 >> 4, rateIndex = (b2 >> 2) & 3, padding = (b2 >> 1) & 1;
    if (version == 1 || layer == 4 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
        return false;
    const bool mpeg1 = version == 3;
    const int kbps = kBitrates[mpeg1 ? 1 : 0][layer - 1][bitrateIndex];
    *rate = kRates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
    if (layer == 1) {
        *samples = 384;
        *bytes = (12 * kbps * 1000 / *rate + padding) * 4;
    } else {
        *samples = (layer == 3 && !mpeg1) ? 576 : 1152;
        *bytes = (*samples / 8) * kbps * 1000 / *rate + padding;
    }
    return *bytes >= 4;
}

qint64 MpegAudioLength::Milliseconds(const QByteArray& data)
{
    qsizetype at = FirstFrame(data);
    if (at < 0 || at >= data.size())
        return 0;
    const qsizetype start = at;
    qint64 microseconds = 0;
    int bytes = 0, samples = 0, rate = 0, frames = 0;
    while (ReadHeader(data, at, &bytes, &samples, &rate) && at + bytes <= data.size()) {
        if (frames > 0 || !IsInfoFrame(data, at, bytes))
            microseconds += qint64(samples) * 1000000 / rate;
        ++frames;
        at += bytes;
    }
    // A trailing ID3v1 tag or a cut last frame is fine; much else is not
    // MPEG audio.
    const qsizetype covered = at - start;
    if (frames < 2 || covered * 10 < (data.size() - start) * 9)
        return 0;
    return microseconds / 1000;
}
