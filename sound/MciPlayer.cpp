#include "sound/MciPlayer.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>
#include <algorithm>

MciPlayer::MciPlayer(QObject* parent)
    : QObject(parent), m_output(std::make_unique<QAudioOutput>()),
      m_player(std::make_unique<QMediaPlayer>())
{
    m_player->setAudioOutput(m_output.get());
    connect(m_player.get(), &QMediaPlayer::mediaStatusChanged, this,
            [this](QMediaPlayer::MediaStatus status) { OnStatus(int(status)); });
    connect(m_player.get(), &QMediaPlayer::errorOccurred, this,
            [this](QMediaPlayer::Error error) {
                if (error != QMediaPlayer::NoError)
                    Fail();
            });
    connect(m_player.get(), &QMediaPlayer::durationChanged, this, [this](qint64 length) {
        if (length > 0 && m_canPlay)
            emit lengthKnown(length);
    });
}

MciPlayer::~MciPlayer()
{
    // The player must let go of the output before the output goes.
    m_player->stop();
    m_player.reset();
}

bool MciPlayer::Open()
{
    Close();
    m_failureSent = false;
    const QFileInfo info(m_fileName);
    if (m_fileName.isEmpty() || !info.isFile() || !info.isReadable() || info.size() == 0)
        return false;
    m_canPlay = true;
    m_player->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    return m_canPlay;
}

void MciPlayer::Play()
{
    if (!m_canPlay)
        return;
    if (m_atEnd) {
        // A finished file replays from its start, as a fresh play would.
        m_atEnd = false;
        m_player->setPosition(0);
    }
    m_player->play();
}

void MciPlayer::Stop()
{
    if (m_player->playbackState() == QMediaPlayer::PlayingState)
        m_player->pause();
}

void MciPlayer::Close()
{
    m_canPlay = false;
    m_atEnd = false;
    m_player->stop();
    m_player->setSource(QUrl());
}

void MciPlayer::Seek(qint64 positionMs)
{
    if (!m_canPlay)
        return;
    m_atEnd = false;
    m_player->setPosition(std::max<qint64>(0, positionMs));
}

qint64 MciPlayer::Position() const
{
    if (!m_canPlay)
        return 0;
    // After the end the backend may already report 0 again; the end is the
    // end of the file.
    return m_atEnd ? Length() : m_player->position();
}

qint64 MciPlayer::Length() const
{
    return m_canPlay ? std::max<qint64>(0, m_player->duration()) : 0;
}

void MciPlayer::SetVolume(int volume)
{
    m_volume = std::clamp(volume, 0, 1000);
    m_output->setVolume(float(m_volume) / 1000.0f);
}

void MciPlayer::OnStatus(int status)
{
    switch (QMediaPlayer::MediaStatus(status)) {
    case QMediaPlayer::EndOfMedia:
        if (m_canPlay && !m_atEnd) {
            m_atEnd = true;
            emit ended();
        }
        break;
    case QMediaPlayer::InvalidMedia: Fail(); break;
    default: break;
    }
}

void MciPlayer::Fail()
{
    if (!m_canPlay || m_failureSent)
        return;
    m_failureSent = true;
    m_canPlay = false;
    m_atEnd = false;
    emit failed(m_fileName);
}
