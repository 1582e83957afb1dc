// SPDX-License-Identifier: GPL-3.0-or-later
// The collection file: any bytes load without harm into 1 to 200 boards, and a save writes exactly the
// whole records that were read, which load again unchanged.
#include <cstring>

#include "FuzzFile.h"
#include "storage/LevelCollection.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string input = fuzz::ScratchPath("vorn.dat");
    static const std::string output = fuzz::ScratchPath("saved.dat");
    fuzz::WriteScratch(input, data, size);

    LevelCollection collection;
    const LoadResult loaded = collection.load(input);
    const std::size_t whole = std::min<std::size_t>(size / RecordBytes, LevelCollection::MaxBoards);
    fuzz::Require(collection.count() >= 1 && collection.count() <= LevelCollection::MaxBoards, "board count");
    fuzz::Require(loaded.ok == (whole > 0), "loaded exactly when a whole record is there");
    fuzz::Require(loaded.replaceable, "a regular file read to its end may be replaced");
    if (whole == 0)
        return 0;
    fuzz::Require(static_cast<std::size_t>(collection.count()) == whole, "every whole record is a board");

    fuzz::Require(collection.save(output).ok, "save");
    LevelCollection again;
    fuzz::Require(again.load(output).ok && again.count() == collection.count(), "reload");
    fuzz::Require(again.fileBytes() == std::string(reinterpret_cast<const char*>(data), whole * RecordBytes),
                  "the saved file holds the records byte for byte");
    // The list operations keep the collection whole whatever the bytes of its boards.
    collection.select(static_cast<int>(data[0]));
    collection.insertAfterCurrent(collection.current());
    collection.deleteCurrent();
    collection.moveDown();
    collection.moveUp();
    fuzz::Require(collection.count() >= 1 && collection.currentNumber() <= collection.count(), "list edits");
    return 0;
}
