// SPDX-License-Identifier: GPL-3.0-or-later
// The board editor's side of the session: cycling cells of the start and the target position with the
// mouse, the board's shape, size, diagonal rule and name, the language button, the list and file
// commands of the editor window, and the settling of the editor's pending changes before a board is left.
#include "session/Session.h"

#include <algorithm>

#include "rules/Rules.h"
#include "session/Texts.h"
#include "storage/BoardFile.h"

namespace {

// A click right of this column belongs to the small board, even where it hits no cell.
constexpr int SmallBoardFromX = 316;
// The small board's hit box reaches 2 pixels left of and above a cell's anchor and 10 past it.
constexpr int SmallBoxBefore = 2;
constexpr int SmallBoxAfter = 10;

constexpr int SmallestSize = 5;
constexpr int LargestSize = 9;

// Anchor of a cell of the small board, in board-area pixels; like the big board's, it does not
// depend on whether the cell is on the board.
Point TargetCellAnchor(const LevelRecord& record, int cell) {
    const int size = std::min<int>(record.Size, GridWidth); // as CellAnchor
    const int row = cell / GridWidth;
    const int col = cell % GridWidth;
    if (record.isHexagon())
        return {402 - 8 * size + 16 * col + (row % 2 == 1 ? 8 : 0), 104 - 7 * size + 14 * row};
    return {402 - 8 * size + 16 * col, 106 - 8 * size + 16 * row};
}

// Cells are tried in index order and the last hit wins.
int TargetBoxCellAt(const LevelRecord& record, int x, int y) {
    int hit = NoCell;
    for (int cell = 0; cell < CellCount; ++cell) {
        const Point anchor = TargetCellAnchor(record, cell);
        if (x >= anchor.x - SmallBoxBefore && x <= anchor.x + SmallBoxAfter &&
            y >= anchor.y - SmallBoxBefore && y <= anchor.y + SmallBoxAfter)
            hit = cell;
    }
    return hit;
}

// Left goes one step forward, right one step back (no hole -> empty hole -> first colour -> second
// colour -> no hole); any other button keeps the code. A byte above 3 from a damaged file comes back
// into 0..3 with the first left or right click.
CellCode CycledCode(CellCode code, MouseButton button) {
    switch (button) {
    case MouseButton::Left:
        return static_cast<CellCode>((code + 1) % 4);
    case MouseButton::Right:
        return static_cast<CellCode>((code + 3) % 4);
    case MouseButton::Other:
        break;
    }
    return code;
}

// The code the same cell of the other position takes, so that start and target keep their holes in
// the same places: a hole or no hole is copied over a hole or no hole, and a peg needs at least an
// empty hole under it in the other position.
CellCode LinkedCode(CellCode clicked, CellCode other) {
    const bool otherIsHoleOrNone = other == NoHole || other == EmptyHole;
    if (clicked <= EmptyHole && otherIsHoleOrNone)
        return clicked;
    if (HoldsPeg(clicked) && other == NoHole)
        return EmptyHole;
    return other;
}

} // namespace

// --- Cells

void Session::editCellAt(int x, int y, MouseButton button) {
    LevelRecord& record = m_collection.current();
    const bool target = x >= SmallBoardFromX;
    const int cell = target ? TargetBoxCellAt(record, x, y) : PickBoxCellAt(record, x, y);
    if (cell == NoCell || !IsOnBoard(record, cell))
        return;

    // The start position is edited in the working cells; it reaches the record when accepted.
    Position& clicked = target ? record.TargetCells : m_play.Cells;
    Position& other = target ? m_play.Cells : record.TargetCells;
    const auto redraw = [this](bool onTarget, int at) {
        if (onTarget)
            m_frontend.drawTargetCell(at);
        else
            m_frontend.drawCell(at);
    };

    const CellCode code = CycledCode(clicked[cell], button);
    const CellCode linked = LinkedCode(code, other[cell]);
    const bool otherChanged = linked != other[cell];
    clicked[cell] = code;
    other[cell] = linked;
    m_pendingCellEdit = true;
    m_pendingPropertyEdit = true;
    // Kept before it is shown: whatever the player has seen survives a kill.
    followWithRecoveryCopy();
    // Only codes 0 to 3 have a sound; a damaged byte kept by the middle button stays silent.
    if (code <= SecondColourPeg)
        m_frontend.playSound(Sound::EditorCell + code);
    if (otherChanged)
        redraw(!target, cell);
    redraw(target, cell);
}

// --- Shape, size, diagonal rule, name

// The window disables these controls on a board that is not editable; the session refuses them too.
bool Session::editsAllowed() const {
    return m_mode == ModeEditing && !m_collection.current().isOriginal();
}

void Session::ShapeGrpClick(int shape) {
    if (!editsAllowed() || (shape != ShapeSquare && shape != ShapeHexagon))
        return;
    m_collection.current().Shape = static_cast<std::uint8_t>(shape);
    m_pendingCellEdit = true;
    followWithRecoveryCopy();
    m_frontend.paintBoard();
}

void Session::SizeGrpClick(int size) {
    if (!editsAllowed() || size < SmallestSize || size > LargestSize)
        return;
    // Cells outside the new size keep their codes; they are simply off the board.
    m_collection.current().Size = static_cast<std::uint8_t>(size);
    m_pendingCellEdit = true;
    followWithRecoveryCopy();
    m_frontend.paintBoard();
}

void Session::diagboxClick(bool allowed) {
    if (!editsAllowed())
        return;
    m_collection.current().Diagonal = allowed ? 1 : 0;
    m_pendingCellEdit = true;
    followWithRecoveryCopy();
}

