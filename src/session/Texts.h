// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the message windows and of the main window, the captions that several windows share,
// and the choice of the main window's hints by language and state. Plain UTF-8 text, no Qt.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "rules/Language.h"
#include "session/Bilingual.h"

// Shown as they stand, whatever the language.
constexpr std::string_view OKCaption = "OK";
// The main window's title until a board is shown; the language window and the error boxes have it too.
constexpr std::string_view ProgramCaption = "Tolvar Pegs V1.0";
constexpr std::string_view MakerName = "Tolvar Games";
constexpr std::string_view CopyCaption = "Copy"; // the link label's menu

// A question or notice: its text, starting with its empty lead lines, and its figure in the
// sprite atlas (0 to 4).
struct MessageText {
    Bilingual text;
    int figure;
};

constexpr int QuestionCount = 10;
constexpr int NoticeSlots = 9; // notice codes 0 to 8; 4 does not exist

// Questions 0 to 9 of the yes/no window.
constexpr std::array<MessageText, QuestionCount> QuestionTexts{{
    {{"\nWillst Du das Brett wirklich entfernen?", "\nDo you really want to remove the level?"}, 2},
    {{"Gratulation, Deine Lösung ist kürzer als die gespeicherte.\nSoll ich Deine Lösung speichern?",
      "Congratulation, you needed fewer moves as the saved solution. \nShall I save your solution?"},
     0},
    {{"Gratulation, Du hast das Brett gelöst.\nSoll ich Deine Lösung speichern?",
      "Congratulation, you solved the board.\nShall I save your solution?"},
     1},
    {{"\nWillst Du das Brett wirklich aufgeben?", "\nDo you really want to giveup the board?"}, 3},
    {{"\nWillst Du das Spiel wirklich beenden?", "\nDo you really want to end the game?"}, 4},
    {{"\nSoll ich die Änderungen bei diesem Brett übernehmen?", "\nDo you accept the board modifications?"},
     1},
    {{"\nWillst Du die Änderungen speichern?", "\nShall I save the modifications?"}, 1},
    {{"Das letzte Spiel wurde nicht richtig beendet.\nSoll ich seine Änderungen wiederherstellen?",
      "The last game did not end normally.\nShall I restore its modifications?"},
     2},
    {{"Ein anderes Spiel hat die Bretter inzwischen gespeichert.\nSoll ich sie trotzdem überschreiben?",
      "Another game has saved the boards in the meantime.\nShall I overwrite them anyway?"},
     3},
    {{"Speichern unmöglich, Deine Änderungen gehen verloren!\nTrotzdem beenden?",
      "Saving is impossible, your modifications will be lost!\nEnd anyway?"},
     3},
}};

// Notices of the OK window by code; the slot of code 4 is empty and has no figure.
constexpr std::array<MessageText, NoticeSlots> NoticeTexts{{
    {{"\n\nFertig!", "\n\nReady!"}, 2},
    {{"\nLeider, das war's wohl!", "\nSorry, that was it!"}, 3},
    {{"\n\nHurra, geschafft!", "\n\nHurrah, you did it!"}, 1},
    {{"\nAn einem Originalbrett kannst Du leider nichts ändern!",
      "\nYou cannot make modifications at an original board!"},
     4},
    {{"", ""}, -1},
    {{"\n\nFehler beim Importieren des Bretts.", "\n\nError occured while importing board."}, 4},
    {{"\nEin Originalbrett kannst Du nicht exportieren!", "\nYou cannot export an original board!"}, 4},
    // The hint's two answers without a jump to show.
    {{"\nLeider, von hier aus kommst Du nicht mehr ans Ziel!",
      "\nSorry, from here you cannot reach the goal!"},
     3},
    {{"\nDa muß ich passen, das weiß ich auch nicht.", "\nSorry, I don't know either whether you can win."},
     2},
}};

