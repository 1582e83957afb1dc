// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/CollectionPlace.h"

#include "storage/AtomicFile.h"
#include "storage/SafeRead.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* GameFolder = "tolvarpegs/";
// The installed collection is copied whole; 200 records and a partial tail fit easily.
constexpr std::size_t CopyLimit = 1024 * 1024;

// `$VARIABLE/tolvarpegs/` when the variable holds an absolute path, else `~/FALLBACK/tolvarpegs/`.
std::string xdgDirectory(const char* variable, const char* fallback) {
    const char* xdg = std::getenv(variable);
    if (xdg && *xdg == '/')
        return std::string(xdg) + "/" + GameFolder;
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/" + fallback + "/" + GameFolder;
}

// 0, or the errno of the failure. A copy made by another start meanwhile counts as made.
int copyInstalled(const FileBytes& source, const std::string& player) {
    if (!source.ok())
        return source.error;
    if (!MakeDirectories(DirectoryPart(player)))
        return errno;
    AtomicFile copy(player);
    if (!copy.created() || !copy.write(source.bytes.data(), source.bytes.size()))
        return errno;
    if (!copy.commitAsNew() && errno != EEXIST)
        return errno;
    return 0;
}

} // namespace

std::string PlayerDataDirectory() {
    return xdgDirectory("XDG_DATA_HOME", ".local/share");
}

std::string PlayerStateDirectory() {
    return xdgDirectory("XDG_STATE_HOME", ".local/state");
}

bool DirectoryWritable(const std::string& directory) {
    return ::access(directory.c_str(), W_OK | X_OK) == 0;
}

bool MakeDirectories(const std::string& directory) {
    for (std::size_t pos = 1; pos != std::string::npos;) {
        pos = directory.find('/', pos + 1);
        const std::string part = directory.substr(0, pos);
        if (!part.empty() && ::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
    }
    struct stat info {};
    if (::stat(directory.c_str(), &info) != 0)
        return false;
    if (!S_ISDIR(info.st_mode)) {
        errno = ENOTDIR;
        return false;
    }
    return true;
}

CollectionFiles PlaceCollection(const std::string& programDir, bool programDirWritable,
                                const std::string& playerDir) {
    const std::string installed = programDir + CollectionFileName;
    if (programDirWritable)
        return {installed, installed, 0};
    const std::string own = playerDir + CollectionFileName;
    struct stat info {};
    // Whatever stands there (a link, even a broken file) is the player's: never replaced by a copy.
    if (::lstat(own.c_str(), &info) == 0)
        return {own, own, 0};
    const FileBytes source = ReadRegularFile(installed, CopyLimit);
    // Without an installed file there is nothing to copy: loading it reports the missing file.
    if (source.error == ENOENT)
        return {installed, own, 0};
    const int error = copyInstalled(source, own);
    return {error == 0 ? own : installed, own, error};
}

FileStamp StampOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {};
    constexpr std::int64_t NsPerSecond = 1000000000;
    return {true, static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::int64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * NsPerSecond + info.st_mtim.tv_nsec};
}
