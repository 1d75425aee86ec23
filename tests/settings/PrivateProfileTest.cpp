#include "settings/AtomicFile.h"
#include "settings/PrivateProfile.h"
#include "settings/ProfileNumber.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

mode_t ModeOf(const std::string& path)
{
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

std::size_t EntriesIn(const std::string& dir)
{
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir))
        ++n;
    return n;
}

struct ReadCase {
    const char* what;
    std::string file;
    const char* section;
    const char* key;
    std::string expected;
};

}  // namespace

TEST(ProfileAtoi, ReadsLeadingDigitsAndSaturatesInsteadOfOverflowing)
{
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        {"12.9", 12},          {"32767.5", 32767},    {"  -5x", -5},
        {"+7", 7},             {"abc", 0},            {"", 0},
        {"- 5", 0},            {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
        {"99999999999", INT_MAX}, {"-99999999999", INT_MIN},
        {"000000000000000000000042", 42},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProfileAtoi(c.text), c.expected) << '"' << c.text << '"';
}

TEST(PrivateProfile, ReadsWithPrivateProfileRules)
{
    const std::string longValue(300, 'v');
    const ReadCase cases[] = {
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
        {"absent section", "[S]\nk=1\n", "T", "k", ""},
        {"key of another section", "[S]\n[T]\nk=1\n", "S", "k", ""},
        {"empty file", "", "S", "k", ""},
        {"first duplicate key wins", "[S]\nk=first\nK=second\n", "S", "k", "first"},
        {"first duplicate section wins", "[S]\nk=first\n[s]\nk=second\nm=2\n", "S", "m", ""},
        {"comment is no key", "[S]\n;k=1\n", "S", ";k", ""},
        {"line without = is no key", "[S]\nk\nk 1\n", "S", "k", ""},
        {"key before any section", "k=1\n[S]\n", "S", "k", ""},
        {"header without ]", "[S\nk=1\n", "S", "k", "1"},
        {"empty value", "[S]\nk=\n", "S", "k", ""},
        {"last line without newline", "[S]\nk=1", "S", "k", "1"},
    };
    TempDir dir;
    const std::string path = dir.Path() + "p.ini";
    for (const ReadCase& c : cases) {
        WriteFile(path, c.file);
        EXPECT_EQ(ReadPrivateProfileString(c.section, c.key, path), c.expected) << c.what;
    }
    EXPECT_EQ(ReadPrivateProfileString("S", "k", dir.Path() + "missing.ini"), "");
    WriteFile(path, "[S]\nk=" + longValue + "\n");
    EXPECT_EQ(ReadPrivateProfileString("S", "k", path, 4096), longValue) << "larger buffer on request";
}

TEST(PrivateProfile, WritesChangeOnlyTheirOwnLine)
{
    const struct {
        const char* what;
        std::string before;
        const char* section;
        const char* key;
        const char* value;
        std::string after;
    } cases[] = {
        {"value replaced in place, spacing and case kept",
         "; top\n[s]\n KEY = old \n; note\nz=9\n", "S", "key", "new",
         "; top\n[s]\n KEY = new\n; note\nz=9\n"},
        {"new key after the section's last line",
         "[A]\nx=1\n; about A\n\n[B]\ny=2\n", "A", "n", "5",
         "[A]\nx=1\n; about A\nn=5\n\n[B]\ny=2\n"},
        {"new section at the end after a blank line",
         "[A]\nx=1\n", "New", "k", "v", "[A]\nx=1\n\n[New]\nk=v\n"},
        {"file without final newline", "[A]\nx=1", "A", "y", "2", "[A]\nx=1\ny=2\n"},
        {"CRLF file gets CRLF lines", "[A]\r\nx=1\r\n", "B", "y", "2", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n"},
        {"only the first duplicate changes", "[A]\nx=1\nx=2\n[a]\nx=3\n", "A", "X", "9",
         "[A]\nx=9\nx=2\n[a]\nx=3\n"},
        {"garbage lines and keys without = survive", "junk\x01\n[A]\nnokey\nx=1\n", "A", "x", "2",
         "junk\x01\n[A]\nnokey\nx=2\n"},
        {"empty file", "", "A", "x", "1", "[A]\nx=1\n"},
    };
    TempDir dir;
    const std::string path = dir.Path() + "p.ini";
    for (const auto& c : cases) {
        WriteFile(path, c.before);
        EXPECT_TRUE(WritePrivateProfileString(c.section, c.key, c.value, path)) << c.what;
        EXPECT_EQ(ReadWholeFile(path), c.after) << c.what;
        EXPECT_EQ(ReadPrivateProfileString(c.section, c.key, path), c.value) << c.what;
    }
}

TEST(PrivateProfile, RefusesNamesAndValuesThatCouldNotBeReadBack)
{
    TempDir dir;
    const std::string path = dir.Path() + "p.ini";
    WriteFile(path, "[A]\nx=1\n");
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } bad[] = {
        {"A", "", "1"}, {"A", "a=b", "1"}, {"A", "[k", "1"}, {"A", ";k", "1"}, {"A", " k", "1"},
        {"A]", "k", "1"}, {"A\n[B", "k", "1"}, {"A", "k", "1\n[B]"}, {"A", "k", "1\r"},
    };
    for (const auto& b : bad)
        EXPECT_FALSE(WritePrivateProfileString(b.section, b.key, b.value, path)) << b.section << '/' << b.key;
    EXPECT_EQ(ReadWholeFile(path), "[A]\nx=1\n");
}

