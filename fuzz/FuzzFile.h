// SPDX-License-Identifier: GPL-3.0-or-later
// What the fuzz targets share: a scratch file of this process to hand the input to the file code, and
// the rule that turns a violated property into a crash the fuzzer reports.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fuzz {

// A path in the temporary directory, one per process and name.
inline std::string ScratchPath(const std::string& name) {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp && *tmp ? tmp : "/tmp") + "/tolvar-fuzz-" + std::to_string(::getpid()) + "-" +
           name;
}

inline void WriteScratch(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size)
        std::abort();
    std::fclose(file);
}

inline void Require(bool property, const char* what) {
    if (!property) {
        std::fprintf(stderr, "property violated: %s\n", what);
        std::abort();
    }
}

} // namespace fuzz
