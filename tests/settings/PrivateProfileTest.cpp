// SPDX-License-Identifier: MIT
#include "settings/AtomicFile.h"
#include "settings/PrivateProfile.h"
#include "settings/ProfileNumber.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

mode_t ModeOf(const std::string& path)
{
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

std::size_t EntriesIn(const std::string& dir)
{
    return std::size_t(std::distance(std::filesystem::directory_iterator(dir), {}));
}

class ProfileFile : public ::testing::Test {
protected:
    bool Write(const char* section, const char* key, const char* value)
    {
        return WritePrivateProfileString(section, key, value, m_path);
    }
    TempDir m_dir;
    const std::string m_path = m_dir.Path() + "p.ini";
};

}  // namespace

TEST(ProfileAtoi, ReadsLeadingDigitsAndSaturatesInsteadOfOverflowing)
{
    const std::pair<const char*, int> cases[] = {
        {"12.9", 12}, {"32767.5", 32767}, {"  -5x", -5}, {"+7", 7}, {"abc", 0}, {"", 0}, {"- 5", 0},
        {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}, {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN}, {"000000000000000000000042", 42},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ProfileAtoi(text), expected) << '"' << text << '"';
}

TEST_F(ProfileFile, ReadsWithPrivateProfileRules)
{
    const std::string longValue(300, 'v');
    const struct {
        const char* what;
        std::string file;
        const char *section, *key;
        std::string expected;
    } cases[] = {
        {"section and key ignore case", "[aquarium SETTINGS]\nshow water=7\n", "Aquarium Settings", "Show Water", "7"},
        {"blanks around names and value", "  [ Fish Number ]  \n\t Fish3 \t=  \t12 x \t\n", "Fish Number", "Fish3", "12 x"},
        {"double quotes stripped once", "[S]\nk=\"\"a b\"\"\n", "S", "k", "\"a b\""},
        {"single quotes stripped", "[S]\nk= 'x' \n", "S", "k", "x"},
        {"unmatched quotes kept", "[S]\nk=\"x'\n", "S", "k", "\"x'"},
        {"lone quote kept", "[S]\nk=\"\n", "S", "k", "\""},
        {"value cut to 127 characters", "[S]\nk=" + longValue + "\n", "S", "k", std::string(127, 'v')},
        {"value ends at NUL", std::string("[S]\nk=ab\0cd\n", 12), "S", "k", "ab"},
        {"CRLF line ends", "[S]\r\nk=1\r\nm=2\r\n", "S", "m", "2"},
        {"absent key", "[S]\nk=1\n", "S", "other", ""},
        {"key of another section", "[S]\n[T]\nk=1\n", "S", "k", ""},
        {"empty file", "", "S", "k", ""},
        {"first duplicate key wins", "[S]\nk=first\nK=second\n", "S", "k", "first"},
        {"first duplicate section wins", "[S]\nk=first\n[s]\nk=second\nm=2\n", "S", "m", ""},
        {"comment is no key", "[S]\n;k=1\n", "S", ";k", ""},
        {"line without = is no key", "[S]\nk\nk 1\n", "S", "k", ""},
        {"key before any section", "k=1\n[S]\n", "S", "k", ""},
        {"header without ]", "[S\nk=1\n", "S", "k", "1"},
        {"last line without newline", "[S]\nk=1", "S", "k", "1"},
    };
    for (const auto& c : cases) {
        WriteFile(m_path, c.file);
        EXPECT_EQ(ReadPrivateProfileString(c.section, c.key, m_path), c.expected) << c.what;
    }
    EXPECT_EQ(ReadPrivateProfileString("S", "k", m_dir.Path() + "missing.ini"), "");
    WriteFile(m_path, "[S]\nk=" + longValue + "\n");
    EXPECT_EQ(ReadPrivateProfileString("S", "k", m_path, 4096), longValue) << "larger buffer on request";
}

