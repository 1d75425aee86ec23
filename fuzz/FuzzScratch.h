// SPDX-License-Identifier: MIT
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// Scratch space for a fuzz target: a private directory in memory (/dev/shm,
// else the temp directory) made once per process, where each input is
// written as a real file so the code under test reads it through the same
// calls as in the program.
class FuzzScratch {
public:
    FuzzScratch()
    {
        std::string pattern = (::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + std::string("/plovi-fuzz-XXXXXX");
        if (!::mkdtemp(pattern.data()))
            std::abort();
        m_dir = pattern + "/";
    }
    const std::string& Dir() const { return m_dir; }  // ends with '/'

    // Writes the bytes as the whole content of Dir() + name.
    std::string Write(const std::string& name, const std::uint8_t* data, std::size_t size) const
    {
        const std::string path = m_dir + name;
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (!file || (size && std::fwrite(data, 1, size, file) != size) || std::fclose(file) != 0)
            std::abort();
        return path;
    }

private:
    std::string m_dir;
};

// A fault the sanitizers cannot see (a broken promise of the code under
// test): report it the way libFuzzer reports a crash.
#define FUZZ_CHECK(condition)                                                    \
    do {                                                                         \
        if (!(condition)) {                                                      \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                        \
        }                                                                        \
    } while (0)
