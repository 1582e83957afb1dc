// The German and English texts of the import and export windows.
#pragma once

#include <QString>

struct FileWindowText {
    const char* german;
    const char* english;

    QString in(int language) const { return QString::fromUtf8(language == 1 ? german : english); }
};

inline constexpr FileWindowText ImportCaption{"Brett importieren", "Import board"};
inline constexpr FileWindowText ExportCaption{"Brett exportieren", "Export board"};
inline constexpr FileWindowText FileNameLabel{"Dateiname:", "Filename:"};
inline constexpr FileWindowText FilesLabel{"Dateien:", "Files:"};
inline constexpr FileWindowText DirectoriesLabel{"Verzeichnisse:", "Directories:"};
// Above the list of places, the drive list's counterpart.
inline constexpr FileWindowText DrivesLabel{"Laufwerke:", "Drives:"};
inline constexpr FileWindowText CancelCaption{"Abbruch", "Escape"};
inline constexpr const char* NewFileName = "noname.vrn";
inline constexpr const char* NoFileName = "*.vrn";
