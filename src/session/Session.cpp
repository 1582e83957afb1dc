// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Session.h"

#include "rules/Rules.h"
#include "session/Texts.h"
#include "storage/AtomicFile.h"

#include <cerrno>

namespace {

constexpr int LandingPauseMs = 100;
constexpr int ReplayEndPauseMs = 300;
// A collection that must not be replaced is saved as "vorn-2.dat", "vorn-3.dat" and so on.
constexpr int FirstOtherNumber = 2;
constexpr int LastOtherNumber = 999;

} // namespace

// --- Start-up

bool Session::loadCollection(const CollectionFiles& files, const std::string& recoveryPath) {
    m_files = files;
    m_recovery = recoveryPath.empty() ? RecoveryCopy() : RecoveryCopy::claim(recoveryPath);
    m_recoveryHeld.clear();
    m_savedStamp = StampOf(files.save);
    const LoadResult result = m_collection.load(files.load);
    // Only the file that was read can have lost boards to a failed read.
    m_collectionReplaceable = result.replaceable || files.load != files.save;
    m_collection.setChangeListener([this] { followWithRecoveryCopy(); });
    if (files.copyError != 0)
        m_frontend.showError(loadErrorText(files.copyError, files.save));
    if (!result.ok)
        m_frontend.showError(loadErrorText(result.error, files.load));
    return result.ok;
}

void Session::offerRecovery() {
    if (!m_recovery.left())
        return;
    LevelCollection recovered;
    if (!recovered.load(m_recovery.path()).ok || !m_frontend.ask(Question::RestoreRecovery))
        return;
    recovered.setCurrentNumber(m_rememberedLevel);
    m_collection = std::move(recovered);
    m_collection.setChangeListener([this] { followWithRecoveryCopy(); });
    m_collection.markChanged();
    clearPendingEdits();
    moveSelector(m_collection.currentNumber());
    setUpBoardForPlay();
    m_frontend.paintBoard();
}

void Session::selectRememberedBoard(int level) {
    m_rememberedLevel = level;
    m_collection.setCurrentNumber(level);
    const int current = m_collection.currentNumber();
    m_frontend.setSelector(m_collection.count(), current);
    // Moving the selector away from its first position selects the board the usual way.
    levelscrollChange(current);
    m_collection.clearChanged();
    clearPendingEdits();
    if (m_mode == ModeStartup)
        setUpBoardForPlay();
}

std::string Session::loadErrorText(int error, const std::string& path) const {
    return WithValues(FileErrorText.in(m_language), {std::to_string(error), path});
}

// `record` is the 1-based record being written; 0 when the file could not be created at all.
std::string Session::savedElsewhereText(const std::string& path) const {
    return WithValues(SavedElsewhereText.in(m_language), {path});
}

std::string Session::saveErrorText(int record) const {
    return WithValues(CannotCreateCollectionText.in(m_language), {std::to_string(record)});
}

// --- Setting a board up

void Session::resetPlay() {
    m_play.reset(m_collection.current());
    m_frontend.repaintStatus();
    m_frontend.refreshHints();
}

void Session::setUpBoardForPlay() {
    resetPlay();
    m_mode = ModeReady;
    m_frontend.setStepEnabled(m_collection.current().hasSolution());
}

void Session::levelscrollChange(int position) {
    if (m_selecting) {
        m_frontend.setSelector(m_collection.count(), m_selectorPosition);
        return;
    }
    if (position == m_selectorPosition)
        return;
    m_selecting = true;
    m_selectorPosition = position;
    endDragReturningPeg();
    if (m_mode == ModeEditing)
        selectBoardWhileEditing(position);
    else
        selectBoard(position);
    m_selecting = false;
}

void Session::selectBoard(int position) {
    if (m_mode == ModePlaying && !m_frontend.ask(Question::GiveUpBoard)) {
        moveSelector(m_collection.currentNumber());
        return;
    }
    m_collection.select(position);
    m_selectorPosition = m_collection.currentNumber();
    setUpBoardForPlay();
    m_frontend.paintBoard();
}

void Session::selectBoardWhileEditing(int position) {
    if (hasPendingEdits())
        settleFullWay();
    m_collection.select(position);
    m_selectorPosition = m_collection.currentNumber();
    resetPlay();
    clearPendingEdits();
    m_frontend.paintBoard();
}

// Puts the selector to `position` without running a selection.
void Session::moveSelector(int position) {
    m_selectorPosition = position;
    m_frontend.setSelector(m_collection.count(), position);
}

