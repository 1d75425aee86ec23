// SPDX-License-Identifier: MIT
#include "platform/MessageBox.h"
#include "platform/MsvcRandom.h"
#include "settings/ProgramValues.h"
#include "settings/SettingsFile.h"
#include "sound/MusicDialog.h"
#include "sound/MusicSettings.h"
#include "tests/sound/SoundTestSupport.h"
#include "tests/support/TestEnvironment.h"
#include "view/scene/AquariumScene.h"
#include "widgets/CheckButton.h"
#include "widgets/TrackList.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

using SoundTest::WaitFor;
using Action = AquariumScene::MusicAction;

const char* kSection = SettingsSection::kCustomMusic;

// Each test has its own settings directory, its own tracks and records the
// message boxes instead of showing them.
class MusicDialogTest : public ::testing::Test {
protected:
    MusicDialogTest() : m_config("XDG_CONFIG_HOME", m_configDir.Path().c_str())
    {
        ResetProgramValues();
        MsvcRandom::Reset();
        m_oldHandler = SetMessageBoxHandler(
            [this](const std::string& text, const std::string& caption, MessageIcon) {
                m_messages.push_back(text + " | " + caption);
            });
    }
    ~MusicDialogTest() override { SetMessageBoxHandler(m_oldHandler); }

    // A file in this test's directory; a real wave file of the given length.
    std::string File(const std::string& name, const QByteArray& bytes)
    {
        const std::string path = m_tracks.Path() + name;
        SoundTest::WriteFile(path, bytes);
        return path;
    }
    std::string Track(const std::string& name, int ms = 300) { return File(name, SoundTest::SineWave(ms)); }
    std::string NotMusic() { return File("notes.mp3", "shopping list: fish food\n"); }
    void Save(const std::vector<std::pair<std::string, std::string>>& keys)
    {
        SettingsFile file;
        for (const auto& [key, value] : keys)
            file.WriteString(kSection, key, value);
        file.Save();
    }
    void SaveList(const std::vector<std::string>& paths, bool own, const char* mode = "RepeatMusic")
    {
        MusicSettings s;
        s.ownMusic = own;
        s.repeatOne = std::string(mode) == "RepeatMusic";
        s.repeatAll = std::string(mode) == "CycMusic";
        s.random = std::string(mode) == "RandomMusic";
        s.tracks = paths;
        SettingsFile file;
        s.Write(file);
        file.Save();
    }
    static CheckButton& Box(MusicDialog& d, int id) { return *static_cast<CheckButton*>(d.Control(id)); }
    static QPushButton& Button(MusicDialog& d, int id) { return *static_cast<QPushButton*>(d.Control(id)); }
    static void Click(QWidget& w)
    {
        QTest::mouseClick(&w, Qt::LeftButton, {}, w.rect().center());
        QCoreApplication::processEvents();  // the check boxes post their command
    }
    static void ClickRow(MusicDialog& d, int row)
    {
        TrackList& list = d.List();
        const QRect cell = list.visualItemRect(list.item(row, 0));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(20, cell.center().y()));
    }
    static bool EditingEnabled(MusicDialog& d)
    {
        bool all = true, any = false;
        for (int id : {MusicDialog::kAddMusicId, MusicDialog::kRemoveId, MusicDialog::kRemoveAllId,
                       MusicDialog::kPlayId}) {
            all = all && Button(d, id).isEnabled();
            any = any || Button(d, id).isEnabled();
        }
        EXPECT_EQ(all, any) << "the four editing buttons change together";
        return all;
    }

    TempDir m_configDir;
    ScopedEnv m_config;
    TempDir m_tracks;
    std::vector<std::string> m_messages;
    MessageBoxHandler m_oldHandler;
};

