// SPDX-License-Identifier: MIT
#include "platform/MessageBox.h"
#include "platform/MsvcRandom.h"
#include "settings/ProgramValues.h"
#include "settings/ReadSettings.h"
#include "settings/SettingsFile.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const char kFirstRunAquarium[] =
    "[Aquarium Settings]\n"
    "Show Water=0\n" "Show Light=0\n" "Show Terra=1\n"
    "FRONT GUDING=1\n" "FRONTCOLOR=16777215\n" "FRONT MANJIANBIAN=0\n"
    "FRONT COLOR1=16777215\n" "FRONT COLOR2=16777215\n" "FRONT AUTOJIANBIAN=0\n"
    "CHECK LOCKFORE=0\n" "LOCKFORE ROT=0\n"
    "BACK GUDING=1\n" "BACKCOLOR=0\n" "BACK MANJIANBIAN=0\n"
    "BACK COLOR1=65280\n" "BACK COLOR2=0\n" "BACK AUTOJIANBIAN=0\n"
    "CHECK LOCKBACK=0\n" "LOCKBACK ROT=0\n"
    "YINLIANG=32767.5\n" "QIPAONUM=100\n" "BACKGROUND=0\n" "FOGNONGDU=25\n" "LIGHTQIANGDU=0\n"
    "CHECK VIEWS=1\n" "VIEWSLEFTRIGHT=0\n" "VIEWSNEARFAR=0\n";

// Rand() % 2 for the first twenty draws of a generator in its start state.
const int kFirstRunCounts[kSpeciesCount] = {1, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 0, 1, 0};

std::string FishLines(int first, const int* counts)
{
    std::string text;
    for (int i = first; i < kSpeciesCount; ++i)
        text += "Fish" + std::to_string(i) + "=" + std::to_string(counts[i - first]) + "\n";
    return text;
}

std::string FirstRunFile() { return std::string(kFirstRunAquarium) + "\n[Fish Number]\n" + FishLines(0, kFirstRunCounts); }

// A new file's keys, after the comment block that heads it.
std::string KeysOf(const std::string& text)
{
    const std::size_t keys = text.find("\n[Aquarium Settings]\n");
    return keys == std::string::npos ? text : text.substr(keys + 1);
}

// The whole first-run file with one line of "Aquarium Settings" replaced.
std::string FileWith(const std::string& key, const std::string& value)
{
    std::string text = FirstRunFile();
    const std::size_t at = text.find("\n" + key + "=") + 1;
    return text.replace(at, text.find('\n', at) - at, key + "=" + value);
}

class ReadSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramValues();
        Program().aquarium.fog = -1;  // so a test notices values that were never filled
        MsvcRandom::Reset();
        m_oldHandler = SetMessageBoxHandler(
            [this](const std::string& text, const std::string& caption, MessageIcon) { m_messages.push_back(caption + ": " + text); });
    }
    void TearDown() override
    {
        SetMessageBoxHandler(m_oldHandler);
        ResetProgramValues();
    }

    std::string SettingsDir() const { return m_dir.Path() + "plovi/"; }
    std::string IniPath() const { return SettingsDir() + "PloviSet.ini"; }
    void WriteIni(const std::string& text) const
    {
        std::filesystem::create_directories(SettingsDir());
        std::ofstream(IniPath(), std::ios::binary) << text;
    }
    const AquariumSettingsValues& Aquarium() const { return Program().aquarium; }
    void ExpectFirstRunCounts() const
    {
        for (int i = 0; i < kSpeciesCount; ++i)
            EXPECT_EQ(Program().speciesCount[i], kFirstRunCounts[i]) << "species " << i;
    }

    TempDir m_dir;
    ScopedEnv m_config{"XDG_CONFIG_HOME", m_dir.Path().c_str()};
    std::vector<std::string> m_messages;
    MessageBoxHandler m_oldHandler;
};