TEST_F(ProfileFile, WritesChangeOnlyTheirOwnLine)
{
    const struct {
        const char* what;
        std::string before;
        const char *section, *key, *value;
        std::string after;
    } cases[] = {
        {"value replaced in place, spacing and case kept", "; top\n[s]\n KEY = old \n; note\nz=9\n", "S", "key",
         "new", "; top\n[s]\n KEY = new\n; note\nz=9\n"},
        {"new key after the section's last line", "[A]\nx=1\n; about A\n\n[B]\ny=2\n", "A", "n", "5",
         "[A]\nx=1\n; about A\nn=5\n\n[B]\ny=2\n"},
        {"new section at the end after a blank line", "[A]\nx=1\n", "New", "k", "v", "[A]\nx=1\n\n[New]\nk=v\n"},
        {"file without final newline", "[A]\nx=1", "A", "y", "2", "[A]\nx=1\ny=2\n"},
        {"CRLF file gets CRLF lines", "[A]\r\nx=1\r\n", "B", "y", "2", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n"},
        {"only the first duplicate changes", "[A]\nx=1\nx=2\n[a]\nx=3\n", "A", "X", "9", "[A]\nx=9\nx=2\n[a]\nx=3\n"},
        {"garbage lines and keys without = survive", "junk\x01\n[A]\nnokey\nx=1\n", "A", "x", "2",
         "junk\x01\n[A]\nnokey\nx=2\n"},
        {"empty file", "", "A", "x", "1", "[A]\nx=1\n"},
    };
    for (const auto& c : cases) {
        WriteFile(m_path, c.before);
        EXPECT_TRUE(Write(c.section, c.key, c.value)) << c.what;
        EXPECT_EQ(ReadWholeFile(m_path), c.after) << c.what;
        EXPECT_EQ(ReadPrivateProfileString(c.section, c.key, m_path), c.value) << c.what;
    }
}

TEST_F(ProfileFile, RefusesNamesAndValuesThatCouldNotBeReadBack)
{
    WriteFile(m_path, "[A]\nx=1\n");
    const char* bad[][3] = {
        {"A", "", "1"}, {"A", "a=b", "1"}, {"A", "[k", "1"},    {"A", ";k", "1"},     {"A", " k", "1"},
        {"A]", "k", "1"}, {"A\n[B", "k", "1"}, {"A", "k", "1\n[B]"}, {"A", "k", "1\r"},
    };
    for (const auto& b : bad)
        EXPECT_FALSE(Write(b[0], b[1], b[2])) << b[0] << '/' << b[1];
    EXPECT_EQ(ReadWholeFile(m_path), "[A]\nx=1\n");
}

TEST_F(ProfileFile, ReplacementKeepsTheModeAndLeavesNoTemporaryFile)
{
    WriteFile(m_path, "[A]\nx=1\n");
    ::chmod(m_path.c_str(), 0640);
    ASSERT_TRUE(Write("A", "x", "2"));
    EXPECT_EQ(ReadWholeFile(m_path), "[A]\nx=2\n");
    EXPECT_EQ(ModeOf(m_path), 0640u);
    EXPECT_EQ(EntriesIn(m_dir.Path()), 1u);

    const std::string fresh = m_dir.Path() + "new.ini";
    ASSERT_TRUE(WritePrivateProfileString("A", "x", "1", fresh));
    EXPECT_EQ(ModeOf(fresh), 0600u);
}

// A link at the settings path would have a save write into (or split off) a
// file of another name: the user's notes, or a file another user pointed it
// at. It is read through, never written through, and stays a link.
TEST_F(ProfileFile, LinksAreReadButNeverWrittenThroughOrBroken)
{
    const std::string notes = m_dir.Path() + "notes.txt", second = m_dir.Path() + "notes-too.txt";
    WriteFile(notes, "[A]\nx=1\nmy notes\n");
    ASSERT_EQ(::link(notes.c_str(), second.c_str()), 0);
    ASSERT_EQ(::symlink(notes.c_str(), m_path.c_str()), 0);
    EXPECT_EQ(ReadPrivateProfileString("A", "x", m_path), "1");
    EXPECT_EQ(AtomicFile::CheckReplace(m_path), AtomicFile::Refusal::Link);
    EXPECT_FALSE(Write("A", "x", "2"));
    EXPECT_FALSE(Write("B", "y", "3"));
    // A file with a second name is not replaced either: the names would part.
    EXPECT_EQ(AtomicFile::CheckReplace(notes), AtomicFile::Refusal::Link);
    EXPECT_FALSE(WritePrivateProfileString("A", "x", "2", notes));

    EXPECT_TRUE(std::filesystem::is_symlink(m_path));
    EXPECT_EQ(ReadWholeFile(notes), "[A]\nx=1\nmy notes\n");
    EXPECT_TRUE(std::filesystem::equivalent(notes, second));
    EXPECT_EQ(EntriesIn(m_dir.Path()), 3u) << "no temporary file left";
}

// In a directory others may write to, anything at the name may be theirs.
TEST_F(ProfileFile, ADirectoryOthersMayWriteToIsNeitherReadNorWritten)
{
    const std::string victim = m_dir.Path() + "bashrc";
    WriteFile(victim, "[A]\nx=1\n");
    for (const mode_t mode : {mode_t(01777), mode_t(0770)}) {
        TempDir shared;
        ::chmod(shared.Path().c_str(), mode);
        const std::string planted = shared.Path() + "PloviSet.ini", plain = shared.Path() + "plain.ini";
        ASSERT_EQ(::symlink(victim.c_str(), planted.c_str()), 0);
        WriteFile(plain, "[A]\nx=1\n");
        for (const std::string& path : {planted, plain, shared.Path() + "absent.ini"}) {
            EXPECT_EQ(AtomicFile::CheckReplace(path), AtomicFile::Refusal::SharedDirectory) << path;
            EXPECT_EQ(ReadPrivateProfileString("A", "x", path), "") << path;
            EXPECT_FALSE(WritePrivateProfileString("A", "x", "2", path)) << path;
        }
        EXPECT_EQ(EntriesIn(shared.Path()), 2u);
        ::chmod(shared.Path().c_str(), 0700);
    }
    EXPECT_EQ(ReadWholeFile(victim), "[A]\nx=1\n");
}

// Saves killed at random points: the file is always one whole version, and
// what they leave behind is cleaned up, but never the temporary file of a
// save still at work.
TEST_F(ProfileFile, KilledSavesLeaveAWholeFileAndTheirLeftoversAreRemoved)
{
    const std::string small = "[A]\nx=" + std::string(100, 's') + "\n";
    const std::string large = "[A]\nx=" + std::string(1 << 20, 'l') + "\n";
    WriteFile(m_path, small);
    for (int kill = 0; kill < 20; ++kill) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            for (;;)
                AtomicFile::Replace(m_path, (kill % 2) ? small : large);
        }
        ::usleep(2000 + 1500 * kill);
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        const std::string text = ReadWholeFile(m_path);
        ASSERT_TRUE(text == small || text == large) << "a mixed file after kill " << kill;
    }
    // Leftovers like a killed save's, names that only look alike, and a
    // save at work in another process (holding its file locked).
    for (const char* name : {"p.ini.Ab3xY9", "p.ini.000000"})
        WriteFile(m_dir.Path() + name, large);
    for (const char* name : {"p.ini.old", "p.ini.Ab3xY", "p.ini.Ab3xY9z", "q.ini.Ab3xY9"})
        WriteFile(m_dir.Path() + name, "keep");
    ASSERT_EQ(::symlink(m_path.c_str(), (m_dir.Path() + "p.ini.LnK123").c_str()), 0);
    const std::string atWork = m_dir.Path() + "p.ini.WoRk42";
    WriteFile(atWork, "half");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        const int fd = ::open(atWork.c_str(), O_RDONLY);
        ::flock(fd, LOCK_EX);
        (void)!::write(ready[1], "x", 1);
        ::pause();
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    AtomicFile::RemoveLeftovers(m_path);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);

    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.Path()))
        left.push_back(entry.path().filename());
    std::sort(left.begin(), left.end());
    const std::vector<std::string> expected = {"p.ini",       "p.ini.Ab3xY",  "p.ini.Ab3xY9z", "p.ini.LnK123",
                                               "p.ini.WoRk42", "p.ini.old",   "q.ini.Ab3xY9"};
    EXPECT_EQ(left, expected);
}

