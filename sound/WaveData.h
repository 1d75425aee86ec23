// SPDX-License-Identifier: MIT
#pragma once

#include <QAudioFormat>
#include <QByteArray>

// A RIFF/WAVE file's sound held in memory: its sample format and the PCM
// frames of its "data" chunk. Parse() checks every chunk size against the
// bytes it was given, so a short, truncated or lying file yields an error and
// never a read past the buffer.
struct WaveData {
    QAudioFormat format;   // sample rate in Hz, channel count, sample format
    QByteArray frames;     // whole frames only (a multiple of bytesPerFrame)

    // Accepts integer PCM of 8, 16 or 32 bits and 32-bit float, 1 to 8
    // channels, 1 to 384,000 Hz. On failure returns false with a short reason
    // in *error (when given) and leaves *out untouched.
    static bool Parse(const QByteArray& file, WaveData* out, QString* error = nullptr);

    // Length of the sound in milliseconds.
    qint64 DurationMs() const;
};
