// SPDX-License-Identifier: MIT
#include "platform/InstanceLock.h"
#include "platform/MsvcRandom.h"
#include "platform/Paths.h"
#include "platform/RasterThreads.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

TEST(MsvcRandom, ReplaysTheWindowsRuntimeSequenceFromStateOne)
{
    MsvcRandom::Reset();
    for (int value : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358})
        EXPECT_EQ(MsvcRandom::Next(), value);
    MsvcRandom::Reset();
    EXPECT_EQ(Rand(), 41);
}

// The software renderer gets a rasteriser for every core but the frame
// loop's, at least one; a count the user set is kept.
TEST(RasterThreads, OneCoreIsLeftToTheFrameLoopAndAUsersCountIsKept)
{
    EXPECT_EQ(RasterThreadsFor(1), 1);
    EXPECT_EQ(RasterThreadsFor(2), 1);
    EXPECT_EQ(RasterThreadsFor(8), 7);
    {
        ScopedEnv unset("LP_NUM_THREADS", nullptr);
        LeaveACoreForTheFrameLoop();
        const char* chosen = std::getenv("LP_NUM_THREADS");
        ASSERT_NE(chosen, nullptr);
        EXPECT_GE(std::atoi(chosen), 1);
    }
    ScopedEnv own("LP_NUM_THREADS", "3");
    LeaveACoreForTheFrameLoop();
    EXPECT_STREQ(std::getenv("LP_NUM_THREADS"), "3");
}

TEST(InstanceLock, SecondHolderOfTheSameNameIsBusyUntilTheFirstLetsGo)
{
    TempDir dir;
    {
        InstanceLock first, second, other;
        ASSERT_EQ(first.Acquire(dir.Path(), "FirstMyProject_Vemo"), InstanceLock::Result::Acquired);
        EXPECT_EQ(second.Acquire(dir.Path(), "FirstMyProject_Vemo"), InstanceLock::Result::Busy);
        EXPECT_EQ(other.Acquire(dir.Path(), "PloviFishScr"), InstanceLock::Result::Acquired);
    }
    InstanceLock again, nowhere;
    EXPECT_EQ(again.Acquire(dir.Path(), "FirstMyProject_Vemo"), InstanceLock::Result::Acquired);
    // A directory that cannot be opened fails instead of claiming the lock.
    EXPECT_EQ(nowhere.Acquire("/nonexistent-plovi-dir/", "PloviFishScr"), InstanceLock::Result::Failed);
}

TEST(Paths, DirectoriesAreCreatedPrivateUnderTheXdgLocations)
{
    TempDir dir;
    ScopedEnv config("XDG_CONFIG_HOME", (dir.Path() + "config").c_str());
    ScopedEnv runtime("XDG_RUNTIME_DIR", dir.Path().c_str());
    const std::pair<std::string, std::string> cases[] = {{Paths::SettingsDirectory(), dir.Path() + "config/plovi/"},
                                                         {Paths::AssetDirectory(), dir.Path() + "plovi/" + std::to_string(::getpid()) + "/"}};
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(path, expected);
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u) << path;
    }
}

std::string HostName()
{
    char name[256] = {};
    ::gethostname(name, sizeof name - 1);
    return name;
}

TEST(Paths, MissingOrUnusableLocationsAreReportedOrReplaced)
{
    TempDir dir;
    {
        ScopedEnv tmp("TMPDIR", "/nonexistent-plovi-tmp");
        EXPECT_EQ(Paths::TempDirectory(), "");
    }
    ScopedEnv config("XDG_CONFIG_HOME", "/dev/null");  // a file, not a directory
    EXPECT_EQ(Paths::SettingsDirectory(), "");
}