TEST_F(ProfileFile, FullDiskLeavesTheOldFileWhole)
{
    const std::string original = "[A]\nx=1\n; " + std::string(100, 'c') + "\n";
    WriteFile(m_path, original);
    // A file size limit makes every write past 64 bytes fail like a full disk.
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    const struct rlimit small = {64, old.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool written = Write("A", "x", "2");
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadWholeFile(m_path), original);
    EXPECT_EQ(EntriesIn(m_dir.Path()), 1u) << "the temporary file is removed";
}

TEST_F(ProfileFile, ReadOnlyDirectoryFifoOrOversizedFilesAreLeftAlone)
{
    WriteFile(m_path, "[A]\nx=1\n");
    ::chmod(m_path.c_str(), 0444);
    EXPECT_FALSE(Write("A", "x", "2"));
    EXPECT_FALSE(Write("A", "y", "2"));
    EXPECT_EQ(ReadPrivateProfileString("A", "x", m_path), "1");
    EXPECT_TRUE(Write("A", "x", "1")) << "nothing to change";
    ::chmod(m_path.c_str(), 0644);
    ::chmod(m_dir.Path().c_str(), 0555);
    EXPECT_FALSE(Write("A", "x", "2"));
    EXPECT_FALSE(WritePrivateProfileString("A", "x", "2", m_dir.Path() + "new.ini"));
    ::chmod(m_dir.Path().c_str(), 0700);
    EXPECT_EQ(ReadWholeFile(m_path), "[A]\nx=1\n");
    EXPECT_EQ(EntriesIn(m_dir.Path()), 1u);

    // Read as empty and never written: a directory, a fifo (which must not
    // wait for a writer) and a file over the size limit.
    const std::string directory = m_dir.Path() + "d.ini", fifo = m_dir.Path() + "f.ini";
    std::filesystem::create_directory(directory);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::resize_file(m_path, PrivateProfile::kMaxFileBytes + 1);  // sparse
    for (const std::string& path : {directory, fifo, m_path}) {
        EXPECT_EQ(ReadPrivateProfileString("A", "x", path), "") << path;
        EXPECT_FALSE(WritePrivateProfileString("A", "x", "1", path)) << path;
    }
    EXPECT_TRUE(std::filesystem::is_directory(directory));
    EXPECT_EQ(std::filesystem::file_size(m_path), PrivateProfile::kMaxFileBytes + 1);
}

