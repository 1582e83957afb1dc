#include "storage/SafeRead.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t ChunkBytes = 64 * 1024;

} // namespace

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
    if (::fstat(fd, &info) == 0 && static_cast<std::uintmax_t>(info.st_size) <= limit)
        result.bytes.reserve(static_cast<std::size_t>(info.st_size));
    // Read to the end rather than trusting the size: the file may change while it is read.
    std::string& bytes = result.bytes;
    while (result.error == 0) {
        const std::size_t done = bytes.size();
        bytes.resize(done + ChunkBytes);
        const ssize_t n = ::read(fd, bytes.data() + done, ChunkBytes);
        if (n < 0 && errno == EINTR) {
            bytes.resize(done);
            continue;
        }
        if (n < 0)
            result.error = errno;
        bytes.resize(done + static_cast<std::size_t>(n > 0 ? n : 0));
        if (n == 0)
            break;
        if (bytes.size() > limit)
            result.error = EFBIG;
    }
    ::close(fd);
    if (result.error != 0)
        bytes.clear();
    return result;
}
