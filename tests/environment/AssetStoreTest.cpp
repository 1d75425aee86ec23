// SPDX-License-Identifier: MIT
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
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

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

// Records message boxes instead of showing them.
struct MessageLog {
    std::vector<std::string> messages;
    MessageBoxHandler previous = SetMessageBoxHandler(
        [this](const std::string& text, const std::string& caption, MessageIcon) { messages.push_back(caption + ": " + text); });
    ~MessageLog() { SetMessageBoxHandler(previous); }
};

// Each entry is written over longer stale copies of both files, which must
// leave no trailing bytes.
TEST(AssetStore, EveryEntryUnscramblesToItsOriginalFile)
{
    TempDir dir;
    int entries = 0;
    for (std::size_t i = 0; i < BuiltinArt::Count(); ++i) {
        const BuiltinArt::Entry& entry = BuiltinArt::At(i);
        if (std::strcmp(entry.type, "RCAD") != 0)
            continue;
        SCOPED_TRACE(entry.name);
        ++entries;
        const std::string scrambledPath = AssetStore::ScrambledPath(dir.Path(), entry.name);
        const std::string usablePath = AssetStore::UsablePath(dir.Path(), entry.name);
        for (const std::string& path : {scrambledPath, usablePath})
            std::ofstream(path, std::ios::binary) << std::string(entry.size + 1000, 'x');
        ASSERT_TRUE(AssetStore::ExtractAsset(entry.id, dir.Path(), entry.name));
        const std::string scrambled = ReadWholeFile(scrambledPath), usable = ReadWholeFile(usablePath);
        EXPECT_EQ(scrambled, std::string(reinterpret_cast<const char*>(entry.data), entry.size));
        EXPECT_EQ(usable.size(), entry.size);
        EXPECT_EQ(Crc32(usable), entry.plainCrc32);
        EXPECT_NE(scrambled.substr(0, 4), usable.substr(0, 4)) << "stored in the clear";
        AssetStore::DeleteAssetFile(scrambledPath);
        AssetStore::DeleteAssetFile(usablePath);
    }
    EXPECT_EQ(entries, 22) << "background, twenty fish, tune";
    EXPECT_TRUE(fs::is_empty(dir.Path()));
}

TEST(AssetStore, LinksPlantedWhereTheFilesGoAreNeverFollowed)
{
    TempDir dir, elsewhere;
    const std::string victim = elsewhere.Path() + "victim";
    std::ofstream(victim) << "keep";
    for (const char* name : {"fish0.ad", "fish0.bmp"})
        ASSERT_EQ(::symlink(victim.c_str(), (dir.Path() + name).c_str()), 0);
    ASSERT_TRUE(AssetStore::ExtractAsset(AssetStore::kFishIdBase, dir.Path(), "fish0"));
    EXPECT_EQ(ReadWholeFile(victim), "keep");
    for (const char* name : {"fish0.ad", "fish0.bmp"}) {
        struct stat st {};
        ASSERT_EQ(::lstat((dir.Path() + name).c_str(), &st), 0);
        EXPECT_TRUE(S_ISREG(st.st_mode)) << name;
        EXPECT_EQ(st.st_mode & 0777, 0600u) << name;
    }
}

TEST(AssetStore, OnlyExactlyMusicBecomesAWaveFile)
{
    for (const char* other : {"music", "MUSIC", "Music ", "Musics", "BackGround0", ""})
        EXPECT_EQ(AssetStore::UsableExtension(other), ".bmp") << other;
    TempDir dir;
    for (const char* name : {"music", "Music"})
        ASSERT_TRUE(AssetStore::ExtractAsset(AssetStore::kMusicId, dir.Path(), name));
    EXPECT_EQ((std::vector<bool>{FileExists(dir.Path() + "music.bmp"), FileExists(dir.Path() + "music.wav"),
                                 FileExists(dir.Path() + "Music.wav")}),
              (std::vector<bool>{true, false, true}));
}

