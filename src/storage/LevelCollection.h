// The boards of the collection file: up to 200 records, the current board number and the current
// record (the working copy of that board), loaded from and saved to `vorn.dat`.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "game/LevelRecord.h"

struct LoadResult {
    bool ok = true; // at least one record was read
    int error = 0;  // errno of the failed open or read; ENODATA when the file held less than one record
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
    // collection holds one blank board and the result carries the error.
    LoadResult load(const std::string& path);

    // Writes the current record back, then every board in order into a new file beside the old one;
    // the old file is replaced only once all records are written and flushed, so a failed save
    // leaves it exactly as it was.
    SaveResult save(const std::string& path);

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

    bool changed() const { return m_changed; }
    void markChanged() { m_changed = true; }
    void clearChanged() { m_changed = false; }

private:
    void resetToBlank();

    std::vector<std::unique_ptr<LevelRecord>> m_slots;
    int m_current = 1;
    LevelRecord m_record;
    bool m_changed = false;
};
