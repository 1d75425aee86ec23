// SPDX-License-Identifier: MIT
#pragma once
#include <string>

// A private temporary directory, removed with everything in it when the
// object goes away. Tests write real files here.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // The directory, ending with '/'.
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// Sets an environment variable for the life of the object and restores the
// old value (or unsets it) afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);  // value nullptr: unset
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    std::string m_old;
    bool m_hadOld;
};

// Reads a whole file; "" when it cannot be read.
std::string ReadWholeFile(const std::string& path);
bool FileExists(const std::string& path);
