// SPDX-License-Identifier: MIT
#include "platform/InstanceLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

InstanceLock::~InstanceLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

InstanceLock::Result InstanceLock::Acquire(const std::string& directory, const std::string& name)
{
    if (m_fd >= 0)
        return Result::Acquired;
    std::string path = directory + name;
    // O_NOFOLLOW: the lock file must not be a link planted by someone else.
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return Result::Failed;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int err = errno;
        ::close(fd);
        return err == EWOULDBLOCK ? Result::Busy : Result::Failed;
    }
    m_fd = fd;
    return Result::Acquired;
}