TEST_F(MusicDialogTest, SavedModesLoadAsOneTickedBox)
{
    const struct {
        const char *random, *cyc, *repeat;
        PlayMode mode;
    } cases[] = {
        {"1", "0", "1", PlayMode::Random},    {"0", "0", "0", PlayMode::RepeatOne},
        {"0", "1", "0", PlayMode::RepeatAll}, {"1", "1", "1", PlayMode::Random},
        {"0", "1", "1", PlayMode::RepeatAll}, {"2", "yes", "", PlayMode::RepeatOne},
    };
    for (const auto& c : cases) {
        Save({{"RandomMusic", c.random}, {"CycMusic", c.cyc}, {"RepeatMusic", c.repeat}});
        MusicDialog dialog;
        EXPECT_EQ(dialog.Mode(), c.mode) << c.random << c.cyc << c.repeat;
        EXPECT_EQ(Box(dialog, MusicDialog::kRandomId).GetCheck(), c.mode == PlayMode::Random);
        EXPECT_EQ(Box(dialog, MusicDialog::kRepeatAllId).GetCheck(), c.mode == PlayMode::RepeatAll);
        EXPECT_EQ(Box(dialog, MusicDialog::kRepeatOneId).GetCheck(), c.mode == PlayMode::RepeatOne);
        EXPECT_EQ(dialog.State(), MusicDialog::PlayState::Idle);
    }
}

TEST_F(MusicDialogTest, ModeBoxesActAsRadios)
{
    MusicDialog dialog;
    const struct {
        int click;
        PlayMode mode;
    } clicks[] = {{MusicDialog::kRandomId, PlayMode::Random},
                  {MusicDialog::kRandomId, PlayMode::Random},  // the ticked one stays ticked
                  {MusicDialog::kRepeatAllId, PlayMode::RepeatAll},
                  {MusicDialog::kRepeatOneId, PlayMode::RepeatOne}};
    for (const auto& c : clicks) {
        Click(Box(dialog, c.click));
        EXPECT_EQ(dialog.Mode(), c.mode);
        int ticked = 0;
        for (int id : {MusicDialog::kRepeatOneId, MusicDialog::kRepeatAllId, MusicDialog::kRandomId})
            ticked += Box(dialog, id).GetCheck();
        EXPECT_EQ(ticked, 1);
        EXPECT_EQ(Box(dialog, c.click).GetCheck(), 1);
    }
}

// Long paths survive a save and a reload whole; a shorter list saved over a
// longer one leaves the old entries behind, bounded by "MusicSum".
TEST_F(MusicDialogTest, ListAndBoxesSurviveSaveAndReload)
{
    std::string longPath = "/music";
    while (longPath.size() < 4096 - 10)
        longPath += "/" + std::string(60, 'd');
    longPath = longPath.substr(0, 4096 - 9) + "/reef.mp3";
    ASSERT_EQ(longPath.size(), 4096u);
    // The last name is ISO-8859-1, not UTF-8: its bytes come back as they were.
    const std::vector<std::string> paths = {"/music/a b/with spaces.mp3", longPath, "/music/ü.wav",
                                            "/music/caf\xE9 \xB5.mp3"};
    SaveList(paths, false, "CycMusic");
    {
        MusicDialog dialog;
        ASSERT_EQ(dialog.List().rowCount(), 4);
        Click(Box(dialog, MusicDialog::kRandomId));
        dialog.SaveSettings();
    }
    MusicSettings back = MusicSettings::Read(SettingsFile());
    EXPECT_EQ(back.tracks, paths);
    EXPECT_TRUE(back.random && !back.repeatAll && !back.repeatOne && !back.ownMusic);

    SaveList({"/music/only.wav"}, true);
    back = MusicSettings::Read(SettingsFile());
    EXPECT_EQ(back.tracks, std::vector<std::string>{"/music/only.wav"});
    EXPECT_EQ(SettingsFile().ReadString(kSection, "MusicList1", PrivateProfile::kPathBufferSize), longPath);
}

