#pragma once

#include <QByteArray>
#include <functional>
#include <string>

// Shared by the sound tests. The test program runs once with a private
// PulseAudio server (a null sink) and once with no sound server at all.
namespace SoundTest {

// True in the run with the private sound server.
bool HaveSoundServer();
void SetHaveSoundServer(bool on);

// A mono 16-bit 22,050 Hz sine tone of the given length as a wave file.
QByteArray SineWave(int milliseconds, int sampleRate = 22050, int channels = 1);
void WriteFile(const std::string& path, const QByteArray& bytes);
// Encodes a wave file to MP3 with lame; false when that failed.
bool EncodeMp3(const std::string& wavPath, const std::string& mp3Path);

// Runs the event loop until cond holds or the time is up.
bool WaitFor(const std::function<bool()>& cond, int timeoutMs);

}  // namespace SoundTest