// --- Pick, drag and drop

void Session::boxMouseDown(int x, int y, MouseButton button) {
    // In ModeEditing a click cycles a cell of the start or the target position.
    if (m_mode == ModeEditing) {
        editCellAt(x, y, button);
        return;
    }
    // The play state holds one dragged peg; a second button pressed meanwhile changes nothing.
    if (m_play.Dragging)
        return;
    if (m_mode != ModeReady && m_mode != ModePlaying)
        return;
    const LevelRecord& record = m_collection.current();
    const int cell = PickBoxCellAt(record, x, y);
    if (cell == NoCell || !IsOnBoard(record, cell) || !HoldsPeg(m_play.Cells[cell]))
        return;
    m_play.PickedCell = cell;
    m_play.PickedCode = m_play.Cells[cell];
    m_play.Cells[cell] = EmptyHole;
    m_frontend.drawCell(cell);
    m_play.Dragging = true;
    m_frontend.startDrag(x, y, m_play.PickedCode);
    m_frontend.playSound(Sound::Pick);
}

void Session::boxMouseMove(int x, int y) {
    if (m_play.Dragging)
        m_frontend.moveDrag(x, y);
}

void Session::boxMouseUp(int x, int y, MouseButton) {
    if (!m_play.Dragging)
        return;
    m_frontend.endDrag();
    // Cleared before the questions and notices of the end tests, so nothing they let through can drop
    // the same peg twice.
    m_play.Dragging = false;
    const LevelRecord& record = m_collection.current();
    const int to = DropBoxCellAt(record, x, y);
    const JumpCheck check =
        to == NoCell ? JumpCheck{} : IsLegalJump(m_play.Cells, record, m_play.PickedCell, to);
    if (!check.legal || m_play.JumpCount >= HistoryJumps) {
        refuseDrop();
        return;
    }
    makeJump(m_play.PickedCell, check.jumpedOver, to);
}

void Session::refuseDrop() {
    m_frontend.playSound(Sound::Refused);
    m_play.Cells[m_play.PickedCell] = static_cast<CellCode>(m_play.PickedCode);
    m_frontend.drawCell(m_play.PickedCell);
    m_frontend.repaintStatus();
}

void Session::makeJump(int from, int jumpedOver, int to) {
    m_frontend.playSound(Sound::Jump);
    m_play.Cells[to] = static_cast<CellCode>(m_play.PickedCode);
    m_frontend.drawCell(to);
    m_frontend.pause(LandingPauseMs);
    m_play.Cells[jumpedOver] = EmptyHole;
    m_frontend.removalEffect(jumpedOver);
    m_mode = ModePlaying;
    m_play.recordJump(from, to);
    m_frontend.repaintStatus();

    const LevelRecord& record = m_collection.current();
    if (IsSolved(m_play.Cells, record)) {
        finishSolvedGame();
    } else if (IsStuck(m_play.Cells, record)) {
        m_frontend.playSound(Sound::Stuck);
        m_frontend.notice(Notice::NoJumpLeft);
        m_mode = ModeStuck;
    }
    m_frontend.setStepEnabled(false);
}

void Session::finishSolvedGame() {
    m_frontend.playSound(Sound::Solved);
    m_mode = ModeSolved;
    LevelRecord& record = m_collection.current();
    if (!record.isSolved()) {
        record.Solved = 1;
        m_collection.slot(m_collection.currentNumber()).Solved = 1;
        m_collection.markChanged();
        m_frontend.repaintStatus();
    }
    const int moves = m_play.MoveCount;
    const int stored = record.SolutionMoves;
    if (moves < stored) {
        if (m_frontend.ask(Question::StoreShorterSolution))
            StoreSolution();
    } else if (stored == 0 || stored == moves) {
        if (m_frontend.ask(Question::StoreSolution))
            StoreSolution();
    } else {
        m_frontend.notice(Notice::BoardSolved);
    }
}

bool Session::hintMayBeAsked() {
    endDragReturningPeg();
    return m_mode == ModeReady || m_mode == ModePlaying;
}

void Session::showHintAnswer(const ReachAnswer& answer) {
    if (!hintMayBeAsked())
        return;
    if (answer.reach == Reach::Unreachable)
        m_frontend.notice(Notice::HintNoWay);
    else if (answer.reach == Reach::Unknown)
        m_frontend.notice(Notice::HintNotKnown);
    else if (answer.hasMove)
        m_frontend.blinkHint(answer.move.from, answer.move.to);
}

