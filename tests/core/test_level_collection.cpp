// SPDX-License-Identifier: GPL-3.0-or-later
// Loading and saving the collection file, and moving between its boards.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "storage/LevelCollection.h"

namespace fs = std::filesystem;

namespace {

class CollectionFile : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("tolvar-coll-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_path = (m_dir / "vorn.dat").string();
    }
    void TearDown() override {
        fs::permissions(m_dir, fs::perms::owner_all);
        fs::remove_all(m_dir);
    }

    // Board k carries k in its first start cell, so order and identity can be checked.
    static std::string records(int count, std::size_t tail = 0) {
        std::string bytes;
        for (int k = 1; k <= count; ++k) {
            LevelRecord r;
            r.StartCells[0] = static_cast<std::uint8_t>(k);
            r.Reserved4[0] = static_cast<std::uint8_t>(k * 7);
            const auto raw = r.toBytes();
            bytes.append(raw.begin(), raw.end());
        }
        return bytes + std::string(tail, '\x5A');
    }

    void writeFile(const std::string& bytes) const { std::ofstream(m_path, std::ios::binary) << bytes; }
    std::string readFile() const {
        std::ifstream in(m_path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::vector<std::string> otherFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir))
            if (entry.path().filename() != "vorn.dat")
                names.push_back(entry.path().filename().string());
        return names;
    }

    fs::path m_dir;
    std::string m_path;
};

} // namespace

TEST_F(CollectionFile, PartialTailIsIgnoredAndDroppedBySave) {
    writeFile(records(3, 100));
    LevelCollection c;
    EXPECT_TRUE(c.load(m_path).ok);
    ASSERT_EQ(c.count(), 3);
    EXPECT_EQ(c.slot(3).StartCells[0], 3);
    EXPECT_TRUE(c.save(m_path).ok);
    EXPECT_EQ(readFile(), records(3));
    EXPECT_TRUE(otherFiles().empty()) << "no temporary file is left behind";
}

TEST_F(CollectionFile, AtMostTwoHundredBoards) {
    writeFile(records(250));
    LevelCollection c;
    EXPECT_TRUE(c.load(m_path).ok);
    EXPECT_EQ(c.count(), LevelCollection::MaxBoards);
    EXPECT_EQ(c.slot(200).StartCells[0], 200);
}

TEST_F(CollectionFile, MissingOrTooShortGivesOneBlankBoard) {
    LevelCollection c;
    LoadResult missing = c.load(m_path);
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error, ENOENT);

    writeFile(std::string(731, '\x02'));
    LoadResult shortFile = c.load(m_path);
    EXPECT_FALSE(shortFile.ok);
    EXPECT_NE(shortFile.error, 0);
    ASSERT_EQ(c.count(), 1);
    EXPECT_EQ(c.currentNumber(), 1);
    EXPECT_EQ(c.current().Size, 7);
    for (CellCode code : c.current().StartCells)
        EXPECT_EQ(code, NoHole);
    EXPECT_EQ(readFile().size(), 731u) << "loading never writes";

    fs::create_directory(m_dir / "adir");
    EXPECT_FALSE(c.load((m_dir / "adir").string()).ok) << "a directory is not a collection";
}

TEST_F(CollectionFile, SelectWritesBackAndKeepsTheNumberInRange) {
    writeFile(records(5));
    LevelCollection c;
    c.load(m_path);
    c.setCurrentNumber(9);
    EXPECT_EQ(c.currentNumber(), 5);
    c.current().Solved = 1;
    c.select(2);
    EXPECT_EQ(c.slot(5).Solved, 1);
    EXPECT_EQ(c.current().StartCells[0], 2);
    c.select(0);
    EXPECT_EQ(c.currentNumber(), 1);

    c.current().Size = 9;
    EXPECT_TRUE(c.save(m_path).ok);
    EXPECT_EQ(LevelRecord::fromBytes(reinterpret_cast<const std::uint8_t*>(readFile().data())).Size, 9)
        << "saving writes the current record back first";
    EXPECT_FALSE(c.changed());
    c.markChanged();
    EXPECT_TRUE(c.changed());
}

TEST_F(CollectionFile, FailedCreateLeavesTheOldFile) {
    writeFile(records(4));
    LevelCollection c;
    c.load(m_path);
    c.current().Size = 5;

    // Run the save as an unprivileged user, so a read-only directory refuses even when the tests run as root.
    fs::permissions(m_dir, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    fs::permissions(m_path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::getuid() == 0 && ::setuid(65534) != 0)
            ::_exit(100);
        const SaveResult r = c.save(m_path);
        ::_exit(r.ok ? 101 : r.failedRecord);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the file could not be created, so record 0 is reported";
    EXPECT_EQ(readFile(), records(4));
}

TEST_F(CollectionFile, FullDeviceLeavesTheOldFile) {
    writeFile(records(4));
    LevelCollection c;
    c.load(m_path);
    c.current().Size = 5;

    // A file-size limit of 2000 bytes makes the device "full" during the third record.
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = old;
    limited.rlim_cur = 2000;
    ::setrlimit(RLIMIT_FSIZE, &limited);
    const SaveResult result = c.save(m_path);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failedRecord, 3);
    EXPECT_NE(result.error, 0);
    EXPECT_EQ(readFile(), records(4));
    EXPECT_TRUE(otherFiles().empty()) << "the unfinished new file is removed";
}

// The replacement keeps the old file's permissions (a collection the others may read stays readable),
// made writable for its owner only where it was not; a first file gets rw-r--r--.
TEST_F(CollectionFile, ReadOnlyFileIsReplacedAndEveryFileKeepsItsPermissions) {
    writeFile(records(2));
    LevelCollection c;
    c.load(m_path);
    for (const auto& [before, after] : {std::pair{fs::perms(0400), fs::perms(0600)},
                                        {fs::perms(0644), fs::perms(0644)},
                                        {fs::perms(0640), fs::perms(0640)}}) {
        fs::permissions(m_path, before);
        EXPECT_TRUE(c.save(m_path).ok);
        EXPECT_EQ(fs::status(m_path).permissions(), after) << std::oct << static_cast<int>(before);
        EXPECT_EQ(readFile(), records(2));
    }
    fs::remove(m_path);
    ASSERT_TRUE(c.save(m_path).ok);
    EXPECT_EQ(fs::status(m_path).permissions(), fs::perms(0644));
}

TEST_F(CollectionFile, FailedSaveToMissingDirectory) {
    LevelCollection c;
    const SaveResult r = c.save((m_dir / "missing" / "vorn.dat").string());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.failedRecord, 0);
    EXPECT_EQ(r.error, ENOENT);
}

// A file that is there but cannot be read must never be replaced by a save: the boards in it would go.
TEST_F(CollectionFile, AFileThatCannotBeOpenedOrIsNoRegularFileIsNotReplaceable) {
    writeFile(records(120));
    fs::permissions(m_path, fs::perms::none);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::getuid() == 0 && ::setuid(65534) != 0)
            ::_exit(100);
        LevelCollection c;
        const LoadResult r = c.load(m_path);
        ::_exit(!r.ok && r.error == EACCES && !r.replaceable && c.count() == 1 ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    fs::remove(m_path);
    fs::create_directory(m_path);
    LevelCollection c;
    const LoadResult inPlace = c.load(m_path);
    EXPECT_EQ(inPlace.error, EISDIR);
    EXPECT_FALSE(inPlace.replaceable);

    fs::remove(m_path);
    const LoadResult missing = c.load(m_path);
    EXPECT_EQ(missing.error, ENOENT);
    EXPECT_TRUE(missing.replaceable) << "a missing file may be created";
}
