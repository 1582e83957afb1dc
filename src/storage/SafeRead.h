// SPDX-License-Identifier: GPL-3.0-or-later
// Opening and reading the files the program reads, so that no file can hang, exhaust or fool it: only
// a regular file is read, the open never waits (a named pipe in a file's place), and each kind of file
// has a size limit fitting it.
#pragma once

#include <cstddef>
#include <string>

namespace read_limit {
constexpr std::size_t Settings = std::size_t{1} << 20;
constexpr std::size_t Help = std::size_t{8} << 20;
// The pictures and sounds are checked against their own headers; this only bounds the memory.
constexpr std::size_t Picture = std::size_t{64} << 20;
constexpr std::size_t Sound = std::size_t{32} << 20;
} // namespace read_limit

// Opens `path` for reading if it is a regular file (links followed); returns the descriptor, or -1
// with `error` set: ENOENT and the like from the open, EISDIR for a directory, EINVAL for anything
// else that is not a regular file (a pipe, a device, a socket).
int OpenRegularFile(const std::string& path, int& error);

struct FileBytes {
    int error = 0; // 0 when the whole file was read
    std::string bytes;
    bool ok() const { return error == 0; }
};

// The whole file, or its failure: anything OpenRegularFile refuses, a read error, or EFBIG when the
// file holds more than `limit` bytes.
FileBytes ReadRegularFile(const std::string& path, std::size_t limit);
