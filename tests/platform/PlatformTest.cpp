#include "platform/InstanceLock.h"
#include "platform/MsvcRandom.h"
#include "platform/Paths.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(MsvcRandom, ReplaysTheWindowsRuntimeSequenceFromStateOne)
{
    MsvcRandom::Reset();
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (int value : expected)
        EXPECT_EQ(MsvcRandom::Next(), value);
    MsvcRandom::Reset();
    EXPECT_EQ(Rand(), 41);
}

TEST(MsvcRandom, StaysInsideZeroTo32767)
{
    MsvcRandom::Reset();
    int lowest = MsvcRandom::kMax, highest = 0;
    for (int i = 0; i < 200000; ++i) {
        int v = MsvcRandom::Next();
        lowest = std::min(lowest, v);
        highest = std::max(highest, v);
    }
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(highest, 32767);
}

TEST(InstanceLock, SecondHolderOfTheSameNameIsBusyUntilTheFirstLetsGo)
{
    TempDir dir;
    {
        InstanceLock first;
        ASSERT_EQ(first.Acquire(dir.Path(), "FirstMyProject_Vemo"), InstanceLock::Result::Acquired);
        InstanceLock second;
        EXPECT_EQ(second.Acquire(dir.Path(), "FirstMyProject_Vemo"), InstanceLock::Result::Busy);
        InstanceLock other;
        EXPECT_EQ(other.Acquire(dir.Path(), "PloviFishScr"), InstanceLock::Result::Acquired);
    }
    InstanceLock again;
    EXPECT_EQ(again.Acquire(dir.Path(), "FirstMyProject_Vemo"), InstanceLock::Result::Acquired);
}

TEST(InstanceLock, UnopenableDirectoryFailsInsteadOfClaimingTheLock)
{
    InstanceLock lock;
    EXPECT_EQ(lock.Acquire("/nonexistent-plovi-dir/", "PloviFishScr"), InstanceLock::Result::Failed);
}

TEST(Paths, DirectoriesAreCreatedPrivateUnderTheXdgLocations)
{
    TempDir dir;
    ScopedEnv config("XDG_CONFIG_HOME", (dir.Path() + "config").c_str());
    ScopedEnv runtime("XDG_RUNTIME_DIR", dir.Path().c_str());
    const std::string settings = Paths::SettingsDirectory();
    EXPECT_EQ(settings, dir.Path() + "config/plovi/");
    const std::string assets = Paths::AssetDirectory();
    EXPECT_EQ(assets, dir.Path() + "plovi/");
    struct stat st {};
    ASSERT_EQ(::stat(assets.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(::stat(settings.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
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
    {
        // A settings location that is a file, not a directory, gives "".
        ScopedEnv config("XDG_CONFIG_HOME", "/dev/null");
        EXPECT_EQ(Paths::SettingsDirectory(), "");
    }
}
