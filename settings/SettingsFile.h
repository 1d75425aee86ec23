// SPDX-License-Identifier: MIT
#pragma once
#include "settings/PrivateProfile.h"

#include <cstddef>
#include <string>
#include <vector>

// The sections of the settings file and the parts of the program that own
// them: start-up reader, start-up reader and Fish Settings dialog, Custom
// Background dialog, Custom Music dialog.
namespace SettingsSection {
constexpr const char* kAquarium = "Aquarium Settings";
constexpr const char* kFishNumber = "Fish Number";
constexpr const char* kCustomImages = "Custom Images";
constexpr const char* kCustomMusic = "Custom Settings";
}  // namespace SettingsSection

// The program's settings file, "PloviSet.ini" in the settings directory
// (Paths::SettingsDirectory()). One object is one access: it finds the file,
// reads it once, collects writes in memory and writes them with Save() as
// one atomic replacement. The result is the same file text that writing the
// keys one by one would give, but a crash or a full disk can no longer leave
// half of a batch behind.
//
// When the settings directory cannot be found or created, the access uses
// "./PloviSet.ini" in the current directory instead; the first such access
// after one that found the directory (or the first of the run) shows
// "Error Find TempPath." (caption "ERROR"), the others say nothing.
class SettingsFile {
public:
    static constexpr const char* kFileName = "PloviSet.ini";

    SettingsFile();
    // A settings file at an explicit path; shows no message.
    explicit SettingsFile(const std::string& path);

    // The path an access uses now (shows the message when it starts to
    // fall back).
    static std::string ResolvePath();

    const std::string& Path() const { return m_profile.Path(); }

    // The value as text, "" when absent; at most bufferSize - 1 bytes.
    std::string ReadString(const std::string& section, const std::string& key,
                           std::size_t bufferSize = PrivateProfile::kValueBufferSize) const;
    // See PrivateProfile::Keys.
    std::vector<std::string> Keys(const std::string& section) const { return m_profile.Keys(section); }
    // ProfileAtoi of the value; 0 when absent or not a number.
    int ReadInt(const std::string& section, const std::string& key) const;

    // Stage a value for Save(); false when the names or value cannot be
    // stored (see PrivateProfile::Set).
    bool WriteString(const std::string& section, const std::string& key, const std::string& value);
    // The value written with "%d".
    bool WriteInt(const std::string& section, const std::string& key, int value);
    // A file path (bytes as the file system names it), stored so that
    // ReadString with PrivateProfile::kPathBufferSize gives it back whole:
    // quoted when reading would trim its outer spaces or tabs or strip a
    // pair of quotes around it. False when no value can hold it (a line
    // break or NUL in it).
    bool WritePath(const std::string& section, const std::string& key, const std::string& path);
    // Whether WritePath can store the path so that it reads back whole: no
    // line break or NUL, and short enough for kPathBufferSize.
    static bool CanHoldPath(const std::string& path);

    // A file that does not exist yet (or is empty) begins with these
    // comment lines; see PrivateProfile::StartWithComment.
    void StartWithComment(const std::vector<std::string>& lines) { m_profile.StartWithComment(lines); }

    // Writes the staged values. False, with the file as it was, when the file
    // is read-only, unreadable or cannot be replaced. Callers may ignore it:
    // the values in memory stay in effect for this run either way. The
    // settings are never written through a link (the link stays, and a
    // message says so once a run) nor into a folder other users can write
    // to (whose file is not read either; also said once a run).
    bool Save();

    // Deletes the temporary files that saves killed midway left beside the
    // file (see AtomicFile::RemoveLeftovers); for the start of the program.
    int RemoveLeftovers() const;

    // Lets every message about a failed save be said once more (tests).
    static void ResetMessages();

private:
    void SayNotSaved() const;

    PrivateProfile m_profile;
};

// One access per call: find the file, read (or read, change and write) one key.
std::string ReadProfileString(const std::string& section, const std::string& key,
                              std::size_t bufferSize = PrivateProfile::kValueBufferSize);
int ReadProfileInt(const std::string& section, const std::string& key);
bool WriteProfileString(const std::string& section, const std::string& key, const std::string& value);
bool WriteProfileInt(const std::string& section, const std::string& key, int value);
