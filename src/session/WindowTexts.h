// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the windows besides the main window and the message windows: the language window, the
// about box, the editor's introduction, the editor with its import and export windows, and the help.
// Plain UTF-8 text, no Qt; the captions they share with other windows are in Texts.h.
#pragma once

#include <string_view>

#include "session/Bilingual.h"

// Each button answers in its own language, whatever the language is now.
namespace language_text {
constexpr std::string_view EnglishCaption = "I speak english.";
constexpr std::string_view GermanCaption = "Ich spreche deutsch.";
} // namespace language_text

namespace about_text {
constexpr Bilingual Caption{"Tolvar Games - Info über ...", "Tolvar Games - Info about ..."};
constexpr Bilingual TongCaption{"Sprache", "Tongue"};
constexpr std::string_view ProgramName = "Tolvar Pegs";
constexpr std::string_view Version = "Version  V1.0";
constexpr Bilingual Kind{"Steckspiel mit Bretteditor", "Peg solitaire with a board editor"};
constexpr Bilingual Made{"Programm, Bilder, Klänge, Hilfe und Bretter: alles aus eigener Werkstatt.",
                         "Program, pictures, sounds, help and boards: all made in our own workshop."};
constexpr Bilingual ContactHead{"Mehr über Tolvar Games und seine Spiele:",
                                "More about Tolvar Games and its games:"};
constexpr Bilingual Contact{"der Tolvar-Knopf oben rechts im Spielfenster.",
                            "the Tolvar button at the game window's top right."};
} // namespace about_text

namespace intro_text {
constexpr std::string_view Caption = "Tolvar Pegs - Info";
constexpr Bilingual Greeting{"Hallo, Tolvar Pegs - Freund!", "Hello, friend of Tolvar Pegs!"};
constexpr Bilingual FirstParagraph{
    "Du bist gerade dabei, den Tolvar Pegs -Editor zu starten. Wenn es Dir gelingt, ein interessantes "
    "Brett samt Lösung zu erfinden, dann wäre es doch schade, wenn dieses nur auf Deinem Rechner sein "
    "Dasein fristen würde.",
    "You are starting the Tolvar Pegs - editor. If you have success in discovering a new interesting board "
    "plus solution, it would be a pity, if this board vegatates only on your computer."};
constexpr Bilingual SecondParagraph{
    "Exportiere es mit dem Export-Knopf des Editors in eine Brettdatei und gib es weiter: Jeder kann es "
    "in seine Sammlung importieren. Tolvar Games freut sich über gute Bretter und bietet sie gern allen "
    "Spielern kostenlos an.",
    "Export it with the editor's export button into a board file and pass it on: anyone can import it "
    "into their collection. Tolvar Games is glad of good boards and likes to offer them to all players "
    "for free."};
constexpr Bilingual ContactWay{"Mehr über uns erzählt der Tolvar-Knopf im Spielfenster.",
                               "The Tolvar button of the game window tells more about us."};
constexpr Bilingual Nomore{"Diesen Dialog nicht mehr anzeigen.", "Do not show this dialog once more."};
} // namespace intro_text

// An editable board leaves the editor's title empty; only an original one is named there.
namespace editor_text {
constexpr Bilingual CaptionOriginal{"Originalbrett - keine Änderungen", "Original board - no editing"};
constexpr Bilingual ShapeCaption{"Form", "Shape"};
constexpr Bilingual SquareItem{"Quadrat", "Square"};
constexpr Bilingual HexagonItem{"Sechseck", "Hexagon"};
constexpr Bilingual SizeCaption{"Größe", "Size"};
constexpr Bilingual MovesCaption{"Züge", "Moves"};
constexpr Bilingual DiagonalCaption{"schräge Züge erlaubt", "diagonal moves allowed"};
constexpr Bilingual NameCaption{"Bezeichnung", "Name"};
// The language button offers the other language, named in that language.
constexpr Bilingual TongHint{"English", "Deutsch"};
constexpr Bilingual DeleteHint{"Brett entfernen", "Delete board"};
constexpr Bilingual InsertHint{"Neues Brett einfügen", "Insert new board"};
constexpr Bilingual DownHint{"Brett zurückreihen", "Rank board backwards"};
constexpr Bilingual UpHint{"Brett vorreihen", "Rank board forewards"};
constexpr Bilingual LoadHint{"Brett importieren", "Import board"};
constexpr Bilingual SaveHint{"Brett exportieren", "Export board"};
} // namespace editor_text

// The import and export windows.
namespace file_window_text {
constexpr Bilingual ImportCaption{"Brett importieren", "Import board"};
constexpr Bilingual ExportCaption{"Brett exportieren", "Export board"};
constexpr Bilingual FileNameLabel{"Dateiname:", "Filename:"};
constexpr Bilingual FilesLabel{"Dateien:", "Files:"};
constexpr Bilingual DirectoriesLabel{"Verzeichnisse:", "Directories:"};
// Above the list of places, the drive list's counterpart.
constexpr Bilingual DrivesLabel{"Laufwerke:", "Drives:"};
constexpr Bilingual CancelCaption{"Abbruch", "Escape"};
// The export window's name field: the name it opens with, and what it shows when no file is selected.
constexpr std::string_view NewFileName = "noname.vrn";
constexpr std::string_view NoFileName = "*.vrn";
} // namespace file_window_text

// The help window: its title is the prefix and the help file's name; a file it cannot show shows its
// path and a suffix, in both languages at once: one for a file that is not there, one for a file that
// is there but is none the help reads (a pipe, a device, a file over the size limit, a read error).
namespace help_text {
constexpr std::string_view TitlePrefix = "Tolvar Pegs - ";
constexpr std::string_view MissingSuffix = ": not found / nicht gefunden";
constexpr std::string_view UnreadableSuffix = ": cannot be read / kann nicht gelesen werden";
} // namespace help_text