TEST_F(ReadSettingsTest, EveryFirstRunWritesEveryDefaultInTableOrderAndTheSameFishCounts)
{
    for (int run = 0; run < 2; ++run) {
        std::filesystem::remove(IniPath());
        MsvcRandom::Reset();
        ReadSettings();
        // A comment block naming every key comes first; the keys follow it.
        const std::string text = ReadWholeFile(IniPath());
        const std::size_t keys = text.find("\n[Aquarium Settings]\n") + 1;
        ASSERT_NE(keys, 0u) << text;
        const std::string comment = text.substr(0, keys);
        EXPECT_EQ(text.substr(keys), FirstRunFile());
        std::istringstream lines(comment);
        for (std::string line; std::getline(lines, line);)
            EXPECT_TRUE(line.empty() || line[0] == ';') << line;
        std::istringstream table(kFirstRunAquarium);
        for (std::string line; std::getline(table, line);)
            EXPECT_TRUE(line[0] == '[' || comment.find(line.substr(0, line.find('='))) != std::string::npos) << line;
        for (const char* other : {"Fish0 .. Fish19", "ImageList0", "MusicList0", "ImageTime", "OwnMusic"})
            EXPECT_NE(comment.find(other), std::string::npos) << other;
        EXPECT_EQ(Aquarium().volume, 32767) << "\"32767.5\" reads back as 32767";
        EXPECT_EQ(Aquarium().fog, 25);
        ExpectFirstRunCounts();
    }
    EXPECT_TRUE(m_messages.empty());
    // A start with the file in place draws nothing and writes nothing.
    const auto stamp = std::filesystem::last_write_time(IniPath());
    const std::uint32_t state = MsvcRandom::State();
    ReadSettings();
    EXPECT_EQ(MsvcRandom::State(), state);
    EXPECT_EQ(std::filesystem::last_write_time(IniPath()), stamp);
}

TEST_F(ReadSettingsTest, ValueRulesApplyToWhatTheFileSays)
{
    using A = AquariumSettingsValues;
    const struct {
        const char *key, *inFile;
        const char* afterwards;  // the line's value after the start
        int A::*field;
        int value;
    } cases[] = {
        {"FOGNONGDU", "26", "25", &A::fog, 25},
        {"FOGNONGDU", "-5", "25", &A::fog, 25},
        {"FOGNONGDU", "0", "0", &A::fog, 0},
        {"FOGNONGDU", "abc", "abc", &A::fog, 0},
        {"LIGHTQIANGDU", "-1", "0", &A::light, 0},
        {"LIGHTQIANGDU", "100", "100", &A::light, 100},
        {"LIGHTQIANGDU", "99999999999", "0", &A::light, 0},
        {"Show Water", "1", "0", &A::showWater, 0},
        {"Show Terra", "0", "1", &A::showTerra, 1},
        {"BACKCOLOR", "255", "0", &A::backColor, 0},
        {"BACK AUTOJIANBIAN", "1", "0", &A::backAutoGradient, 0},
        {"BACKGROUND", "3", "3", &A::background, 3},
        {"BACK COLOR2", "255x", "255x", &A::backColor2, 255},
        {"YINLIANG", "99999999999", "99999999999", &A::volume, 65535},
        {"YINLIANG", "-5", "-5", &A::volume, 0},
    };
    for (const auto& c : cases) {
        WriteIni(FileWith(c.key, c.inFile));
        ReadSettings();
        EXPECT_EQ(ReadWholeFile(IniPath()), FileWith(c.key, c.afterwards)) << c.key << '=' << c.inFile;
        EXPECT_EQ(Aquarium().*c.field, c.value) << c.key << '=' << c.inFile;
    }
    std::string text = FileWith("LOCKBACK ROT", "12.9");
    WriteIni(text.replace(text.find("LOCKFORE ROT=0"), 14, "LOCKFORE ROT=-7.5"));
    ReadSettings();
    EXPECT_FLOAT_EQ(Aquarium().lockBackRot, 12.0f);
    EXPECT_FLOAT_EQ(Aquarium().lockForeRot, -7.0f);
}

TEST_F(ReadSettingsTest, FishCountsAreCappedInMemoryButKeptInTheFile)
{
    std::string text = std::string(kFirstRunAquarium) + "[fish number]\n";
    const char* counts[] = {"0", "1", "2", "35", "99999999999", "-5", "3 fish", "x"};
    for (int i = 0; i < 8; ++i)
        text += "Fish" + std::to_string(i) + "=" + counts[i] + "\n";
    WriteIni(text);
    ReadSettings();
    const int expected[8] = {0, 1, 2, 20, 20, -5, 3, 0};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(Program().speciesCount[i], expected[i]) << "species " << i;
    // Species 8.. were absent: drawn and written in order after the others.
    EXPECT_EQ(ReadWholeFile(IniPath()), text + FishLines(8, kFirstRunCounts));
}

TEST(ActiveFishCounts, NegativeCountsAreZeroAndTheSumStopsAtTwenty)
{
    const int counts[kSpeciesCount] = {-3, 5, 10, 10, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7};
    const int expected[kSpeciesCount] = {0, 5, 10, 5};
    int active[kSpeciesCount];
    ActiveFishCounts(counts, active);
    for (int i = 0; i < kSpeciesCount; ++i)
        EXPECT_EQ(active[i], expected[i]) << "species " << i;
}