void Session::NameEditChange(const std::string& nameBytes) {
    if (!editsAllowed())
        return;
    m_collection.current().Names[NameSlotForLanguage(m_language)].setText(nameBytes);
    m_pendingPropertyEdit = true;
    followWithRecoveryCopy();
}

void Session::TongBtnClick() {
    if (m_mode != ModeEditing)
        return;
    // Not chosen (-1) becomes English; any other value swaps English and German.
    m_language = ((m_language + 1) % 2 + 2) % 2;
    m_frontend.refreshHints();
    m_frontend.updateTitle();
}

// --- The board list

// After insert, import and delete: the selector, the play state, the hints and the editor's controls
// follow the new current board, with nothing pending on it.
void Session::showCurrentBoardInEditor() {
    moveSelector(m_collection.currentNumber());
    resetPlay();
    clearPendingEdits();
    m_frontend.paintBoard();
}

void Session::InsertBtnClick() {
    if (m_mode != ModeEditing || m_collection.isFull())
        return;
    if (hasPendingEdits())
        settleShortWay();
    // Settled before the list changes, so that the recovery copy never puts them on another board.
    clearPendingEdits();
    LevelRecord fresh;
    MakeNewBoard(fresh);
    m_collection.insertAfterCurrent(fresh);
    showCurrentBoardInEditor();
}

void Session::DeleteBtnClick() {
    if (m_mode != ModeEditing)
        return;
    if (m_collection.slot(m_collection.currentNumber()).isOriginal()) {
        m_frontend.notice(Notice::OriginalBoard);
        return;
    }
    if (!m_frontend.ask(Question::RemoveBoard))
        return;
    // The board's pending edits go with it.
    clearPendingEdits();
    m_collection.deleteCurrent();
    // Also when a board in the middle went: the par and the hints belong to the board now current.
    showCurrentBoardInEditor();
}

void Session::DownBtnClick() {
    moveBoard(true);
}

void Session::UpBtnClick() {
    moveBoard(false);
}

void Session::moveBoard(bool down) {
    if (m_mode != ModeEditing)
        return;
    if (!(down ? m_collection.moveDown() : m_collection.moveUp()))
        return;
    // The slots have changed places and the current record is still the unsettled working copy: the
    // selection at the new number settles the pending edits against the board's own slot.
    const int moved = m_collection.currentNumber();
    moveSelector(moved);
    selectBoardWhileEditing(moved);
}

// --- Board files

bool Session::startExport() {
    if (m_mode != ModeEditing)
        return false;
    if (m_collection.current().isOriginal()) {
        m_frontend.notice(Notice::ExportOriginal);
        return false;
    }
    return true;
}

void Session::exportBoard(const std::string& path) {
    if (m_mode != ModeEditing || m_collection.current().isOriginal())
        return;
    // The current record, not the working cells: unsettled start cells are not exported.
    if (!ExportBoard(m_collection.current(), path).ok)
        m_frontend.showError(exportErrorText(path));
}

std::string Session::exportErrorText(const std::string& path) const {
    return WithValues(CannotExportText.in(m_language), {FileNamePart(path)});
}

bool Session::startImport() {
    return m_mode == ModeEditing && !m_collection.isFull();
}

void Session::importBoard(const std::string& path) {
    if (!startImport() || path.empty())
        return;
    const ImportResult result = ImportBoard(path);
    if (result.status == ImportStatus::Missing)
        return;
    if (result.status != ImportStatus::Ok) {
        m_frontend.notice(Notice::ImportFailed);
        return;
    }
    if (hasPendingEdits())
        settleShortWay();
    clearPendingEdits();
    m_collection.insertAfterCurrent(result.record);
    showCurrentBoardInEditor();
}

// --- Pending editor changes

// Settled or dropped, the edits leave the recovery copy with the collection as it now is.
void Session::clearPendingEdits() {
    const bool hadEdits = hasPendingEdits();
    m_pendingCellEdit = false;
    m_pendingPropertyEdit = false;
    if (hadEdits)
        followWithRecoveryCopy();
}

// An original board's record never changes (but for its Solved flag, set by play): every edit is
// refused and the board goes back to its slot. True when the board was an original.
bool Session::refusedAsOriginal() {
    const LevelRecord& stored = m_collection.slot(m_collection.currentNumber());
    if (!stored.isOriginal())
        return false;
    m_frontend.notice(Notice::OriginalBoard);
    m_collection.current() = stored;
    return true;
}

// Before the editor leaves the board: an original board refuses every change; otherwise the player
// accepts the edited start position (dropping a stored solution that no longer fits) or drops all edits.
void Session::settleFullWay() {
    if (refusedAsOriginal())
        return;
    LevelRecord& record = m_collection.current();
    if (!m_frontend.ask(Question::AcceptBoardChanges)) {
        record = m_collection.slot(m_collection.currentNumber());
        return;
    }
    record.StartCells = m_play.Cells;
    record.Reserved1 = 0;
    if (m_pendingCellEdit)
        record.SolutionMoves = 0;
    m_collection.markChanged();
}

// The short way keeps the solution and whatever went straight into the record; only the edited start
// position waits for the answer. An original board refuses its edits as the full way does.
void Session::settleShortWay() {
    if (refusedAsOriginal())
        return;
    if (!m_frontend.ask(Question::AcceptBoardChanges))
        return;
    m_collection.current().StartCells = m_play.Cells;
    m_collection.markChanged();
}