TEST(PrivateProfile, CopesWithBinaryGarbageAndHugeLines)
{
    TempDir dir;
    const std::string path = dir.Path() + "p.ini";
    std::string garbage;
    unsigned state = 7;
    for (int i = 0; i < 200000; ++i) {
        state = state * 1103515245u + 12345u;
        garbage += static_cast<char>(state >> 23);
    }
    const std::string huge(10u << 20, '7');
    const std::string original = garbage + "\n[A]\nbig=" + huge + "\n;" + huge + "\nx=1\n";
    WriteFile(path, original);
    EXPECT_EQ(ReadPrivateProfileString("A", "big", path), std::string(127, '7'));
    EXPECT_EQ(ReadPrivateProfileString("A", "x", path), "1");
    ASSERT_TRUE(WritePrivateProfileString("A", "x", "2", path));
    EXPECT_EQ(ReadWholeFile(path), garbage + "\n[A]\nbig=" + huge + "\n;" + huge + "\nx=2\n");
}

TEST(PrivateProfileFile, ReplacementKeepsModeAndLeavesNoTemporaryFile)
{
    TempDir dir;
    const std::string path = dir.Path() + "p.ini";
    WriteFile(path, "[A]\nx=1\n");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(WritePrivateProfileString("A", "x", "2", path));
    EXPECT_EQ(ModeOf(path), 0640u);
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);

    const std::string fresh = dir.Path() + "new.ini";
    ASSERT_TRUE(WritePrivateProfileString("A", "x", "1", fresh));
    EXPECT_EQ(ModeOf(fresh), 0600u);
}

TEST(PrivateProfileFile, FullDiskLeavesTheOldFileWhole)
{
    TempDir dir;
    const std::string path = dir.Path() + "p.ini";
    const std::string original = "[A]\nx=1\n; " + std::string(100, 'c') + "\n";
    WriteFile(path, original);
    // A file size limit makes every write past 64 bytes fail like a full disk.
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 64;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool written = WritePrivateProfileString("A", "x", "2", path);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadWholeFile(path), original);
    EXPECT_EQ(EntriesIn(dir.Path()), 1u) << "the temporary file is removed";
}

TEST(PrivateProfileFile, SymbolicLinkStaysALinkAndItsTargetChanges)
{
    TempDir dir;
    const std::string target = dir.Path() + "real.ini";
    const std::string link = dir.Path() + "link.ini";
    WriteFile(target, "[A]\nx=1\n");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    ASSERT_TRUE(WritePrivateProfileString("A", "x", "2", link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadWholeFile(target), "[A]\nx=2\n");
}

TEST(PrivateProfileFile, ReadOnlyFileOrDirectoryIsNeverReplaced)
{
    TempDir dir;
    const std::string path = dir.Path() + "p.ini";
    WriteFile(path, "[A]\nx=1\n");
    ::chmod(path.c_str(), 0444);
    EXPECT_FALSE(WritePrivateProfileString("A", "x", "2", path));
    EXPECT_FALSE(WritePrivateProfileString("A", "y", "2", path));
    EXPECT_EQ(ReadWholeFile(path), "[A]\nx=1\n");
    EXPECT_EQ(ReadPrivateProfileString("A", "x", path), "1");
    EXPECT_TRUE(WritePrivateProfileString("A", "x", "1", path)) << "nothing to change";

    ::chmod(path.c_str(), 0644);
    ::chmod(dir.Path().c_str(), 0555);
    EXPECT_FALSE(WritePrivateProfileString("A", "x", "2", path));
    EXPECT_FALSE(WritePrivateProfileString("A", "x", "2", dir.Path() + "new.ini"));
    ::chmod(dir.Path().c_str(), 0700);
    EXPECT_EQ(ReadWholeFile(path), "[A]\nx=1\n");
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

TEST(PrivateProfileFile, SomethingOtherThanAFileIsReadAsEmptyAndLeftAlone)
{
    TempDir dir;
    const std::string asDirectory = dir.Path() + "d.ini";
    std::filesystem::create_directory(asDirectory);
    EXPECT_EQ(ReadPrivateProfileString("A", "x", asDirectory), "");
    EXPECT_FALSE(WritePrivateProfileString("A", "x", "1", asDirectory));
    EXPECT_TRUE(std::filesystem::is_directory(asDirectory));

    const std::string fifo = dir.Path() + "f.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ReadPrivateProfileString("A", "x", fifo), "") << "must not wait for a writer";
    EXPECT_FALSE(WritePrivateProfileString("A", "x", "1", fifo));
}

TEST(PrivateProfileFile, TooLargeFileIsNotReadNorReplaced)
{
    TempDir dir;
    const std::string path = dir.Path() + "p.ini";
    {
        std::ofstream out(path, std::ios::binary);
        out << "[A]\nx=1\n";
    }
    std::filesystem::resize_file(path, PrivateProfile::kMaxFileBytes + 1);  // sparse
    EXPECT_EQ(ReadPrivateProfileString("A", "x", path), "");
    EXPECT_FALSE(WritePrivateProfileString("A", "x", "2", path));
    EXPECT_EQ(std::filesystem::file_size(path), PrivateProfile::kMaxFileBytes + 1);
}

TEST(PrivateProfileFile, BatchOfChangesIsOneReplacement)
{
    TempDir dir;
    const std::string path = dir.Path() + "p.ini";
    WriteFile(path, "[A]\nx=1\n");
    PrivateProfile profile(path);
    profile.Load();
    ASSERT_TRUE(profile.Set("A", "x", "2"));
    ASSERT_TRUE(profile.Set("B", "y", "3"));
    EXPECT_EQ(ReadWholeFile(path), "[A]\nx=1\n") << "nothing written before Save";
    EXPECT_EQ(profile.Get("b", "Y"), "3");
    ASSERT_TRUE(profile.Save());
    EXPECT_EQ(ReadWholeFile(path), "[A]\nx=2\n\n[B]\ny=3\n");
}
