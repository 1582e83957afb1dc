// SPDX-License-Identifier: GPL-3.0-or-later
// Replacing files safely: links stay links, nothing half-written survives a kill, and a new file never
// takes the place of an existing one.
#include "StorageDir.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

#include "storage/AtomicFile.h"

namespace fs = std::filesystem;

namespace {

bool replace(const std::string& target, const std::string& bytes) {
    AtomicFile file(target);
    return file.created() && file.write(bytes.data(), bytes.size()) && file.commit();
}

bool isLink(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

} // namespace

using AtomicFileTest = StorageDir;

TEST_F(AtomicFileTest, SavingThroughLinksWritesTheTargetInItsOwnDirectoryAndKeepsTheLinks) {
    fs::create_directories(m_dir / "elsewhere" / "deeper");
    writeFile(path("elsewhere/deeper/boards.dat"), "old");
    // A relative link to a relative link: each is read from its own directory.
    fs::create_symlink("deeper/boards.dat", m_dir / "elsewhere" / "hop");
    fs::create_symlink("elsewhere/hop", m_dir / "vorn.dat");

    ASSERT_TRUE(replace(path("vorn.dat"), "new"));
    EXPECT_TRUE(isLink(path("vorn.dat")));
    EXPECT_TRUE(isLink(path("elsewhere/hop")));
    EXPECT_EQ(readFile(path("elsewhere/deeper/boards.dat")), "new");
    EXPECT_EQ(names(), (std::vector<std::string>{"elsewhere", "vorn.dat"}));
    EXPECT_EQ(names("elsewhere/deeper"), (std::vector<std::string>{"boards.dat"}));
}

TEST_F(AtomicFileTest, ALinkToAFileNotYetThereCreatesItAndALoopFails) {
    fs::create_directories(m_dir / "keep");
    fs::create_symlink(m_dir / "keep" / "kestrum.ini", m_dir / "kestrum.ini");
    ASSERT_TRUE(replace(path("kestrum.ini"), "[x]\n"));
    EXPECT_TRUE(isLink(path("kestrum.ini")));
    EXPECT_EQ(readFile(path("keep/kestrum.ini")), "[x]\n");

    fs::create_symlink("loop-b", m_dir / "loop-a");
    fs::create_symlink("loop-a", m_dir / "loop-b");
    EXPECT_FALSE(replace(path("loop-a"), "x"));
    EXPECT_TRUE(isLink(path("loop-a")));
}

TEST_F(AtomicFileTest, ANewFileNeverReplacesAnExistingOne) {
    writeFile(path("vorn-2.dat"), "theirs");
    {
        AtomicFile file(path("vorn-2.dat"));
        ASSERT_TRUE(file.created());
        ASSERT_TRUE(file.write("mine", 4));
        EXPECT_FALSE(file.commitAsNew());
        EXPECT_EQ(errno, EEXIST);
    }
    EXPECT_EQ(readFile(path("vorn-2.dat")), "theirs");
    AtomicFile fresh(path("vorn-3.dat"));
    ASSERT_TRUE(fresh.write("mine", 4));
    EXPECT_TRUE(fresh.commitAsNew());
    EXPECT_EQ(readFile(path("vorn-3.dat")), "mine");
    EXPECT_EQ(names(), (std::vector<std::string>{"vorn-2.dat", "vorn-3.dat"}));
}

TEST_F(AtomicFileTest, SavesKilledAtRandomMomentsLeaveOneCompleteFileAndNothingElse) {
    const std::string target = path("vorn.dat");
    const std::string first(200 * 732, 'a');
    const std::string second(200 * 732, 'b');
    ASSERT_TRUE(replace(target, first));
    for (int round = 0; round < 60; ++round) {
        const pid_t child = ::fork();
        if (child == 0) {
            for (int k = 0;; ++k)
                replace(target, k % 2 ? first : second);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500 + 397 * round % 7000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string now = readFile(target);
        ASSERT_TRUE(now == first || now == second) << "round " << round;
    }
    // The next save clears whatever a kill left between naming the new file and renaming it.
    ASSERT_TRUE(replace(target, first));
    EXPECT_EQ(names(), (std::vector<std::string>{"vorn.dat"}));
}

TEST_F(AtomicFileTest, StaleTemporariesOfOursAreRemovedThoseInUseAndOthersStay) {
    for (const char* name : {"vorn.dat.tolvar-Ab12Cd", "vorn.dat.tolvar-inUse1", "vorn.dat.tolvar-toolong7",
                             "vorn.dat.backup", "other.dat.tolvar-Ab12Cd"})
        writeFile(path(name), "x");
    // Another writer, still at work, holds its new file locked.
    const int writer = ::open(path("vorn.dat.tolvar-inUse1").c_str(), O_RDONLY);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::flock(writer, LOCK_EX), 0);
    ASSERT_TRUE(replace(path("vorn.dat"), "new"));
    ::close(writer);
    EXPECT_EQ(names(), (std::vector<std::string>{"other.dat.tolvar-Ab12Cd", "vorn.dat", "vorn.dat.backup",
                                                 "vorn.dat.tolvar-inUse1", "vorn.dat.tolvar-toolong7"}));
}

TEST_F(AtomicFileTest, AnUnfinishedFileLeavesNoTrace) {
    writeFile(path("vorn.dat"), "old");
    {
        AtomicFile file(path("vorn.dat"));
        ASSERT_TRUE(file.write("half", 4));
    }
    EXPECT_EQ(readFile(path("vorn.dat")), "old");
    EXPECT_EQ(names(), (std::vector<std::string>{"vorn.dat"}));
}
