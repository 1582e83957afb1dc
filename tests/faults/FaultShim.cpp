// SPDX-License-Identifier: GPL-3.0-or-later
// A library the fault tests preload (LD_PRELOAD) to make system calls fail on purpose and to write
// down the calls that make a file durable. It does nothing unless its variables are set:
//
//   TOLVAR_FAIL_READ=SUFFIX:N   the Nth read (from 1) of a file whose path ends with SUFFIX fails
//                               with EIO; counting starts again whenever the value changes
//   TOLVAR_FAIL_CLOSE=PATH      closing the file that PATH names at the time of the close closes it,
//                               then reports EIO; told by the file itself, since a file made without a
//                               name (O_TMPFILE) keeps its nameless path in /proc even once it has one
//   TOLVAR_FAIL_DIR_SYNC=SUFFIX an fsync of a directory whose path ends with SUFFIX reports EIO
//   TOLVAR_CALL_LOG=FILE        appends "rename FROM TO", "fsync FILE" and "fsync-dir DIRECTORY" lines
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

char lastRule[4096];
long readsSeen;

int pathOf(int fd, char* path, size_t size) {
    char link[64];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, path, size - 1);
    if (n < 0)
        return 0;
    path[n] = '\0';
    return 1;
}

int endsWith(const char* text, const char* suffix) {
    const size_t a = strlen(text);
    const size_t b = strlen(suffix);
    return a >= b && strcmp(text + a - b, suffix) == 0;
}

void logLine(const char* what, const char* first, const char* second) {
    const char* file = getenv("TOLVAR_CALL_LOG");
    if (!file || !*file)
        return;
    FILE* out = fopen(file, "a");
    if (!out)
        return;
    if (second)
        fprintf(out, "%s %s %s\n", what, first, second);
    else
        fprintf(out, "%s %s\n", what, first);
    fclose(out);
}

int readShouldFail(int fd) {
    const char* rule = getenv("TOLVAR_FAIL_READ");
    if (!rule || !*rule)
        return 0;
    if (strncmp(rule, lastRule, sizeof lastRule) != 0) {
        strncpy(lastRule, rule, sizeof lastRule - 1);
        readsSeen = 0;
    }
    const char* colon = strrchr(rule, ':');
    char path[4096];
    if (!colon || !pathOf(fd, path, sizeof path))
        return 0;
    char suffix[4096];
    const size_t length = std::min<std::size_t>(static_cast<std::size_t>(colon - rule), sizeof suffix - 1);
    memcpy(suffix, rule, length);
    suffix[length] = '\0';
    if (!endsWith(path, suffix))
        return 0;
    return ++readsSeen == std::atol(colon + 1);
}

// Whether the rule in `variable` names the file open on `fd`.
int ruleNames(const char* variable, int fd) {
    const char* suffix = getenv(variable);
    char path[4096];
    return suffix && *suffix && pathOf(fd, path, sizeof path) && endsWith(path, suffix);
}

// Whether `fd` is open on the file that the path in `variable` names.
int ruleNamesFile(const char* variable, int fd) {
    const char* named = getenv(variable);
    struct stat file;
    struct stat held;
    return named && *named && stat(named, &file) == 0 && fstat(fd, &held) == 0 &&
           file.st_dev == held.st_dev && file.st_ino == held.st_ino;
}

} // namespace

extern "C" ssize_t read(int fd, void* buffer, size_t count) {
    static auto real = reinterpret_cast<ssize_t (*)(int, void*, size_t)>(dlsym(RTLD_NEXT, "read"));
    if (readShouldFail(fd)) {
        errno = EIO;
        return -1;
    }
    return real(fd, buffer, count);
}

extern "C" int rename(const char* from, const char* to) noexcept {
    static auto real = reinterpret_cast<int (*)(const char*, const char*)>(dlsym(RTLD_NEXT, "rename"));
    const int result = real(from, to);
    if (result == 0)
        logLine("rename", from, to);
    return result;
}

extern "C" int fsync(int fd) {
    static auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    const int result = real(fd);
    struct stat info;
    char path[4096];
    const int directory = fstat(fd, &info) == 0 && S_ISDIR(info.st_mode);
    if (result == 0 && pathOf(fd, path, sizeof path))
        logLine(directory ? "fsync-dir" : "fsync", path, nullptr);
    if (directory && ruleNames("TOLVAR_FAIL_DIR_SYNC", fd)) {
        errno = EIO;
        return -1;
    }
    return result;
}

extern "C" int close(int fd) {
    static auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "close"));
    const int fails = ruleNamesFile("TOLVAR_FAIL_CLOSE", fd);
    const int result = real(fd);
    if (fails) {
        errno = EIO;
        return -1;
    }
    return result;
}
