// SPDX-License-Identifier: MIT
#include "environment/AssetStore.h"

#include "environment/AssetCipher.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "resources/BuiltinArt.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Opens a new private file for writing. Whatever had the name (an older
// copy, or a link planted there) is removed first, and the file must then be
// created afresh, never reached through a symbolic link: the directory may
// be the current one when the private directory is unavailable.
int OpenForWriting(const std::string& path)
{
    ::unlink(path.c_str());
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
}

void WriteAll(int fd, const unsigned char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n <= 0)
            return;  // a short write leaves a short file; the loader rejects it
        data += n;
        size -= std::size_t(n);
    }
}

[[noreturn]] void Fatal(const char* message)
{
    std::fputs(message, stderr);
    std::fflush(stderr);
    std::exit(EXIT_FAILURE);
}

}  // namespace

std::string AssetStore::GetAssetDirectory()
{
    std::string directory = Paths::AssetDirectory();
    if (directory.empty())
        ShowMessageBox("Error Find TempPath.", "ERROR");
    return directory;
}

bool AssetStore::ExtractAsset(int resourceId, const std::string& directory, const std::string& baseName)
{
    const BuiltinArt::Entry* entry = BuiltinArt::Find(resourceId, "RCAD");
    if (!entry)
        return false;
    const int fd = OpenForWriting(ScrambledPath(directory, baseName));
    if (fd >= 0) {
        WriteAll(fd, entry->data, entry->size);
        ::close(fd);
    }
    UnscrambleAssetFile(directory, baseName);
    return true;
}

void AssetStore::UnscrambleAssetFile(const std::string& directory, const std::string& baseName)
{
    std::FILE* in = std::fopen(ScrambledPath(directory, baseName).c_str(), "rb");
    if (!in)
        Fatal("cannot open infile\n");
    const int fd = OpenForWriting(UsablePath(directory, baseName));
    std::FILE* out = fd >= 0 ? ::fdopen(fd, "wb") : nullptr;
    if (!out) {
        if (fd >= 0)
            ::close(fd);
        std::fclose(in);
        Fatal(" cannot open outfile\n");
    }
    // In blocks: a locked getc/putc per byte made this the slowest part of
    // start-up (5.6 MB of art).
    AssetCipher cipher;
    unsigned char block[64 * 1024];
    for (std::size_t n; (n = std::fread(block, 1, sizeof block, in)) > 0;) {
        for (std::size_t i = 0; i < n; ++i)
            block[i] = cipher.Unscramble(block[i]);
        if (std::fwrite(block, 1, n, out) != n)
            break;  // a short file; the loader rejects it
    }
    std::fclose(out);
    std::fclose(in);
}

void AssetStore::DeleteAssetFile(const std::string& path) { ::unlink(path.c_str()); }

void AssetStore::ReleaseAssetDirectory(const std::string& directory)
{
    if (!directory.empty())
        ::rmdir(directory.c_str());
}

std::string AssetStore::UsableExtension(const std::string& baseName)
{
    return baseName == "Music" ? ".wav" : ".bmp";
}

std::string AssetStore::ScrambledPath(const std::string& directory, const std::string& baseName)
{
    return directory + baseName + ".ad";
}

std::string AssetStore::UsablePath(const std::string& directory, const std::string& baseName)
{
    return directory + baseName + UsableExtension(baseName);
}
