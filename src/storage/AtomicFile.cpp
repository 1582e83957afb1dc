#include "storage/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

mode_t modeForReplacement(const std::string& path) {
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0)
        return (old.st_mode & 07777) | S_IWUSR;
    return 0644;
}

} // namespace

AtomicFile::AtomicFile(std::string target) : m_target(std::move(target)), m_temp(m_target + ".XXXXXX") {
    m_fd = ::mkstemp(m_temp.data());
    m_created = m_fd >= 0;
}

AtomicFile::~AtomicFile() {
    const int savedErrno = errno;
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_committed && m_created)
        ::unlink(m_temp.c_str());
    errno = savedErrno;
}

bool AtomicFile::write(const void* data, std::size_t count) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(m_fd, bytes + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool AtomicFile::commit() {
    if (::fchmod(m_fd, modeForReplacement(m_target)) != 0 || ::fsync(m_fd) != 0)
        return false;
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 || ::rename(m_temp.c_str(), m_target.c_str()) != 0)
        return false;
    m_committed = true;
    return true;
}
