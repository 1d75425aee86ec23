// SPDX-License-Identifier: MIT
#include "sound/BuiltinTune.h"

#include "environment/AssetStore.h"
#include "settings/ProgramValues.h"
#include "sound/LoopingBuffer.h"

#include <QAudioSink>
#include <QFile>
#include <QMediaDevices>
#include <algorithm>

namespace {

constexpr const char* kMusicBaseName = "Music";
// A tune larger than this is not the program's own asset; never load it.
constexpr qint64 kMaxWaveBytes = 64 << 20;

QByteArray ReadSmallFile(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxWaveBytes)
        return {};
    return file.read(kMaxWaveBytes);
}

}  // namespace

BuiltinTune::BuiltinTune(QObject* parent) : QObject(parent) {}

BuiltinTune::~BuiltinTune() { Stop(); }

float BuiltinTune::GainFor(int yinliang)
{
    const int v = std::clamp(yinliang, 0, 65535);
    return float(65535 - v) / 65535.0f;
}

void BuiltinTune::startBuiltinMusic()
{
    const std::string dir = AssetStore::GetAssetDirectory();
    AssetStore::ExtractAsset(AssetStore::kMusicId, dir, kMusicBaseName);
    const QByteArray file = ReadSmallFile(AssetStore::UsablePath(dir, kMusicBaseName));
    AssetStore::DeleteAssetFile(AssetStore::ScrambledPath(dir, kMusicBaseName));
    AssetStore::DeleteAssetFile(AssetStore::UsablePath(dir, kMusicBaseName));
    AssetStore::ReleaseAssetDirectory(dir);

    WaveData wave;
    if (!WaveData::Parse(file, &wave)) {
        // Silence, as with a missing wave; the hand-over still sees it started.
        Stop();
        m_playing = true;
        emit started();
        return;
    }
    Play(wave, GainFor(Program().aquarium.volume));
}

void BuiltinTune::Play(const WaveData& wave, float gain)
{
    Stop();
    m_gain = std::clamp(gain, 0.0f, 1.0f);
    m_playing = true;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        emit started();
        return;
    }
    m_buffer = std::make_unique<LoopingBuffer>(wave.frames, wave.format.bytesPerFrame());
    m_buffer->open(QIODevice::ReadOnly);
    m_sink = std::make_unique<QAudioSink>(device, wave.format);
    m_sink->setVolume(m_gain);
    m_sink->start(m_buffer.get());
    emit started();
}

void BuiltinTune::SetVolumeSetting(int yinliang)
{
    m_gain = GainFor(yinliang);
    if (m_sink)
        m_sink->setVolume(m_gain);
}

void BuiltinTune::Stop()
{
    m_playing = false;
    if (m_sink) {
        m_sink->stop();
        m_sink.reset();
    }
    m_buffer.reset();
}

bool BuiltinTune::OutputRunning() const
{
    return m_sink && (m_sink->state() == QAudio::ActiveState || m_sink->state() == QAudio::IdleState) &&
           m_sink->error() == QAudio::NoError;
}

qint64 BuiltinTune::PlayedMicroseconds() const
{
    return m_sink ? m_sink->processedUSecs() : 0;
}

int BuiltinTune::Loops() const
{
    return m_buffer ? m_buffer->Loops() : 0;
}
