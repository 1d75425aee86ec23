// SPDX-License-Identifier: MIT
#include "environment/AssetStore.h"
#include "settings/ProgramValues.h"
#include "sound/BuiltinTune.h"
#include "sound/WaveData.h"
#include "tests/sound/SoundTestSupport.h"
#include "view/scene/AquariumScene.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

using SoundTest::HaveSoundServer;
using SoundTest::WaitFor;

TEST(BuiltinTune, GainFromTheAttenuationSetting)
{
    const struct {
        int yinliang;
        float gain;
    } cases[] = {{0, 1.0f}, {32767, 32768.0f / 65535.0f}, {65535, 0.0f}, {-5, 1.0f}, {70000, 0.0f}};
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(BuiltinTune::GainFor(c.yinliang), c.gain) << c.yinliang;
}

// The real asset: both files are gone at once and the tune plays on from
// memory, at the setting's gain, for longer than a moment.
TEST(BuiltinTune, PlaysOnAfterItsFilesAreDeleted)
{
    ResetProgramValues();
    Program().aquarium.volume = 49151;  // a quarter of full volume
    BuiltinTune tune;
    tune.startBuiltinMusic();
    const std::string dir = AssetStore::GetAssetDirectory();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(AssetStore::UsablePath(dir, "Music"))));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(AssetStore::ScrambledPath(dir, "Music"))));
    EXPECT_TRUE(tune.IsPlaying());
    EXPECT_FLOAT_EQ(tune.Gain(), 16384.0f / 65535.0f);
    if (HaveSoundServer()) {
        EXPECT_TRUE(WaitFor([&] { return tune.PlayedMicroseconds() > 1500000; }, 10000))
            << tune.PlayedMicroseconds();
        EXPECT_TRUE(tune.OutputRunning());
    } else {
        EXPECT_FALSE(tune.OutputRunning());
    }
    tune.Stop();
    EXPECT_FALSE(tune.IsPlaying());
    EXPECT_FALSE(tune.OutputRunning());
}

// A short sound comes round again and again with the output kept busy.
TEST(BuiltinTune, LoopsAShortSoundWithoutEnding)
{
    if (!HaveSoundServer())
        GTEST_SKIP() << "needs an audio output";
    WaveData wave;
    ASSERT_TRUE(WaveData::Parse(SoundTest::SineWave(150), &wave));
    BuiltinTune tune;
    tune.Play(wave, 0.5f);
    ASSERT_TRUE(WaitFor([&] { return tune.Loops() >= 4 && tune.PlayedMicroseconds() > 600000; }, 10000))
        << tune.Loops() << " loops, " << tune.PlayedMicroseconds() << " us";
    EXPECT_TRUE(tune.OutputRunning());
    // A restart begins at the first sample again.
    tune.Play(wave, 0.5f);
    EXPECT_EQ(tune.Loops(), 0);
}

// The view's hand-over, applied to a real tune: stopped on every tick while
// the user's music is on, restarted exactly once after it goes off.
TEST(BuiltinTune, FollowsTheHandOver)
{
    ResetProgramValues();
    AquariumScene scene;
    BuiltinTune tune;
    int starts = 0;
    QObject::connect(&tune, &BuiltinTune::started, [&] { ++starts; });
    const struct {
        bool customOn;
        bool playing;
        int starts;
    } ticks[] = {
        {true, false, 0}, {true, false, 0}, {false, true, 1}, {false, true, 1},
        {true, false, 1}, {true, false, 1}, {false, true, 2}, {false, true, 2},
    };
    for (const auto& t : ticks) {
        Program().customMusicPlaying = t.customOn;
        // As the view's tick asks and the shell acts.
        switch (scene.HandOverMusic()) {
        case AquariumScene::MusicAction::StopBuiltin: tune.Stop(); break;
        case AquariumScene::MusicAction::RestartBuiltin: tune.startBuiltinMusic(); break;
        case AquariumScene::MusicAction::None: break;
        }
        EXPECT_EQ(tune.IsPlaying(), t.playing);
        EXPECT_EQ(starts, t.starts);
    }
}

}  // namespace
