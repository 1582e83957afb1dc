// SPDX-License-Identifier: GPL-3.0-or-later
// Where the collection lives. A program directory the player can write (the build tree, a copy in the
// home directory) keeps `vorn.dat` beside the program. An installed game's directory is not the
// player's: the player then has a copy of its own in the data directory, made from the installed one
// at the first start, and the installed file is never written.
#pragma once

#include <cstdint>
#include <string>

constexpr const char* CollectionFileName = "vorn.dat";

// `$XDG_DATA_HOME/tolvarpegs/`, else `~/.local/share/tolvarpegs/` (ending with a separator).
std::string PlayerDataDirectory();
// `$XDG_STATE_HOME/tolvarpegs/`, else `~/.local/state/tolvarpegs/` (ending with a separator).
std::string PlayerStateDirectory();

// Whether this process may create and replace files in `directory`.
bool DirectoryWritable(const std::string& directory);

// Creates `directory` and its missing parents (for the player only); true when it exists afterwards.
bool MakeDirectories(const std::string& directory);

struct CollectionFiles {
    std::string load;  // the file the boards are read from
    std::string save;  // the file a save at close writes
    int copyError = 0; // errno of a failed first copy into the player's directory, else 0
};

// The collection file of a game in `programDir` (ending with a separator): beside the program when
// `programDirWritable`, otherwise the player's copy in `playerDir`, created from the program
// directory's file (atomically) when there is none yet. When that copy fails, the boards are read
// from the installed file and a save goes to the player's copy all the same.
CollectionFiles PlaceCollection(const std::string& programDir, bool programDirWritable,
                                const std::string& playerDir);

// What tells one state of a file from another: a save replaces the file (another inode) or changes
// its size or modification time. Links are followed.
struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;

    bool operator==(const FileStamp& other) const {
        return exists == other.exists && device == other.device && inode == other.inode &&
               size == other.size && modifiedNs == other.modifiedNs;
    }
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

FileStamp StampOf(const std::string& path);