// The profile keeps an index of its lines while it is changed; after every
// change a lookup must give what a fresh read of the same text gives.
TEST_F(ProfileFile, ChangedProfileReadsLikeAFreshReadOfItsText)
{
    WriteFile(m_path, "; head\r\n[A]\r\nk1=a\r\n\r\n[b]\r\nK1=b\r\n[a]\r\nk2=dup\r\ntail");
    PrivateProfile profile(m_path);
    profile.Load();
    const char* sections[] = {"A", "B", "a", "C", "d e"};
    const char* keys[] = {"k1", "K2", "k3", "x"};
    unsigned state = 7;
    for (int step = 0; step < 300; ++step) {
        state = state * 1103515245u + 12345u;
        const char* section = sections[(state >> 8) % 5];
        const char* key = keys[(state >> 12) % 4];
        const std::string value = std::string((state >> 16) % 4, 'v') + std::to_string(step);
        ASSERT_TRUE(profile.Set(section, key, value));
        ASSERT_EQ(profile.Get(section, key), value) << "step " << step;
        WriteFile(m_path + ".copy", profile.Text());
        PrivateProfile fresh(m_path + ".copy");
        fresh.Load();
        for (const char* s : sections)
            for (const char* k : keys)
                ASSERT_EQ(profile.Get(s, k), fresh.Get(s, k)) << "step " << step << ' ' << s << '/' << k;
    }
    EXPECT_EQ(profile.Text().find("; head\r\n[A]\r\n"), 0u) << "lines before the changes stay first";
}