TEST_F(MusicDialogTest, APathTheListCouldNotKeepIsRefusedAtAddAndTheUserIsToldWhy)
{
    MusicDialog dialog;
    const QString lineBreak = QString::fromStdString(Track("two\nlines.wav"));
    // What a file dialog gives for a name that is not UTF-8: its bytes lost.
    const QString lost = QFile::decodeName(QByteArray::fromStdString(m_tracks.Path() + "caf\xE9.wav"));
    const QString fine = QString::fromStdString(Track("fine.wav"));
    for (const QString& path : {lineBreak, lost, fine}) {
        dialog.SetFilePicker([path](QWidget*) { return path; });
        Click(Button(dialog, MusicDialog::kAddMusicId));
    }
    ASSERT_EQ(dialog.List().rowCount(), 1);
    EXPECT_EQ(dialog.List().item(0, 0)->text(), fine);
    const std::vector<std::string> expected = {
        "(" + lineBreak.toStdString() + ") file name holds a line break, so it cannot be saved in the list. | PloviFishScr",
        "(" + lost.toStdString() +
            ") file name is not valid UTF-8, so it cannot be opened. Rename the file and add it again. | PloviFishScr",
    };
    EXPECT_EQ(m_messages, expected);
}

TEST_F(MusicDialogTest, RemoveNeedsASelectedRowEachTimeAndTheLastRowLeavesThePlayer)
{
    const std::string a = Track("a.wav", 5000), b = Track("b.wav"), c = Track("c.wav");
    SaveList({a, b, c}, false);
    MusicDialog dialog;
    Click(Button(dialog, MusicDialog::kRemoveId));
    const std::vector<std::string> noSelection = {"Please select an item from the music list! | PloviFishScr"};
    EXPECT_EQ(m_messages, noSelection);
    EXPECT_EQ(dialog.List().rowCount(), 3);

    Click(Button(dialog, MusicDialog::kPlayId));
    EXPECT_EQ(dialog.Player().FileName().toStdString(), a);
    Click(Button(dialog, MusicDialog::kStopId));
    // A clicked row goes; nothing is selected afterwards, so the next track
    // is row 0 (not the row that moved up), and a second press asks again.
    ClickRow(dialog, 1);
    Click(Button(dialog, MusicDialog::kRemoveId));
    ASSERT_EQ(dialog.List().rowCount(), 2);
    EXPECT_TRUE(dialog.List().selectionModel()->selectedRows().isEmpty());
    EXPECT_EQ(dialog.Player().FileName().toStdString(), a);
    Click(Button(dialog, MusicDialog::kRemoveId));
    EXPECT_EQ(dialog.List().rowCount(), 2);
    EXPECT_EQ(m_messages.size(), 2u);

    ClickRow(dialog, 1);
    Click(Button(dialog, MusicDialog::kRemoveId));
    ClickRow(dialog, 0);
    Click(Button(dialog, MusicDialog::kRemoveId));
    EXPECT_EQ(dialog.List().rowCount(), 0);
    EXPECT_EQ(dialog.Player().FileName().toStdString(), a);
    EXPECT_TRUE(dialog.Player().CanPlay());
    EXPECT_EQ(m_messages.size(), 2u);

    // Play, On/Off and Remove All on an empty list leave the player alone.
    Click(Button(dialog, MusicDialog::kPlayId));
    Click(Box(dialog, MusicDialog::kOnOffId));
    EXPECT_EQ(dialog.State(), MusicDialog::PlayState::Stopped);
    EXPECT_EQ(dialog.Player().FileName().toStdString(), a);
}

