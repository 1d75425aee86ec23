#include "tests/e2e/ScreenFixture.h"

#include <gtest/gtest.h>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/mount.h>
#include <unistd.h>

namespace fs = std::filesystem;

using Faults = ScreenFixture<1024, 768>;

namespace {

std::size_t FilesIn(const std::string& dir)
{
    std::error_code error;
    if (!fs::is_directory(dir, error))
        return 0;
    return std::size_t(std::distance(fs::directory_iterator(dir), {}));
}

std::string SettingsPath(const AquariumSession& session) { return session.ConfigDir() + "/plovi/PloviSet.ini"; }

void WriteSettings(const AquariumSession& session, const std::string& text)
{
    fs::create_directories(session.ConfigDir() + "/plovi");
    std::ofstream(SettingsPath(session), std::ios::binary) << text;
}

}  // namespace

TEST_F(Faults, TerminationSignalsEndTheProgramLikeExit)
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        WriteSettings(m_session, "[Aquarium Settings]\nFOGNONGDU=7\n");
        auto plovi = m_session.Start();
        ASSERT_TRUE(m_session.WaitForWindow(*plovi)) << plovi->Err();
        ASSERT_EQ(::kill(plovi->Pid(), signal), 0);
        const auto result = plovi->Wait(10);
        ASSERT_TRUE(result) << "still running after signal " << signal;
        EXPECT_EQ(result->signal, 0) << signal;
        EXPECT_EQ(result->exitCode, 0) << signal << ": " << result->err;
        const std::string settings = ReadWholeFile(SettingsPath(m_session));
        EXPECT_NE(settings.find("FOGNONGDU=7\n"), std::string::npos) << signal;
        EXPECT_NE(settings.find("[Fish Number]"), std::string::npos) << signal;
        EXPECT_EQ(FilesIn(m_session.RuntimeDir() + "/plovi"), 0u) << "transient files left after " << signal;
    }
}

TEST_F(Faults, LosingTheXServerEndsWithAClearLineAndCodeOne)
{
    auto screen = std::make_unique<VirtualScreen>(800, 600);
    ASSERT_TRUE(screen->Ok());
    AquariumSession session(*screen);
    auto plovi = session.Start();
    ASSERT_TRUE(session.WaitForWindow(*plovi)) << plovi->Err();
    screen.reset();  // the server goes away under the running program
    const auto result = plovi->Wait(10);
    ASSERT_TRUE(result) << "hangs without its X server";
    EXPECT_EQ(result->signal, 0) << "crashed: " << result->err;
    EXPECT_EQ(result->exitCode, 1);
    EXPECT_NE(result->err.find("X11 connection broke"), std::string::npos) << result->err;
}

TEST_F(Faults, FullDiskAtASettingsWriteKeepsTheOldFileAndRunsOn)
{
    // A tiny file system as the config home, filled up but for the old file.
    const std::string config = m_session.ConfigDir();
    fs::create_directories(config);
    if (::mount("tmpfs", config.c_str(), "tmpfs", 0, "size=64k,mode=0700") != 0)
        GTEST_SKIP() << "mounting a tmpfs needs root";
    const std::string old = "[Aquarium Settings]\nFOGNONGDU=9\n";  // every other key missing: a write follows
    WriteSettings(m_session, old);
    {
        std::ofstream filler(config + "/filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), block.size()))
            filler.flush();
    }
    auto plovi = m_session.Start();
    const bool shown = m_session.WaitForWindow(*plovi);
    const bool running = plovi->Running();
    const std::string settings = ReadWholeFile(SettingsPath(m_session));
    const std::string err = plovi->Err();
    plovi.reset();
    ::umount2(config.c_str(), MNT_DETACH);
    EXPECT_TRUE(shown) << err;
    EXPECT_TRUE(running) << err;
    EXPECT_EQ(settings, old);
    // One line of the program's own; the sound libraries may add theirs
    // when there is no sound device.
    int ownLines = 0;
    for (std::size_t at = 0; (at = err.find("plovi:", at)) != std::string::npos; ++at)
        ++ownLines;
    EXPECT_EQ(ownLines, 1) << err;
    EXPECT_NE(err.find("could not be saved"), std::string::npos) << err;
}

TEST_F(Faults, NoSettingsTextEverReachesAShell)
{
    const std::string marker = m_session.TmpDir() + "/ran";
    const std::string hostile[] = {"$(touch " + marker + ")", "`touch " + marker + "`", "; touch " + marker,
                                   "| touch " + marker, "&& touch " + marker};
    std::string text;
    int n = 0;
    for (const char* section : {"Aquarium Settings", "Fish Number", "Custom Images", "Custom Settings"}) {
        text += std::string("[") + section + "]\n";
        for (const char* key : {"FOGNONGDU", "Fish0", "OwnImage", "ImageSum", "ImageList0", "ImageTime", "OwnMusic",
                                "MusicSum", "MusicList0", "YINLIANG", "BACKGROUND"})
            text += std::string(key) + "=" + hostile[n++ % 5] + "\n";
    }
    WriteSettings(m_session, text);
    auto plovi = m_session.Start({}, {{"HOME", std::nullopt}});  // also runs without HOME
    ASSERT_TRUE(m_session.WaitForWindow(*plovi)) << plovi->Err();
    const auto result = m_session.PressKeyUntilExit(*plovi, "Escape");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->exitCode, 0);
    EXPECT_FALSE(FileExists(marker)) << "a command from the settings file ran";
}
