#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QAudioOutput;
class QMediaPlayer;

// The media player for the user's own files (MP3, WAV, MPEG): one file at a
// time, positions and lengths in milliseconds, volume 0..1000 (1000 is the
// normal level).
//
// Loading is asynchronous. Open() fails at once for a file that cannot be
// read; the decoder's verdict arrives later, as failed() for a file it cannot
// play. Until then CanPlay() is true and Length() is 0. Play() before the file
// has loaded starts it as soon as it has. At the end of the file the player
// stops there: Position() then equals Length() and ended() is emitted.
//
// Without an audio output the file plays silently, with position, length and
// the end working as with one.
class MciPlayer : public QObject {
    Q_OBJECT

public:
    explicit MciPlayer(QObject* parent = nullptr);
    ~MciPlayer() override;

    // The file the next Open() loads; "" for none.
    void SetFileName(const QString& path) { m_fileName = path; }
    const QString& FileName() const { return m_fileName; }

    // Closes what was open and loads the stored file. False (and CanPlay()
    // false) when there is no file name or the file is missing, empty or
    // unreadable.
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
    // False with no file loaded, once the decoder rejected it, or after Close().
    bool CanPlay() const { return m_canPlay; }
    bool AtEnd() const { return m_atEnd; }
    // Clamped to 0..1000.
    void SetVolume(int volume);
    int Volume() const { return m_volume; }

signals:
    // The loaded file has played to its end.
    void ended();
    // The decoder cannot play the loaded file (sent once per Open()).
    void failed(const QString& fileName);
    // The length of the loaded file is known (milliseconds).
    void lengthKnown(qint64 lengthMs);

private:
    void OnStatus(int status);
    void Fail();

    std::unique_ptr<QAudioOutput> m_output;
    std::unique_ptr<QMediaPlayer> m_player;
    QString m_fileName;
    bool m_canPlay = false;
    bool m_atEnd = false;
    bool m_failureSent = false;
    int m_volume = 1000;
};
