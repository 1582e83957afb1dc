// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/RecoveryCopy.h"

#include "storage/AtomicFile.h"
#include "storage/CollectionPlace.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// More games than these at once, each with changes of its own, are not kept apart.
constexpr int MostCopies = 99;
// The copy itself is replaced at every write, so the lock lives in a file beside it that stays.
constexpr const char* LockSuffix = ".lock";

// ".../vorn-recovery.dat" for 1, ".../vorn-recovery-2.dat" for 2 and so on.
std::string numberedPath(const std::string& firstPath, int number) {
    if (number == 1)
        return firstPath;
    const std::size_t slash = firstPath.find_last_of('/');
    const std::size_t dot = firstPath.rfind('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::size_t stemEnd = hasExtension ? dot : firstPath.size();
    return firstPath.substr(0, stemEnd) + "-" + std::to_string(number) + firstPath.substr(stemEnd);
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// The lock of one copy's name, or -1 when a running game holds it. A game that ends normally removes
// the lock file: a lock taken on a file that has meanwhile lost its name is no lock, and is tried anew.
int lockName(const std::string& lockPath) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0)
            return -1;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            return -1;
        }
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && ::stat(lockPath.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
            held.st_ino == named.st_ino)
            return fd;
        ::close(fd);
    }
    return -1;
}

} // namespace

RecoveryCopy::RecoveryCopy(std::string path, int lock, bool left)
    : m_path(std::move(path)), m_lock(lock), m_left(left) {}

RecoveryCopy RecoveryCopy::claim(const std::string& firstPath) {
    if (!MakeDirectories(DirectoryPart(firstPath)))
        return {};
    RecoveryCopy free;
    for (int number = 1; number <= MostCopies; ++number) {
        const std::string path = numberedPath(firstPath, number);
        const bool holdsChanges = exists(path);
        if (!holdsChanges && free.m_lock >= 0)
            continue;
        const int lock = lockName(path + LockSuffix);
        if (lock < 0)
            continue;
        if (holdsChanges)
            return RecoveryCopy(path, lock, true); // `free`, if any, gives its name back
        free = RecoveryCopy(path, lock, false);
    }
    return free;
}

RecoveryCopy::~RecoveryCopy() {
    release();
}

RecoveryCopy::RecoveryCopy(RecoveryCopy&& other) noexcept
    : m_path(std::exchange(other.m_path, {})), m_lock(std::exchange(other.m_lock, -1)), m_left(other.m_left) {
}

RecoveryCopy& RecoveryCopy::operator=(RecoveryCopy&& other) noexcept {
    if (this != &other) {
        release();
        m_path = std::exchange(other.m_path, {});
        m_lock = std::exchange(other.m_lock, -1);
        m_left = other.m_left;
    }
    return *this;
}

bool RecoveryCopy::write(const std::string& bytes) {
    if (m_lock < 0)
        return false;
    AtomicFile file(m_path);
    return file.created() && file.write(bytes.data(), bytes.size()) && file.commit();
}

void RecoveryCopy::remove() {
    if (m_lock >= 0)
        ::unlink(m_path.c_str());
}

// Without a copy the lock file goes too. It goes after the copy: a copy without its lock file would
// count as left by a game that is gone.
void RecoveryCopy::release() {
    if (m_lock < 0)
        return;
    if (!exists(m_path))
        ::unlink((m_path + LockSuffix).c_str());
    ::close(m_lock);
    m_lock = -1;
}
