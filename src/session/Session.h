// SPDX-License-Identifier: GPL-3.0-or-later
// The game state of the main window and every operation on it: the collection with its current record,
// the play state and the mode, the flags, the language and the appearance values. It reaches the screen
// only through a Frontend and knows nothing of Qt; the main window turns its events into these calls.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "rules/Language.h"
#include "rules/PlayState.h"
#include "session/Frontend.h"
#include "session/Settings.h"
#include "solver/Solver.h"
#include "storage/CollectionPlace.h"
#include "storage/LevelCollection.h"
#include "storage/RecoveryCopy.h"

enum GameMode : std::uint8_t {
    ModeStartup = 0,   // no board selected yet
    ModeReady = 1,     // a board in its start position, no jump yet
    ModePlaying = 2,   // at least one jump by hand
    ModeReplaying = 3, // the stored solution is being stepped through
    ModeSolved = 4,
    ModeStuck = 5,
    ModeEditing = 6, // the board editor is open
};

enum class MouseButton { Left, Right, Other };

// What only the window knows and the close sequence writes to the settings beside the session's values.
struct WindowSettings {
    bool sound = true;
    int left = 100;
    int top = 50;
    bool editorIntro = true;
};

class Session {
public:
    explicit Session(Frontend& frontend) : m_frontend(frontend) {}

    // --- First activation, in this order: loadCollection, selectRememberedBoard, then the window asks
    // for the language when it is unset and sets its texts.

    // Loads the collection from `files.load`; a save at close writes `files.save`. When the file could
    // not be read completely, shows the file error (German or English by the language) and carries on
    // with the boards read before the error, or one blank board. A file that exists but could not be read
    // completely is never replaced: a save goes to a new file beside it. While the collection has
    // changes not yet saved, they are kept in a recovery copy of this game's own, named after
    // `recoveryPath` (none when empty): the one a game that did not end normally left, else one that no
    // running game holds. True when the file was read completely and held boards.
    bool loadCollection(const CollectionFiles& files, const std::string& recoveryPath);
    // The same file read and saved, no recovery copy.
    bool loadCollection(const std::string& path) {
        return loadCollection(CollectionFiles{path, path, 0}, {});
    }

    // When a recovery copy of a game that did not end normally exists, asks whether to restore it (after
    // the first activation's board selection). On yes its boards replace the loaded ones, the remembered
    // board stays current, and the collection counts as changed.
    void offerRecovery();

    // Makes the remembered board (brought into 1..boards) current, sets the selector (running the
    // selection when its position changes), clears the changed and pending-edit flags and sets the
    // board up for play if the selector did not.
    void selectRememberedBoard(int level);

    // --- Board area, in board-area pixels (origin at the top-left of the 500 x 333 area).

    // Picks a peg up (any button) in ModeReady and ModePlaying. A press while a peg is already being
    // dragged is ignored: the drag goes on and the next release of any button drops that peg.
    void boxMouseDown(int x, int y, MouseButton button);
    void boxMouseMove(int x, int y);
    // Drops the dragged peg (any button): a legal jump or the peg goes back.
    void boxMouseUp(int x, int y, MouseButton button);
    // Puts a picked peg back on its cell without a sound, as if it had never been lifted.
    void putPegBack() { endDragReturningPeg(); }

    // The hint, in ModeReady and ModePlaying: the board's engine is asked whether the target can still
    // be reached from the position on the board. A drag ends first; false where no hint is given now.
    bool hintMayBeAsked();
    // The engine's answer about the position on the board. Yes: the first jump of its way blinks; no,
    // or no answer within the limits: a notice says so. Board, counters and stored solution stay as
    // they are.
    void showHintAnswer(const ReachAnswer& answer);

    // --- Tool panel.

    void BackMoveBtnClick();
    // Brings back the jump the last undo took back, with the counters it had; a new jump by hand,
    // restart, another board and the editor forget what can be redone. In a replay it is the next step.
    void redoJump();
    void RestartBtnClick();
    // Replays the next jump of the stored solution. A stored solution that does not fit the board stops
    // at the first entry that cannot be replayed: the Step button is disabled and the position, counters
    // and mode stay as they are (undo and restart still work); nothing claims the replay is finished.
    void StepBtnClick();
    // The editor button now pressed (enter the editor) or released (leave it, settling pending edits).
    // The editor-intro window, when wanted, is the window's to show before calling this.
    void EditBtnClick(bool pressed);
    // The board selector moved to `position`. When a game in progress is not given up, the selector is
    // put back to the current board. A change that arrives while a selection is still asking its
    // question is put back without a selection: one action, one question, one selection.
    void levelscrollChange(int position);
    // A modal window or the loss of the focus interrupts a drag: the peg goes back to its cell, as
    // after a drop on an illegal place.
    void interruptDrag() { endDragReturningPeg(); }

    // Stores the player's game as the board's solution (only in ModeSolved). The session calls it itself
    // when the player, having solved the board by hand, answers yes to question 1 or 2.
    void StoreSolution();

    // --- Editor (ModeEditing only; SessionEditing.cpp). A click on the board area cycles a cell through
    // boxMouseDown. The editor window's controls call these; each one does nothing outside the editor.
    // Shape, size and name are refused on a board that is not editable (Original not 0), as the window
    // disables those controls there.