// Without a private $XDG_RUNTIME_DIR every start of the user's must still
// find the same directory, one no other user can take or write to: a
// squatted fixed name in the shared temp directory used to give each start
// a fresh directory of its own, so every start ran, and each left its
// directory behind.
TEST(Paths, RuntimeDirectoryFallsBackToOneOnlyTheUserOwns)
{
    TempDir tmp, base, cache;
    ScopedEnv tmpdir("TMPDIR", tmp.Path().c_str());
    ScopedEnv cacheHome("XDG_CACHE_HOME", cache.Path().c_str());
    const std::string open = base.Path() + "open", foreign = base.Path() + "foreign", good = base.Path() + "good";
    for (const std::string& d : {open, foreign, good})
        ASSERT_EQ(::mkdir(d.c_str(), 0700), 0);
    ::chmod(open.c_str(), 01777);
    const bool canChown = ::chown(foreign.c_str(), 65534, 65534) == 0;  // needs root
    const struct {
        const char* what;
        const char* value;
        bool usedAsIs;
    } cases[] = {
        {"unset", nullptr, false},
        {"missing", "/nonexistent-plovi-run", false},
        {"world-writable", open.c_str(), false},
        {"another user's", canChown ? foreign.c_str() : open.c_str(), false},
        {"private and ours", good.c_str(), true},
    };
    const std::string fallback = cache.Path() + "plovi/" + HostName() + "/";
    for (const auto& c : cases) {
        ScopedEnv runtime("XDG_RUNTIME_DIR", c.value);
        const std::string dir = Paths::RuntimeDirectory();
        EXPECT_EQ(dir, c.usedAsIs ? std::string(c.value) + "/" : fallback) << c.what;
        struct stat st {};
        ASSERT_EQ(::lstat(dir.c_str(), &st), 0) << c.what;
        EXPECT_EQ(st.st_mode & 0777, 0700u) << c.what;
    }
    EXPECT_EQ(std::filesystem::directory_iterator(tmp.Path()), std::filesystem::directory_iterator())
        << "nothing made in the shared temp directory";

    // Without a usable home, the per-user name under the temp directory
    // while it is the user's; taken by another user, none at all.
    ScopedEnv runtime("XDG_RUNTIME_DIR", nullptr);
    ScopedEnv noCache("XDG_CACHE_HOME", "/dev/null/cache");
    const std::string own = tmp.Path() + "plovi-" + std::to_string(::getuid()) + "/";
    EXPECT_EQ(Paths::RuntimeDirectory(), own);
    if (canChown) {
        ASSERT_EQ(::chown(own.c_str(), 65534, 65534), 0);
        EXPECT_EQ(Paths::RuntimeDirectory(), "");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp.Path()), {}), 1)
            << "no directory of a process's own is left behind";
    }
}

namespace {

// Runs `check` in a child process as an ordinary user ("nobody" when this
// process is root, whose reads no permission stops); true when it held.
bool HoldsForAnOrdinaryUser(uid_t uid, gid_t gid, const std::function<bool()>& check)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::getuid() == 0 && (::setgid(gid) != 0 || ::setuid(uid) != 0))
            ::_exit(2);
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

TEST(Paths, OnlyASettingsDirectoryOfTheUsersOwnThatCanBeReadIsUsed)
{
    const bool root = ::getuid() == 0;
    const uid_t uid = root ? 65534 : ::getuid();
    const gid_t gid = root ? 65534 : ::getgid();
    TempDir base;
    ::chmod(base.Path().c_str(), 0755);
    const std::string elsewhere = base.Path() + "elsewhere";
    ASSERT_EQ(::mkdir(elsewhere.c_str(), 0700), 0);
    const struct {
        const char* what;
        std::function<void(const std::string&)> make;  // makes `dir`
        bool used;
    } cases[] = {
        {"private", [](const std::string& dir) { ::mkdir(dir.c_str(), 0700); }, true},
        {"read-only on purpose", [](const std::string& dir) { ::mkdir(dir.c_str(), 0500); }, true},
        {"unreadable", [](const std::string& dir) { ::mkdir(dir.c_str(), 0000); }, false},
        {"a file", [](const std::string& dir) { std::ofstream(dir) << "notes"; }, false},
        {"a dangling link", [&](const std::string& dir) { EXPECT_EQ(::symlink((elsewhere + "/gone").c_str(), dir.c_str()), 0); }, false},
        {"a link to a directory", [&](const std::string& dir) { EXPECT_EQ(::symlink(elsewhere.c_str(), dir.c_str()), 0); }, false},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string config = base.Path() + "config" + std::to_string(n++);
        ASSERT_EQ(::mkdir(config.c_str(), 0700), 0);
        c.make(config + "/plovi");
        ASSERT_EQ(::lchown(config.c_str(), uid, gid), 0);
        ASSERT_EQ(::lchown((config + "/plovi").c_str(), uid, gid), 0) << c.what;
        ScopedEnv xdg("XDG_CONFIG_HOME", config.c_str());
        const std::string expected = c.used ? config + "/plovi/" : std::string();
        EXPECT_TRUE(HoldsForAnOrdinaryUser(uid, gid, [&] { return Paths::SettingsDirectory() == expected; }))
            << c.what;
    }
    EXPECT_FALSE(FileExists(elsewhere + "/gone")) << "a dangling link was followed";
}