TEST(AssetStore, AbsentEntryWritesNothingAndSaysNothing)
{
    TempDir dir;
    MessageLog log;
    EXPECT_FALSE(AssetStore::ExtractAsset(9999, dir.Path(), "Nothing"));
    EXPECT_FALSE(AssetStore::ExtractAsset(AssetStore::kFishIdBase + 20, dir.Path(), "fish20"));
    EXPECT_FALSE(AssetStore::ExtractAsset(153, dir.Path(), "bar")) << "window pictures are not scene assets";
    EXPECT_TRUE(fs::is_empty(dir.Path()));
    EXPECT_TRUE(log.messages.empty());
}

TEST(AssetStore, UnreadableScrambledCopyEndsTheProgramWithAnError)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempDir dir;
    EXPECT_EXIT(AssetStore::UnscrambleAssetFile(dir.Path(), "Missing"), ::testing::ExitedWithCode(1),
                "^cannot open infile\n$");
    // A directory holds the usable file's name, so it cannot be created.
    std::ofstream(dir.Path() + "Blocked.ad") << "abc";
    fs::create_directory(dir.Path() + "Blocked.bmp");
    EXPECT_EXIT(AssetStore::UnscrambleAssetFile(dir.Path(), "Blocked"), ::testing::ExitedWithCode(1),
                "^ cannot open outfile\n$");
}

TEST(AssetStore, MissingAssetDirectoryIsReportedOnce)
{
    TempDir dir;
    std::ofstream(dir.Path() + "plovi") << "";  // a plain file where the private directory should be
    ScopedEnv runtime("XDG_RUNTIME_DIR", dir.Path().c_str());
    MessageLog log;
    EXPECT_EQ(AssetStore::GetAssetDirectory(), "");
    EXPECT_EQ(log.messages, std::vector<std::string>{"ERROR: Error Find TempPath."});
}

// Two processes start at once (a screensaver preview and the full-screen
// module) and each unpacks, reads and deletes the same art: neither may find
// its files gone or half-written by the other.
TEST(AssetStore, TwoProcessesUnpackingAtOnceEachReadTheirOwnFiles)
{
    TempDir dir;
    ScopedEnv runtime("XDG_RUNTIME_DIR", dir.Path().c_str());
    const BuiltinArt::Entry* fish = BuiltinArt::Find(AssetStore::kFishIdBase, "RCAD");
    ASSERT_NE(fish, nullptr);
    auto unpackManyTimes = [&] {
        for (int round = 0; round < 60; ++round) {
            const std::string assets = AssetStore::GetAssetDirectory();
            AssetStore::ExtractAsset(fish->id, assets, "fish0");
            const std::string usable = ReadWholeFile(AssetStore::UsablePath(assets, "fish0"));
            AssetStore::DeleteAssetFile(AssetStore::ScrambledPath(assets, "fish0"));
            AssetStore::DeleteAssetFile(AssetStore::UsablePath(assets, "fish0"));
            AssetStore::ReleaseAssetDirectory(assets);
            if (usable.size() != fish->size || Crc32(usable) != fish->plainCrc32)
                return false;
        }
        return true;
    };
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(unpackManyTimes() ? 0 : 3);  // a lost file ends the child with 1 itself
    const bool parentOk = unpackManyTimes();
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(parentOk);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
    EXPECT_TRUE(fs::is_empty(dir.Path() + "plovi")) << "an unpacked file or directory stayed behind";
}

// The scene's textures come from the art: twenty 256 x 256 fish and a
// mipmapped 1024 x 512 background, and no extracted file stays behind.
TEST(BuiltinTextures, SceneStartLoadsTheArtAndLeavesNoFiles)
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
    EXPECT_TRUE(log.messages.empty());
    ASSERT_TRUE(fs::is_directory(dir.Path() + "plovi"));
    EXPECT_TRUE(fs::is_empty(dir.Path() + "plovi"));
    ResetProgramValues();
    std::map<std::vector<int>, int> textures;  // width, height, width of level 1 -> count
    for (GLuint name = 1; name < 256; ++name) {
        if (!glIsTexture(name))
            continue;
        glBindTexture(GL_TEXTURE_2D, name);
        std::vector<int> size(3);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &size[0]);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &size[1]);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &size[2]);
        ++textures[size];
    }
    EXPECT_EQ(textures[(std::vector<int>{256, 256, 0})], BuiltinTextures::kFishTextureCount);
    EXPECT_EQ(textures[(std::vector<int>{1024, 512, 512})], 1) << "a mipmapped background";
}

}  // namespace
