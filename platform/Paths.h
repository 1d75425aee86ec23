#pragma once
#include <string>

// Where the program keeps its files. Every directory returned here ends with
// '/' and has been created with mode 0700 when it did not exist; an empty
// string means it could not be found or created.
namespace Paths {

// Per-user runtime directory for transient files: $XDG_RUNTIME_DIR, or when
// that is unset or unusable a private "plovi-<uid>" directory under the temp
// directory. Used for the instance locks.
std::string RuntimeDirectory();

// The directory the built-in art is written out to while it is loaded:
// RuntimeDirectory() + "plovi/".
std::string AssetDirectory();

// The settings directory: $XDG_CONFIG_HOME/plovi/, default ~/.config/plovi/.
std::string SettingsDirectory();

// The temp directory ($TMPDIR, else /tmp) with a trailing '/', or "" when it
// does not exist or is not a directory.
std::string TempDirectory();

// Creates dir (and missing parents) with mode 0700. Refuses a path that
// exists but is not a directory owned by this user. Returns success.
bool EnsurePrivateDirectory(const std::string& dir);

}  // namespace Paths
