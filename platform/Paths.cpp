// SPDX-License-Identifier: MIT
#include "platform/Paths.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string WithSlash(std::string dir)
{
    if (!dir.empty() && dir.back() != '/')
        dir += '/';
    return dir;
}

bool IsDirectory(const std::string& path)
{
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string EnvOr(const char* name, const std::string& fallback)
{
    const char* value = std::getenv(name);
    return (value && *value) ? std::string(value) : fallback;
}

// $HOME, or with HOME unset (a service, a stripped environment) the
// account's home from the password database; "" when there is none.
std::string HomeDirectory()
{
    std::string home = EnvOr("HOME", "");
    if (home.empty()) {
        const passwd* account = ::getpwuid(::getuid());
        if (account && account->pw_dir && account->pw_dir[0] == '/')
            home = account->pw_dir;
    }
    return home;
}

std::string HostName()
{
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0' || name[0] == '.')
        return "localhost";
    std::string host(name);
    for (char& c : host)
        if (c == '/')
            c = '_';
    return host;
}

bool IsPrivateDirectoryOfOurs(const std::string& dir)
{
    struct stat st {};
    return !dir.empty() && ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0 && ::access(dir.c_str(), W_OK | X_OK) == 0;
}

}  // namespace

namespace Paths {

bool EnsurePrivateDirectory(const std::string& dirIn)
{
    if (dirIn.empty())
        return false;
    std::string dir = WithSlash(dirIn);
    // Create each missing component; only the last one must be ours.
    for (std::size_t pos = dir.find('/', 1); pos != std::string::npos; pos = dir.find('/', pos + 1)) {
        std::string part = dir.substr(0, pos);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat st {};
    if (::lstat(dir.substr(0, dir.size() - 1).c_str(), &st) != 0 || !S_ISDIR(st.st_mode) ||
        st.st_uid != ::getuid())
        return false;
    // Ours: when others may write to it, take their bits away (the user's own
    // bits stay, so a directory made read-only on purpose stays read-only).
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) == 0)
        return true;
    return ::chmod(dir.c_str(), st.st_mode & 0700) == 0;
}

std::string TempDirectory()
{
    std::string dir = EnvOr("TMPDIR", "/tmp");
    return IsDirectory(dir) ? WithSlash(dir) : std::string();
}

std::string RuntimeDirectory()
{
    // Only a directory no one else can write to: in a shared one, another
    // user could plant links or files where the transient files go.
    const std::string xdg = EnvOr("XDG_RUNTIME_DIR", "");
    if (IsPrivateDirectoryOfOurs(xdg))
        return WithSlash(xdg);
    // Without one, a directory in the user's own home. A fixed name in the
    // shared temp directory can be taken first by another user, and a fresh
    // name for each start would give each start a lock of its own. One per
    // machine: a home shared over the network must not lock out the same
    // user's aquarium on another machine, nor mix process ids.
    const std::string home = HomeDirectory();
    const std::string cache = EnvOr("XDG_CACHE_HOME", home.empty() ? std::string() : home + "/.cache");
    if (!cache.empty() && cache.front() == '/') {
        const std::string dir = WithSlash(cache) + "plovi/" + HostName() + "/";
        if (EnsurePrivateDirectory(dir) && IsPrivateDirectoryOfOurs(dir))
            return dir;
    }
    // No usable home (a service account): the per-user name under the temp
    // directory, while it is this user's.
    std::string temp = TempDirectory();
    if (temp.empty())
        temp = "/tmp/";
    const std::string own = temp + "plovi-" + std::to_string(::getuid()) + "/";
    return EnsurePrivateDirectory(own) && IsPrivateDirectoryOfOurs(own) ? own : std::string();
}

std::string AssetDirectory()
{
    std::string runtime = RuntimeDirectory();
    if (runtime.empty())
        return {};
    std::string dir = runtime + "plovi/" + std::to_string(::getpid()) + "/";
    return EnsurePrivateDirectory(dir) ? dir : std::string();
}

std::string SettingsDirectory()
{
    const std::string home = HomeDirectory();
    std::string config = EnvOr("XDG_CONFIG_HOME", home.empty() ? std::string() : home + "/.config");
    if (config.empty())
        return {};
    std::string dir = WithSlash(config) + "plovi/";
    // One the user cannot list or enter (mode 000) holds no settings this
    // program could read; one made read-only on purpose is still used.
    return EnsurePrivateDirectory(dir) && ::access(dir.c_str(), R_OK | X_OK) == 0 ? dir : std::string();
}

}  // namespace Paths
