// SPDX-License-Identifier: MIT
#pragma once
#include <string>

// A named lock held for the life of the process: a file of that name in the
// runtime directory, locked with flock(LOCK_EX | LOCK_NB). The kernel drops
// the lock when the process ends, so a crash never leaves a stale lock.
class InstanceLock {
public:
    enum class Result { Acquired, Busy, Failed };

    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Tries to take the lock "name" inside directory (which ends with '/').
    // Busy: another process holds it. Failed: the file could not be opened.
    Result Acquire(const std::string& directory, const std::string& name);

private:
    int m_fd = -1;
};
