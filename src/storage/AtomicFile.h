// A file written beside its target and put in the target's place only when everything was written
// and flushed: a failed write leaves the old file exactly as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/types.h>

class AtomicFile {
public:
    explicit AtomicFile(std::string target);
    ~AtomicFile(); // removes the unfinished new file
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // False when the new file could not be created; errno tells why.
    bool created() const { return m_created; }

    // Writes all bytes, going on after short writes; false with errno set when the device refuses.
    bool write(const void* data, std::size_t count);

    // Flushes to the device and replaces the target. The new file keeps the old one's permissions,
    // made writable for its owner (a read-only file can be replaced); a first file gets rw-r--r--.
    bool commit();

private:
    std::string m_target;
    std::string m_temp;
    int m_fd = -1;
    bool m_created = false;
    bool m_committed = false;
};
