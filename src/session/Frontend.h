// SPDX-License-Identifier: GPL-3.0-or-later
// What the game session needs from whatever shows it: the main window implements this, the session
// calls it, and the session's tests replace it with a recording script. No Qt here.
#pragma once

#include <string>

// The yes/no questions of the question window, by message code.
enum class Question {
    RemoveBoard = 0,              // delete the current board in the editor?
    StoreShorterSolution = 1,     // solved in fewer moves than the stored solution; store it?
    StoreSolution = 2,            // solved (no stored solution, or one as long); store it?
    GiveUpBoard = 3,              // restart or leave a game in progress?
    EndGame = 4,                  // close the program?
    AcceptBoardChanges = 5,       // accept the editor's pending changes of this board?
    SaveChanges = 6,              // write the changed collection file?
    RestoreRecovery = 7,          // restore the unsaved changes a game that did not end normally left?
    OverwriteNewerCollection = 8, // overwrite a collection another game saved after this one loaded it?
    EndLosingChanges = 9,         // end although neither a save nor a recovery copy holds the changes?
};

// The notices of the notice window, by message code; there is no code 4.
enum class Notice {
    ReplayReady = 0,    // the replay of the stored solution is finished
    NoJumpLeft = 1,     // stuck
    BoardSolved = 2,    // solved in more moves than the stored solution
    OriginalBoard = 3,  // changes of an original board are refused
    ImportFailed = 5,   // a board file could not be imported
    ExportOriginal = 6, // an original board cannot be exported
    HintNoWay = 7,      // the hint found that the target can no longer be reached
    HintNotKnown = 8,   // the hint's search ran out of time
};

// The sound numbers the session requests; the file is "w" + number + ".wav".
namespace Sound {
constexpr int Jump = 1;        // a peg lands, by hand or by replay
constexpr int Pick = 2;        // a peg is lifted
constexpr int Refused = 3;     // a drop that is no legal jump
constexpr int Stuck = 4;       // no jump left
constexpr int Solved = 5;      // the player solved the board
constexpr int ReplayEnd = 6;   // the replay reached the solved position
constexpr int Removal = 7;     // played by the removal effect itself, not by the session
constexpr int Undo = 8;        // a jump taken back
constexpr int EditorCell = 11; // plus the new CellCode of a cell cycled in the editor
} // namespace Sound

// Every call happens on the window thread and returns when its work is done, except playSound. The
// window reads what it draws (cells, current record, counters, mode) from the session itself.
class Frontend {
public:
    virtual ~Frontend() = default;

    // Redraw one cell of the big board from the session's working cells.
    virtual void drawCell(int cell) = 0;
    // Redraw one cell of the small board (the target position) from the current record.
    virtual void drawTargetCell(int cell) = 0;
    // Redraw the whole board area: background, every cell, the target board and the window title.
    virtual void paintBoard() = 0;
    // Set the main window's title from the current board's number and its name in the language.
    virtual void updateTitle() = 0;
    // Animate the removal of the peg on `cell` (already an empty hole in the cells); plays sound 7.
    virtual void removalEffect(int cell) = 0;
    // Wait `ms` milliseconds, repainting but handling no input.
    virtual void pause(int ms) = 0;
    // Show a question modally; true for yes.
    virtual bool ask(Question question) = 0;
    // Show a notice modally.
    virtual void notice(Notice notice) = 0;
    // The standard error box with one OK button, for messages with variable parts (UTF-8).
    virtual void showError(const std::string& text) = 0;
    // Stop any sound playing, then play sound `number` if the sound is switched on; returns at once.
    virtual void playSound(int number) = 0;
    // Redraw the status panel: the moves left and the diagonal, original and solved indicators.
    virtual void repaintStatus() = 0;
    // SetHints: every main-window text for the language and state; also refreshes the editor's
    // controls (UpdateControls) once a board is selected, the Down and Up buttons included, which
    // follow the current board's number and the number of boards.
    virtual void refreshHints() = 0;
    // Enable or disable the Step button.
    virtual void setStepEnabled(bool enabled) = 0;
    // Enable or disable the Restart and the Undo buttons together.
    virtual void setRestartAndUndoEnabled(bool enabled) = 0;
    // Set the board selector's range 1..maximum and its position. The session runs any selection itself;
    // a change reported back for the position just set is ignored.
    virtual void setSelector(int maximum, int position) = 0;
    // Show the drag sprite for a peg of `code` (2 or 3; any higher code comes from a damaged file)
    // centred on the pointer at (x, y) in board-area pixels.
    virtual void startDrag(int x, int y, int code) = 0;
    // Move the drag sprite's centre to (x, y), restoring the board under its old place.
    virtual void moveDrag(int x, int y) = 0;
    // Remove the drag sprite and restore the board under it.
    virtual void endDrag() = 0;
    // Show or hide the editor window (modeless).
    virtual void showEditor(bool visible) = 0;
    // Let the peg on `from` and the hole `to` of a hinted jump blink twice, leaving both as they were.
    virtual void blinkHint(int from, int to) = 0;
};
