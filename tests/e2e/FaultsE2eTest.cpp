// SPDX-License-Identifier: MIT
#include "tests/e2e/ScreenFixture.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <pwd.h>
#include <set>
#include <sys/mount.h>
#include <sys/stat.h>
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

}  // namespace

TEST_F(Faults, TerminationSignalsEndTheProgramLikeExit)
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        m_session.WriteSettings("[Aquarium Settings]\nFOGNONGDU=7\n");
        auto plovi = m_session.Start();
        ASSERT_TRUE(m_session.WaitForWindow(*plovi)) << plovi->Err();
        ASSERT_EQ(::kill(plovi->Pid(), signal), 0);
        const auto result = plovi->Wait(10);
        ASSERT_TRUE(result) << "still running after signal " << signal;
        EXPECT_EQ(result->signal, 0) << signal;
        EXPECT_EQ(result->exitCode, 0) << signal << ": " << result->err;
        const std::string settings = ReadWholeFile(m_session.SettingsPath());
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
    // One line says it, whichever of Qt and Xlib noticed first; Xlib's own
    // report ("XIO: fatal IO error ...") stays out.
    const std::size_t said = result->err.find("X11 connection broke");
    EXPECT_NE(said, std::string::npos) << result->err;
    EXPECT_EQ(result->err.find("X11 connection broke", said + 1), std::string::npos) << result->err;
    EXPECT_EQ(result->err.find("XIO"), std::string::npos) << result->err;
}

TEST_F(Faults, FullDiskAtASettingsWriteKeepsTheOldFileAndRunsOn)
{
    // A tiny file system as the config home, filled up but for the old file.
    const std::string config = m_session.ConfigDir();
    fs::create_directories(config);
    if (::mount("tmpfs", config.c_str(), "tmpfs", 0, "size=64k,mode=0700") != 0)
        GTEST_SKIP() << "mounting a tmpfs needs root";
    const std::string old = "[Aquarium Settings]\nFOGNONGDU=9\n";  // every other key missing: a write follows
    m_session.WriteSettings(old);
    {
        std::ofstream filler(config + "/filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), block.size()))
            filler.flush();
    }
    auto plovi = m_session.Start();
    const bool shown = m_session.WaitForWindow(*plovi);
    const bool running = plovi->Running();
    const std::string settings = ReadWholeFile(m_session.SettingsPath());
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
    m_session.WriteSettings(text);
    auto plovi = m_session.Start({}, {{"HOME", std::nullopt}});  // also runs without HOME
    ASSERT_TRUE(m_session.WaitForWindow(*plovi)) << plovi->Err();
    const auto result = m_session.PressKeyUntilExit(*plovi, "Escape");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->exitCode, 0);
    EXPECT_FALSE(FileExists(marker)) << "a command from the settings file ran";
}

namespace {

// Everything under `root` but the given subtrees, each entry as its kind,
// permissions and content (a link's target, a file's bytes). Links are not
// followed.
std::map<std::string, std::string> Snapshot(const std::string& root, const std::vector<std::string>& skip)
{
    std::map<std::string, std::string> entries;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        const std::string path = it->path().string();
        if (std::find(skip.begin(), skip.end(), path) != skip.end()) {
            it.disable_recursion_pending();
            continue;
        }
        const fs::file_status status = it->symlink_status();
        std::string what = std::to_string(int(status.type())) + " " + std::to_string(int(status.permissions())) + " ";
        if (fs::is_symlink(status))
            what += fs::read_symlink(it->path()).string();
        else if (fs::is_regular_file(status))
            what += ReadWholeFile(path);
        entries[path] = what;
    }
    return entries;
}

// Watches a starting program's message boxes ("ERROR", the caption of the
// settings fall-back) and confirms each, until its main window has been up
// for a while with no box open. Returns how many different boxes it saw, or
// -1 when the main window never came.
int ConfirmMessagesUntilSettled(const VirtualScreen& screen)
{
    std::set<std::string> boxes;
    double quietSince = -1;   // since when no box was open; -1 while one is
    const auto start = std::chrono::steady_clock::now();
    const auto seconds = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    while (seconds() < 40) {
        const std::vector<std::string> open = screen.WindowsNamed("^ERROR$");
        boxes.insert(open.begin(), open.end());
        if (!open.empty()) {
            quietSince = -1;
            Pause(0.3);
            screen.Tool({"xdotool", "key", "Return"});
        } else if (!screen.WindowsNamed(std::string("^") + AquariumSession::kWindowName + "$").empty()) {
            if (quietSince < 0)
                quietSince = seconds();
            // The dialogs read their settings after the window is up.
            if (seconds() - quietSince > 4)
                return int(boxes.size());
        }
        Pause(0.1);
    }
    return -1;
}

