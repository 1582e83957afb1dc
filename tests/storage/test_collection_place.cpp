// SPDX-License-Identifier: GPL-3.0-or-later
// Where the collection lives: beside a program the player can write, else the player's own copy made
// from the installed one, which is never written.
#include "StorageDir.h"

#include <cerrno>
#include <sys/wait.h>

#include "storage/CollectionPlace.h"
#include "storage/LevelCollection.h"

namespace fs = std::filesystem;

using CollectionPlaceTest = StorageDir;

TEST_F(CollectionPlaceTest, AWritableProgramDirectoryKeepsTheCollectionBesideTheProgram) {
    const CollectionFiles files = PlaceCollection(path("game/"), true, path("player/"));
    EXPECT_EQ(files.load, path("game/vorn.dat"));
    EXPECT_EQ(files.save, path("game/vorn.dat"));
    EXPECT_EQ(files.copyError, 0);
    EXPECT_FALSE(fs::exists(path("player")));
}

TEST_F(CollectionPlaceTest, AnInstalledGameCopiesTheCollectionOnceAndNeverWritesTheInstalledFile) {
    fs::create_directories(m_dir / "game");
    const std::string installed(3 * 732 + 5, 'i');
    writeFile(path("game/vorn.dat"), installed);

    const CollectionFiles first = PlaceCollection(path("game/"), false, path("data/tolvarpegs/"));
    EXPECT_EQ(first.load, path("data/tolvarpegs/vorn.dat"));
    EXPECT_EQ(first.save, first.load);
    EXPECT_EQ(first.copyError, 0);
    EXPECT_EQ(readFile(first.load), installed);
    EXPECT_EQ(names("data/tolvarpegs"), (std::vector<std::string>{"vorn.dat"}));

    // The player's boards change; a newer installed collection does not overwrite them.
    LevelCollection boards;
    boards.load(first.load);
    boards.current().Size = 5;
    ASSERT_TRUE(boards.save(first.save).ok);
    writeFile(path("game/vorn.dat"), installed + "newer");
    const CollectionFiles second = PlaceCollection(path("game/"), false, path("data/tolvarpegs/"));
    EXPECT_EQ(second.load, first.load);
    EXPECT_EQ(readFile(second.load).size(), 3u * 732);
    EXPECT_EQ(readFile(path("game/vorn.dat")), installed + "newer");
}

// Whatever stands where the player's copy belongs is the player's: a link to a file that is not there
// (moved away, on a stick pulled out) gets no copy written through it; loading it tells the player.
TEST_F(CollectionPlaceTest, ALinkWhereThePlayersCopyBelongsIsNeverWrittenThrough) {
    fs::create_directories(m_dir / "game");
    fs::create_directories(m_dir / "data");
    writeFile(path("game/vorn.dat"), std::string(732, 'i'));
    fs::create_symlink(m_dir / "moved.dat", m_dir / "data" / "vorn.dat");
    const CollectionFiles files = PlaceCollection(path("game/"), false, path("data/"));
    EXPECT_EQ(files.load, path("data/vorn.dat"));
    EXPECT_EQ(files.save, path("data/vorn.dat"));
    EXPECT_EQ(files.copyError, 0);
    EXPECT_FALSE(fs::exists(m_dir / "moved.dat")) << "a copy was written through the link";
}

TEST_F(CollectionPlaceTest, AFailedCopyIsReportedAndTheInstalledFileIsReadButNotWritten) {
    fs::create_directories(m_dir / "game");
    writeFile(path("game/vorn.dat"), std::string(732, 'i'));
    writeFile(path("data"), "a file where the data directory should be");
    const CollectionFiles files = PlaceCollection(path("game/"), false, path("data/tolvarpegs/"));
    EXPECT_EQ(files.load, path("game/vorn.dat"));
    EXPECT_EQ(files.save, path("data/tolvarpegs/vorn.dat"));
    EXPECT_EQ(files.copyError, ENOTDIR);
}

TEST_F(CollectionPlaceTest, WithoutAnInstalledCollectionNothingIsCopiedAndLoadingTellsTheMissingFile) {
    const CollectionFiles files = PlaceCollection(path("game/"), false, path("data/"));
    EXPECT_EQ(files.load, path("game/vorn.dat"));
    EXPECT_EQ(files.save, path("data/vorn.dat"));
    EXPECT_EQ(files.copyError, 0);
}

TEST_F(CollectionPlaceTest, AProgramDirectoryOfRootIsNotAnOrdinaryPlayersToWrite) {
    fs::create_directories(m_dir / "game");
    fs::permissions(m_dir / "game", fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::getuid() == 0 && ::setuid(65534) != 0)
            ::_exit(100);
        ::_exit(DirectoryWritable(path("game")) ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(CollectionPlaceTest, TheDataAndStateDirectoriesFollowXdgElseTheHomeDirectory) {
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* state = std::getenv("XDG_STATE_HOME");
    const std::string oldData = data ? data : "", oldState = state ? state : "";
    ::setenv("HOME", "/home/player", 1);
    ::setenv("XDG_DATA_HOME", "/xdg/data", 1);
    ::setenv("XDG_STATE_HOME", "relative/state", 1); // not absolute: ignored
    EXPECT_EQ(PlayerDataDirectory(), "/xdg/data/tolvarpegs/");
    EXPECT_EQ(PlayerStateDirectory(), "/home/player/.local/state/tolvarpegs/");
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(PlayerDataDirectory(), "/home/player/.local/share/tolvarpegs/");
    ::setenv("HOME", home.c_str(), 1);
    data ? ::setenv("XDG_DATA_HOME", oldData.c_str(), 1) : ::unsetenv("XDG_DATA_HOME");
    state ? ::setenv("XDG_STATE_HOME", oldState.c_str(), 1) : ::unsetenv("XDG_STATE_HOME");
}
