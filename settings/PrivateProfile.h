#pragma once
#include <cstddef>
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

    // Changes the profile in memory. Returns false and changes nothing when
    // a name or the value could not be read back as given: an empty key,
    // '=' or a leading '[' or ';' in the key, ']' in the section, a line
    // break or NUL anywhere, or spaces around either name.
    bool Set(const std::string& section, const std::string& key, const std::string& value);

    // Writes the profile back when Set() changed it (see AtomicFile::Replace).
    // True when the file now holds what Get() returns; false, with the file
    // untouched, when it could not be written or was unreadable.
    bool Save();

    // The file's text as Save() would write it.
    std::string Text() const;

private:
    enum class LineKind { Other, Section, Key };
    struct Line {
        std::string text;    // without its line ending
        std::string ending;  // "\n", "\r\n" or "" for a last line without one
        LineKind kind = LineKind::Other;
        std::string name;         // section or key name, trimmed
        std::size_t valueAt = 0;  // Key: where the value starts in text
    };

    void Parse(const std::string& content);
    static Line ParseLine(std::string text, std::string ending);
    // Index of the first section header called `section`, or npos.
    std::size_t FindSection(const std::string& section) const;
    // End of the section whose header is at `header` (next header or size()).
    std::size_t SectionEnd(std::size_t header) const;
    std::size_t FindKey(std::size_t header, const std::string& key) const;
    void InsertLine(std::size_t at, const std::string& text);
    std::string NewLineEnding() const;

    std::string m_path;
    std::vector<Line> m_lines;
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
