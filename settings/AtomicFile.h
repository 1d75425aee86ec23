// SPDX-License-Identifier: MIT
#pragma once
#include <cstddef>
#include <string>

// Whole-file reads and crash-safe whole-file replacement for small text
// files such as the settings file.
namespace AtomicFile {

enum class ReadStatus {
    Read,        // `out` holds the whole content
    Missing,     // nothing at that path
    Unreadable,  // exists but is not a readable regular file, is larger than
                 // maxBytes, or lies in a directory others may write to
};

// Why Replace(path, ...) would not run.
enum class Refusal {
    None,
    Link,             // the path is a symbolic link, or a file with other hard links
    SharedDirectory,  // its directory is writable by the group or by others
    NotWritable,      // anything else: no write permission, not a regular file, ...
};

// Reads the regular file at `path` (following symbolic links) into `out`.
// Never blocks on a FIFO or device, never reads more than maxBytes. A file
// in a directory that others may write to is not read: anyone could have
// put it there.
ReadStatus Read(const std::string& path, std::size_t maxBytes, std::string& out);

// Whether Replace(path, ...) may run: the file is absent or a writable
// regular file with no other name, and its directory is writable by this
// user alone. A file or directory with no write permission bit counts as
// read-only even for root.
Refusal CheckReplace(const std::string& path);
inline bool CanReplace(const std::string& path) { return CheckReplace(path) == Refusal::None; }

// Replaces the content of `path` with `data`: the data goes to a new
// temporary file in the same directory (`path` + ".XXXXXX", locked while it
// is written), is flushed to the disk and renamed over the old file, so
// readers see either the old or the new content, never a mixture, even after
// a crash or a full disk. An existing file keeps its permission bits; a new
// one is created 0600. A link is never followed nor broken: replacing a
// file through one would write into (or split off) a file of another name.
// Returns false, with the old file untouched, when CheckReplace refuses or
// any step fails.
bool Replace(const std::string& path, const std::string& data);

// Deletes the temporary files that replacements of `path` left behind when
// their process was killed: this user's regular files named `path` +
// ".XXXXXX" that no running replacement holds locked. Nothing is touched in
// a directory others may write to. Returns how many were deleted.
int RemoveLeftovers(const std::string& path);

}  // namespace AtomicFile
