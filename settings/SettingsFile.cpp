// SPDX-License-Identifier: MIT
#include "settings/SettingsFile.h"

#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "settings/AtomicFile.h"
#include "settings/ProfileNumber.h"

#include <atomic>
#include <cstdio>

SettingsFile::SettingsFile() : SettingsFile(ResolvePath()) {}

SettingsFile::SettingsFile(const std::string& path) : m_profile(path)
{
    m_profile.Load();
}

std::string SettingsFile::ResolvePath()
{
    // Every access asks again; the message comes when the settings start
    // going to the working directory, not at each access: the dialogs and
    // the program's end touch the file many times, and a box at the end
    // would wait for a user who has logged out.
    static std::atomic<bool> fallingBack{false};
    const std::string dir = Paths::SettingsDirectory();
    if (dir.empty()) {
        if (!fallingBack.exchange(true))
            ShowMessageBox("Error Find TempPath.", "ERROR");
        return std::string("./") + kFileName;
    }
    fallingBack = false;
    return dir + kFileName;
}

std::string SettingsFile::ReadString(const std::string& section, const std::string& key,
                                     std::size_t bufferSize) const
{
    return m_profile.Get(section, key, bufferSize);
}

int SettingsFile::ReadInt(const std::string& section, const std::string& key) const
{
    return ProfileAtoi(ReadString(section, key));
}

bool SettingsFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    return m_profile.Set(section, key, value);
}

bool SettingsFile::WriteInt(const std::string& section, const std::string& key, int value)
{
    return WriteString(section, key, ProfileItoa(value));
}

namespace {

// Whether reading the value back would trim or unquote the path: it is then
// saved inside quotes.
bool NeedsQuotes(const std::string& path)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const bool quoted =
        path.size() >= 2 && (path.front() == '"' || path.front() == '\'') && path.back() == path.front();
    return !path.empty() && (blank(path.front()) || blank(path.back()) || quoted);
}

}  // namespace

bool SettingsFile::CanHoldPath(const std::string& path)
{
    // Reading strips the quotes before it cuts the value to the buffer.
    return path.find_first_of(std::string("\r\n\0", 3)) == std::string::npos &&
           path.size() < PrivateProfile::kPathBufferSize;
}

bool SettingsFile::WritePath(const std::string& section, const std::string& key, const std::string& path)
{
    if (!CanHoldPath(path))
        return false;
    if (NeedsQuotes(path))
        return WriteString(section, key, '"' + path + '"');
    return WriteString(section, key, path);
}

bool SettingsFile::Save()
{
    if (m_profile.Save())
        return true;
    SayNotSaved();
    return false;
}

int SettingsFile::RemoveLeftovers() const
{
    return AtomicFile::RemoveLeftovers(Path());
}

namespace {
// Each reason a save failed is said once a run: the values in memory stay in
// effect, the file as it was.
std::atomic<bool> saidLink{false}, saidShared{false}, saidOther{false};
}  // namespace

void SettingsFile::ResetMessages()
{
    saidLink = saidShared = saidOther = false;
}

void SettingsFile::SayNotSaved() const
{
    switch (AtomicFile::CheckReplace(Path())) {
    case AtomicFile::Refusal::Link:
        if (!saidLink.exchange(true))
            ShowMessageBox("The settings file " + Path() +
                               " is a link to another file. The settings were not written through it; "
                               "the link was left as it is.",
                           "ERROR");
        break;
    case AtomicFile::Refusal::SharedDirectory:
        if (!saidShared.exchange(true))
            ShowMessageBox("The settings file " + Path() +
                               " is in a folder other users can write to. The settings were neither read "
                               "from it nor written to it.",
                           "ERROR");
        break;
    default:
        if (!m_profile.Unreadable() && !saidOther.exchange(true))
            std::fprintf(stderr,
                         "plovi: the settings could not be saved to %s (disk full or read-only?); the file was left as it was\n",
                         Path().c_str());
        break;
    }
}

std::string ReadProfileString(const std::string& section, const std::string& key, std::size_t bufferSize)
{
    return SettingsFile().ReadString(section, key, bufferSize);
}

int ReadProfileInt(const std::string& section, const std::string& key)
{
    return SettingsFile().ReadInt(section, key);
}

bool WriteProfileString(const std::string& section, const std::string& key, const std::string& value)
{
    SettingsFile file;
    return file.WriteString(section, key, value) && file.Save();
}

bool WriteProfileInt(const std::string& section, const std::string& key, int value)
{
    return WriteProfileString(section, key, ProfileItoa(value));
}
