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
    std::string xdg = EnvOr("XDG_RUNTIME_DIR", "");
    struct stat st {};
    if (!xdg.empty() && ::stat(xdg.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
        (st.st_mode & (S_IWGRP | S_IWOTH)) == 0 && ::access(xdg.c_str(), W_OK | X_OK) == 0)
        return WithSlash(xdg);
    std::string temp = TempDirectory();
    if (temp.empty())
        temp = "/tmp/";
    std::string own = temp + "plovi-" + std::to_string(::getuid()) + "/";
    if (EnsurePrivateDirectory(own))
        return own;
    // Someone else holds that name: a fresh directory of this process's own.
    static const std::string fresh = [&temp] {
        std::string pattern = temp + "plovi-" + std::to_string(::getuid()) + "-XXXXXX";
        return ::mkdtemp(pattern.data()) ? pattern + "/" : std::string();
    }();
    return fresh;
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
    std::string home = EnvOr("HOME", "");
    if (home.empty()) {
        // HOME unset (a service, a stripped environment): the account's home.
        const passwd* account = ::getpwuid(::getuid());
        if (account && account->pw_dir && account->pw_dir[0] == '/')
            home = account->pw_dir;
    }
    std::string config = EnvOr("XDG_CONFIG_HOME", home.empty() ? std::string() : home + "/.config");
    if (config.empty())
        return {};
    std::string dir = WithSlash(config) + "plovi/";
    // One the user cannot list or enter (mode 000) holds no settings this
    // program could read; one made read-only on purpose is still used.
    return EnsurePrivateDirectory(dir) && ::access(dir.c_str(), R_OK | X_OK) == 0 ? dir : std::string();
}

}  // namespace Paths