TEST_F(MusicDialogTest, PlayWhileStoppedPlaysTheSelectedRowInEveryMode)
{
    const std::vector<std::string> paths = {Track("0.wav", 5000), Track("1.wav", 5000), Track("2.wav", 5000)};
    for (const char* mode : {"RepeatMusic", "CycMusic", "RandomMusic"}) {
        SaveList(paths, false, mode);
        MusicDialog dialog;
        dialog.List().selectRow(2);
        Click(Button(dialog, MusicDialog::kPlayId));
        EXPECT_EQ(dialog.State(), MusicDialog::PlayState::Playing) << mode;
        EXPECT_EQ(dialog.CurrentIndex(), 2) << mode;
        EXPECT_EQ(dialog.List().HighlightedTrack(), 2) << mode;
        EXPECT_EQ(dialog.Player().FileName().toStdString(), paths[2]) << mode;
        EXPECT_FALSE(EditingEnabled(dialog));
        EXPECT_EQ(Box(dialog, MusicDialog::kOnOffId).GetCheck(), 1);
        EXPECT_TRUE(Button(dialog, MusicDialog::kStopId).isEnabled());

        // A click on another row while playing switches at once.
        ClickRow(dialog, 0);
        EXPECT_EQ(dialog.CurrentIndex(), 0) << mode;
        EXPECT_EQ(dialog.Player().FileName().toStdString(), paths[0]) << mode;
        EXPECT_EQ(dialog.State(), MusicDialog::PlayState::Playing);

        Click(Button(dialog, MusicDialog::kStopId));
        EXPECT_EQ(dialog.State(), MusicDialog::PlayState::Stopped);
        EXPECT_EQ(dialog.CurrentIndex(), -1);
        EXPECT_EQ(dialog.List().HighlightedTrack(), -1);
        EXPECT_TRUE(dialog.List().selectionModel()->selectedRows().isEmpty());
        EXPECT_TRUE(EditingEnabled(dialog));
    }
}

// Counts the lines of standard error that hold `what`.
std::size_t Lines(const std::string& err, const std::string& what)
{
    std::size_t n = 0;
    for (std::size_t at = err.find(what); at != std::string::npos; at = err.find(what, at + 1))
        ++n;
    return n;
}

// In Repeat One a file that cannot be played ends the playing: buttons back,
// no row highlighted, one line naming the file, no message box. The same
// for a file picked while nothing plays, in every mode.
TEST_F(MusicDialogTest, UnplayableFilesEndStoppedInRepeatOne)
{
    const std::string text = NotMusic(), empty = File("empty.wav", "");
    const std::string gone = Track("gone.wav");
    const std::string good = Track("good.wav", 5000);
    for (const std::string& path : {text, empty, gone}) {
        SaveList({path, good}, false, "RepeatMusic");
        MusicDialog dialog;
        if (path == gone)
            std::remove(gone.c_str());
        testing::internal::CaptureStderr();
        Click(Button(dialog, MusicDialog::kPlayId));
        const bool stopped = WaitFor([&] { return dialog.State() == MusicDialog::PlayState::Stopped; }, 5000);
        WaitFor([] { return false; }, 300);  // room for a late second report
        const std::string err = testing::internal::GetCapturedStderr();
        ASSERT_TRUE(stopped) << path;
        EXPECT_TRUE(EditingEnabled(dialog)) << path;
        EXPECT_EQ(dialog.List().HighlightedTrack(), -1);
        EXPECT_EQ(Lines(err, "cannot play"), 1u) << err;
        EXPECT_NE(err.find("\"" + path + "\""), std::string::npos) << err;
        EXPECT_EQ(Lines(err, "no file of the music list"), 0u) << err;
        EXPECT_TRUE(m_messages.empty());
    }
    for (const char* mode : {"CycMusic", "RandomMusic"}) {
        SaveList({text, good}, false, mode);
        MusicDialog dialog;
        ClickRow(dialog, 0);  // opens it, plays nothing
        EXPECT_TRUE(WaitFor([&] { return dialog.State() == MusicDialog::PlayState::Stopped; }, 5000)) << mode;
        EXPECT_EQ(dialog.Player().FileName().toStdString(), text) << mode;
    }
}

