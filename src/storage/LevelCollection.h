// SPDX-License-Identifier: GPL-3.0-or-later
// The boards of the collection file: up to 200 records, the current board number and the current
// record (the working copy of that board), loaded from and saved to `vorn.dat`.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "rules/LevelRecord.h"

struct LoadResult {
    bool ok = true; // the file was read without an error and held at least one record
    int error = 0;  // errno of the failed open or read; ENODATA when the file held less than one record
    // The file was read to its clean end (or to its 200th record), or there is no such file. A file
    // that exists but could not be read completely must never be replaced by a save: whatever could
    // not be read would be lost.
    bool replaceable = true;
};

struct SaveResult {
    bool ok = true;
    int failedRecord = 0; // 1-based record being written when the save failed; 0 = file not created
    int error = 0;        // errno of the failure
};

class LevelCollection {
public:
    static constexpr int MaxBoards = 200;

    // One blank board, current.
    LevelCollection();

    // Reads at most 200 whole records; a partial tail is ignored. When no record could be read the
    // collection holds one blank board and the result carries the error. Only a regular file is read
    // (a pipe or a device in its place is an unreadable file); a read error keeps the boards before it
    // and is reported all the same.
    LoadResult load(const std::string& path);

    // Writes the current record back, then every board in order into a new file beside the old one;
    // the old file is replaced only once all records are written and flushed, so a failed save
    // leaves it exactly as it was.
    SaveResult save(const std::string& path);
    // As save, into a file that must not exist yet (EEXIST, and nothing is written, when it does).
    SaveResult saveAsNew(const std::string& path);
    // The bytes a save would write, with the current record in its slot; the collection is unchanged.
    std::string fileBytes() const { return fileBytes(m_record); }
    // The same with `current` in the current board's slot (the editor's edits as the player sees them).
    std::string fileBytes(const LevelRecord& current) const;

    int count() const { return static_cast<int>(m_slots.size()); }
    int currentNumber() const { return m_current; }

    // Boards are numbered from 1.
    const LevelRecord& slot(int number) const { return *m_slots.at(number - 1); }
    LevelRecord& slot(int number) { return *m_slots.at(number - 1); }

    LevelRecord& current() { return m_record; }
    const LevelRecord& current() const { return m_record; }

    // Copies the current record into the slot of the current board.
    void writeBack();

    // Makes board `number` (brought into 1..count) current without writing the old one back: the
    // start-up choice of the remembered board.
    void setCurrentNumber(int number);

    // Leaves the current board (written back) for board `number`, brought into 1..count.
    void select(int number);

    // The editor's list operations. Each one that changes the list marks the collection changed
    // itself, so a caller cannot forget it; settling pending edits and asking questions stay with
    // the caller.

    bool isFull() const { return count() >= MaxBoards; }
    bool canMoveDown() const { return m_current > 1; }
    bool canMoveUp() const { return m_current < count(); }

    // Writes the current record back, opens a slot holding `record` directly after the current
    // board and makes it current (insert makes a new board this way, import the file's record).
    // A full collection refuses silently and returns false.
    bool insertAfterCurrent(const LevelRecord& record);

    enum class DeleteResult { Removed, ReplacedByBlank, RefusedOriginal };
    // Removes the current board without writing it back (its pending edits go with it); the board
    // that follows becomes current, or the new last one when the last was removed. The collection
    // never becomes empty: removing the only board leaves one new blank board in its place. An
    // original board (judged by its slot) is refused.
    DeleteResult deleteCurrent();

    // Exchange the slots of the current board and its neighbour toward 1 (down) or toward the end
    // (up) and follow the board to its new number. The current record stays the unsettled working
    // copy of the moved board and is not written into a slot: the caller then runs the editing
    // selection for the new number, which settles the pending edits against the board's own slot
    // (so a refusal or a "no" really drops them) and writes it back. False, and nothing changes,
    // at the ends of the list.
    bool moveDown();
    bool moveUp();

    bool changed() const { return m_changed; }
    void markChanged();
    void clearChanged() { m_changed = false; }

    // Notified after every change that marks the collection changed, once the change is complete.
    void setChangeListener(std::function<void()> listener) { m_changeListener = std::move(listener); }

private:
    SaveResult write(const std::string& path, bool replace);
    void resetToBlank();
    bool exchangeWithNeighbour(int neighbour);

    std::vector<std::unique_ptr<LevelRecord>> m_slots;
    int m_current = 1;
    LevelRecord m_record;
    bool m_changed = false;
    std::function<void()> m_changeListener;
};
