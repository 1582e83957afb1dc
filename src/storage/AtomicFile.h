// SPDX-License-Identifier: GPL-3.0-or-later
// A file that gets its name only when everything was written and flushed: a failed or interrupted write
// leaves the old file exactly as it was, and no half-written file behind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The file a path finally names: symbolic links followed (relative ones from their own directory),
// also when the last one points to no file yet. A loop of links is left as it is.
std::string ResolveLinks(const std::string& path);

// The directory part of a path ("." for a bare name) and the part after the last separator.
std::string DirectoryPart(const std::string& path);
std::string NamePart(const std::string& path);

class AtomicFile {
public:
    // A link in `target`'s place stays a link: the file written is the link's target, replaced in the
    // target's own directory.
    explicit AtomicFile(const std::string& target);
    ~AtomicFile(); // an unfinished new file disappears
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // False when the new file could not be created; errno tells why.
    bool created() const { return m_fd >= 0; }
    // The file that commit replaces.
    const std::string& target() const { return m_target; }

    // Writes all bytes, going on after short writes; false with errno set when the device refuses.
    bool write(const void* data, std::size_t count);

    // Flushes to the device, replaces the target and flushes the directory, so that a power cut after
    // a successful commit cannot bring the old file back. The new file keeps the old one's
    // permissions, made writable for its owner (a read-only file can be replaced); a first file gets
    // rw-r--r--. False with errno set when the target was not replaced; once it is, the commit has
    // succeeded, even if closing the file or flushing the directory fails after it.
    bool commit();

    // As commit, but only where no file has the target's name yet: EEXIST otherwise, and nothing of
    // the existing file changes.
    bool commitAsNew();

private:
    bool finish(bool replace);
    bool giveTemporaryName();

    std::string m_target;
    std::string m_directory;
    std::string m_temp; // the new file's name while it has one
    int m_fd = -1;
    bool m_unnamed = false; // made with O_TMPFILE: no name until it is complete
};
