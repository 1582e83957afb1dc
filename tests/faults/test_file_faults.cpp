// SPDX-License-Identifier: GPL-3.0-or-later
// The file code under injected system-call faults (the preloaded FaultShim): a read error while the
// collection or the settings are read, the order of the calls that make a save durable, and failures
// after the new file has its name.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unistd.h>

#include "ScriptedFrontend.h"
#include "session/Session.h"
#include "session/Settings.h"

namespace fs = std::filesystem;

namespace {

// Sets one of the shim's variables for the life of the guard. The shim counts reads anew only when its
// rule changes, so a rule names the test's own file: two tests in one process never share a count.
class ShimRule {
public:
    ShimRule(const char* name, const std::string& value) : m_name(name) { ::setenv(name, value.c_str(), 1); }
    ~ShimRule() { ::unsetenv(m_name); }
    ShimRule(const ShimRule&) = delete;
    ShimRule& operator=(const ShimRule&) = delete;

private:
    const char* m_name;
};

std::string records(int count) {
    std::string bytes;
    for (int k = 1; k <= count; ++k) {
        LevelRecord record;
        ClearRecord(record);
        record.StartCells[0] = static_cast<std::uint8_t>(k);
        const auto raw = record.toBytes();
        bytes.append(raw.begin(), raw.end());
    }
    return bytes;
}

// Whether `variable`'s rule makes the closing of `file` (a directory: its flush) fail: a test whose
// fault is never injected would pass without proving anything.
bool failsUnder(const char* variable, const std::string& ending, const std::string& file) {
    const ShimRule rule(variable, ending);
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (!fs::is_directory(file))
        return ::close(fd) != 0;
    const bool failed = ::fsync(fd) != 0;
    ::close(fd);
    return failed;
}

std::string readAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class FileFaults : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("tolvar-faults-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    std::string path(const std::string& name) const { return (m_dir / name).string(); }
    // The end of the path of a file of this test's own directory, as the shim's rules match it (the
    // start may differ where the temporary directory is reached through a link).
    std::string ownFile(const std::string& name) const { return "/" + (m_dir.filename() / name).string(); }

    fs::path m_dir;
};

} // namespace

TEST_F(FileFaults, AReadErrorInTheMiddleKeepsTheBoardsBeforeItAndMarksTheFileIrreplaceable) {
    std::ofstream(path("vorn.dat"), std::ios::binary) << records(120);
    const ShimRule rule("TOLVAR_FAIL_READ", ownFile("vorn.dat") + ":50");
    LevelCollection collection;
    const LoadResult result = collection.load(path("vorn.dat"));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, EIO);
    EXPECT_FALSE(result.replaceable);
    ASSERT_EQ(collection.count(), 49);
    EXPECT_EQ(collection.slot(49).StartCells[0], 49);
}

TEST_F(FileFaults, TheSessionTellsTheReadErrorAndSavesBesideTheFileThatWasNotReadCompletely) {
    const std::string original = records(120);
    std::ofstream(path("vorn.dat"), std::ios::binary) << original;
    ScriptedFrontend frontend;
    Session session{frontend};
    {
        const ShimRule rule("TOLVAR_FAIL_READ", ownFile("vorn.dat") + ":50");
        EXPECT_FALSE(session.loadCollection(CollectionFiles{path("vorn.dat"), path("vorn.dat"), 0}, {}));
    }
    EXPECT_EQ(frontend.take(), (std::vector<std::string>{"error Fileerror " + std::to_string(EIO) +
                                                         " with file " + path("vorn.dat") + "."}));
    session.selectRememberedBoard(1);
    session.EditBtnClick(true);
    session.InsertBtnClick();
    frontend.take();
    frontend.answer({true});
    session.closeSequence({});
    EXPECT_EQ(frontend.take(), (std::vector<std::string>{"ask 6", "error The boards are saved in the file " +
                                                                      path("vorn-2.dat") + "."}));
    EXPECT_EQ(readAll(path("vorn.dat")), original) << "the file that was not read completely stays as it was";
    EXPECT_EQ(fs::file_size(path("vorn-2.dat")), 50u * RecordBytes);
}

TEST_F(FileFaults, ASettingsFileThatFailsToReadIsNotRewritten) {
    const std::string text = "[Other]\nkeep=1\n[Tolvar Pegs 1]\nlevel=4\n";
    std::ofstream(path("kestrum.ini"), std::ios::binary) << text;
    const Settings settings(path("kestrum.ini"));
    const ShimRule rule("TOLVAR_FAIL_READ", ownFile("kestrum.ini") + ":1");
    const SettingsWriteResult written = settings.write(SettingKey::Level, 9);
    EXPECT_FALSE(written.ok);
    EXPECT_EQ(written.error, EIO);
    EXPECT_EQ(readAll(path("kestrum.ini")), text);
}

TEST_F(FileFaults, ASaveSyncsTheFileThenRenamesThenSyncsTheDirectory) {
    const std::string log = path("calls.log");
    LevelCollection collection;
    {
        const ShimRule rule("TOLVAR_CALL_LOG", log);
        ASSERT_TRUE(collection.save(path("vorn.dat")).ok);
    }
    std::istringstream lines(readAll(log));
    std::vector<std::string> calls;
    for (std::string line; std::getline(lines, line);)
        calls.push_back(line.substr(0, line.find(' ')) +
                        (line.find(path("vorn.dat")) != std::string::npos ? " vorn.dat" : ""));
    ASSERT_EQ(calls.size(), 3u) << readAll(log);
    EXPECT_EQ(calls[0], "fsync");
    EXPECT_EQ(calls[1], "rename vorn.dat");
    EXPECT_EQ(calls[2], "fsync-dir");
    EXPECT_NE(readAll(log).find("fsync-dir " + m_dir.string() + "\n"), std::string::npos) << readAll(log);
}

// Once the new file has its name the boards are saved: a close or a directory flush that fails after
// the rename must neither report the save failed nor keep the recovery copy that the next start would
// offer again.
TEST_F(FileFaults, AFailureAfterTheRenameStillCountsAsSaved) {
    struct Fault {
        const char* variable;
        std::string ending;
        std::string failing; // a file the rule makes fail, to see that it does
    };
    for (const Fault& fault :
         {Fault{"TOLVAR_FAIL_CLOSE", path("vorn.dat"), path("vorn.dat")},
          Fault{"TOLVAR_FAIL_DIR_SYNC", "/" + m_dir.filename().string(), m_dir.string()}}) {
        SCOPED_TRACE(fault.variable);
        std::ofstream(path("vorn.dat"), std::ios::binary) << records(2);
        ASSERT_TRUE(failsUnder(fault.variable, fault.ending, fault.failing));
        ScriptedFrontend frontend;
        Session session{frontend};
        ASSERT_TRUE(session.loadCollection(CollectionFiles{path("vorn.dat"), path("vorn.dat"), 0},
                                           path("state/vorn-recovery.dat")));
        session.selectRememberedBoard(1);
        session.EditBtnClick(true);
        session.InsertBtnClick();
        ASSERT_TRUE(fs::exists(path("state/vorn-recovery.dat")));
        frontend.take();
        frontend.answer({true});
        {
            const ShimRule rule(fault.variable, fault.ending);
            EXPECT_FALSE(session.closeSequence({}).empty());
        }
        EXPECT_EQ(frontend.take(), std::vector<std::string>{"ask 6"});
        EXPECT_EQ(fs::file_size(path("vorn.dat")), 3u * RecordBytes);
        EXPECT_FALSE(fs::exists(path("state/vorn-recovery.dat")));
    }
}
