// SPDX-License-Identifier: GPL-3.0-or-later
// Single-board files (*.vrn): exactly one 732-byte record, written by export and read by import,
// and the rule that turns the export window's directory and name into a path.
#pragma once

#include <string>

#include "rules/LevelRecord.h"

struct ExportResult {
    bool ok = true;
    int error = 0; // errno of the failure
};

// Writes the record's 732 bytes to `path`, replacing a file of that name. The bytes go to a new
// file that takes the old one's place only once complete, so a failed export leaves an existing
// file as it was. A file name with the wildcards '*' or '?' is refused (EINVAL): confirming the
// export window with its "*.vrn" placeholder must fail rather than create a file of that name. So is
// a name with nothing before its extension (an empty name field gives "/dir/.vrn").
ExportResult ExportBoard(const LevelRecord& record, const std::string& path);

enum class ImportStatus {
    Ok,
    Missing,    // no such file: the import simply does nothing
    Unreadable, // cannot be opened or read, or not a plain file: notice 5
    TooShort,   // fewer than 732 bytes: notice 5
};

struct ImportResult {
    ImportStatus status = ImportStatus::Ok;
    int error = 0; // errno for Missing and Unreadable
    LevelRecord record;
};

// Reads the first 732 bytes of the file as a board, with `Solved` cleared; bytes after them are
// ignored. Every other byte is kept exactly as it is, values outside their ranges included: the
// rules, the drawing and the editor window all tolerate any byte, just as they must for the
// collection file, and a board passed around keeps its bytes.
ImportResult ImportBoard(const std::string& path);

// The export path: the directory, a separator unless it already ends with one (or is empty, which
// leaves the name relative to the working directory), then the name
// with its extension set to ".vrn" (the part from the name's last dot on is replaced, or ".vrn"
// is appended when the name has no dot).
std::string ExportPath(const std::string& directory, const std::string& fileName);

// The part of a path after its last separator, as the export error message names the file.
std::string FileNamePart(const std::string& path);
