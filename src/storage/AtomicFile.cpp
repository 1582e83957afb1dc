// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int MaxLinkHops = 40;
// A new file is named "<target's name>.tolvar-" and six characters while it is being put in place.
constexpr const char* TemporaryInfix = ".tolvar-";
constexpr std::size_t TemporarySuffixLength = 6;
constexpr int NameAttempts = 100;

mode_t modeForReplacement(const std::string& path) {
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0)
        return (old.st_mode & 07777) | S_IWUSR;
    return 0644;
}

std::string randomSuffix() {
    static constexpr char Alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof Alphabet - 2);
    std::string suffix;
    for (std::size_t i = 0; i < TemporarySuffixLength; ++i)
        suffix += Alphabet[pick(generator)];
    return suffix;
}

bool isOurTemporary(const std::string& name, const std::string& prefix) {
    return name.size() == prefix.size() + TemporarySuffixLength &&
           name.compare(0, prefix.size(), prefix) == 0;
}

// Removes what earlier runs left when they were stopped between naming a new file and renaming it. A
// writer holds a lock on its new file until it is done, and the lock goes when the writer dies: a
// temporary name of ours that can be locked belongs to nobody any more.
void removeStaleTemporaries(const std::string& directory, const std::string& name) {
    DIR* dir = ::opendir(directory.c_str());
    if (!dir)
        return;
    const std::string prefix = name + TemporaryInfix;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string candidate = entry->d_name;
        if (!isOurTemporary(candidate, prefix))
            continue;
        const std::string path = directory + "/" + candidate;
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.c_str());
        ::close(fd);
    }
    ::closedir(dir);
}

void syncDirectory(const std::string& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

std::string DirectoryPart(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string NamePart(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ResolveLinks(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= target.size())
            return current;
        target.resize(static_cast<std::size_t>(n));
        current = target.front() == '/' ? target : DirectoryPart(current) + "/" + target;
    }
    return path;
}

AtomicFile::AtomicFile(const std::string& target)
    : m_target(ResolveLinks(target)), m_directory(DirectoryPart(m_target)) {
    struct stat info {};
    if (::lstat(m_target.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        errno = ELOOP; // links without end: writing here would put a plain file in a link's place
        return;
    }
    removeStaleTemporaries(m_directory, NamePart(m_target));
    m_fd = ::open(m_directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (m_fd >= 0) {
        m_unnamed = true;
    } else {
        // Some file systems have no unnamed files; the new file then has its temporary name from the start.
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return;
        m_temp = m_target + TemporaryInfix + "XXXXXX";
        m_fd = ::mkstemp(m_temp.data());
        if (m_fd < 0) {
            m_temp.clear();
            return;
        }
    }
    // Held until the file is closed, so that no other writer takes its temporary name for a stale one.
    ::flock(m_fd, LOCK_EX);
}

AtomicFile::~AtomicFile() {
    const int savedErrno = errno;
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_temp.empty())
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
    return finish(true);
}

bool AtomicFile::commitAsNew() {
    return finish(false);
}

// Links the unnamed file under a fresh temporary name beside the target; rename then replaces.
bool AtomicFile::giveTemporaryName() {
    const std::string descriptor = "/proc/self/fd/" + std::to_string(m_fd);
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        const std::string name = m_target + TemporaryInfix + randomSuffix();
        if (::linkat(AT_FDCWD, descriptor.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            m_temp = name;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

bool AtomicFile::finish(bool replace) {
    if (m_fd < 0) {
        errno = EBADF;
        return false;
    }
    if (::fchmod(m_fd, modeForReplacement(m_target)) != 0 || ::fsync(m_fd) != 0)
        return false;
    if (!replace && m_unnamed) {
        // Named straight with the target's name, which fails when a file already has it.
        const std::string descriptor = "/proc/self/fd/" + std::to_string(m_fd);
        if (::linkat(AT_FDCWD, descriptor.c_str(), AT_FDCWD, m_target.c_str(), AT_SYMLINK_FOLLOW) != 0)
            return false;
    } else {
        if (m_unnamed && !giveTemporaryName())
            return false;
        const bool placed = replace ? ::rename(m_temp.c_str(), m_target.c_str()) == 0
                                    : ::link(m_temp.c_str(), m_target.c_str()) == 0;
        if (!placed)
            return false;
        if (replace)
            m_temp.clear();
    }
    // The file has its name now and every byte of it was flushed before: a close or a flush of the
    // directory that fails from here on cannot take it away again. Calling the write failed would tell
    // the player that boards are lost which are in place.
    ::close(m_fd);
    m_fd = -1;
    syncDirectory(m_directory);
    return true;
}
