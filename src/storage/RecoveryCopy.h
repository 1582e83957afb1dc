// SPDX-License-Identifier: GPL-3.0-or-later
// The copy of a running game's changes not yet saved, one for each running game. A game holds a lock on
// its own copy while it runs, and the lock goes with the game however it ends: a copy nobody holds was
// left by a game that did not end normally, and only such a copy is offered at a start.
#pragma once

#include <string>

class RecoveryCopy {
public:
    // No copy: nothing is kept.
    RecoveryCopy() = default;
    // Claims a copy named after `firstPath` (".../vorn-recovery.dat", then ".../vorn-recovery-2.dat" and
    // so on), making its directory when needed: the first copy that a game which is no longer running
    // left, else the first one no running game holds. None when the directory cannot be made or every
    // name is held.
    static RecoveryCopy claim(const std::string& firstPath);

    // The lock goes, the copy stays; a name without a copy leaves nothing behind.
    ~RecoveryCopy();
    RecoveryCopy(RecoveryCopy&& other) noexcept;
    RecoveryCopy& operator=(RecoveryCopy&& other) noexcept;
    RecoveryCopy(const RecoveryCopy&) = delete;
    RecoveryCopy& operator=(const RecoveryCopy&) = delete;

    // Empty when there is no copy.
    const std::string& path() const { return m_path; }
    // The copy already held the changes of a game that did not end normally when it was claimed.
    bool left() const { return m_left; }

    // Replaces the copy's contents safely; false when there is no copy or it cannot be written.
    bool write(const std::string& bytes);
    // Removes the copy (nothing unsaved is left); its name stays this game's.
    void remove();

private:
    RecoveryCopy(std::string path, int lock, bool left);
    void release();

    std::string m_path;
    int m_lock = -1; // held while the game runs
    bool m_left = false;
};
