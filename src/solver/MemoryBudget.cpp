// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/Solver.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <limits>

#include <sys/resource.h>
#include <unistd.h>

std::size_t DefaultMemoryBudget() {
    const long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGE_SIZE);
    std::size_t budget = pages > 0 && pageSize > 0
                             ? static_cast<std::size_t>(pages) * static_cast<std::size_t>(pageSize) / 2
                             : std::size_t{1} << 30;
    // An address-space limit counts the program's code and libraries as well: keep a quarter free.
    rlimit space{};
    if (getrlimit(RLIMIT_AS, &space) == 0 && space.rlim_cur != RLIM_INFINITY)
        budget = std::min(budget, static_cast<std::size_t>(space.rlim_cur / 4 * 3));
    return budget;
}

bool ParseMemoryAmount(const std::string& text, std::size_t& bytes) {
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9')
        ++digits;
    const std::string suffix = text.substr(digits);
    int shift = 0;
    if (suffix == "K")
        shift = 10;
    else if (suffix == "M")
        shift = 20;
    else if (suffix == "G")
        shift = 30;
    else if (!suffix.empty())
        return false;
    if (digits == 0 || digits > 18)
        return false;
    const unsigned long long amount = std::stoull(text.substr(0, digits));
    if (amount == 0 || amount > (std::numeric_limits<std::size_t>::max() >> shift))
        return false;
    bytes = static_cast<std::size_t>(amount) << shift;
    return true;
}

std::string MemoryText(std::size_t bytes) {
    const double mib = static_cast<double>(bytes) / (1 << 20);
    char text[32];
    if (mib >= 1024)
        std::snprintf(text, sizeof text, "%.1f GiB", mib / 1024);
    else
        std::snprintf(text, sizeof text, "%.1f MiB", mib);
    return text;
}

std::size_t ResidentBytes() {
    // The second number of statm is the resident set in pages. Read with a plain descriptor: the
    // searches ask often, and a stream would allocate.
    const int fd = ::open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char text[128];
    const ssize_t n = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (n <= 0)
        return 0;
    text[n] = '\0';
    unsigned long long size = 0, resident = 0;
    if (std::sscanf(text, "%llu %llu", &size, &resident) != 2)
        return 0;
    return static_cast<std::size_t>(resident) * static_cast<std::size_t>(sysconf(_SC_PAGE_SIZE));
}

std::size_t PeakResidentBytes() {
    // The high-water mark of the status file can be reset; the resource usage's cannot.
    const int fd = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        char text[4096];
        const ssize_t n = ::read(fd, text, sizeof text - 1);
        ::close(fd);
        if (n > 0) {
            text[n] = '\0';
            unsigned long long kib = 0;
            const char* line = std::strstr(text, "VmHWM:");
            if (line && std::sscanf(line, "VmHWM: %llu", &kib) == 1)
                return static_cast<std::size_t>(kib) * 1024;
        }
    }
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0)
        return 0;
    return static_cast<std::size_t>(usage.ru_maxrss) * 1024; // in KiB on Linux
}

void ResetPeakResident() {
    const int fd = ::open("/proc/self/clear_refs", O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    // "5" sets the high-water mark to what the process holds now.
    [[maybe_unused]] const ssize_t written = ::write(fd, "5", 1);
    ::close(fd);
}