// A code outside the tables (which the program never passes) gives an empty text and figure -1,
// that is no figure at all.
MessageText QuestionText(int code);
MessageText NoticeText(int code);

constexpr Bilingual YesCaption{"Ja", "Yes"};
constexpr Bilingual NoCaption{"Nein", "No"};

// The main window's title: the prefix and the board number, then the separator and the name
// when the name in the current language is not empty.
constexpr std::string_view TitlePrefix = "Tolvar Pegs ";
constexpr std::string_view TitleNameSeparator = " - ";

// A board's name as the title and the editor show it: its Windows-1252 bytes in UTF-8, each control
// character (C0 and DEL) as its visible picture (U+2400 to U+241F, U+2421), so that no name can put a
// line break or an escape sequence into a title, and each byte the code page leaves unused as U+FFFD.
// The stored name stays as it is.
std::string ShownName(std::string_view nameBytes);

// The main window's error boxes: a start that cannot go on without its pictures, and another
// background picture that cannot be loaded (%1 is its file).
constexpr Bilingual NoMemoryMessage{"Zuwenig Speicher! Programm wird beendet.",
                                    "Not enough memory! Program aborted."};
constexpr Bilingual PictureLoadFailed{"Die Datei %1 kann nicht geladen werden.", "Cannot load the file %1."};

// The topics that the help and Tolvar buttons open: anchors in the help files, never shown, but
// each language's help has its own.
constexpr Bilingual GameHelpTopic{"Das_Spiel", "The_Game"};
constexpr Bilingual TolvarHelpTopic{"Tolvar_Games_d", "Tolvar_Games_e"};

// What the main window's texts depend on, read when they are set.
struct HintInputs {
    int language = LanguageUnset;
    bool startingUp = false;   // GameMode is ModeStartup
    bool soundOn = false;      // SoundBtn is down
    int background = 0;        // 0 wooden board, 1 stone board
    std::uint8_t shape = 0;    // current record's Shape
    std::uint8_t diagonal = 0; // current record's Diagonal
    std::int16_t original = 0; // current record's Original
    std::int16_t solved = 0;   // current record's Solved
};

// Every hint of the main window, named after its control, and the moves label's caption.
struct MainHints {
    std::string_view RestartBtn;
    std::string_view BackmoveBtn;
    std::string_view SoundBtn;
    std::string_view EditBtn;
    std::string_view PegBtn;
    std::string_view StepBtn;
    std::string_view ExitBtn;
    std::string_view movshape;
    std::string_view DiagShape;
    std::string_view OrigShape;
    std::string_view SolvShape;
    std::string_view levelscroll;
    std::string_view HelpBtn;
    std::string_view InfoBtn;
    std::string_view TolvarBtn;
    std::string_view BackShape;
    std::string_view MovesLabel;        // a caption, not a hint
    bool DiagShapeShown = false;        // the diagonal hint belongs to square boards only
    bool refreshEditorControls = false; // SetHints ends with UpdateControls outside ModeStartup
};

MainHints ComputeHints(const HintInputs& inputs);

// The file errors the session reports in the standard error box; %1, %2 stand for the values.
constexpr Bilingual FileErrorText{"Dateifehler %1 bei Datei %2.", "Fileerror %1 with file %2."};
constexpr Bilingual SavedElsewhereText{"Die Bretter sind in der Datei %1 gespeichert.",
                                       "The boards are saved in the file %1."};
constexpr Bilingual CannotCreateCollectionText{"Datei VORN.DAT kann nicht angelegt werden. (%1)",
                                               "Cannot create VORN.DAT. (%1)"};
constexpr Bilingual CannotExportText{
    "Kann Brett %1 nicht exportieren. Datenträger voll oder nicht beschreibbar.",
    "Cannot export board %1. Drive full or not writable."};

// The text with %1 to %9 replaced by the values in one pass, so that a value holding "%2" (a file
// name may) stays as it is.
std::string WithValues(std::string_view text, std::initializer_list<std::string_view> values);
