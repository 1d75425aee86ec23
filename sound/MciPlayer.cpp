// SPDX-License-Identifier: MIT
#include "sound/MciPlayer.h"

#include "sound/PlayerHelper.h"
#include "sound/PlayerMessage.h"
#include "sound/PlayerProcess.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

using Kind = PlayerMessage::Kind;

namespace {
constexpr int kWatchPeriodMs = 250;
}

MciPlayer::MciPlayer(QObject* parent) : QObject(parent), m_process(std::make_unique<PlayerProcess>())
{
    connect(m_process.get(), &PlayerProcess::message, this, &MciPlayer::OnMessage);
    connect(m_process.get(), &PlayerProcess::died, this, &MciPlayer::OnPlayerDied);
    m_watch.setInterval(kWatchPeriodMs);
    connect(&m_watch, &QTimer::timeout, this, &MciPlayer::OnWatch);
}

MciPlayer::~MciPlayer()
{
    m_process->disconnect(this);
    m_process->Kill();
}

bool MciPlayer::Open()
{
    Close();
    m_failureSent = false;
    m_failure.clear();
    const QFileInfo info(m_fileName);
    if (m_fileName.isEmpty() || !info.isFile() || !info.isReadable() || info.size() == 0)
        return false;
    if (!m_process->Start()) {
        m_failure = m_process->Error();
        return false;
    }
    m_canPlay = true;
    m_loaded = false;
    m_lengthCap = info.size();
    m_length = 0;
    m_position = 0;
    PlayerMessage open;
    open.kind = Kind::Open;
    open.track = m_track;
    open.path = QFile::encodeName(info.absoluteFilePath());
    m_process->Send(open);
    Send(int(Kind::Volume), m_volume);
    m_ticks = 0;
    m_progressTick = 0;
    m_watch.start();
    return true;
}

void MciPlayer::Play()
{
    if (!m_canPlay)
        return;
    if (m_atEnd) {
        // A finished file replays from its start, as a fresh play would.
        m_atEnd = false;
        m_position = 0;
        Send(int(Kind::Seek), 0);
    }
    m_playing = true;
    m_progressTick = m_ticks;
    Send(int(Kind::Play));
}

void MciPlayer::Stop()
{
    if (!m_canPlay || !m_playing)
        return;
    m_playing = false;
    Send(int(Kind::Pause));
}

void MciPlayer::Close()
{
    const bool wasOpen = m_canPlay;
    // Reports and signals still on their way concern the file closed here.
    ++m_track;
    m_canPlay = false;
    m_atEnd = false;
    m_playing = false;
    m_watch.stop();
    if (wasOpen)
        Send(int(Kind::Close));
}

void MciPlayer::Seek(qint64 positionMs)
{
    if (!m_canPlay)
        return;
    m_atEnd = false;
    m_position = std::max<qint64>(0, positionMs);
    m_progressTick = m_ticks;
    Send(int(Kind::Seek), m_position);
}

qint64 MciPlayer::Position() const
{
    if (!m_canPlay)
        return 0;
    return m_atEnd ? Length() : m_position;
}

qint64 MciPlayer::Length() const { return m_canPlay ? m_length : 0; }

void MciPlayer::SetVolume(int volume)
{
    m_volume = std::clamp(volume, 0, 1000);
    if (m_canPlay)
        Send(int(Kind::Volume), m_volume);
}

qint64 MciPlayer::PlayerProcessId() const { return m_process->ProcessId(); }

void MciPlayer::Send(int kind, qint64 value)
{
    PlayerMessage m;
    m.kind = Kind(kind);
    m.value = value;
    m_process->Send(m);
}

void MciPlayer::OnMessage(const PlayerMessage& message)
{
    if (!m_canPlay || message.kind == Kind::Alive || message.track != m_track)
        return;
    switch (message.kind) {
    case Kind::Loaded:
        m_loaded = true;
        m_progressTick = m_ticks;
        break;
    case Kind::Length: {
        const qint64 length = std::min(message.value, m_lengthCap);
        if (length > 0 && length != m_length) {
            m_length = length;
            emit lengthKnown(m_length);
        }
        break;
    }
    case Kind::Position:
        if (m_atEnd)
            break;
        ++m_ticks;
        if (message.value != m_position)
            m_progressTick = m_ticks;
        m_position = message.value;
        // Some files play before their "loaded" report, or without one.
        m_loaded = m_loaded || m_position > 0;
        // A damaged stream can keep its clock running with no end in sight;
        // past its length it has played all it said it holds.
        if (m_position > (m_length > 0 ? m_length : m_lengthCap) + kOverrunLimitMs)
            OnMessage({Kind::Ended, m_track, 0, {}});
        break;
    case Kind::Ended:
        if (m_atEnd)
            break;
        // A file with no length that ends where it began (a wave header with
        // no samples after it) held nothing to play; in a repeating list its
        // "end" would start it again at once, for ever.
        if (m_length == 0 && m_position == 0) {
            Fail("there is no sound in it");
            break;
        }
        m_atEnd = true;
        m_playing = false;
        QMetaObject::invokeMethod(this, [this, track = m_track] {
            if (track == m_track && m_canPlay && m_atEnd)
                emit ended();
        }, Qt::QueuedConnection);
        break;
    case Kind::Failed: Fail({}); break;
    default: break;
    }
}

void MciPlayer::OnPlayerDied(const QString& why)
{
    if (m_canPlay)
        Fail(why);
}

void MciPlayer::OnWatch()
{
    if (!m_canPlay)
        return;
    if (!m_process->HasSpoken()) {
        // A first start may have to build the media stack's plugin cache;
        // the file's own time begins once the player is up.
        if (m_process->SilentMs() > kStartLimitMs)
            Fail(QString("the music player did not start in %1 s").arg(kStartLimitMs / 1000));
        m_ticks = 0;
        return;
    }
    if (m_process->SilentMs() > kSilenceLimitMs)
        Fail("the music player stopped answering");
    else if (!m_loaded && m_ticks > kLoadLimitMs / PlayerHelper::kTickMs)
        Fail(QString("it did not load in %1 s").arg(kLoadLimitMs / 1000));
    else if (m_loaded && m_playing && !m_atEnd && m_ticks - m_progressTick > kStallLimitMs / PlayerHelper::kTickMs)
        Fail(QString("its playing stood still for %1 s").arg(kStallLimitMs / 1000));
}

void MciPlayer::Fail(const QString& why)
{
    if (!m_canPlay || m_failureSent)
        return;
    m_failureSent = true;
    m_canPlay = false;
    m_atEnd = false;
    m_playing = false;
    m_failure = why;
    m_watch.stop();
    // A player that met a bad file is not trusted with the next one; its
    // successor starts now, so the next file does not wait for it.
    m_process->Kill();
    m_process->Start();
    QMetaObject::invokeMethod(this, [this, track = m_track] {
        if (track == m_track && !m_canPlay)
            emit failed(m_fileName);
    }, Qt::QueuedConnection);
}
