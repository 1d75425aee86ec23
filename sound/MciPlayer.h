// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

class PlayerProcess;
struct PlayerMessage;

// The media player for the user's own files (MP3, WAV, MPEG): one file at a
// time, positions and lengths in milliseconds, volume 0..1000 (1000 is the
// normal level).
//
// The files are decoded and played in a process of their own (PlayerProcess,
// plovi-player), because the system's decoders are outside code fed with the
// user's files: when one crashes or hangs, only that process is lost. The
// player process is watched: a file that does not load within kLoadLimitMs,
// stops advancing for kStallLimitMs while playing (both in the player's
// ticks), or whose player goes silent for kSilenceLimitMs (wall time) or
// dies, counts as a file that cannot play
// (a player's first start has kStartLimitMs before the file's time begins).
// A player that met such a file is replaced at once by a fresh one, which
// then waits for the next file.
//
// A file that plays on more than kOverrunLimitMs past its length has ended.
// Its length is at most one millisecond per byte of the file: no format the
// list takes carries sound at under 8 kbit/s (MP3's lowest rate), so a longer
// length is a damaged header or time stamp, which would otherwise keep the
// list silent for as long as it claims.
//
// Loading is asynchronous. Open() fails at once for a file that cannot be
// read; the verdict on its content arrives later, as failed() for a file
// that cannot be played. Until then CanPlay() is true and Length() is 0.
// Play() before the file has loaded starts it as soon as it has. At the end
// of the file the player stops there: Position() then equals Length() and
// ended() is emitted. Position() is the last one the player reported, at
// most about 100 ms old.
//
// A file that ends before any length or position was reported held nothing
// to play and fails too.
//
// ended() and failed() are emitted from the event loop, never from inside a
// call on the player, and only while they still concern the loaded file: a
// slot may open the next file at once.
//
// Without an audio output the file plays silently, with position, length and
// the end working as with one.
class MciPlayer : public QObject {
    Q_OBJECT

public:
    static constexpr int kLoadLimitMs = 4000;
    static constexpr int kStallLimitMs = 3000;
    static constexpr int kSilenceLimitMs = 2000;
    // How far a file may play past its length before that counts as its end.
    static constexpr int kOverrunLimitMs = 500;
    // A fresh player's first word, which may wait for the media stack to
    // scan its plugins once.
    static constexpr int kStartLimitMs = 30000;

    explicit MciPlayer(QObject* parent = nullptr);
    ~MciPlayer() override;

    // The file the next Open() loads; "" for none.
    void SetFileName(const QString& path) { m_fileName = path; }
    const QString& FileName() const { return m_fileName; }

    // Closes what was open and loads the stored file. False (and CanPlay()
    // false) when there is no file name, the file is missing, empty or
    // unreadable, or the player program cannot be started; FailureReason()
    // then says why.
    bool Open();
    // Starts or resumes at the current position.
    void Play();
    // Halts at the current position.
    void Stop();
    // Unloads the file.
    void Close();
    void Seek(qint64 positionMs);

    qint64 Position() const;
    qint64 Length() const;
    // False with no file loaded, once the file failed, or after Close().
    bool CanPlay() const { return m_canPlay; }
    bool AtEnd() const { return m_atEnd; }
    // Clamped to 0..1000.
    void SetVolume(int volume);
    int Volume() const { return m_volume; }
    // Why the last file could not be played, in a few words; "" when it
    // could, or when nothing more is known than that the decoder refused it.
    const QString& FailureReason() const { return m_failure; }
    // The player process's id while one runs, else 0 (for tests and logs).
    qint64 PlayerProcessId() const;

signals:
    // The loaded file has played to its end.
    void ended();
    // The loaded file cannot be played (sent once per Open()).
    void failed(const QString& fileName);
    // The length of the loaded file is known (milliseconds).
    void lengthKnown(qint64 lengthMs);

private:
    void OnMessage(const PlayerMessage& message);
    void OnPlayerDied(const QString& why);
    void OnWatch();
    void Send(int kind, qint64 value = 0);
    void Fail(const QString& why);

    std::unique_ptr<PlayerProcess> m_process;
    QTimer m_watch;
    // The player's time is counted in its reports (one a tick while a file
    // is open), so a player starved of processor time on a busy machine is
    // given the same amount of its own time, while a silent one is a hang.
    int m_ticks = 0;             // reports since Open()
    int m_progressTick = 0;      // m_ticks when the position last moved, or Play()/Seek()
    QString m_fileName;
    QString m_failure;
    quint64 m_track = 0;         // numbers the opens; reports carry it
    qint64 m_length = 0;
    qint64 m_lengthCap = 0;      // the file's size in bytes, read as milliseconds
    qint64 m_position = 0;
    bool m_canPlay = false;
    bool m_loaded = false;
    bool m_playing = false;      // asked to play and not stopped since
    bool m_atEnd = false;
    bool m_failureSent = false;
    int m_volume = 1000;
};