std::shared_ptr<BoardReach> Session::boardReach() const {
    if (!m_reach || !m_reach->serves(m_collection.current()))
        m_reach = std::make_shared<BoardReach>(m_collection.current());
    return m_reach;
}

// The drag is ended by whatever resets or moves the position under it; the peg goes back to its cell.
void Session::endDragReturningPeg() {
    if (!m_play.Dragging)
        return;
    m_frontend.endDrag();
    m_play.Dragging = false;
    m_play.Cells[m_play.PickedCell] = static_cast<CellCode>(m_play.PickedCode);
    m_frontend.drawCell(m_play.PickedCell);
}

// --- Tool panel

void Session::BackMoveBtnClick() {
    endDragReturningPeg();
    if (m_mode != ModePlaying && m_mode != ModeReplaying)
        return;
    if (m_play.JumpCount == 0)
        return;
    m_frontend.playSound(Sound::Undo);
    m_play.undo();
    m_frontend.repaintStatus();
    m_frontend.paintBoard();
    // A replay stopped at an entry it could not replay can go on from here again.
    if (m_mode == ModeReplaying)
        m_frontend.setStepEnabled(true);
}

void Session::redoJump() {
    endDragReturningPeg();
    if (m_play.RedoCount == 0)
        return;
    // The jumps a replay took back are the stored solution's next entries.
    if (m_mode == ModeReplaying) {
        StepBtnClick();
        return;
    }
    PlayState::RedoneJump jump{};
    if (m_mode != ModePlaying || !m_play.redo(m_collection.current(), jump))
        return;
    // Shown as a replayed jump. A redone jump never ends the game: undo is refused after the end.
    m_frontend.playSound(Sound::Jump);
    m_frontend.drawCell(jump.to);
    m_frontend.drawCell(jump.from);
    m_frontend.removalEffect(jump.jumpedOver);
    m_frontend.repaintStatus();
}

void Session::RestartBtnClick() {
    endDragReturningPeg();
    if (m_mode == ModeEditing)
        return;
    if (m_mode == ModePlaying && !m_frontend.ask(Question::GiveUpBoard))
        return;
    resetPlay();
    m_mode = ModeReady;
    m_frontend.paintBoard();
    m_frontend.setStepEnabled(m_collection.current().hasSolution());
}

void Session::StepBtnClick() {
    endDragReturningPeg();
    if (m_mode != ModeReady && m_mode != ModeReplaying)
        return;
    const LevelRecord& record = m_collection.current();
    if (m_mode == ModeReady && !record.hasSolution())
        return;
    if (!m_play.nextReplayStepFits(record)) {
        m_frontend.setStepEnabled(false);
        return;
    }
    if (m_mode == ModeReady) {
        m_mode = ModeReplaying;
        m_play.JumpCount = 0;
    }
    m_frontend.playSound(Sound::Jump);
    const PlayState::ReplayedJump jump = m_play.replayStep(record);
    m_frontend.drawCell(jump.to);
    m_frontend.drawCell(jump.from);
    m_frontend.removalEffect(jump.jumpedOver);
    if (IsSolved(m_play.Cells, record)) {
        m_frontend.playSound(Sound::ReplayEnd);
        m_frontend.pause(ReplayEndPauseMs);
        m_frontend.notice(Notice::ReplayReady);
        m_frontend.setStepEnabled(false);
        m_mode = ModeSolved;
    } else if (!m_play.nextReplayStepFits(record)) {
        m_frontend.setStepEnabled(false);
    }
    m_frontend.repaintStatus();
}

void Session::StoreSolution() {
    if (m_mode != ModeSolved)
        return;
    LevelRecord& record = m_collection.current();
    record.SolutionFrom = m_play.JumpFrom;
    record.SolutionTo = m_play.JumpTo;
    record.SolutionMoves = m_play.MoveCount;
    m_play.Par = m_play.MoveCount;
    m_collection.writeBack();
    m_collection.markChanged();
    m_frontend.repaintStatus();
}

void Session::EditBtnClick(bool pressed) {
    if (pressed == (m_mode == ModeEditing))
        return;
    endDragReturningPeg();
    if (pressed) {
        m_mode = ModeEditing;
        resetPlay();
        m_frontend.showEditor(true);
        clearPendingEdits();
        m_frontend.setStepEnabled(false);
    } else {
        m_mode = ModeReady;
        if (hasPendingEdits())
            settleFullWay();
        clearPendingEdits();
        m_frontend.showEditor(false);
        m_frontend.setStepEnabled(m_collection.current().hasSolution());
    }
    m_frontend.setRestartAndUndoEnabled(!pressed);
    resetPlay();
    m_frontend.repaintStatus();
    m_frontend.paintBoard();
}