// The argument vector that runs plovi with the session's environment as
// `user` (through runuser; nothing when empty).
std::vector<std::string> PloviCommand(const AquariumSession& session, const std::string& user)
{
    if (user.empty())
        return {PLOVI_BINARY};
    std::vector<std::string> argv = {"runuser", "-u", user, "--", "env"};
    for (const auto& [name, value] : session.Environment())
        argv.push_back(value ? name + "=" + *value : "--unset=" + name);
    argv.push_back(PLOVI_BINARY);
    return argv;
}

}  // namespace

// The settings directory's place taken by something the program must not
// use: one message, the aquarium runs on with its settings in the working
// directory, and nothing of the user's is touched.
TEST_F(Faults, AnUnusableSettingsDirectoryGivesOneMessageAndTouchesNothingOfTheUsers)
{
    const bool root = ::getuid() == 0;
    const struct {
        const char* what;
        std::function<void(const std::string& dir)> make;  // dir: $XDG_CONFIG_HOME/plovi
        bool asOrdinaryUser;  // root reads any directory, whatever its mode
    } cases[] = {
        {"a file", [](const std::string& dir) { std::ofstream(dir) << "the user's own notes\n"; }, false},
        {"a dangling symbolic link",
         [](const std::string& dir) { fs::create_symlink(fs::path(dir).parent_path().parent_path() / "moved-away", dir); },
         false},
        {"unreadable (mode 000)",
         [](const std::string& dir) {
             fs::create_directory(dir);
             std::ofstream(dir + "/PloviSet.ini") << "[Aquarium Settings]\nFOGNONGDU=3\n";
             ::chmod(dir.c_str(), 0);
         },
         true},
    };
    const fs::path ownCwd = fs::current_path();
    const bool cwdHadSettings = FileExists((ownCwd / "PloviSet.ini").string());
    for (const auto& c : cases) {
        AquariumSession session(*s_screen);
        const std::string dir = session.ConfigDir() + "/plovi";
        fs::create_directories(session.ConfigDir());
        c.make(dir);
        std::string user;
        if (c.asOrdinaryUser && root) {
            const passwd* nobody = ::getpwnam("nobody");
            if (!nobody || RunCommand({"runuser", "-u", "nobody", "--", "test", "-x", PLOVI_BINARY}, {}).exitCode != 0) {
                ADD_FAILURE() << c.what << ": cannot run the program as \"nobody\"";
                continue;
            }
            user = "nobody";
            ::chmod(session.RootDir().c_str(), 0755);
            for (auto it = fs::recursive_directory_iterator(session.RootDir()); it != fs::recursive_directory_iterator();
                 ++it)
                ASSERT_EQ(::lchown(it->path().c_str(), nobody->pw_uid, nobody->pw_gid), 0) << it->path();
        }
        const std::vector<std::string> programsOwn = {session.WorkDir(), session.RuntimeDir()};
        const auto before = Snapshot(session.RootDir(), programsOwn);

        Process plovi(PloviCommand(session, user), session.Environment(), session.WorkDir());
        const int boxes = ConfirmMessagesUntilSettled(*s_screen);
        const bool running = plovi.Running();
        const std::string fallback = ReadWholeFile(session.WorkDir() + "/PloviSet.ini");
        const auto result = session.PressKeyUntilExit(plovi, "Escape");

        EXPECT_EQ(boxes, 1) << c.what << ": " << plovi.Err();
        EXPECT_TRUE(running) << c.what;
        ASSERT_TRUE(result) << c.what << ": did not end on Escape";
        EXPECT_EQ(result->exitCode, 0) << c.what << ": " << result->err;
        EXPECT_EQ(result->err.find("Error Find TempPath"), std::string::npos) << c.what << ": said again at the end";
        EXPECT_NE(fallback.find("[Fish Number]"), std::string::npos) << c.what << ": no settings in the working directory";
        EXPECT_EQ(Snapshot(session.RootDir(), programsOwn), before) << c.what << ": the user's files changed";
        EXPECT_EQ(FileExists((ownCwd / "PloviSet.ini").string()), cwdHadSettings) << c.what << ": written outside its working directory";
        ::chmod(dir.c_str(), 0700);  // so the session's tree can be removed
    }
}
