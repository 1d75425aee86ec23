// SPDX-License-Identifier: MIT
#include "settings/AtomicFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr mode_t kOthersWriteBits = S_IWGRP | S_IWOTH;
constexpr const char* kTempPattern = ".XXXXXX";   // mkstemp's, after the file's name
constexpr std::size_t kTempRandomLength = 6;

std::string DirectoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool DirectoryIsShared(const std::string& path)
{
    struct stat st {};
    return ::stat(DirectoryOf(path).c_str(), &st) == 0 && (st.st_mode & kOthersWriteBits) != 0;
}

bool IsWritable(const std::string& path, const struct stat& st)
{
    return (st.st_mode & kAnyWriteBit) != 0 && ::access(path.c_str(), W_OK) == 0;
}

bool WriteAll(int fd, const std::string& data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void SyncDirectory(const std::string& dir)
{
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

enum class Written { Done, Failed, TempTaken };

// One try: the data into a fresh temporary file, renamed over `path`. The
// temporary file is locked until it has its final name, which is how
// RemoveLeftovers tells a replacement at work from a killed one.
Written WriteAndRename(const std::string& path, const std::string& data, const struct stat* old)
{
    std::string temp = path + kTempPattern;
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return Written::Failed;
    bool ok = ::flock(fd, LOCK_EX) == 0 && WriteAll(fd, data);
    if (ok && old)
        ok = ::fchmod(fd, old->st_mode & 07777) == 0;
    if (ok)
        ok = ::fsync(fd) == 0;
    // A leftover cleaner may have taken the file between its making and its
    // locking; it is then gone and the rename finds nothing.
    const bool renamed = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    const bool taken = ok && !renamed && errno == ENOENT;
    if (!renamed)
        ::unlink(temp.c_str());
    ok = (::close(fd) == 0) && renamed;
    if (taken)
        return Written::TempTaken;
    return ok ? Written::Done : Written::Failed;
}

// Whether a directory entry is one of the names WriteAndRename gives.
bool IsTempName(const std::string& entry, const std::string& fileName)
{
    const std::size_t prefix = fileName.size() + 1;
    if (entry.size() != prefix + kTempRandomLength || entry.compare(0, fileName.size(), fileName) != 0 ||
        entry[fileName.size()] != '.')
        return false;
    for (std::size_t i = prefix; i < entry.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(entry[i])))
            return false;
    return true;
}

// Deletes `path` when it is this user's regular file that nobody holds
// locked, checking on the open file that the name still names it.
bool RemoveIfAbandoned(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return false;
    struct stat held {}, named {};
    bool removed = false;
    if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && held.st_uid == ::getuid() &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(path.c_str(), &named) == 0 &&
        named.st_dev == held.st_dev && named.st_ino == held.st_ino)
        removed = ::unlink(path.c_str()) == 0;
    ::close(fd);
    return removed;
}

}  // namespace

namespace AtomicFile {

ReadStatus Read(const std::string& path, std::size_t maxBytes, std::string& out)
{
    out.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Unreadable;
    struct stat st {};
    if (DirectoryIsShared(path) || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::size_t>(st.st_size) > maxBytes) {
        ::close(fd);
        return ReadStatus::Unreadable;
    }
    // The size the file has and a little room for edits, so the text costs
    // its size once and a few changed lines do not move it; a file that
    // grows while it is read is taken up to maxBytes.
    out.reserve(static_cast<std::size_t>(st.st_size) + (64u << 10));
    out.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    char extra[4096];
    while (done < maxBytes) {
        const bool intoOut = done < out.size();
        char* into = intoOut ? &out[done] : extra;
        const std::size_t room = intoOut ? out.size() - done : std::min(sizeof extra, maxBytes - done);
        const ssize_t n = ::read(fd, into, room);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            out.clear();
            return ReadStatus::Unreadable;
        }
        if (n == 0)
            break;
        if (!intoOut)
            out.append(extra, static_cast<std::size_t>(n));
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    out.resize(done);
    return ReadStatus::Read;
}

Refusal CheckReplace(const std::string& path)
{
    const std::string dir = DirectoryOf(path);
    struct stat dirSt {};
    if (::stat(dir.c_str(), &dirSt) != 0 || !S_ISDIR(dirSt.st_mode))
        return Refusal::NotWritable;
    // Anyone who may write there may have put a link or a file of theirs
    // at the name, or swap one in between a check and the write.
    if ((dirSt.st_mode & kOthersWriteBits) != 0)
        return Refusal::SharedDirectory;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) {
        if (S_ISLNK(st.st_mode) || (S_ISREG(st.st_mode) && st.st_nlink > 1))
            return Refusal::Link;
        if (!S_ISREG(st.st_mode) || !IsWritable(path, st))
            return Refusal::NotWritable;
    } else if (errno != ENOENT) {
        return Refusal::NotWritable;
    }
    return IsWritable(dir, dirSt) ? Refusal::None : Refusal::NotWritable;
}

bool Replace(const std::string& path, const std::string& data)
{
    if (!CanReplace(path))
        return false;
    struct stat old {};
    const bool existed = ::lstat(path.c_str(), &old) == 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        switch (WriteAndRename(path, data, existed ? &old : nullptr)) {
        case Written::Done:
            SyncDirectory(DirectoryOf(path));
            return true;
        case Written::Failed: return false;
        case Written::TempTaken: break;
        }
    }
    return false;
}

int RemoveLeftovers(const std::string& path)
{
    const std::string dir = DirectoryOf(path);
    struct stat dirSt {};
    if (::stat(dir.c_str(), &dirSt) != 0 || (dirSt.st_mode & kOthersWriteBits) != 0)
        return 0;
    DIR* listing = ::opendir(dir.c_str());
    if (!listing)
        return 0;
    const std::string name = NameOf(path);
    std::vector<std::string> leftovers;
    while (const dirent* entry = ::readdir(listing))
        if (IsTempName(entry->d_name, name))
            leftovers.emplace_back(entry->d_name);
    ::closedir(listing);
    int removed = 0;
    for (const std::string& leftover : leftovers)
        removed += RemoveIfAbandoned(dir + "/" + leftover) ? 1 : 0;
    return removed;
}

}  // namespace AtomicFile