// Repeat All and Random go on past files that cannot be played (refused by
// the decoder, missing, or a wave with nothing in it); each is named once
// per round and the list keeps playing the files that can.
TEST_F(MusicDialogTest, UnplayableFilesAreSkippedInRepeatAllAndRandom)
{
    const std::string text = NotMusic();
    const std::string hollow = File("hollow.wav", SoundTest::DamagedWave(SoundTest::WaveFault::HeaderOnly));
    const std::vector<std::string> paths = {Track("0.wav", 300), text, m_tracks.Path() + "missing.wav",
                                            Track("3.wav", 300), hollow};
    {
        SaveList(paths, false, "CycMusic");
        MusicDialog dialog;
        std::vector<int> started;
        QObject::connect(&dialog, &MusicDialog::trackStarted, [&](int row) { started.push_back(row); });
        testing::internal::CaptureStderr();
        Click(Button(dialog, MusicDialog::kPlayId));
        WaitFor([&] { return started.size() >= 7; }, 30000);
        const std::string err = testing::internal::GetCapturedStderr();
        started.resize(std::min<std::size_t>(started.size(), 7));
        // Row 2 never starts: it cannot even be opened.
        EXPECT_EQ(started, (std::vector<int>{0, 1, 3, 4, 0, 1, 3}));
        EXPECT_EQ(dialog.State(), MusicDialog::PlayState::Playing);
        EXPECT_EQ(Lines(err, "\"" + text + "\""), 2u) << err;
        EXPECT_EQ(Lines(err, "missing.wav\""), 2u) << err;
        EXPECT_EQ(Lines(err, "\"" + hollow + "\" (there is no sound in it)"), 1u) << err;
    }
    {
        SaveList({text, paths[0], paths[2]}, false, "RandomMusic");
        MusicDialog dialog;
        int goodEnds = 0;
        QObject::connect(&dialog, &MusicDialog::trackStarted, [&](int row) { goodEnds += row == 1; });
        Click(Button(dialog, MusicDialog::kPlayId));
        EXPECT_TRUE(WaitFor([&] { return goodEnds >= 3; }, 30000));
        EXPECT_EQ(dialog.State(), MusicDialog::PlayState::Playing);
    }
}

// A list in which nothing can be played stops after trying each file once,
// with one more line, and stays stopped: no spinning through the list.
TEST_F(MusicDialogTest, AListWithNothingPlayableStopsOnce)
{
    const std::string text = NotMusic();
    const std::string hollow = File("hollow.wav", SoundTest::DamagedWave(SoundTest::WaveFault::DataSizeOne));
    const std::vector<std::string> paths = {text, m_tracks.Path() + "missing.wav", hollow};
    for (const char* mode : {"CycMusic", "RandomMusic"}) {
        SaveList(paths, true, mode);  // starts with the dialog, as at the program's start
        testing::internal::CaptureStderr();
        MusicDialog dialog;
        int starts = 0;
        QObject::connect(&dialog, &MusicDialog::trackStarted, [&](int) { ++starts; });
        const bool stopped = WaitFor([&] { return dialog.State() == MusicDialog::PlayState::Stopped; }, 15000);
        WaitFor([] { return false; }, 1500);
        const std::string err = testing::internal::GetCapturedStderr();
        ASSERT_TRUE(stopped) << mode;
        EXPECT_EQ(dialog.State(), MusicDialog::PlayState::Stopped) << mode;
        EXPECT_LE(starts, 3) << mode;  // the missing file never starts unless drawn first
        EXPECT_EQ(Lines(err, "cannot play"), 3u) << mode << err;
        EXPECT_EQ(Lines(err, "no file of the music list can be played"), 1u) << mode << err;
        EXPECT_TRUE(EditingEnabled(dialog));
        EXPECT_EQ(dialog.List().HighlightedTrack(), -1);
    }
}

// The player process dying in the middle of a track costs that track only:
// the list goes on with the next row.
TEST_F(MusicDialogTest, APlayerCrashMidTrackMovesTheListOn)
{
    SaveList({Track("long.wav", 20000), Track("next.wav", 20000)}, false, "CycMusic");
    MusicDialog dialog;
    std::vector<int> started;
    QObject::connect(&dialog, &MusicDialog::trackStarted, [&](int row) { started.push_back(row); });
    Click(Button(dialog, MusicDialog::kPlayId));
    ASSERT_TRUE(WaitFor([&] { return dialog.Player().Position() > 0; }, 8000));
    testing::internal::CaptureStderr();
    ::kill(pid_t(dialog.Player().PlayerProcessId()), SIGSEGV);
    EXPECT_TRUE(WaitFor([&] { return started.size() == 2 && dialog.Player().Position() > 0; }, 8000));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(started, (std::vector<int>{0, 1}));
    EXPECT_EQ(Lines(err, "long.wav\" (the music player crashed (signal 11))"), 1u) << err;
    EXPECT_EQ(dialog.State(), MusicDialog::PlayState::Playing);
}

