// SPDX-License-Identifier: MIT
#include "tests/sound/SoundTestSupport.h"

#include <QFile>
#include <QProcess>
#include <QTest>
#include <cmath>
#include <cstdint>

namespace SoundTest {

namespace {
bool g_haveSoundServer = false;

void Put16(QByteArray& b, std::uint32_t v)
{
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}

void Put32(QByteArray& b, std::uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
}  // namespace

bool HaveSoundServer() { return g_haveSoundServer; }
void SetHaveSoundServer(bool on) { g_haveSoundServer = on; }

QByteArray SineWave(int milliseconds, int sampleRate, int channels)
{
    const std::uint32_t frames = std::uint32_t(std::int64_t(sampleRate) * milliseconds / 1000);
    const std::uint32_t dataSize = frames * 2 * std::uint32_t(channels);
    QByteArray b("RIFF");
    Put32(b, 36 + dataSize);
    b.append("WAVEfmt ");
    Put32(b, 16);
    Put16(b, 1);
    Put16(b, std::uint32_t(channels));
    Put32(b, std::uint32_t(sampleRate));
    Put32(b, std::uint32_t(sampleRate * 2 * channels));
    Put16(b, std::uint32_t(2 * channels));
    Put16(b, 16);
    b.append("data");
    Put32(b, dataSize);
    for (std::uint32_t i = 0; i < frames; ++i) {
        const double s = 0.3 * std::sin(2.0 * M_PI * 440.0 * i / sampleRate);
        for (int c = 0; c < channels; ++c)
            Put16(b, std::uint32_t(std::lround(s * 32767.0)) & 0xFFFF);
    }
    return b;
}

void WriteFile(const std::string& path, const QByteArray& bytes)
{
    QFile file(QString::fromStdString(path));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

bool RunTool(const QString& program, const QStringList& args)
{
    QProcess tool;
    tool.setStandardOutputFile(QProcess::nullDevice());
    tool.setStandardErrorFile(QProcess::nullDevice());
    tool.start(program, args);
    return tool.waitForFinished(20000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

bool EncodeMp3(const std::string& wavPath, const std::string& mp3Path)
{
    return RunTool("lame", {"--quiet", QString::fromStdString(wavPath), QString::fromStdString(mp3Path)});
}

QByteArray DamagedWave(WaveFault fault)
{
    QByteArray wave = SineWave(1000);
    switch (fault) {
    case WaveFault::HeaderOnly: wave.truncate(44); break;
    case WaveFault::DataSizeOne: wave.replace(40, 4, QByteArray("\x01\x00\x00\x00", 4)); break;
    case WaveFault::BlockAlign65535: wave.replace(32, 2, QByteArray("\xff\xff", 2)); break;
    }
    return wave;
}

bool MakeDamagedProgramStream(const std::string& path)
{
    const QString clean = QString::fromStdString(path) + ".clean.mpeg";
    // Bit-exact output, so the damage below lands on the same bytes each time.
    const bool made = RunTool("ffmpeg", {"-nostdin", "-loglevel", "error", "-y",
        "-f", "lavfi", "-i", "sine=frequency=440:duration=2",
        "-f", "lavfi", "-i", "testsrc=size=64x48:rate=25:duration=2",
        "-c:v", "mpeg1video", "-c:a", "ac3", "-b:a", "64k", "-fflags", "+bitexact",
        "-flags:v", "+bitexact", "-flags:a", "+bitexact", "-f", "mpeg", clean});
    if (!made)
        return false;
    // zzuf as a filter: seed 17 at a ratio of 0.004 flips about a thousand bits.
    QProcess zzuf;
    zzuf.setStandardInputFile(clean);
    zzuf.setStandardOutputFile(QString::fromStdString(path));
    zzuf.start("zzuf", {"-s", "17", "-r", "0.004"});
    const bool damaged = zzuf.waitForFinished(20000) && zzuf.exitCode() == 0;
    QFile::remove(clean);
    return damaged;
}

bool WaitFor(const std::function<bool()>& cond, int timeoutMs)
{
    return QTest::qWaitFor(cond, timeoutMs);
}

}  // namespace SoundTest
