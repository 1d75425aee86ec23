#pragma once
#include <cstddef>
#include <string>

// Whole-file reads and crash-safe whole-file replacement for small text
// files such as the settings file.
namespace AtomicFile {

enum class ReadStatus {
    Read,        // `out` holds the whole content
    Missing,     // nothing at that path
    Unreadable,  // exists but is not a readable regular file, or is larger than maxBytes
};

// Reads the regular file at `path` (following symbolic links) into `out`.
// Never blocks on a FIFO or device, never reads more than maxBytes.
ReadStatus Read(const std::string& path, std::size_t maxBytes, std::string& out);

// True when Replace(path, ...) may run: the file is absent or a writable
// regular file, and its directory is writable. A file or directory with no
// write permission bit counts as read-only even for root.
bool CanReplace(const std::string& path);

// Replaces the content of `path` with `data`: the data goes to a new
// temporary file in the same directory, is flushed to the disk and renamed
// over the old file, so readers see either the old or the new content, never
// a mixture, even after a crash or a full disk. An existing file keeps its
// permission bits; a new one is created 0600. A symbolic link is followed and
// its target replaced. Returns false, with the old file untouched, when
// CanReplace is false or any step fails.
bool Replace(const std::string& path, const std::string& data);

}  // namespace AtomicFile
