// SPDX-License-Identifier: MIT
// The install tree, put into a temporary prefix and checked with the
// desktop's own validators.
#include "tests/e2e/E2eHarness.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/ToneFile.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QImage>
#include <QXmlStreamReader>
#include <fstream>
#include <csignal>
#include <sys/stat.h>

namespace {

class InstallTree : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_prefix = new TempDir;
        s_install = new CommandResult(
            RunCommand({PLOVI_CMAKE, "--install", PLOVI_BUILD_DIR, "--prefix", s_prefix->Path()}, {}, 60));
    }
    static void TearDownTestSuite()
    {
        delete s_install;
        delete s_prefix;
    }
    void SetUp() override { ASSERT_EQ(s_install->exitCode, 0) << s_install->out << s_install->err; }

    static std::string At(const std::string& relative) { return s_prefix->Path() + relative; }

    static inline TempDir* s_prefix = nullptr;
    static inline CommandResult* s_install = nullptr;
};

}  // namespace

TEST_F(InstallTree, TheProgramAndItsIconsAreWhereTheDesktopLooks)
{
    struct stat st;
    ASSERT_EQ(::stat(At("bin/plovi").c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IXOTH);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const QImage icon(QString::fromStdString(At("share/icons/hicolor/" + name + "/apps/plovi.png")));
        EXPECT_EQ(icon.size(), QSize(size, size)) << name;
        EXPECT_TRUE(icon.hasAlphaChannel()) << name;
    }
}

TEST_F(InstallTree, DesktopEntriesAndMetadataPassTheirValidators)
{
    const struct {
        std::vector<std::string> command;
        const char* file;
    } checks[] = {
        {{"desktop-file-validate"}, "share/applications/plovi.desktop"},
        {{"desktop-file-validate"}, "share/applications/screensavers/plovi.desktop"},
        {{"appstreamcli", "validate", "--no-net", "--pedantic"}, "share/metainfo/org.example.plovi_aquarium.metainfo.xml"},
    };
    for (const auto& c : checks) {
        std::vector<std::string> argv = c.command;
        argv.push_back(At(c.file));
        const CommandResult r = RunCommand(argv, {}, 30);
        EXPECT_EQ(r.exitCode, 0) << c.file << ":\n" << r.out << r.err;
        EXPECT_EQ((r.out + r.err).find("error"), std::string::npos) << c.file << ":\n" << r.out << r.err;
    }
    const std::string entry = ReadWholeFile(At("share/applications/plovi.desktop"));
    for (const char* line : {"\nExec=plovi\n", "\nIcon=plovi\n", "\nName=Plovi Aquarium\n"})
        EXPECT_NE(entry.find(line), std::string::npos) << line;
    EXPECT_NE(ReadWholeFile(At("share/applications/screensavers/plovi.desktop")).find("\nExec=plovi --root\n"),
              std::string::npos);
}

TEST_F(InstallTree, TheManPageRendersWithEveryOptionAndTheExitCodes)
{
    const CommandResult r =
        RunCommand({"man", "--warnings", "-l", At("share/man/man6/plovi.6.gz")}, {{"MANWIDTH", "80"}, {"MANPAGER", "cat"}, {"PAGER", "cat"}}, 30);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "") << "groff warnings";
    for (const char* text : {"--fps", "--music-log", "--root", "--window-id ID", "--help", "--version", "XSCREENSAVER_WINDOW",
                             "QT_QPA_PLATFORM", "PloviSet.ini", "Escape", "Feed Fish", "EXIT STATUS",
                             "--delay", "--fish", "--light", "--fog", "--preferences", "Aquarium Settings",
                             "LIGHTQIANGDU", "FOGNONGDU", "YINLIANG", "BACK MANJIANBIAN", "Fish19", "MusicList"})
        EXPECT_NE(r.out.find(text), std::string::npos) << text;
}

