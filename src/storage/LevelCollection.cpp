// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/LevelCollection.h"

#include "storage/AtomicFile.h"
#include "storage/ReadFully.h"
#include "storage/SafeRead.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

LevelCollection::LevelCollection() {
    resetToBlank();
}

void LevelCollection::resetToBlank() {
    m_slots.clear();
    auto blank = std::make_unique<LevelRecord>();
    ClearRecord(*blank);
    m_slots.push_back(std::move(blank));
    m_current = 1;
    m_record = *m_slots.front();
}

LoadResult LevelCollection::load(const std::string& path) {
    std::vector<std::unique_ptr<LevelRecord>> loaded;
    LoadResult result;
    const int fd = OpenRegularFile(path, result.error);
    if (fd < 0) {
        result.replaceable = result.error == ENOENT;
    } else {
        LevelRecord::Bytes buffer{};
        while (static_cast<int>(loaded.size()) < MaxBoards) {
            const ssize_t n = ReadFully(fd, buffer.data(), buffer.size());
            if (n < 0) {
                result.error = errno;
                result.replaceable = false;
            }
            if (n != static_cast<ssize_t>(RecordBytes))
                break;
            loaded.push_back(std::make_unique<LevelRecord>(LevelRecord::fromBytes(buffer)));
        }
        ::close(fd);
    }

    if (loaded.empty()) {
        resetToBlank();
        result.ok = false;
        if (result.error == 0)
            result.error = ENODATA;
        return result;
    }
    m_slots = std::move(loaded);
    setCurrentNumber(m_current);
    result.ok = result.error == 0;
    return result;
}

SaveResult LevelCollection::save(const std::string& path) {
    return write(path, true);
}

SaveResult LevelCollection::saveAsNew(const std::string& path) {
    return write(path, false);
}

SaveResult LevelCollection::write(const std::string& path, bool replace) {
    writeBack();
    AtomicFile file(path);
    if (!file.created())
        return {false, 0, errno};
    for (int number = 1; number <= count(); ++number) {
        const LevelRecord::Bytes bytes = slot(number).toBytes();
        if (!file.write(bytes.data(), bytes.size()))
            return {false, number, errno};
    }
    if (!(replace ? file.commit() : file.commitAsNew()))
        return {false, count(), errno};
    return {};
}

std::string LevelCollection::fileBytes(const LevelRecord& current) const {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(count()) * RecordBytes);
    for (int number = 1; number <= count(); ++number) {
        const LevelRecord::Bytes raw = (number == m_current ? current : slot(number)).toBytes();
        bytes.append(raw.begin(), raw.end());
    }
    return bytes;
}

void LevelCollection::markChanged() {
    m_changed = true;
    if (m_changeListener)
        m_changeListener();
}

void LevelCollection::writeBack() {
    slot(m_current) = m_record;
}

void LevelCollection::setCurrentNumber(int number) {
    m_current = std::clamp(number, 1, count());
    m_record = slot(m_current);
}

void LevelCollection::select(int number) {
    writeBack();
    setCurrentNumber(number);
}

bool LevelCollection::insertAfterCurrent(const LevelRecord& record) {
    if (isFull())
        return false;
    writeBack();
    m_slots.insert(m_slots.begin() + m_current, std::make_unique<LevelRecord>(record));
    ++m_current;
    m_record = record;
    markChanged();
    return true;
}

LevelCollection::DeleteResult LevelCollection::deleteCurrent() {
    if (slot(m_current).isOriginal())
        return DeleteResult::RefusedOriginal;
    if (count() == 1) {
        LevelRecord fresh;
        MakeNewBoard(fresh);
        slot(1) = fresh;
        m_record = fresh;
        markChanged();
        return DeleteResult::ReplacedByBlank;
    }
    m_slots.erase(m_slots.begin() + (m_current - 1));
    setCurrentNumber(m_current);
    markChanged();
    return DeleteResult::Removed;
}

bool LevelCollection::moveDown() {
    return canMoveDown() && exchangeWithNeighbour(m_current - 1);
}

bool LevelCollection::moveUp() {
    return canMoveUp() && exchangeWithNeighbour(m_current + 1);
}

bool LevelCollection::exchangeWithNeighbour(int neighbour) {
    std::swap(m_slots[static_cast<std::size_t>(m_current - 1)],
              m_slots[static_cast<std::size_t>(neighbour - 1)]);
    m_current = neighbour;
    markChanged();
    return true;
}
