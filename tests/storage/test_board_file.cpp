// SPDX-License-Identifier: GPL-3.0-or-later
// Single-board files: export and import round trips, short and long files, failures that must
// leave an existing file alone, and the export path rule.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "storage/BoardFile.h"

namespace fs = std::filesystem;

namespace {

class BoardFile : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("tolvar-vrn-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string path(const std::string& name) const { return (m_dir / name).string(); }

    static void writeFile(const std::string& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }
    static std::string readFile(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::size_t entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()));
    }

    // Every byte distinct from its neighbours, flags set, so any shifted or dropped byte shows.
    static LevelRecord busyRecord() {
        LevelRecord::Bytes raw{};
        for (std::size_t i = 0; i < raw.size(); ++i)
            raw[i] = static_cast<std::uint8_t>((i * 37 + 11) & 0xFF);
        LevelRecord r = LevelRecord::fromBytes(raw);
        r.Original = 1;
        r.Solved = 1;
        r.SolutionMoves = 12;
        return r;
    }

    fs::path m_dir;
};

} // namespace

TEST_F(BoardFile, ExportWritesExactlyTheRecordAndImportReadsItBackWithSolvedCleared) {
    const LevelRecord record = busyRecord();
    const std::string file = path("board.vrn");
    ASSERT_TRUE(ExportBoard(record, file).ok);

    const std::string bytes = readFile(file);
    const LevelRecord::Bytes expected = record.toBytes();
    ASSERT_EQ(bytes.size(), RecordBytes);
    EXPECT_TRUE(
        std::equal(expected.begin(), expected.end(), reinterpret_cast<const std::uint8_t*>(bytes.data())));

    const ImportResult imported = ImportBoard(file);
    ASSERT_EQ(imported.status, ImportStatus::Ok);
    EXPECT_EQ(imported.record.Solved, 0);
    LevelRecord withoutSolved = record;
    withoutSolved.Solved = 0;
    EXPECT_EQ(imported.record, withoutSolved)
        << "everything else, Original and the solution included, is kept";
    EXPECT_EQ(imported.record.Original, 1);
    EXPECT_EQ(entries(), 1u) << "no temporary file is left beside it";
}

TEST_F(BoardFile, ExportReplacesAnExistingFile) {
    const std::string file = path("old.vrn");
    writeFile(file, std::string(2000, 'x'));
    ASSERT_TRUE(ExportBoard(busyRecord(), file).ok);
    EXPECT_EQ(readFile(file).size(), RecordBytes);
}

TEST_F(BoardFile, ExportThroughALinkWritesItsTargetAndKeepsTheLink) {
    fs::create_directories(m_dir / "boards");
    writeFile(path("boards/mine.vrn"), "old");
    fs::create_symlink("boards/mine.vrn", m_dir / "link.vrn");
    ASSERT_TRUE(ExportBoard(busyRecord(), path("link.vrn")).ok);
    EXPECT_TRUE(fs::is_symlink(path("link.vrn")));
    EXPECT_EQ(readFile(path("boards/mine.vrn")).size(), RecordBytes);
    EXPECT_EQ(entries(), 2u);
}

TEST_F(BoardFile, ImportOfShortLongEmptyAndMissingFiles) {
    const auto raw = busyRecord().toBytes();
    const std::string record(raw.begin(), raw.end());

    writeFile(path("short.vrn"), record.substr(0, 700));
    EXPECT_EQ(ImportBoard(path("short.vrn")).status, ImportStatus::TooShort);
    writeFile(path("almost.vrn"), record.substr(0, 731));
    EXPECT_EQ(ImportBoard(path("almost.vrn")).status, ImportStatus::TooShort);
    writeFile(path("empty.vrn"), "");
    EXPECT_EQ(ImportBoard(path("empty.vrn")).status, ImportStatus::TooShort);

    writeFile(path("long.vrn"), record + std::string(1000 - RecordBytes, '\xEE'));
    const ImportResult longFile = ImportBoard(path("long.vrn"));
    ASSERT_EQ(longFile.status, ImportStatus::Ok);
    EXPECT_EQ(longFile.record.Reserved4, busyRecord().Reserved4) << "the first 732 bytes, nothing after them";

    const ImportResult missing = ImportBoard(path("gone.vrn"));
    EXPECT_EQ(missing.status, ImportStatus::Missing);
    EXPECT_EQ(missing.error, ENOENT);
}

