#include "widgets/BrowserLauncher.h"

#include "tests/support/TestEnvironment.h"

#include <QTest>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <sys/stat.h>

namespace {

// A bin directory of real programs; each "browser" writes the arguments it
// got, one per line, into <name>.out next to it.
class BrowserLauncherTest : public ::testing::Test {
protected:
    void SetUp() override { ::mkdir(Bin().c_str(), 0700); }

    std::string Bin() const { return m_dir.Path() + "bin/"; }
    std::string Program(const std::string& name, const std::string& body, mode_t mode = 0700)
    {
        const std::string path = Bin() + name;
        std::ofstream(path) << body;
        ::chmod(path.c_str(), mode);
        return path;
    }
    std::string Browser(const std::string& name)
    {
        return Program(name, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.out.tmp\"\n"
                             "/bin/mv \"$0.out.tmp\" \"$0.out\"\n");
    }
    // What the browser got, once it has run (started detached, so wait).
    std::string Received(const std::string& name)
    {
        const std::string out = Bin() + name + ".out";
        (void)QTest::qWaitFor([&] { return FileExists(out); }, 5000);
        return ReadWholeFile(out);
    }

    TempDir m_dir;
};

TEST_F(BrowserLauncherTest, NamedBrowserGetsTheAddressAsOneArgumentWithoutAShell)
{
    const std::string browser = Browser("mybrowser");
    ScopedEnv path("PATH", Bin().c_str());
    const QString address = "https://example.org/a b?x=1&y=$(touch pwned);`touch pwned2`";
    for (const std::string& named : {browser, std::string("mybrowser")}) {
        ::remove((browser + ".out").c_str());
        ScopedEnv env("BROWSER", named.c_str());
        ASSERT_GT(BrowserLauncher::Open(address), 32) << named;
        EXPECT_EQ(Received("mybrowser"), address.toStdString() + "\n") << named;
    }
    EXPECT_FALSE(FileExists(Bin() + "pwned"));
    EXPECT_FALSE(FileExists(m_dir.Path() + "pwned2"));
}

TEST_F(BrowserLauncherTest, WithoutBrowserTheDefaultBrowserThenTheDesktopHandlerOpens)
{
    ScopedEnv path("PATH", Bin().c_str());
    ScopedEnv unset("BROWSER", nullptr);
    Browser("xdg-open");
    EXPECT_GT(BrowserLauncher::Open("https://example.org/"), 32);
    EXPECT_EQ(Received("xdg-open"), "https://example.org/\n");

    Browser("x-www-browser");
    EXPECT_GT(BrowserLauncher::Open("https://example.org/2"), 32);
    EXPECT_EQ(Received("x-www-browser"), "https://example.org/2\n");
}

TEST_F(BrowserLauncherTest, FailuresGiveTheNamedBrowsersCodeWhenNoHandlerIsInstalled)
{
    ScopedEnv path("PATH", Bin().c_str());
    const std::string notExecutable = Program("plain", "#!/bin/sh\n", 0600);
    const std::string badFormat = Program("broken", std::string("\x7f" "ELF\x02\x01\x01 not a program", 24));
    const struct {
        std::string browser;
        int code;
    } cases[] = {
        {"", BrowserLauncher::kFileNotFound},  // x-www-browser is not installed here
        {"no-such-browser", BrowserLauncher::kFileNotFound},
        {Bin() + "missing", BrowserLauncher::kFileNotFound},
        {Bin() + "nodir/browser", BrowserLauncher::kPathNotFound},
        {notExecutable, BrowserLauncher::kAccessDenied},
        {Bin(), BrowserLauncher::kAccessDenied},
        {badFormat, BrowserLauncher::kBadFormat},
    };
    for (const auto& c : cases) {
        ScopedEnv env("BROWSER", c.browser.c_str());
        EXPECT_EQ(BrowserLauncher::Open("https://example.org/"), c.code) << c.browser;
    }
    // With the desktop handler present its result counts.
    Browser("xdg-open");
    ScopedEnv env("BROWSER", "no-such-browser");
    EXPECT_GT(BrowserLauncher::Open("https://example.org/h"), 32);
    EXPECT_EQ(Received("xdg-open"), "https://example.org/h\n");
}

}  // namespace