TEST_F(ReadSettingsTest, BinaryGarbageGivesDefaultsAndIsKept)
{
    std::string garbage;
    for (unsigned i = 0, state = 11; i < 100000; ++i) {
        state = state * 1103515245u + 12345u;
        const char c = static_cast<char>(state >> 23);
        garbage += (c == '[') ? '\0' : c;  // no section headers
    }
    garbage += std::string(10u << 20, 'L') + "\n";  // and one 10 MB line
    WriteIni(garbage);
    ReadSettings();
    EXPECT_EQ(Aquarium().fog, 25);
    EXPECT_EQ(Aquarium().showTerra, 1);
    EXPECT_EQ(ReadWholeFile(IniPath()), garbage + "\n" + FirstRunFile());
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(ReadSettingsTest, ReadOnlyFileIsUsedButNotReplaced)
{
    const std::string text = "[Aquarium Settings]\nShow Water=1\nLIGHTQIANGDU=60\nFOGNONGDU=30\n";
    WriteIni(text);
    ::chmod(IniPath().c_str(), 0444);
    ReadSettings();
    EXPECT_EQ(ReadWholeFile(IniPath()), text);
    EXPECT_EQ(Aquarium().light, 60);
    EXPECT_EQ(Aquarium().fog, 25);
    EXPECT_EQ(Aquarium().showWater, 0);
    ExpectFirstRunCounts();

    ::chmod(IniPath().c_str(), 0644);
    std::filesystem::remove(IniPath());
    ::chmod(SettingsDir().c_str(), 0555);
    ReadSettings();
    ::chmod(SettingsDir().c_str(), 0700);
    EXPECT_FALSE(FileExists(IniPath())) << "an unwritable directory gets no file";
    EXPECT_EQ(Aquarium().light, 0);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(ReadSettingsTest, MissingSettingsDirectoryFallsBackToTheWorkingDirectoryWithOneMessageEachTime)
{
    // XDG_CONFIG_HOME names a file, so no settings directory can be made.
    const std::string blocker = m_dir.Path() + "not-a-directory";
    std::ofstream(blocker) << "x";
    ScopedEnv config("XDG_CONFIG_HOME", blocker.c_str());
    const std::string cwd = std::filesystem::current_path();
    std::filesystem::current_path(m_dir.Path());
    ReadSettings();
    const std::string fallback = ReadWholeFile(m_dir.Path() + "PloviSet.ini");
    // Later accesses go to the same file without another message, until one
    // finds the directory again; the next fall-back is said again.
    EXPECT_TRUE(WriteProfileInt(SettingsSection::kCustomMusic, "MusicSum", 1));
    EXPECT_EQ(ReadProfileInt(SettingsSection::kCustomMusic, "MusicSum"), 1);
    const std::vector<std::string> once = m_messages;
    {
        ScopedEnv usable("XDG_CONFIG_HOME", (m_dir.Path() + "config").c_str());
        EXPECT_EQ(ReadProfileInt(SettingsSection::kCustomMusic, "MusicSum"), 0);
    }
    const std::vector<std::string> afterUsable = m_messages;
    EXPECT_EQ(ReadProfileInt(SettingsSection::kCustomMusic, "MusicSum"), 1);
    std::filesystem::current_path(cwd);
    EXPECT_EQ(KeysOf(fallback), FirstRunFile());
    EXPECT_EQ(once, std::vector<std::string>{"ERROR: Error Find TempPath."});
    EXPECT_EQ(afterUsable, once);
    EXPECT_EQ(m_messages, std::vector<std::string>(2, "ERROR: Error Find TempPath."));
}

TEST_F(ReadSettingsTest, DialogHelpersReadAndWriteTheSameFile)
{
    EXPECT_EQ(ReadProfileInt(SettingsSection::kCustomMusic, "MusicSum"), 0);
    ASSERT_TRUE(WriteProfileInt(SettingsSection::kCustomMusic, "MusicSum", 2));
    ASSERT_TRUE(WriteProfileString(SettingsSection::kCustomMusic, "MusicList0", "/music/a b.mp3"));
    EXPECT_EQ(ReadProfileInt("custom settings", "musicsum"), 2);
    EXPECT_EQ(ReadWholeFile(IniPath()), "[Custom Settings]\nMusicSum=2\nMusicList0=/music/a b.mp3\n");

    SettingsFile file;
    const std::string longPath = "/" + std::string(300, 'p') + ".mp3";
    ASSERT_TRUE(file.WriteString(SettingsSection::kCustomMusic, "MusicList1", longPath));
    ASSERT_TRUE(file.WriteInt(SettingsSection::kCustomMusic, "MusicSum", 3));
    EXPECT_EQ(ReadProfileInt(SettingsSection::kCustomMusic, "MusicSum"), 2) << "nothing written before Save";
    ASSERT_TRUE(file.Save());
    EXPECT_EQ(ReadProfileInt(SettingsSection::kCustomMusic, "MusicSum"), 3);
    EXPECT_EQ(ReadProfileString(SettingsSection::kCustomMusic, "MusicList1", 4096), longPath);
    EXPECT_EQ(ReadProfileString(SettingsSection::kCustomMusic, "MusicList1").size(), 127u);
}

TEST_F(ReadSettingsTest, ALinkedSettingsFileIsReadButNeverWrittenAndTheUserIsToldOnce)
{
    SettingsFile::ResetMessages();
    const std::string notes = m_dir.Path() + "notes.txt";
    std::ofstream(notes) << "[Aquarium Settings]\nLIGHTQIANGDU=60\n";
    std::filesystem::create_directories(SettingsDir());
    ASSERT_EQ(::symlink(notes.c_str(), IniPath().c_str()), 0);
    ReadSettings();
    EXPECT_EQ(Aquarium().light, 60);
    EXPECT_TRUE(WriteProfileInt(SettingsSection::kCustomMusic, "MusicSum", 1) == false);
    EXPECT_TRUE(std::filesystem::is_symlink(IniPath()));
    EXPECT_EQ(ReadWholeFile(notes), "[Aquarium Settings]\nLIGHTQIANGDU=60\n");
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_NE(m_messages[0].find(IniPath() + " is a link to another file"), std::string::npos) << m_messages[0];
}

TEST_F(ReadSettingsTest, TheFallBackInAFolderOthersCanWriteToIsNeitherReadNorWritten)
{
    SettingsFile::ResetMessages();
    const std::string blocker = m_dir.Path() + "not-a-directory";
    std::ofstream(blocker) << "x";
    ScopedEnv config("XDG_CONFIG_HOME", blocker.c_str());
    // Another user's link in a shared folder, pointing at this user's file.
    TempDir shared;
    ::chmod(shared.Path().c_str(), 01777);
    const std::string victim = m_dir.Path() + "bashrc";
    std::ofstream(victim) << "export PATH\n";
    ASSERT_EQ(::symlink(victim.c_str(), (shared.Path() + "PloviSet.ini").c_str()), 0);
    const std::string cwd = std::filesystem::current_path();
    std::filesystem::current_path(shared.Path());
    ReadSettings();
    std::filesystem::current_path(cwd);
    ::chmod(shared.Path().c_str(), 0700);
    EXPECT_EQ(ReadWholeFile(victim), "export PATH\n");
    EXPECT_EQ(Aquarium().fog, 25) << "the defaults are in effect";
    ExpectFirstRunCounts();
    ASSERT_EQ(m_messages.size(), 2u);
    EXPECT_EQ(m_messages[0], "ERROR: Error Find TempPath.");
    EXPECT_NE(m_messages[1].find("in a folder other users can write to"), std::string::npos) << m_messages[1];
}

TEST_F(ReadSettingsTest, StartUpRemovesWhatKilledSavesLeftBesideTheFile)
{
    WriteIni("[Aquarium Settings]\nLIGHTQIANGDU=60\n");
    std::ofstream(SettingsDir() + "PloviSet.ini.k1LLed") << "a whole copy";
    std::ofstream(SettingsDir() + "notes.txt") << "mine";
    ReadSettings();
    EXPECT_FALSE(FileExists(SettingsDir() + "PloviSet.ini.k1LLed"));
    EXPECT_TRUE(FileExists(SettingsDir() + "notes.txt"));
    EXPECT_EQ(Aquarium().light, 60);
}

TEST(SettingsPaths, PathsTheFileCannotGiveBackWholeAreRefused)
{
    const std::string longest(PrivateProfile::kPathBufferSize - 1, 'p');
    EXPECT_TRUE(SettingsFile::CanHoldPath("/music/a b.mp3"));
    EXPECT_TRUE(SettingsFile::CanHoldPath(longest));
    EXPECT_TRUE(SettingsFile::CanHoldPath("/pictures/\xE9t\xE9.jpg"));
    EXPECT_FALSE(SettingsFile::CanHoldPath(longest + "p"));
    EXPECT_TRUE(SettingsFile::CanHoldPath(" " + longest.substr(2) + " ")) << "the quotes do not count";
    EXPECT_FALSE(SettingsFile::CanHoldPath("/a\nb.mp3"));
    EXPECT_FALSE(SettingsFile::CanHoldPath("/a\rb.mp3"));
}

}  // namespace
