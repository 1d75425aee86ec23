// SPDX-License-Identifier: MIT
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A private-profile (INI) file held in memory: lines of "[Section]" and
// "Key=Value", read and changed with the rules the settings file has always
// had, and written back only as a whole.
//
// Reading: section and key names compare case-insensitively (ASCII); spaces
// and tabs around names and values are ignored; one pair of matching quotes
// ("..." or '...') around a value is removed; a value ends at a NUL byte and
// is cut to bufferSize - 1 bytes; anything absent reads as "". Only the first
// section of a name is used, and within it the first key of a name. Lines
// starting with ';', lines without '=' and keys before the first section are
// kept but never match.
//
// Writing: Set() replaces the value of an existing key in place (the text up
// to and including the spaces after '=' stays) or adds "Key=Value" after the
// last non-blank line of its section, or adds the section at the end of the
// file. Every other byte of the file stays as it was; new lines take the
// file's first line ending (CRLF or LF).
class PrivateProfile {
public:
    static constexpr std::size_t kValueBufferSize = 128;  // 127 characters kept
    // For values that hold a file path (the music and picture lists): a
    // whole Linux path of up to 4,096 bytes survives a save and a reload.
    static constexpr std::size_t kPathBufferSize = 4097;
    static constexpr std::size_t kMaxFileBytes = 64u << 20;

    // An empty profile for `path`; Load() fills it.
    explicit PrivateProfile(std::string path);

    // Reads the file. A missing file is an empty profile that can be saved;
    // an unreadable one (not a regular file, no read permission, larger than
    // kMaxFileBytes) also reads as empty but is never overwritten by Save().
    void Load();

    const std::string& Path() const { return m_path; }
    bool Unreadable() const { return m_unreadable; }

    std::string Get(const std::string& section, const std::string& key,
                    std::size_t bufferSize = kValueBufferSize) const;

    // The names of the keys of a section (its first section of that name),
    // in file order, as Get() would match them; empty when it is absent.
    std::vector<std::string> Keys(const std::string& section) const;

    // Changes the profile in memory. Returns false and changes nothing when
    // a name or the value could not be read back as given: an empty key,
    // '=' or a leading '[' or ';' in the key, ']' in the section, a line
    // break or NUL anywhere, or spaces around either name.
    bool Set(const std::string& section, const std::string& key, const std::string& value);

    // A new (empty) profile begins with these comment lines, each written as
    // "; " and the line ("" gives a bare ";"); lines must hold no line break.
    // Does nothing when the profile holds any text or is unreadable.
    void StartWithComment(const std::vector<std::string>& lines);

    // Writes the profile back when Set() changed it (see AtomicFile::Replace).
    // True when the file now holds what Get() returns; false, with the file
    // untouched, when it could not be written or was unreadable.
    bool Save();

    // The file's text as Save() would write it.
    const std::string& Text() const { return m_text; }

private:
    // Where a "[Section]" or "Key=" line starts in m_text, and the hash of
    // its name (a key's hash also covers its section's name). Eight bytes a
    // line: a damaged file of millions of short lines costs about its own
    // size again, not many times it.
    struct NameAt {
        std::uint32_t hash;
        std::uint32_t start;
    };
    struct Span {
        std::size_t begin, end;  // [begin, end) of a line, without its line ending
    };

    void BuildIndex() const;
    Span LineAt(std::size_t start) const;
    std::size_t NextLine(std::size_t start) const;
    // Start of the line before the line start `pos` (pos > 0).
    std::size_t PrevLineStart(std::size_t pos) const;
    // Start of the first "[section]" line, or npos.
    std::size_t FindSection(const std::string& section) const;
    // Where the section whose header starts at `header` ends (the next
    // header's start or the end of the text).
    std::size_t SectionEnd(std::size_t header) const;
    std::size_t FindKey(const std::string& section, std::size_t header, const std::string& key) const;
    // Replaces [begin, end) of the text and moves every later line's start.
    void Splice(std::size_t begin, std::size_t end, const std::string& with);
    // Inserts a whole line at the line start `at`; returns where it starts.
    std::size_t InsertLine(std::size_t at, const std::string& text);
    std::string NewLineEnding() const;

    std::string m_path;
    std::string m_text;
    // Built on the first lookup: sections in file order; keys of every
    // section, ordered by hash, then by position.
    mutable std::vector<NameAt> m_sections;
    mutable std::vector<NameAt> m_keys;
    mutable bool m_indexed = false;
    bool m_unreadable = false;
    bool m_changed = false;
};

// One-shot access to one key of a private-profile file, each a full read
// (and for the writer a full atomic rewrite) of the file.
std::string ReadPrivateProfileString(const std::string& section, const std::string& key,
                                     const std::string& path,
                                     std::size_t bufferSize = PrivateProfile::kValueBufferSize);
bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& path);
