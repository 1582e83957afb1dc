// SPDX-License-Identifier: GPL-3.0-or-later
// Board files: any bytes import without harm; an imported board exports and imports again unchanged.
// The export path rule takes any directory and name.
#include "FuzzFile.h"
#include "storage/BoardFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string input = fuzz::ScratchPath("in.vrn");
    static const std::string output = fuzz::ScratchPath("out.vrn");
    fuzz::WriteScratch(input, data, size);

    const ImportResult imported = ImportBoard(input);
    fuzz::Require((imported.status == ImportStatus::Ok) == (size >= RecordBytes),
                  "imported exactly when whole");
    if (imported.status == ImportStatus::Ok) {
        fuzz::Require(imported.record.Solved == 0, "an imported board is not solved");
        fuzz::Require(ExportBoard(imported.record, output).ok, "export");
        const ImportResult again = ImportBoard(output);
        fuzz::Require(again.status == ImportStatus::Ok && again.record.toBytes() == imported.record.toBytes(),
                      "export and import keep every byte");
    }

    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::size_t split = text.find('\n');
    const std::string directory = text.substr(0, split);
    const std::string name = split == std::string::npos ? std::string() : text.substr(split + 1);
    const std::string path = ExportPath(directory, name);
    fuzz::Require(path.size() >= 4 && path.compare(path.size() - 4, 4, ".vrn") == 0, "the path ends in .vrn");
    fuzz::Require(path.compare(0, directory.size(), directory) == 0, "the path starts with the directory");
    return 0;
}
