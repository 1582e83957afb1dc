// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a file descriptor without being fooled by short reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <sys/types.h>

// Reads up to `count` bytes, going on after short and interrupted reads; returns the bytes read
// (fewer only at the end of the file) or -1 with errno set.
ssize_t ReadFully(int fd, std::uint8_t* buffer, std::size_t count);
