// SPDX-License-Identifier: MIT
#pragma once

#include "sound/PlayerMessage.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <memory>

class QAudioOutput;
class QMediaPlayer;
class QSocketNotifier;

// The music player process's side of the line: plays one file at a time
// with the system's media stack as the aquarium asks through `input`, and
// reports on `output` (PlayerMessage lines). Every kTickMs it reports the
// position of the open file, or that it is alive when none is open; the
// aquarium takes a silence as a hang. A file that loads without a sound
// stream is reported as one that cannot play.
//
// Commands are acted on from the event loop, never from inside the media
// stack's own callbacks, which only ever write a report.
class PlayerHelper : public QObject {
    Q_OBJECT

public:
    static constexpr int kTickMs = 100;
    // Ticks a loaded file may go without a sound stream before it is
    // reported as one that cannot play.
    static constexpr int kSilentTicks = 5;

    // input and output: open file descriptors (a pipe each); they stay the
    // caller's.
    PlayerHelper(int input, int output, QObject* parent = nullptr);
    ~PlayerHelper() override;

signals:
    // The input ended or the output broke: the aquarium is gone.
    void finished();

private:
    void OnReadable();
    void Handle(const PlayerMessage& message);
    void Open(quint64 track, const QByteArray& path);
    void Close();
    void OnStatus(int status);
    void OnTick();
    // Reports the open file's length once it is known, and again if it changes.
    void ReportLength();
    // The length of the file at path from its MPEG audio frames, 0 when it
    // is none or larger than kMaxScannedBytes (a long file's length is
    // always announced; the short ones are what the media stack may miss).
    static qint64 ScannedLength(const QByteArray& path);
    static constexpr qint64 kMaxScannedBytes = qint64(64) << 20;
    void Report(PlayerMessage::Kind kind, qint64 value = 0);
    void Send(const PlayerMessage& message);
    void Finish();

    int m_input;
    int m_output;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::unique_ptr<QAudioOutput> m_audio;
    std::unique_ptr<QMediaPlayer> m_player;
    QByteArray m_pending;      // input read but not yet a whole line
    bool m_skipping = false;   // dropping an overlong line up to its end
    quint64 m_track = 0;       // the open file's number, 0 with none open
    bool m_failed = false;     // the open file has been reported unplayable
    int m_silentTicks = 0;     // ticks since it loaded without a sound stream
    qint64 m_lengthSent = 0;   // the open file's length as last reported
    qint64 m_duration = 0;     // its length as the media stack last announced it
    qint64 m_scanned = 0;      // its length from its own frames (MPEG audio), 0: unknown
    bool m_finished = false;
    QTimer m_tick;
};
