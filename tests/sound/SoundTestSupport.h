// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QStringList>
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

// The wave header faults that once stalled the music list, each on a
// second of SineWave: the header alone (44 bytes, its data chunk claiming a
// second), a data size of 1, a block align of 65535.
enum class WaveFault { HeaderOnly, DataSizeOne, BlockAlign65535 };
QByteArray DamagedWave(WaveFault fault);
// A 2 s MPEG program stream (MPEG-1 video, AC-3 audio) made with ffmpeg and
// damaged with zzuf at a fixed seed: a file that made the system's AC-3
// decoder corrupt its heap. False when the tools failed.
bool MakeDamagedProgramStream(const std::string& path);
// Runs a program to its end (20 s at most); true when it exited with 0.
bool RunTool(const QString& program, const QStringList& args);

// Runs the event loop until cond holds or the time is up.
bool WaitFor(const std::function<bool()>& cond, int timeoutMs);

}  // namespace SoundTest
