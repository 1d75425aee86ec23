#include "sound/MciPlayer.h"
#include "tests/sound/SoundTestSupport.h"
#include "tests/support/TestEnvironment.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

using SoundTest::WaitFor;

TEST(MciPlayer, PlaysRealWaveAndMp3ToTheirEnd)
{
    TempDir dir;
    const std::string wav = dir.Path() + "tone.wav";
    const std::string mp3 = dir.Path() + "tone.mp3";
    SoundTest::WriteFile(wav, SoundTest::SineWave(700));
    ASSERT_TRUE(SoundTest::EncodeMp3(wav, mp3));
    for (const std::string& path : {wav, mp3}) {
        MciPlayer player;
        QSignalSpy ended(&player, &MciPlayer::ended);
        QSignalSpy failed(&player, &MciPlayer::failed);
        player.SetFileName(QString::fromStdString(path));
        ASSERT_TRUE(player.Open()) << path;
        EXPECT_TRUE(player.CanPlay());
        ASSERT_TRUE(WaitFor([&] { return player.Length() > 0; }, 5000)) << path;
        // An MP3 frame pads the end a little.
        EXPECT_NEAR(double(player.Length()), 700.0, 80.0) << path;
        player.Play();
        EXPECT_TRUE(WaitFor([&] { return player.Position() > 0 && !player.AtEnd(); }, 5000)) << path;
        ASSERT_TRUE(WaitFor([&] { return ended.count() == 1; }, 10000)) << path;
        EXPECT_TRUE(player.AtEnd());
        EXPECT_EQ(player.Position(), player.Length());
        EXPECT_EQ(failed.count(), 0);
        // Seeking back leaves the end.
        player.Seek(0);
        EXPECT_FALSE(player.AtEnd());
    }
}

TEST(MciPlayer, FilesThatCannotPlayAreReportedOnce)
{
    TempDir dir;
    const std::string text = dir.Path() + "notes.mp3";
    const std::string empty = dir.Path() + "empty.wav";
    const std::string cut = dir.Path() + "cut.wav";
    SoundTest::WriteFile(text, "these are my notes, not music\n");
    SoundTest::WriteFile(empty, "");
    SoundTest::WriteFile(cut, SoundTest::SineWave(500).left(30));
    const struct {
        std::string path;
        bool opens;  // false: refused at once; true: the decoder refuses later
    } cases[] = {
        {"", false}, {dir.Path() + "missing.mp3", false}, {dir.Path(), false},
        {empty, false}, {text, true}, {cut, true},
    };
    for (const auto& c : cases) {
        MciPlayer player;
        QSignalSpy failed(&player, &MciPlayer::failed);
        QSignalSpy ended(&player, &MciPlayer::ended);
        player.SetFileName(QString::fromStdString(c.path));
        EXPECT_EQ(player.Open(), c.opens) << c.path;
        player.Play();
        if (c.opens) {
            EXPECT_TRUE(WaitFor([&] { return failed.count() > 0; }, 5000)) << c.path;
            SoundTest::WaitFor([] { return false; }, 300);  // room for a second report
            EXPECT_EQ(failed.count(), 1) << c.path;
            EXPECT_EQ(failed.first().first().toString(), QString::fromStdString(c.path));
        }
        EXPECT_FALSE(player.CanPlay()) << c.path;
        EXPECT_EQ(player.Position(), 0);
        EXPECT_EQ(ended.count(), 0);
    }
}

TEST(MciPlayer, VolumeIsKeptInRange)
{
    MciPlayer player;
    EXPECT_EQ(player.Volume(), 1000);
    const int cases[][2] = {{500, 500}, {0, 0}, {1000, 1000}, {-20, 0}, {4000, 1000}};
    for (const auto& c : cases) {
        player.SetVolume(c[0]);
        EXPECT_EQ(player.Volume(), c[1]) << c[0];
    }
}

}  // namespace
