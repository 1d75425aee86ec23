// SPDX-License-Identifier: MIT
#include "sound/PlayerHelper.h"

#include "sound/MpegAudioLength.h"

#include <QAudioOutput>
#include <QFile>
#include <QMediaPlayer>
#include <QSocketNotifier>
#include <QUrl>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

using Kind = PlayerMessage::Kind;

PlayerHelper::PlayerHelper(int input, int output, QObject* parent)
    : QObject(parent), m_input(input), m_output(output),
      m_audio(std::make_unique<QAudioOutput>()), m_player(std::make_unique<QMediaPlayer>())
{
    ::fcntl(m_input, F_SETFL, ::fcntl(m_input, F_GETFL) | O_NONBLOCK);
    m_notifier = std::make_unique<QSocketNotifier>(m_input, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &PlayerHelper::OnReadable);

    m_player->setAudioOutput(m_audio.get());
    connect(m_player.get(), &QMediaPlayer::mediaStatusChanged, this,
            [this](QMediaPlayer::MediaStatus status) { OnStatus(int(status)); });
    connect(m_player.get(), &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error) {
        if (error != QMediaPlayer::NoError)
            Report(Kind::Failed);
    });
    // The signal's value, kept: the player's duration() can still read 0
    // then, and the signal may come while a source is being set.
    connect(m_player.get(), &QMediaPlayer::durationChanged, this, [this](qint64 length) {
        m_duration = length;
        ReportLength();
    });
    connect(&m_tick, &QTimer::timeout, this, &PlayerHelper::OnTick);
    m_tick.start(kTickMs);
    Send({Kind::Alive, 0, 0, {}});
}

PlayerHelper::~PlayerHelper()
{
    // The player must let go of the output before the output goes.
    m_player->stop();
    m_player.reset();
}

void PlayerHelper::OnReadable()
{
    char chunk[4096];
    for (;;) {
        const ssize_t got = ::read(m_input, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        if (got <= 0) {
            Finish();
            return;
        }
        m_pending.append(chunk, int(got));
        int end;
        while ((end = m_pending.indexOf('\n')) >= 0) {
            const QByteArray line = m_pending.left(end);
            m_pending.remove(0, end + 1);
            if (m_skipping) {
                m_skipping = false;
                continue;
            }
            // Nothing the aquarium sends is malformed; a line that is, is dropped.
            if (const auto message = PlayerMessage::Decode(line))
                Handle(*message);
        }
        if (m_pending.size() >= PlayerMessage::kMaxLine) {
            m_pending.clear();
            m_skipping = true;
        }
    }
}

void PlayerHelper::Handle(const PlayerMessage& message)
{
    switch (message.kind) {
    case Kind::Open: Open(message.track, message.path); break;
    case Kind::Play:
        if (m_track)
            m_player->play();
        break;
    case Kind::Pause:
        if (m_player->playbackState() == QMediaPlayer::PlayingState)
            m_player->pause();
        break;
    case Kind::Close: Close(); break;
    case Kind::Seek:
        if (m_track)
            m_player->setPosition(message.value);
        break;
    case Kind::Volume:
        m_audio->setVolume(float(std::clamp<qint64>(message.value, 0, 1000)) / 1000.0f);
        break;
    default: break;  // reports are not commands
    }
}

void PlayerHelper::Open(quint64 track, const QByteArray& path)
{
    // What the old file reports while it is let go is not about the new one.
    m_track = 0;
    m_failed = false;
    m_silentTicks = 0;
    m_duration = 0;
    m_scanned = ScannedLength(path);
    m_player->stop();
    m_player->setSource(QUrl::fromLocalFile(QFile::decodeName(path)));
    m_track = track;
    m_lengthSent = 0;
    // What the media stack settled while the source was being set went
    // unreported above.
    const QMediaPlayer::MediaStatus status = m_player->mediaStatus();
    if (status == QMediaPlayer::InvalidMedia || m_player->error() != QMediaPlayer::NoError)
        Report(Kind::Failed);
    else if (status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferedMedia)
        Report(Kind::Loaded);
    ReportLength();
}

qint64 PlayerHelper::ScannedLength(const QByteArray& path)
{
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxScannedBytes)
        return 0;
    return MpegAudioLength::Milliseconds(file.read(kMaxScannedBytes));
}

void PlayerHelper::ReportLength()
{
    qint64 length = std::max(m_duration, m_player->duration());
    // The media stack sometimes never announces a short MP3's length; once
    // the file has loaded without one, its own frames tell it.
    const QMediaPlayer::MediaStatus status = m_player->mediaStatus();
    if (length <= 0 && status != QMediaPlayer::LoadingMedia && status != QMediaPlayer::NoMedia)
        length = m_scanned;
    if (length > 0 && length != m_lengthSent && m_track && !m_failed) {
        m_lengthSent = length;
        Report(Kind::Length, length);
    }
}

void PlayerHelper::Close()
{
    m_track = 0;
    m_failed = false;
    m_player->stop();
    m_player->setSource(QUrl());
}

void PlayerHelper::OnStatus(int status)
{
    switch (QMediaPlayer::MediaStatus(status)) {
    case QMediaPlayer::LoadedMedia: Report(Kind::Loaded); break;
    case QMediaPlayer::EndOfMedia: Report(Kind::Ended); break;
    case QMediaPlayer::InvalidMedia: Report(Kind::Failed); break;
    default: break;
    }
}

void PlayerHelper::OnTick()
{
    if (!m_track || m_failed) {
        Send({Kind::Alive, 0, 0, {}});
        return;
    }
    // A file without a sound stream (a video, or a stream whose audio the
    // damage hid) plays nothing but its clock, with no end in sight.
    const QMediaPlayer::MediaStatus status = m_player->mediaStatus();
    const bool loaded = status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferingMedia ||
                        status == QMediaPlayer::BufferedMedia;
    m_silentTicks = loaded && !m_player->hasAudio() ? m_silentTicks + 1 : 0;
    if (m_silentTicks >= kSilentTicks) {
        Report(Kind::Failed);
        return;
    }
    ReportLength();
    Report(Kind::Position, std::max<qint64>(0, m_player->position()));
}

void PlayerHelper::Report(Kind kind, qint64 value)
{
    if (!m_track || m_failed)
        return;
    if (kind == Kind::Failed)
        m_failed = true;
    Send({kind, m_track, value, {}});
}

void PlayerHelper::Send(const PlayerMessage& message)
{
    const QByteArray line = message.Encode();
    qsizetype done = 0;
    while (done < line.size() && !m_finished) {
        const ssize_t put = ::write(m_output, line.constData() + done, size_t(line.size() - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            Finish();
            return;
        }
        done += put;
    }
}

void PlayerHelper::Finish()
{
    if (m_finished)
        return;
    m_finished = true;
    m_tick.stop();
    m_notifier->setEnabled(false);
    emit finished();
}
