// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/SafeRead.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int OpenRegularFile(const std::string& path, int& error) {
    // Non-blocking, so that opening a named pipe returns at once instead of waiting for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        error = errno;
    else if (!S_ISREG(info.st_mode))
        error = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    else
        return fd;
    ::close(fd);
    return -1;
}

FileBytes ReadRegularFile(const std::string& path, std::size_t limit) {
    FileBytes result;
    const int fd = OpenRegularFile(path, result.error);
    if (fd < 0)
        return result;
    struct stat info {};
    const std::size_t claimed = ::fstat(fd, &info) == 0 ? static_cast<std::size_t>(info.st_size) : 0;
    // Room for one byte more than the file claims, which tells at once whether it ends there; read to
    // the end all the same, since the file may change while it is read.
    std::string& bytes = result.bytes;
    bytes.resize(std::min(claimed, limit) + 1);
    std::size_t done = 0;
    while (true) {
        if (done == bytes.size())
            bytes.resize(std::min(bytes.size() * 2, limit + 1));
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            result.error = errno;
            break;
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
        if (done > limit) {
            result.error = EFBIG;
            break;
        }
    }
    ::close(fd);
    bytes.resize(result.error == 0 ? done : 0);
    return result;
}
