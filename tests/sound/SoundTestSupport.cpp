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

bool EncodeMp3(const std::string& wavPath, const std::string& mp3Path)
{
    QProcess lame;
    lame.start("lame", {"--quiet", QString::fromStdString(wavPath), QString::fromStdString(mp3Path)});
    return lame.waitForFinished(20000) && lame.exitStatus() == QProcess::NormalExit &&
           lame.exitCode() == 0;
}

bool WaitFor(const std::function<bool()>& cond, int timeoutMs)
{
    return QTest::qWaitFor(cond, timeoutMs);
}

}  // namespace SoundTest