// --- Closing

bool Session::confirmClose() {
    return m_frontend.ask(Question::EndGame);
}

std::vector<std::pair<SettingKey, int>> Session::closeSequence(const WindowSettings& window) {
    if (m_mode == ModeEditing && hasPendingEdits())
        settleShortWay();
    bool saveFailed = false;
    if (m_collection.changed() && m_frontend.ask(Question::SaveChanges))
        saveFailed = !saveCollection();
    if (!saveFailed)
        removeRecoveryCopy();
    else if (!writeRecoveryCopy() && !m_frontend.ask(Question::EndLosingChanges))
        return {};
    // The game ends here: a copy it leaves is offered by the next start.
    m_recovery = RecoveryCopy();
    return {
        {SettingKey::Sound, window.sound ? 1 : 0},
        {SettingKey::Left, window.left},
        {SettingKey::Top, window.top},
        {SettingKey::Tongue, m_language},
        {SettingKey::Level, m_collection.currentNumber()},
        {SettingKey::Back, m_background},
        {SettingKey::Fig1, m_firstDesign},
        {SettingKey::Fig2, m_secondDesign},
        {SettingKey::Edinf, window.editorIntro ? 1 : 0},
    };
}

// --- The collection file and its recovery copy

bool Session::saveCollection() {
    if (!m_collectionReplaceable)
        return saveAsNewFile();
    // Last close wins, but only once the player has agreed to overwrite another game's save.
    if (StampOf(m_files.save) != m_savedStamp && !m_frontend.ask(Question::OverwriteNewerCollection))
        return saveAsNewFile();
    const SaveResult result = m_collection.save(m_files.save);
    if (!result.ok)
        m_frontend.showError(saveErrorText(result.failedRecord));
    return result.ok;
}

// Beside the collection file when its directory takes a new file, else in the player's data directory.
bool Session::saveAsNewFile() {
    const std::string name = NamePart(m_files.save);
    const std::size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
    SaveResult result{false, 0, 0};
    for (const std::string& directory :
         {DirectoryPart(ResolveLinks(m_files.save)) + "/", PlayerDataDirectory()}) {
        if (!MakeDirectories(directory))
            continue;
        for (int number = FirstOtherNumber; number <= LastOtherNumber; ++number) {
            const std::string path = directory + stem + "-" + std::to_string(number) + extension;
            result = m_collection.saveAsNew(path);
            if (result.ok) {
                m_frontend.showError(savedElsewhereText(path));
                return true;
            }
            if (result.error != EEXIST)
                break;
        }
    }
    m_frontend.showError(saveErrorText(result.failedRecord));
    return false;
}

// The collection as the player sees it: the editor's pending edits settled as the short way would
// settle them, but none on an original board, whose edits are always refused.
std::string Session::shownCollectionBytes() const {
    if (m_mode != ModeEditing || !hasPendingEdits())
        return m_collection.fileBytes();
    const LevelRecord& stored = m_collection.slot(m_collection.currentNumber());
    if (stored.isOriginal())
        return m_collection.fileBytes(stored);
    LevelRecord shown = m_collection.current();
    shown.StartCells = m_play.Cells;
    return m_collection.fileBytes(shown);
}

// Written after every change that marks the collection changed and every edit in the editor, so that a
// crash, a kill or a power cut loses at most the last move. A failure here is not shown: the close
// tells the player when neither the save nor this copy holds the changes. True when the copy holds the
// collection as the player sees it.
bool Session::writeRecoveryCopy() {
    const std::string bytes = shownCollectionBytes();
    if (bytes == m_recoveryHeld)
        return true;
    if (!m_recovery.write(bytes))
        return false;
    m_recoveryHeld = bytes;
    return true;
}

void Session::removeRecoveryCopy() {
    m_recovery.remove();
    m_recoveryHeld.clear();
}

// After every change and every edit: the copy keeps what is not saved, and goes when nothing is left
// that the player would lose (edits dropped, or edits of an original board, which are always refused).
void Session::followWithRecoveryCopy() {
    const bool editsShown =
        hasPendingEdits() && !m_collection.slot(m_collection.currentNumber()).isOriginal();
    if (m_collection.changed() || editsShown)
        writeRecoveryCopy();
    else
        removeRecoveryCopy();
}
