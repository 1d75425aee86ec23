// SPDX-License-Identifier: MIT
#pragma once

#include "sound/WaveData.h"

#include <QObject>
#include <memory>

class QAudioSink;
class LoopingBuffer;

// The built-in tune: the "Music" asset, played looped without a gap through
// the default audio output until stopped. The wave is read into memory
// before its asset files are deleted, so deleting them never cuts the sound.
//
// Without an audio output (no sound server, no device) the tune counts as
// playing but nothing is heard; nothing fails and nothing is shown.
class BuiltinTune : public QObject {
    Q_OBJECT

public:
    explicit BuiltinTune(QObject* parent = nullptr);
    ~BuiltinTune() override;

    // The linear gain for the attenuation setting "YINLIANG" (0..65535, 0
    // is full volume): (65535 - v) / 65535, on every channel.
    static float GainFor(int yinliang);

    // Writes out the "Music" asset, reads it, deletes both asset files at
    // once and starts it from its beginning, looped, at the gain of
    // Program().aquarium.volume. A missing or unreadable wave gives silence.
    void startBuiltinMusic();

    // Plays the given sound from its start, looped, at the given gain
    // (0..1), replacing whatever played before.
    void Play(const WaveData& wave, float gain);

    // A new attenuation setting ("YINLIANG") for the tune: the gain changes
    // at once if it plays, and a later start takes the same value.
    void SetVolumeSetting(int yinliang);

    // Silences the tune; a later start begins again at its first sample.
    void Stop();

    // Started and not stopped since (whether or not a device sounds it).
    bool IsPlaying() const { return m_playing; }
    // An audio output is taking the sound now.
    bool OutputRunning() const;
    // Microseconds of sound the output has taken since the last start.
    qint64 PlayedMicroseconds() const;
    // How often the tune has wrapped round to its start since the last start.
    int Loops() const;
    float Gain() const { return m_gain; }

signals:
    // The tune has been (re)started from its beginning.
    void started();

private:
    std::unique_ptr<QAudioSink> m_sink;
    std::unique_ptr<LoopingBuffer> m_buffer;
    bool m_playing = false;
    float m_gain = 0.0f;
};
