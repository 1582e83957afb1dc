// SPDX-License-Identifier: GPL-3.0-or-later
// One recovery copy for each running game: a game holds its own while it runs, a start is offered only
// what a game that is gone left, and a normal end removes nothing but its own copy.
#include "StorageDir.h"

#include <csignal>
#include <sys/wait.h>

#include "storage/RecoveryCopy.h"

namespace fs = std::filesystem;

using RecoveryCopyTest = StorageDir;

namespace {

// Another game, in a process of its own: it claims a copy and writes `bytes` into it, then runs until
// it is killed, which ends it without removing anything.
class OtherGame {
public:
    OtherGame(const std::string& firstPath, const std::string& bytes) {
        int ready[2];
        if (::pipe(ready) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            RecoveryCopy copy = RecoveryCopy::claim(firstPath);
            const char written = copy.write(bytes) ? 'y' : 'n';
            if (::write(ready[1], &written, 1) == 1)
                ::pause();
            ::_exit(1);
        }
        ::close(ready[1]);
        char written = 'n';
        m_running = m_pid > 0 && ::read(ready[0], &written, 1) == 1 && written == 'y';
        ::close(ready[0]);
    }
    ~OtherGame() { kill(); }
    OtherGame(const OtherGame&) = delete;
    OtherGame& operator=(const OtherGame&) = delete;

    bool running() const { return m_running; }
    void kill() {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
    bool m_running = false;
};

} // namespace

TEST_F(RecoveryCopyTest, ARunningGamesCopyIsNeverOfferedAndOutlivesTheOthersNormalEnd) {
    const std::string first = path("state/tolvarpegs/vorn-recovery.dat");
    OtherGame running(first, "board 3 solved");
    ASSERT_TRUE(running.running());
    {
        RecoveryCopy second = RecoveryCopy::claim(first);
        EXPECT_EQ(second.path(), path("state/tolvarpegs/vorn-recovery-2.dat"));
        EXPECT_FALSE(second.left()) << "the changes of a game still running were offered";
        ASSERT_TRUE(second.write("nothing much"));
        second.remove();
    }
    EXPECT_EQ(readFile(first), "board 3 solved") << "a normal end removed another game's copy";

    running.kill();
    const RecoveryCopy next = RecoveryCopy::claim(first);
    EXPECT_EQ(next.path(), first);
    EXPECT_TRUE(next.left());
    EXPECT_EQ(readFile(next.path()), "board 3 solved");
    EXPECT_EQ(names("state/tolvarpegs"),
              (std::vector<std::string>{"vorn-recovery.dat", "vorn-recovery.dat.lock"}))
        << "the second game left something behind";
}

TEST_F(RecoveryCopyTest, ALeftCopyComesBeforeAFreeNameAndAGameWithoutChangesLeavesNothing) {
    fs::create_directories(m_dir / "state");
    writeFile(path("state/vorn-recovery-3.dat"), "left");
    {
        RecoveryCopy claimed = RecoveryCopy::claim(path("state/vorn-recovery.dat"));
        EXPECT_EQ(claimed.path(), path("state/vorn-recovery-3.dat"));
        EXPECT_TRUE(claimed.left());
        claimed.remove();
    }
    {
        RecoveryCopy unchanged = RecoveryCopy::claim(path("state/vorn-recovery.dat"));
        EXPECT_FALSE(unchanged.left());
        ASSERT_TRUE(unchanged.write("changes"));
        unchanged.remove();
    }
    { const RecoveryCopy untouched = RecoveryCopy::claim(path("state/vorn-recovery.dat")); }
    EXPECT_EQ(names("state"), std::vector<std::string>{});
}

TEST_F(RecoveryCopyTest, WithoutItsDirectoryThereIsNoCopyAndNothingIsWritten) {
    writeFile(path("state"), "a file where the directory belongs");
    RecoveryCopy none = RecoveryCopy::claim(path("state/tolvarpegs/vorn-recovery.dat"));
    EXPECT_TRUE(none.path().empty());
    EXPECT_FALSE(none.left());
    EXPECT_FALSE(none.write("changes"));
    EXPECT_EQ(readFile(path("state")), "a file where the directory belongs");
}
