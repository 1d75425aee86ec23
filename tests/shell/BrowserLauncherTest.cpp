// SPDX-License-Identifier: MIT
#include "platform/qt/BrowserLauncher.h"

#include "platform/RasterThreads.h"
#include "tests/support/TestEnvironment.h"

#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>

namespace {

// PATH holds only a bin directory of real programs; each "browser" writes
// the arguments it got, one a line, into <its path>.out.
class BrowserLauncherTest : public ::testing::Test {
protected:
    void SetUp() override { ::mkdir(m_bin.c_str(), 0700); }

    std::string Program(const std::string& name, const std::string& body, mode_t mode = 0700)
    {
        std::ofstream(m_bin + name) << body;
        ::chmod((m_bin + name).c_str(), mode);
        return m_bin + name;
    }
    std::string Browser(const std::string& name)
    {
        return Program(name, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.tmp\"\n"
                             "/bin/mv \"$0.tmp\" \"$0.out\"\n");
    }
    // What the browser got; it runs detached, so wait for it.
    std::string Received(const std::string& name)
    {
        const std::string out = m_bin + name + ".out";
        (void)QTest::qWaitFor([&] { return FileExists(out); }, 5000);
        const std::string text = ReadWholeFile(out);
        ::remove(out.c_str());
        return text;
    }

    TempDir m_dir;
    std::string m_bin = m_dir.Path() + "bin/";
    ScopedEnv m_path{"PATH", m_bin.c_str()};
};

TEST_F(BrowserLauncherTest, BrowserThenDefaultBrowserThenDesktopHandlerGetTheAddressWithoutAShell)
{
    const QString address = "https://example.org/a b?x=1&y=$(touch pwned);`touch pwned`";
    const std::string named = Browser("mybrowser");
    for (const std::string& browser : {named, std::string("mybrowser")}) {
        ScopedEnv env("BROWSER", browser.c_str());
        ASSERT_GT(BrowserLauncher::Open(address), 32) << browser;
        EXPECT_EQ(Received("mybrowser"), address.toStdString() + "\n") << browser;
    }
    EXPECT_FALSE(FileExists(m_bin + "pwned"));

    ScopedEnv unset("BROWSER", nullptr);
    Browser("xdg-open");
    EXPECT_GT(BrowserLauncher::Open("https://example.org/1"), 32);
    EXPECT_EQ(Received("xdg-open"), "https://example.org/1\n");
    Browser("x-www-browser");
    EXPECT_GT(BrowserLauncher::Open("https://example.org/2"), 32);
    EXPECT_EQ(Received("x-www-browser"), "https://example.org/2\n");
}

// The renderer's thread count set for this program's own frame loop is not
// handed on to the browser; one the user set is.
TEST_F(BrowserLauncherTest, TheBrowserGetsTheUsersRendererThreadsOnly)
{
    Program("envbrowser", "#!/bin/sh\nprintf '%s\\n' \"${LP_NUM_THREADS-unset}\" > \"$0.tmp\"\n"
                          "/bin/mv \"$0.tmp\" \"$0.out\"\n");
    ScopedEnv browser("BROWSER", "envbrowser");
    {
        ScopedEnv unset(kRasterThreadsVariable, nullptr);
        LeaveACoreForTheFrameLoop();
        ASSERT_NE(std::getenv(kRasterThreadsVariable), nullptr);
        ASSERT_GT(BrowserLauncher::Open("https://example.org/"), 32);
        EXPECT_EQ(Received("envbrowser"), "unset\n");
    }
    ScopedEnv own(kRasterThreadsVariable, "3");
    ASSERT_GT(BrowserLauncher::Open("https://example.org/"), 32);
    EXPECT_EQ(Received("envbrowser"), "3\n");
}

TEST_F(BrowserLauncherTest, FailuresGiveTheNamedBrowsersCodeWhenNoHandlerIsInstalled)
{
    const std::string notExecutable = Program("plain", "#!/bin/sh\n", 0600);
    const std::string badFormat = Program("broken", std::string("\x7f" "ELF\x02\x01\x01 not a program"));
    const struct {
        std::string browser;
        int code;
    } cases[] = {
        {"", BrowserLauncher::kFileNotFound},  // no x-www-browser on PATH
        {"no-such-browser", BrowserLauncher::kFileNotFound},
        {m_bin + "missing", BrowserLauncher::kFileNotFound},
        {m_bin + "nodir/browser", BrowserLauncher::kPathNotFound},
        {notExecutable, BrowserLauncher::kAccessDenied},
        {m_bin, BrowserLauncher::kAccessDenied},
        {badFormat, BrowserLauncher::kBadFormat},
    };
    for (const auto& c : cases) {
        ScopedEnv env("BROWSER", c.browser.c_str());
        EXPECT_EQ(BrowserLauncher::Open("https://example.org/"), c.code) << c.browser;
    }
}

}  // namespace
