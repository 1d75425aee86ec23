#include "environment/AssetCipher.h"
#include "environment/AssetStore.h"
#include "environment/BuiltinTextures.h"
#include "platform/MessageBox.h"
#include "resources/BuiltinArt.h"
#include "settings/ProgramValues.h"
#include "tests/support/GlTestContext.h"
#include "tests/support/TestEnvironment.h"
#include "view/scene/AquariumScene.h"

#include <GL/gl.h>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

std::uint32_t Crc32(const std::string& bytes)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1u) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return ~crc;
}

std::vector<std::string> FilesIn(const std::string& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    return names;
}

// Records message boxes instead of showing them.
class MessageLog {
public:
    MessageLog()
        : m_previous(SetMessageBoxHandler([this](const std::string& text, const std::string& caption) {
              m_messages.push_back(caption + ": " + text);
          }))
    {
    }
    ~MessageLog() { SetMessageBoxHandler(m_previous); }
    const std::vector<std::string>& Messages() const { return m_messages; }

private:
    std::vector<std::string> m_messages;
    MessageBoxHandler m_previous;
};

std::vector<const BuiltinArt::Entry*> RcadEntries()
{
    std::vector<const BuiltinArt::Entry*> out;
    for (std::size_t i = 0; i < BuiltinArt::Count(); ++i)
        if (std::strcmp(BuiltinArt::At(i).type, "RCAD") == 0)
            out.push_back(&BuiltinArt::At(i));
    return out;
}

TEST(AssetStore, EveryEntryUnscramblesToItsOriginalFile)
{
    TempDir dir;
    const auto entries = RcadEntries();
    ASSERT_EQ(entries.size(), 22u);  // background, twenty fish, tune
    for (const BuiltinArt::Entry* entry : entries) {
        SCOPED_TRACE(entry->name);
        ASSERT_TRUE(AssetStore::ExtractAsset(entry->id, dir.Path(), entry->name));
        const std::string scrambled = ReadWholeFile(AssetStore::ScrambledPath(dir.Path(), entry->name));
        const std::string usable = ReadWholeFile(AssetStore::UsablePath(dir.Path(), entry->name));
        ASSERT_EQ(scrambled.size(), entry->size);
        EXPECT_EQ(std::memcmp(scrambled.data(), entry->data, entry->size), 0);
        ASSERT_EQ(usable.size(), entry->size);
        EXPECT_EQ(Crc32(usable), entry->plainCrc32);
        EXPECT_NE(scrambled.substr(0, 4), usable.substr(0, 4)) << "stored in the clear";
        if (std::string(entry->name) == "Music")
            EXPECT_TRUE(usable.compare(0, 4, "RIFF") == 0 && usable.compare(8, 4, "WAVE") == 0);
        else
            EXPECT_EQ(usable.substr(0, 2), "BM");
        AssetStore::DeleteAssetFile(AssetStore::ScrambledPath(dir.Path(), entry->name));
        AssetStore::DeleteAssetFile(AssetStore::UsablePath(dir.Path(), entry->name));
    }
    EXPECT_TRUE(FilesIn(dir.Path()).empty());
}

TEST(AssetStore, OnlyExactlyMusicBecomesAWaveFile)
{
    EXPECT_EQ(AssetStore::UsableExtension("Music"), ".wav");
    for (const char* other : {"music", "MUSIC", "Music ", "Musics", "BackGround0", "fish3", ""})
        EXPECT_EQ(AssetStore::UsableExtension(other), ".bmp") << other;
    TempDir dir;
    ASSERT_TRUE(AssetStore::ExtractAsset(AssetStore::kMusicId, dir.Path(), "music"));
    EXPECT_TRUE(FileExists(dir.Path() + "music.bmp"));
    EXPECT_FALSE(FileExists(dir.Path() + "music.wav"));
    ASSERT_TRUE(AssetStore::ExtractAsset(AssetStore::kMusicId, dir.Path(), "Music"));
    EXPECT_TRUE(FileExists(dir.Path() + "Music.wav"));
    EXPECT_TRUE(FileExists(dir.Path() + "Music.ad"));
}

TEST(AssetStore, AbsentEntryWritesNothingAndSaysNothing)
{
    TempDir dir;
    MessageLog log;
    EXPECT_FALSE(AssetStore::ExtractAsset(9999, dir.Path(), "Nothing"));
    EXPECT_FALSE(AssetStore::ExtractAsset(AssetStore::kFishIdBase + 20, dir.Path(), "fish20"));
    // Pictures of the windows are not scene assets.
    EXPECT_FALSE(AssetStore::ExtractAsset(153, dir.Path(), "bar"));
    EXPECT_TRUE(FilesIn(dir.Path()).empty());
    EXPECT_TRUE(log.Messages().empty());
    AssetStore::DeleteAssetFile(dir.Path() + "Nothing.ad");  // deleting what is not there is fine
}

