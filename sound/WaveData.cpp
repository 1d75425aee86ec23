// SPDX-License-Identifier: MIT
#include "sound/WaveData.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

std::uint32_t Le32(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
           std::uint32_t(b[3]) << 24;
}

std::uint16_t Le16(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return std::uint16_t(b[0] | b[1] << 8);
}

bool Fail(QString* error, const char* why)
{
    if (error)
        *error = QString::fromLatin1(why);
    return false;
}

// The sample format for a WAVE format tag and bit depth; Unknown if none.
QAudioFormat::SampleFormat SampleFormatFor(std::uint16_t tag, std::uint16_t bits)
{
    if (tag == kFormatPcm) {
        switch (bits) {
        case 8: return QAudioFormat::UInt8;
        case 16: return QAudioFormat::Int16;
        case 32: return QAudioFormat::Int32;
        default: return QAudioFormat::Unknown;
        }
    }
    if (tag == kFormatFloat && bits == 32)
        return QAudioFormat::Float;
    return QAudioFormat::Unknown;
}

}  // namespace

bool WaveData::Parse(const QByteArray& file, WaveData* out, QString* error)
{
    const char* bytes = file.constData();
    const qsizetype size = file.size();
    if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
        return Fail(error, "not a RIFF/WAVE file");

    QAudioFormat format;
    bool haveFormat = false;
    // Chunks are walked within the bytes actually present; the RIFF size
    // field is not trusted.
    qsizetype at = 12;
    while (at + 8 <= size) {
        const char* id = bytes + at;
        const qsizetype declared = qsizetype(Le32(bytes + at + 4));
        const qsizetype body = at + 8;
        const qsizetype available = size - body;
        if (std::memcmp(id, "fmt ", 4) == 0) {
            if (declared < 16 || available < 16)
                return Fail(error, "format chunk too short");
            std::uint16_t tag = Le16(bytes + body);
            const std::uint16_t channels = Le16(bytes + body + 2);
            const std::uint32_t rate = Le32(bytes + body + 4);
            const std::uint16_t blockAlign = Le16(bytes + body + 12);
            const std::uint16_t bits = Le16(bytes + body + 14);
            // WAVE_FORMAT_EXTENSIBLE names the real format in its sub-format.
            if (tag == kFormatExtensible && declared >= 40 && available >= 40)
                tag = Le16(bytes + body + 24);
            const QAudioFormat::SampleFormat sample = SampleFormatFor(tag, bits);
            if (sample == QAudioFormat::Unknown)
                return Fail(error, "unsupported sample format");
            if (channels < 1 || channels > 8 || rate < 1 || rate > 384000)
                return Fail(error, "unsupported channel count or sample rate");
            if (blockAlign != channels * (bits / 8))
                return Fail(error, "inconsistent block alignment");
            format.setSampleFormat(sample);
            format.setChannelCount(channels);
            format.setSampleRate(int(rate));
            haveFormat = true;
        } else if (std::memcmp(id, "data", 4) == 0) {
            if (!haveFormat)
                return Fail(error, "data chunk before the format chunk");
            // A data size larger than the file (a cut download, or a
            // streaming writer's placeholder) keeps what is there.
            qsizetype length = declared < available ? declared : available;
            length -= length % format.bytesPerFrame();
            if (length <= 0)
                return Fail(error, "no sound data");
            out->format = format;
            out->frames = file.mid(body, length);
            return true;
        }
        // Chunks are padded to an even size.
        const qsizetype next = body + declared + (declared & 1);
        if (next <= at)
            break;
        at = next;
    }
    return Fail(error, haveFormat ? "no data chunk" : "no format chunk");
}

qint64 WaveData::DurationMs() const
{
    const int perFrame = format.bytesPerFrame();
    if (perFrame <= 0 || format.sampleRate() <= 0)
        return 0;
    return qint64(frames.size() / perFrame) * 1000 / format.sampleRate();
}