// The screensaver settings entry names the module, runs it with its root
// option and offers the conventional knobs.
TEST_F(InstallTree, TheScreensaverEntryIsAGlModuleWithTheConventionalKnobs)
{
    QFile file(QString::fromStdString(At("share/xscreensaver/config/plovi.xml")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QStringList args;
    QString name, command, label, gl;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == u"screensaver") {
            name = a.value("name").toString();
            label = a.value("_label").toString();
            gl = a.value("gl").toString();
        }
        if (xml.name() == u"command")
            command = a.value("arg").toString();
        for (const char* attribute : {"arg", "arg-set"})
            if (a.hasAttribute(attribute))
                args << a.value(attribute).toString();
        EXPECT_TRUE(a.value("id") != u"delay" || a.value("default") == u"20000") << "the delay knob's default";
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(name, "plovi");
    EXPECT_EQ(command, "--root");
    EXPECT_EQ(label, "Plovi Aquarium");
    EXPECT_EQ(gl, "yes");
    for (const char* arg : {"--delay %", "--fps", "--fish 1", "--fish 20", "--light %", "--fog %"})
        EXPECT_TRUE(args.contains(arg)) << arg;
    // Every knob's option, at its extreme, is one the program takes.
    for (QString arg : args) {
        arg.replace("%", "0");
        const std::string option = arg.section(' ', 0, 0).toStdString();
        std::vector<std::string> argv = {At("bin/plovi"), option};
        if (arg.contains(' '))
            argv.push_back(arg.section(' ', 1).toStdString());
        argv.push_back("--version");   // checked after the options before it
        const CommandResult r = RunCommand(argv, {{"DISPLAY", std::nullopt}});
        EXPECT_EQ(r.exitCode, 0) << arg.toStdString() << ": " << r.err;
    }
}

TEST_F(InstallTree, TheDocumentsADistributionNeedsAreInPlace)
{
    const std::string copyright = ReadWholeFile(At("share/doc/plovi/copyright"));
    EXPECT_EQ(copyright.rfind("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/", 0), 0u);
    EXPECT_NE(copyright.find("License: Expat"), std::string::npos);
    const CommandResult changelog = RunCommand({"gzip", "-dc", At("share/doc/plovi/changelog.gz")}, {});
    EXPECT_EQ(changelog.exitCode, 0);
    EXPECT_EQ(changelog.out.rfind("plovi (" PLOVI_VERSION_TEXT ")", 0), 0u) << changelog.out;
    const CommandResult version = RunCommand({At("bin/plovi"), "--version"}, {{"DISPLAY", std::nullopt}});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "plovi " PLOVI_VERSION_TEXT "\n");
    EXPECT_NE(ReadWholeFile(At("share/metainfo/org.example.plovi_aquarium.metainfo.xml"))
                  .find("<release version=\"" PLOVI_VERSION_TEXT "\""),
              std::string::npos);
}

// The package as a distribution's checker sees it: no error and no warning.
TEST(Package, LintianFindsNothingToReport)
{
    if (RunCommand({"sh", "-c", "command -v lintian && command -v cpack"}, {}).exitCode != 0)
        GTEST_SKIP() << "lintian is not installed";
    TempDir out;
    const CommandResult packed = RunCommand(
        {"cpack", "-G", "DEB", "--config", PLOVI_BUILD_DIR "/CPackConfig.cmake", "-B", out.Path()}, {}, 120);
    ASSERT_EQ(packed.exitCode, 0) << packed.out << packed.err;
    const CommandResult found = RunCommand({"sh", "-c", "ls " + out.Path() + "plovi_*.deb"}, {});
    ASSERT_EQ(found.exitCode, 0) << found.out;
    const std::string deb = found.out.substr(0, found.out.find('\n'));
    const CommandResult lint = RunCommand({"lintian", "--fail-on", "error,warning", deb}, {}, 170);
    EXPECT_EQ(lint.exitCode, 0) << lint.out << lint.err;
    EXPECT_EQ(lint.out.find("E: "), std::string::npos) << lint.out;
    EXPECT_EQ(lint.out.find("W: "), std::string::npos) << lint.out;
}

// The installed program finds its installed music player (under the
// library-executables directory, not beside it) and plays the saved list.
TEST_F(InstallTree, TheInstalledProgramPlaysMusicThroughItsInstalledPlayer)
{
    struct stat st;
    ASSERT_EQ(::stat(At("libexec/plovi/plovi-player").c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IXOTH);
    ASSERT_NE(::stat(At("bin/plovi-player").c_str(), &st), 0) << "the player is no command of its own";

    VirtualScreen screen(1024, 768);
    ASSERT_TRUE(screen.Ok());
    TempDir home;
    const std::string track = home.Path() + "tone.wav";
    WriteToneFile(track, 3000);
    ::mkdir((home.Path() + "plovi").c_str(), 0700);
    std::ofstream(home.Path() + "plovi/PloviSet.ini")
        << "[Custom Settings]\nOwnMusic=1\nCycMusic=1\nMusicSum=1\nMusicList0=" << track << "\n";
    Process plovi({At("bin/plovi"), "--music-log"},
                  {{"DISPLAY", screen.Display()}, {"XDG_CONFIG_HOME", home.Path()}, {"XDG_RUNTIME_DIR", home.Path()},
                   {"HOME", home.Path()}, {"PULSE_SERVER", "unix:" + home.Path() + "no-server"},
                   {"QT_QPA_PLATFORM", std::nullopt}, {"WAYLAND_DISPLAY", std::nullopt}});
    EXPECT_TRUE(WaitUntil([&] { return plovi.Err().find("music: row 0 is ") != std::string::npos; }, 20))
        << plovi.Err();
    EXPECT_EQ(plovi.Err().find("cannot play"), std::string::npos) << plovi.Err();
    ::kill(plovi.Pid(), SIGTERM);
    const auto ended = plovi.Wait(10);
    ASSERT_TRUE(ended.has_value());
    EXPECT_EQ(ended->exitCode, 0);
}