TEST(AssetStore, RewritingOverALongerStaleFileLeavesNoTrailingBytes)
{
    TempDir dir;
    const std::string junk(3'000'000, 'x');
    for (const char* ext : {".ad", ".bmp"}) {
        std::FILE* f = std::fopen((dir.Path() + "fish0" + ext).c_str(), "wb");
        std::fwrite(junk.data(), 1, junk.size(), f);
        std::fclose(f);
    }
    ASSERT_TRUE(AssetStore::ExtractAsset(AssetStore::kFishIdBase, dir.Path(), "fish0"));
    const BuiltinArt::Entry* entry = BuiltinArt::Find(AssetStore::kFishIdBase, "RCAD");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(fs::file_size(dir.Path() + "fish0.ad"), entry->size);
    EXPECT_EQ(Crc32(ReadWholeFile(dir.Path() + "fish0.bmp")), entry->plainCrc32);
}

TEST(AssetStore, UnreadableScrambledCopyEndsTheProgramWithAnError)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempDir dir;
    EXPECT_EXIT(AssetStore::UnscrambleAssetFile(dir.Path(), "Missing"), ::testing::ExitedWithCode(1),
                "^cannot open infile\n$");
    // The usable file's name taken by a directory: it cannot be created.
    std::FILE* f = std::fopen((dir.Path() + "Blocked.ad").c_str(), "wb");
    std::fputs("abc", f);
    std::fclose(f);
    fs::create_directory(dir.Path() + "Blocked.bmp");
    EXPECT_EXIT(AssetStore::UnscrambleAssetFile(dir.Path(), "Blocked"), ::testing::ExitedWithCode(1),
                "^ cannot open outfile\n$");
}

TEST(AssetStore, MissingAssetDirectoryIsReportedOnce)
{
    TempDir dir;
    // A plain file where the private directory should be.
    std::FILE* f = std::fopen((dir.Path() + "plovi").c_str(), "wb");
    std::fclose(f);
    ScopedEnv runtime("XDG_RUNTIME_DIR", dir.Path().c_str());
    MessageLog log;
    EXPECT_EQ(AssetStore::GetAssetDirectory(), "");
    EXPECT_EQ(log.Messages(), std::vector<std::string>{"ERROR: Error Find TempPath."});
}

TEST(AssetStore, CipherRoundTripsEveryByteValue)
{
    AssetCipher scrambler, unscrambler;
    int unchanged = 0;
    for (int round = 0; round < 4; ++round)
        for (int b = 0; b < 256; ++b) {
            const std::uint8_t s = scrambler.Scramble(std::uint8_t(b));
            unchanged += s == b;
            EXPECT_EQ(unscrambler.Unscramble(s), b);
        }
    EXPECT_LT(unchanged, 16);
}

TEST(BuiltinTextures, SceneTexturesComeFromTheArtAndLeaveNoFiles)
{
    GlTestContext gl(32, 32);
    ASSERT_TRUE(gl.Ok());
    TempDir dir;
    unsigned fish[BuiltinTextures::kFishTextureCount] = {};
    BuiltinTextures::LoadFish(dir.Path(), fish);
    for (unsigned name : fish) {
        glBindTexture(GL_TEXTURE_2D, name);
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        EXPECT_EQ(w, 256);
        EXPECT_EQ(h, 256);
    }
    const unsigned background = BuiltinTextures::LoadBackground(dir.Path());
    glBindTexture(GL_TEXTURE_2D, background);
    GLint w = 0, h = 0, w1 = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &w1);
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 512);
    EXPECT_EQ(w1, 512);
    // Open water at the top is see-through, the sea floor at the bottom is not.
    std::vector<std::uint8_t> rgba(std::size_t(w) * h * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    const std::size_t topRow = std::size_t(h - 1) * w * 4, bottomRow = 0;
    EXPECT_EQ(rgba[topRow + 3], 0);
    EXPECT_EQ(rgba[bottomRow + 3], 255);
    EXPECT_TRUE(FilesIn(dir.Path()).empty());
}

TEST(BuiltinTextures, SceneStartLeavesNoArtOnDisk)
{
    TempDir dir;
    ScopedEnv runtime("XDG_RUNTIME_DIR", dir.Path().c_str());
    ScopedEnv config("XDG_CONFIG_HOME", (dir.Path() + "config").c_str());
    ResetProgramValues();
    GlTestContext gl(64, 64);
    ASSERT_TRUE(gl.Ok());
    MessageLog log;
    AquariumScene scene;
    scene.SetScreenSize(1024, 768);
    ASSERT_TRUE(scene.InitScene());
    EXPECT_TRUE(log.Messages().empty());
    ASSERT_TRUE(fs::is_directory(dir.Path() + "plovi"));
    EXPECT_TRUE(FilesIn(dir.Path() + "plovi").empty());
    ResetProgramValues();
}

}  // namespace