    // ShapeGrp: 0 square, 1 hexagon; straight into the current record, the board repainted.
    void ShapeGrpClick(int shape);
    // SizeGrp: 5 to 9; straight into the current record, the board repainted.
    void SizeGrpClick(int size);
    // diagbox: diagonal jumps allowed or not; nothing is redrawn.
    void diagboxClick(bool allowed);
    // NameEdit: the name's bytes in the single-byte code page, stored cut to 50 in the language's slot.
    void NameEditChange(const std::string& nameBytes);
    // TongBtn: English and German swap (not chosen becomes English); hints, controls and title follow.
    void TongBtnClick();
    // InsertBtn: a new blank board after the current one, current in the editor.
    void InsertBtnClick();
    // DeleteBtn: removes the current board after question 0; an original board is refused (notice 3).
    // The only board left is replaced by a new blank board, since the collection is never empty.
    void DeleteBtnClick();
    // DownBtn / UpBtn: the current board changes places with its neighbour toward 1 / toward the end.
    void DownBtnClick();
    void UpBtnClick();

    // SaveBtn, first half: false when no export window is to be shown (an original board: notice 6).
    bool startExport();
    // SaveBtn, second half: writes the current record to `path`, which the export window built; a
    // failure shows the export error. Changes nothing in the session.
    void exportBoard(const std::string& path);
    // LoadBtn, first half: false when no import window is to be shown (200 boards).
    bool startImport();
    // LoadBtn, second half: reads the board file at `path` (empty or missing: nothing happens; shorter
    // than a record or unreadable: notice 5) and inserts it after the current board, current in the
    // editor. The record's bytes are kept as they are, values out of range included.
    void importBoard(const std::string& path);
    // The export error text for the file name part of `path`, in the session's language.
    std::string exportErrorText(const std::string& path) const;

    // --- Closing: confirmClose is FormCloseQuery (question 4). After a yes, and after closing any help
    // window, closeSequence settles pending edits, offers to save a changed collection (showing the save
    // error on failure) and returns the settings to write, in the order they must be written. A save
    // that would overwrite a collection file saved by another game since this one loaded it asks first;
    // on no, and for a file that could not be read completely, the boards go to a new file beside it
    // (or in the player's data directory) and the player is told its name. The recovery copy is removed,
    // unless the save failed: then it keeps the boards for the next start. When it cannot keep them
    // either, the player is asked whether to end all the same; on no, nothing is written and the
    // settings come back empty: the game goes on.
    bool confirmClose();
    std::vector<std::pair<SettingKey, int>> closeSequence(const WindowSettings& window);

    // --- State for drawing and for the other windows. The status panel shows play().movesLeftShown()
    // and the original and solved flags of collection().slot(collection().currentNumber()).

    GameMode mode() const { return m_mode; }
    const PlayState& play() const { return m_play; }
    const LevelCollection& collection() const { return m_collection; }
    const LevelRecord& currentRecord() const { return m_collection.current(); }
    // The engine that answers the hint and the dead-end watch on the current board, shared with the
    // watch's threads; made anew once the board's holes, jumps or target differ from those it knows.
    std::shared_ptr<BoardReach> boardReach() const;
    // The editor writes target, shape, size, diagonal rule and name straight into the current record.
    LevelRecord& currentRecord() { return m_collection.current(); }
    bool pendingCellEdit() const { return m_pendingCellEdit; }
    bool pendingPropertyEdit() const { return m_pendingPropertyEdit; }

    int language() const { return m_language; }
    void setLanguage(int language) { m_language = language; }
    int firstDesign() const { return m_firstDesign; }
    int secondDesign() const { return m_secondDesign; }
    int background() const { return m_background; }
    void setDesigns(int first, int second) {
        m_firstDesign = first;
        m_secondDesign = second;
    }
    void setBackground(int background) { m_background = background; }

    // The file error texts, in the session's language.
    std::string loadErrorText(int error, const std::string& path) const;
    std::string saveErrorText(int record) const;
    std::string savedElsewhereText(const std::string& path) const;

private:
    bool saveCollection();
    bool saveAsNewFile();
    std::string shownCollectionBytes() const;
    bool writeRecoveryCopy();
    void removeRecoveryCopy();
    void followWithRecoveryCopy();
    void resetPlay();
    void setUpBoardForPlay();
    void selectBoard(int position);
    void selectBoardWhileEditing(int position);
    void moveSelector(int position);
    void endDragReturningPeg();
    void makeJump(int from, int jumpedOver, int to);
    void finishSolvedGame();
    void refuseDrop();
    void clearPendingEdits();
    bool hasPendingEdits() const { return m_pendingCellEdit || m_pendingPropertyEdit; }
    bool refusedAsOriginal();
    void settleFullWay();
    void settleShortWay();
    bool editsAllowed() const;
    void editCellAt(int x, int y, MouseButton button);
    void showCurrentBoardInEditor();
    void moveBoard(bool down);

    Frontend& m_frontend;
    LevelCollection m_collection;
    CollectionFiles m_files;
    RecoveryCopy m_recovery;
    std::string m_recoveryHeld; // what the recovery copy holds, as far as this game wrote it
    bool m_collectionReplaceable = true;
    FileStamp m_savedStamp; // the save file as it was at load
    int m_rememberedLevel = 1;
    PlayState m_play;
    mutable std::shared_ptr<BoardReach> m_reach;
    GameMode m_mode = ModeStartup;
    bool m_pendingCellEdit = false;
    bool m_pendingPropertyEdit = false;
    int m_selectorPosition = 1;
    bool m_selecting = false;
    int m_language = LanguageUnset;
    int m_firstDesign = 1;
    int m_secondDesign = 2;
    int m_background = 0;
};
