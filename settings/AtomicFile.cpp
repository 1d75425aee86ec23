#include "settings/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;

std::string DirectoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// The path whose directory entry a replacement must change: a symbolic link
// is resolved so that the link itself survives. Empty when a link dangles.
std::string EntryToReplace(const std::string& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
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

}  // namespace

namespace AtomicFile {

ReadStatus Read(const std::string& path, std::size_t maxBytes, std::string& out)
{
    out.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Unreadable;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<std::size_t>(st.st_size) > maxBytes) {
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

bool CanReplace(const std::string& pathIn)
{
    const std::string path = EntryToReplace(pathIn);
    if (path.empty())
        return false;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode) || !IsWritable(path, st))
            return false;
    } else if (errno != ENOENT) {
        return false;
    }
    const std::string dir = DirectoryOf(path);
    struct stat dirSt {};
    return ::stat(dir.c_str(), &dirSt) == 0 && S_ISDIR(dirSt.st_mode) && IsWritable(dir, dirSt);
}

bool Replace(const std::string& pathIn, const std::string& data)
{
    if (!CanReplace(pathIn))
        return false;
    const std::string path = EntryToReplace(pathIn);
    struct stat old {};
    const bool existed = ::stat(path.c_str(), &old) == 0;

    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, data);
    if (ok && existed)
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    if (ok)
        ok = ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    SyncDirectory(DirectoryOf(path));
    return true;
}

}  // namespace AtomicFile
