#include "platform/InstanceLock.h"
#include "platform/MsvcRandom.h"
#include "platform/Paths.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <fstream>
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

TEST(Paths, MissingOrUnusableLocationsAreReportedOrReplaced)
{
    TempDir dir;
    {
        ScopedEnv tmp("TMPDIR", "/nonexistent-plovi-tmp");
        EXPECT_EQ(Paths::TempDirectory(), "");
    }
    {
        ScopedEnv tmp("TMPDIR", dir.Path().c_str());
        ScopedEnv runtime("XDG_RUNTIME_DIR", nullptr);
        // Without $XDG_RUNTIME_DIR a private directory under the temp path is used.
        const std::string fallback = Paths::RuntimeDirectory();
        EXPECT_EQ(fallback.rfind(dir.Path() + "plovi-", 0), 0u) << fallback;
    }
    ScopedEnv config("XDG_CONFIG_HOME", "/dev/null");  // a file, not a directory
    EXPECT_EQ(Paths::SettingsDirectory(), "");
}

TEST(Paths, RuntimeDirectoryOthersCouldWriteToIsReplacedByAPrivateOne)
{
    TempDir tmp, base;
    ScopedEnv tmpdir("TMPDIR", tmp.Path().c_str());
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
    const std::string fallback = tmp.Path() + "plovi-" + std::to_string(::getuid()) + "/";
    for (const auto& c : cases) {
        ScopedEnv runtime("XDG_RUNTIME_DIR", c.value);
        const std::string dir = Paths::RuntimeDirectory();
        EXPECT_EQ(dir, c.usedAsIs ? std::string(c.value) + "/" : fallback) << c.what;
        struct stat st {};
        ASSERT_EQ(::lstat(dir.c_str(), &st), 0) << c.what;
        EXPECT_EQ(st.st_mode & 0777, 0700u) << c.what;
    }

    // The fallback name planted by someone else, or left wide open by us.
    ScopedEnv runtime("XDG_RUNTIME_DIR", nullptr);
    ::chmod(fallback.c_str(), 0777);
    EXPECT_EQ(Paths::RuntimeDirectory(), fallback);
    struct stat st {};
    ::stat(fallback.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0700u) << "made private again";
    if (canChown) {
        ASSERT_EQ(::chown(fallback.c_str(), 65534, 65534), 0);
        const std::string own = Paths::RuntimeDirectory();
        EXPECT_EQ(own.rfind(fallback.substr(0, fallback.size() - 1) + "-", 0), 0u) << own;
        ASSERT_EQ(::stat(own.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, ::getuid());
        EXPECT_EQ(st.st_mode & 0777, 0700u);
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
        {"a dangling link", [&](const std::string& dir) { ::symlink((elsewhere + "/gone").c_str(), dir.c_str()); }, false},
        {"a link to a directory", [&](const std::string& dir) { ::symlink(elsewhere.c_str(), dir.c_str()); }, false},
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