// A thousand track changes with short real files, by the tracks' ends and by
// clicks on other rows while the player is still loading or playing: the
// next file is always opened from the event loop, so the changes never
// deadlock, and the dialog ends cleanly and at once.
TEST_F(MusicDialogTest, AThousandTrackChangesEndCleanly)
{
    // The deadlock it guards against needed a real output; the run without
    // one has nothing more to show for the time it takes.
    if (!SoundTest::HaveSoundServer())
        GTEST_SKIP() << "runs with the private sound server";
    const std::vector<std::string> paths = {Track("0.wav", 40), Track("1.wav", 60), Track("2.wav", 80)};
    SaveList(paths, false, "RandomMusic");
    auto dialog = std::make_unique<MusicDialog>();
    int changes = 0;
    QObject::connect(dialog.get(), &MusicDialog::trackStarted, [&](int) { ++changes; });
    Click(Button(*dialog, MusicDialog::kPlayId));
    QElapsedTimer clock;
    clock.start();
    int clicks = 0;
    int waitedFor = -1;
    while (changes < 1000 && clock.elapsed() < 120000) {
        // Every fiftieth change waits for the track's end; the others are
        // clicks, at once or a few milliseconds into the loading.
        if (changes % 50 != 0 || waitedFor == changes) {
            ClickRow(*dialog, clicks++ % 3);
            QCoreApplication::processEvents();
            WaitFor([] { return false; }, clicks % 3);
        } else {
            const int now = changes;
            WaitFor([&] { return changes > now; }, 5000);
            waitedFor = changes;
        }
    }
    EXPECT_GE(changes, 1000) << "in " << clock.elapsed() << " ms";
    EXPECT_EQ(dialog->State(), MusicDialog::PlayState::Playing);
    // The last track still plays to its end and the next starts.
    const int before = changes;
    EXPECT_TRUE(WaitFor([&] { return changes > before; }, 5000));
    clock.restart();
    dialog.reset();
    EXPECT_LT(clock.elapsed(), 2000);
}

// Each mode's track order at the end of real short clips: Repeat One the same
// row, Repeat All the next row wrapping to 0, Random the program's draws.
TEST_F(MusicDialogTest, TheEndOfATrackStartsTheNextByMode)
{
    const std::vector<std::string> paths = {Track("0.wav", 200), Track("1.wav", 200), Track("2.wav", 200)};
    MsvcRandom::Reset();
    std::vector<int> randomRows;
    for (int i = 0; i < 4; ++i)
        randomRows.push_back(MsvcRandom::Next() % 3);
    const struct {
        const char* mode;
        std::vector<int> rows;
    } cases[] = {{"RepeatMusic", {0, 0, 0, 0}}, {"CycMusic", {0, 1, 2, 0}}, {"RandomMusic", randomRows}};
    for (const auto& c : cases) {
        SaveList(paths, false, c.mode);
        MsvcRandom::Reset();
        MusicDialog dialog;
        std::vector<int> started;
        QObject::connect(&dialog, &MusicDialog::trackStarted, [&](int row) { started.push_back(row); });
        Click(Button(dialog, MusicDialog::kPlayId));
        EXPECT_TRUE(WaitFor([&] { return started.size() >= 4; }, 15000)) << c.mode;
        started.resize(std::min<std::size_t>(started.size(), 4));
        EXPECT_EQ(started, c.rows) << c.mode;
        EXPECT_EQ(dialog.State(), MusicDialog::PlayState::Playing);
    }
}

