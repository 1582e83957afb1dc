// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/BoardFile.h"

#include "storage/AtomicFile.h"
#include "storage/ReadFully.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* BoardExtension = ".vrn";

bool hasWildcard(const std::string& name) {
    return name.find_first_of("*?") != std::string::npos;
}

// An empty name field, or one holding only an extension, leaves nothing before ".vrn": such a file
// would be hidden, and no player means that name.
bool hasNoName(const std::string& name) {
    return name.empty() || name.rfind('.') == 0;
}

} // namespace

ExportResult ExportBoard(const LevelRecord& record, const std::string& path) {
    const std::string name = FileNamePart(path);
    if (hasWildcard(name) || hasNoName(name))
        return {false, EINVAL};
    AtomicFile file(path);
    if (!file.created())
        return {false, errno};
    const LevelRecord::Bytes bytes = record.toBytes();
    if (!file.write(bytes.data(), bytes.size()) || !file.commit())
        return {false, errno};
    return {};
}

ImportResult ImportBoard(const std::string& path) {
    ImportResult result;
    // Non-blocking, so a named pipe given the .vrn extension cannot hang the program at open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        result.error = errno;
        result.status = errno == ENOENT ? ImportStatus::Missing : ImportStatus::Unreadable;
        return result;
    }
    struct stat info {};
    LevelRecord::Bytes buffer{};
    ssize_t n = -1;
    if (::fstat(fd, &info) != 0)
        result.error = errno;
    else if (!S_ISREG(info.st_mode))
        result.error = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    else if ((n = ReadFully(fd, buffer.data(), buffer.size())) < 0)
        result.error = errno;
    ::close(fd);

    if (n < 0) {
        result.status = ImportStatus::Unreadable;
    } else if (n < static_cast<ssize_t>(RecordBytes)) {
        result.status = ImportStatus::TooShort;
    } else {
        result.record = LevelRecord::fromBytes(buffer);
        result.record.Solved = 0;
    }
    return result;
}

std::string ExportPath(const std::string& directory, const std::string& fileName) {
    std::string path = directory;
    if (!path.empty() && path.back() != '/')
        path += '/';
    // Only a dot inside the name's own last component starts its extension.
    const std::size_t nameStart = fileName.rfind('/') == std::string::npos ? 0 : fileName.rfind('/') + 1;
    const std::size_t dot = fileName.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot >= nameStart;
    return path + fileName.substr(0, hasExtension ? dot : std::string::npos) + BoardExtension;
}

std::string FileNamePart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