TEST_F(BoardFile, ImportRefusesWhatIsNotAPlainFile) {
    fs::create_directory(path("folder.vrn"));
    const ImportResult folder = ImportBoard(path("folder.vrn"));
    EXPECT_EQ(folder.status, ImportStatus::Unreadable);
    EXPECT_EQ(folder.error, EISDIR);

    // A named pipe would block an ordinary open until a writer comes; it must be refused at once.
    ASSERT_EQ(::mkfifo(path("pipe.vrn").c_str(), 0600), 0);
    EXPECT_EQ(ImportBoard(path("pipe.vrn")).status, ImportStatus::Unreadable);
}

TEST_F(BoardFile, ImportKeepsOutOfRangeBytesAsTheyAre) {
    writeFile(path("hostile.vrn"), std::string(RecordBytes, '\xFF'));
    const ImportResult hostile = ImportBoard(path("hostile.vrn"));
    ASSERT_EQ(hostile.status, ImportStatus::Ok);
    EXPECT_EQ(hostile.record.Size, 0xFF);
    EXPECT_EQ(hostile.record.StartCells[40], 0xFF);
    EXPECT_EQ(hostile.record.Solved, 0);
    EXPECT_EQ(hostile.record.Names[0].text().size(), static_cast<std::size_t>(NameCapacity))
        << "a damaged length byte still reads within the slot";
}

// A write that the system refuses part-way (here: the file size limit) leaves the old file as it
// was and no half-written file beside it. This works even for root, who ignores permissions.
TEST_F(BoardFile, FailedExportLeavesTheOldFileIntact) {
    const std::string file = path("keep.vrn");
    const std::string old(RecordBytes, 'o');
    writeFile(file, old);

    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const ExportResult result = ExportBoard(busyRecord(), file);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, EFBIG);
    EXPECT_EQ(readFile(file), old);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(BoardFile, ExportIntoAMissingDirectoryFailsWithItsError) {
    const ExportResult result = ExportBoard(busyRecord(), path("nowhere/board.vrn"));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, ENOENT);
}

TEST_F(BoardFile, ExportRefusesThePlaceholderAndNamesWithNothingBeforeTheExtension) {
    for (const char* typed : {"*.vrn", "a?.vrn", "", ".vrn", ".txt", "."}) {
        const ExportResult result = ExportBoard(busyRecord(), ExportPath(m_dir.string(), typed));
        EXPECT_FALSE(result.ok) << '"' << typed << '"';
        EXPECT_EQ(result.error, EINVAL) << '"' << typed << '"';
    }
    EXPECT_EQ(entries(), 0u) << "not even a hidden .vrn file";
    EXPECT_TRUE(ExportBoard(busyRecord(), ExportPath(m_dir.string(), ".mine.txt")).ok)
        << "a hidden name the player typed out is a name";
    EXPECT_TRUE(ExportBoard(busyRecord(), ExportPath(m_dir.string(), "x")).ok);
    EXPECT_EQ(entries(), 2u);
}

TEST(ExportPath, SeparatorIsAddedOnlyWhereMissing) {
    EXPECT_EQ(ExportPath("/ab", "noname.vrn"), "/ab/noname.vrn");
    EXPECT_EQ(ExportPath("/ab/", "noname.vrn"), "/ab/noname.vrn");
    EXPECT_EQ(ExportPath("/", "noname.vrn"), "/noname.vrn");
    EXPECT_EQ(ExportPath("", "noname.vrn"), "noname.vrn");
}

TEST(ExportPath, ExtensionIsSetToVrn) {
    EXPECT_EQ(ExportPath("/d", "mine.txt"), "/d/mine.vrn");
    EXPECT_EQ(ExportPath("/d", "mine"), "/d/mine.vrn");
    EXPECT_EQ(ExportPath("/d", "mine.vrn"), "/d/mine.vrn");
    EXPECT_EQ(ExportPath("/d", "a.b.c"), "/d/a.b.vrn") << "only the last dot starts the extension";
    EXPECT_EQ(ExportPath("/d", "mine."), "/d/mine.vrn");
    EXPECT_EQ(ExportPath("/d", "v1.2/mine"), "/d/v1.2/mine.vrn") << "a dot in a folder is no extension";
}

TEST(ExportPath, FileNamePartDropsTheDirectory) {
    EXPECT_EQ(FileNamePart("/a/b/mine.vrn"), "mine.vrn");
    EXPECT_EQ(FileNamePart("mine.vrn"), "mine.vrn");
}