// The dialog's tick publishes the On/Off box; the view's tick hands over.
TEST_F(MusicDialogTest, TheBuiltinTuneWaitsForTheFirstDialogTick)
{
    SaveList({Track("a.wav", 5000)}, false);
    MusicDialog dialog;
    AquariumScene scene;
    EXPECT_EQ(scene.HandOverMusic(), Action::StopBuiltin);  // before the dialog has spoken
    dialog.OnTimer();
    EXPECT_EQ(scene.HandOverMusic(), Action::RestartBuiltin);
    EXPECT_EQ(scene.HandOverMusic(), Action::None);

    Click(Box(dialog, MusicDialog::kOnOffId));
    EXPECT_EQ(dialog.State(), MusicDialog::PlayState::Playing);
    EXPECT_EQ(scene.HandOverMusic(), Action::None);  // until the dialog's next tick
    dialog.OnTimer();
    for (int tick = 0; tick < 3; ++tick)
        EXPECT_EQ(scene.HandOverMusic(), Action::StopBuiltin);

    Click(Box(dialog, MusicDialog::kOnOffId));
    EXPECT_EQ(dialog.State(), MusicDialog::PlayState::Stopped);
    dialog.OnTimer();
    EXPECT_EQ(scene.HandOverMusic(), Action::RestartBuiltin);
    EXPECT_EQ(scene.HandOverMusic(), Action::None);
}

TEST_F(MusicDialogTest, OwnMusicOnStartsTheListAndKeepsTheTuneSilent)
{
    const std::string a = Track("a.wav", 5000);
    SaveList({a}, true);
    MusicDialog dialog;
    AquariumScene scene;
    EXPECT_EQ(dialog.State(), MusicDialog::PlayState::Playing);
    EXPECT_EQ(dialog.List().HighlightedTrack(), 0);
    EXPECT_TRUE(WaitFor([&] { return dialog.Player().Position() > 0; }, 5000));
    for (int tick = 0; tick < 3; ++tick) {
        dialog.OnTimer();
        EXPECT_EQ(scene.HandOverMusic(), Action::StopBuiltin);
    }
    EXPECT_GT(dialog.LastPosition(), 0);
}

TEST_F(MusicDialogTest, KeysAndCloseHideAndSaveButKeepPlaying)
{
    const std::string a = Track("a.wav", 5000);
    SaveList({a}, false);
    MusicDialog dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    Click(Button(dialog, MusicDialog::kPlayId));
    Click(Box(dialog, MusicDialog::kRandomId));

    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.State(), MusicDialog::PlayState::Playing);

    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.State(), MusicDialog::PlayState::Playing);
    MusicSettings saved = MusicSettings::Read(SettingsFile());
    EXPECT_TRUE(saved.ownMusic && saved.random);

    dialog.show();
    Click(Box(dialog, MusicDialog::kRepeatAllId));
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    saved = MusicSettings::Read(SettingsFile());
    EXPECT_TRUE(saved.repeatAll && !saved.random);
    EXPECT_EQ(dialog.State(), MusicDialog::PlayState::Playing);
    const qint64 before = dialog.Player().Position();
    EXPECT_TRUE(WaitFor([&] { return dialog.Player().Position() > before; }, 5000));
}

TEST_F(MusicDialogTest, VolumeComesFromTheProfileAndFollowsTheSlider)
{
    Program().musicVolume = 640;
    MusicDialog dialog;
    auto* slider = static_cast<QSlider*>(dialog.Control(MusicDialog::kVolumeSliderId));
    EXPECT_EQ(slider->value(), 640);
    EXPECT_EQ(dialog.Player().Volume(), 640);
    slider->setValue(250);
    EXPECT_EQ(dialog.Volume(), 250);
    EXPECT_EQ(dialog.Player().Volume(), 250);

    // A newly opened track gets the dialog's volume.
    SaveList({Track("a.wav", 5000)}, false);
    MusicDialog reloaded;
    static_cast<QSlider*>(reloaded.Control(MusicDialog::kVolumeSliderId))->setValue(100);
    Click(Button(reloaded, MusicDialog::kPlayId));
    EXPECT_EQ(reloaded.Player().Volume(), 100);
}

}  // namespace
