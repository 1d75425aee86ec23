// SPDX-License-Identifier: MIT
#pragma once
#include <string>

// Where the program keeps its files. Every directory returned here ends with
// '/' and has been created with mode 0700 when it did not exist; an empty
// string means it could not be found or created.
namespace Paths {

// Per-user runtime directory for transient files: $XDG_RUNTIME_DIR when it is
// a directory of this user that no one else may write to; otherwise a
// private (0700) "plovi/<host name>" directory in the user's cache directory
// ($XDG_CACHE_HOME, default ~/.cache); without a usable home, a private
// "plovi-<uid>" directory under the temp directory while it is this user's.
// Every start of this user's gets the same one, so the instance locks in it
// hold; another user can neither take its name nor write into it. Empty when
// none of them can be used.
std::string RuntimeDirectory();

// The directory the built-in art is written out to while it is loaded:
// RuntimeDirectory() + "plovi/" + this process's id + "/". One per process,
// because the art files have fixed names and a screensaver preview and the
// full-screen module (or the desktop aquarium beside them) start at the same
// moment: in a shared directory one would delete the other's files while it
// is reading them.
std::string AssetDirectory();

// The settings directory: $XDG_CONFIG_HOME/plovi/, default ~/.config/plovi/
// (with HOME unset, the account's home directory from the password database).
// Empty when it is not a directory of this user's (a file, a symbolic link)
// or this user may not read or enter it; it may be read-only.
std::string SettingsDirectory();

// The temp directory ($TMPDIR, else /tmp) with a trailing '/', or "" when it
// does not exist or is not a directory.
std::string TempDirectory();

// Creates dir (and missing parents) with mode 0700. Refuses a path that
// exists but is not a directory owned by this user (a symbolic link is
// refused too); one of this user's that others may write to loses all
// permissions but the user's own.
// Returns success.
bool EnsurePrivateDirectory(const std::string& dir);

}  // namespace Paths
