// SPDX-License-Identifier: GPL-3.0-or-later
// The game session driven by any sequence of the player's operations on any collection: no crash, no
// undefined behaviour, and the state stays within its ranges.
#include <cstring>

#include "FuzzFile.h"
#include "session/Session.h"
#include "rules/PlayState.h"

namespace {

// Answers each question with the next bit of the input; draws nothing.
class QuietFrontend : public Frontend {
public:
    QuietFrontend(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    void drawCell(int) override {}
    void drawTargetCell(int) override {}
    void paintBoard() override {}
    void updateTitle() override {}
    void removalEffect(int) override {}
    void pause(int) override {}
    bool ask(Question) override { return m_size > 0 && (m_data[m_answers++ % m_size] & 1) != 0; }
    void notice(Notice) override {}
    void showError(const std::string&) override {}
    void playSound(int) override {}
    void repaintStatus() override {}
    void refreshHints() override {}
    void setStepEnabled(bool) override {}
    void setRestartAndUndoEnabled(bool) override {}
    void setSelector(int maximum, int position) override {
        fuzz::Require(position >= 1 && position <= maximum && maximum <= LevelCollection::MaxBoards,
                      "selector");
    }
    void startDrag(int, int, int) override {}
    void moveDrag(int, int) override {}
    void endDrag() override {}
    void showEditor(bool) override {}
    void blinkHint(int, int) override {}

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_answers = 0;
};

constexpr std::size_t OperationBytes = 4;
// The first bytes are the collection: up to three boards.
constexpr std::size_t CollectionBytes = 3 * RecordBytes;

// Mostly the centre of a cell of the current board, where play happens; sometimes any pixel.
Point pointerAt(const Session& session, const std::uint8_t* op) {
    if (op[3] & 4)
        return {op[1] * 2, op[2] * 2};
    const Point anchor = CellAnchor(session.currentRecord(), op[1] % CellCount);
    return {anchor.x + 8 + op[2] % 9 - 4, anchor.y + 8};
}

void operate(Session& session, const std::uint8_t* op) {
    const auto [x, y] = pointerAt(session, op);
    const MouseButton button = static_cast<MouseButton>(op[3] % 3);
    switch (op[0] % 20) {
    case 0:
        session.boxMouseDown(x, y, button);
        break;
    case 1:
        session.boxMouseMove(x, y);
        break;
    case 2:
        session.boxMouseUp(x, y, button);
        break;
    case 3:
        session.BackMoveBtnClick();
        break;
    case 4:
        session.RestartBtnClick();
        break;
    case 5:
        session.StepBtnClick();
        break;
    case 6:
        session.EditBtnClick(op[1] & 1);
        break;
    case 7:
        session.levelscrollChange(op[1] % 5);
        break;
    case 8:
        session.StoreSolution();
        break;
    case 9:
        session.ShapeGrpClick(op[1] % 3);
        break;
    case 10:
        session.SizeGrpClick(op[1] % 7 + 4);
        break;
    case 11:
        session.diagboxClick(op[1] & 1);
        break;
    case 12:
        session.NameEditChange(std::string(reinterpret_cast<const char*>(op + 1), 3));
        break;
    case 13:
        session.TongBtnClick();
        break;
    case 14:
        session.InsertBtnClick();
        break;
    case 15:
        session.DeleteBtnClick();
        break;
    case 16:
        session.DownBtnClick();
        break;
    case 17:
        session.UpBtnClick();
        break;
    case 18:
        session.redoJump();
        break;
    default:
        session.putPegBack();
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = fuzz::ScratchPath("session.dat");
    const std::size_t boards = std::min(size, CollectionBytes);
    fuzz::WriteScratch(path, data, boards);
    QuietFrontend frontend(data, size);
    Session session(frontend);
    session.loadCollection(path);
    session.selectRememberedBoard(size > 0 ? data[0] % 4 : 1);
    for (std::size_t at = boards; at + OperationBytes <= size; at += OperationBytes) {
        operate(session, data + at);
        const LevelCollection& collection = session.collection();
        fuzz::Require(collection.currentNumber() >= 1 && collection.currentNumber() <= collection.count(),
                      "the current board is in the list");
        fuzz::Require(session.mode() <= ModeEditing, "a known mode");
    }
    session.closeSequence({});
    return 0;
}
