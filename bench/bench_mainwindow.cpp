// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's hot paths measured in the real window (offscreen): one step of a drag from the
// mouse event to the repainted pixels, one cell, the whole board area, a whole jump with its pause and
// removal effect (its CPU time is what a laptop's battery pays), and the start-up from the window's
// creation to its first painted board (in-process; the splash is not part of it).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "app/DeadEndWatch.h"
#include "app/MainWindow.h"
#include "rules/Rules.h"
#include "view/BoardArea.h"

namespace {

// Settings with the language chosen and the sound off, so nothing modal opens and nothing plays.
class QuietSettings {
public:
    explicit QuietSettings(int level = 1) {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
        // A recovery copy left by a solved board would be offered, modally, at the next start.
        qputenv("XDG_STATE_HOME", QFile::encodeName(m_dir.path() + "/state"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.path() + "/data"));
        QFile file(m_dir.filePath("kestrum.ini"));
        if (file.open(QIODevice::WriteOnly))
            file.write("[Tolvar Pegs 1]\ntongue=0\nsound=0\nlevel=" + QByteArray::number(level) + "\n");
    }

private:
    QTemporaryDir m_dir;
};

const QString ProgramDir = QStringLiteral(TOLVAR_PROGRAM_DIR "/");

std::unique_ptr<TMainForm> startedWindow() {
    auto form = std::make_unique<TMainForm>(ProgramDir);
    form->createOtherWindows();
    form->show();
    // The first activation runs here and paints the board before it returns.
    QCoreApplication::processEvents();
    return form;
}

QPoint cellCentre(const LevelRecord& record, int cell) {
    const Point anchor = CellAnchor(record, cell);
    return {anchor.x + 8, anchor.y + 8};
}

// The top-left peg of the first board in the collection, in board-area pixels.
QPoint firstPeg(const TMainForm& form) {
    const LevelRecord& record = form.session().currentRecord();
    for (int cell = 0; cell < CellCount; ++cell) {
        if (IsOnBoard(record, cell) && HoldsPeg(form.session().play().Cells[cell]))
            return cellCentre(record, cell);
    }
    return {};
}

void BM_MainWindowDragNearMove(benchmark::State& state) {
    QuietSettings settings;
    auto form = startedWindow();
    const QPoint peg = firstPeg(*form);
    QTest::mousePress(form->box(), Qt::LeftButton, {}, peg);
    if (!form->session().play().Dragging) {
        state.SkipWithError("no peg to pick on the first board");
        return;
    }
    int step = 0;
    for (auto _ : state) {
        const QPoint offset = (step++ % 2 == 0) ? QPoint(3, 2) : QPoint(0, 0);
        QTest::mouseMove(form->box(), peg + offset);
    }
    QTest::mouseRelease(form->box(), Qt::LeftButton, {}, peg);
}
BENCHMARK(BM_MainWindowDragNearMove);

struct Jump {
    int from = NoCell;
    int to = NoCell;
};

// The first legal jump of the current position.
Jump firstJump(const Session& session) {
    const LevelRecord& record = session.currentRecord();
    const Position& cells = session.play().Cells;
    for (int from = 0; from < CellCount; ++from) {
        if (!IsOnBoard(record, from) || !HoldsPeg(cells[from]))
            continue;
        for (int to = 0; to < CellCount; ++to) {
            if (IsOnBoard(record, to) && IsLegalJump(cells, record, from, to).legal)
                return {from, to};
        }
    }
    return {};
}

// The built-in board 2 ("Three in a Row") stays in play after its first jump: no solved or stuck
// window opens.
constexpr int JumpBoard = 2;
// The built-in board 78, the English Cross.
constexpr int CrossBoard = 78;

// Runs the window's thread until the dead-end watch has answered and the board's table is made. The
// wait looks every few milliseconds, not every one: its own wake-ups would count as the game's CPU.
void WaitUntilIdle(const TMainForm& form) {
    while (!QTest::qWaitFor([&] { return form.deadEndWatch()->idle(); }, std::numeric_limits<int>::max())) {
    }
}

void JumpByMouse(TMainForm& form, const Jump& jump) {
    const LevelRecord& record = form.session().currentRecord();
    QTest::mousePress(form.box(), Qt::LeftButton, {}, cellCentre(record, jump.from));
    QTest::mouseMove(form.box(), cellCentre(record, jump.to));
    QTest::mouseRelease(form.box(), Qt::LeftButton, {}, cellCentre(record, jump.to));
}

// One jump by mouse from the press on the peg until the dead-end watch is idle again; the undo that
// puts the board back is not timed. Wall time is the pauses; CPU time is the work of every thread.
void BM_MainWindowJump(benchmark::State& state) {
    QuietSettings settings(JumpBoard);
    auto form = startedWindow();
    const Jump jump = firstJump(form->session());
    if (jump.from == NoCell) {
        state.SkipWithError("no jump on the board");
        return;
    }
    for (auto _ : state) {
        JumpByMouse(*form, jump);
        WaitUntilIdle(*form);
        state.PauseTiming();
        if (form->session().play().JumpCount != 1 || form->session().mode() != ModePlaying) {
            state.SkipWithError("the jump was not made, or it ended the game");
            break;
        }
        form->session().BackMoveBtnClick();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MainWindowJump)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

// The jumps of the position after which the game goes on: no solved or stuck window opens.
std::vector<Jump> JumpsThatKeepTheGameOn(const Session& session) {
    const LevelRecord& record = session.currentRecord();
    const Position& cells = session.play().Cells;
    std::vector<Jump> found;
    for (int from = 0; from < CellCount; ++from) {
        if (!IsOnBoard(record, from) || !HoldsPeg(cells[from]))
            continue;
        for (int to = 0; to < CellCount; ++to) {
            const JumpCheck check =
                IsOnBoard(record, to) ? IsLegalJump(cells, record, from, to) : JumpCheck{};
            if (!check.legal)
                continue;
            Position next = cells;
            ApplyJump(next, from, check.jumpedOver, to, cells[from]);
            if (!IsSolved(next, record) && !IsStuck(next, record))
                found.push_back({from, to});
        }
    }
    return found;
}

// Random games on the English Cross, a jump by mouse at a time, each counted until the dead-end watch
// is idle again: the CPU time of every thread of the process, the watch's searches included. Not
// timed: the board's one-off table before the first jump, and taking a game that can go no further
// back to the start (positions the watch answers from memory).
void BM_MainWindowJumpOnTheCross(benchmark::State& state) {
    QuietSettings settings(CrossBoard);
    auto form = startedWindow();
    WaitUntilIdle(*form);
    Session& session = form->session();
    std::mt19937 random(CrossBoard);
    const int searchesBefore = form->deadEndWatch()->searchesBegun();
    for (auto _ : state) {
        std::vector<Jump> jumps = JumpsThatKeepTheGameOn(session);
        if (jumps.empty()) {
            state.PauseTiming();
            while (session.play().JumpCount > 0)
                session.BackMoveBtnClick();
            WaitUntilIdle(*form);
            jumps = JumpsThatKeepTheGameOn(session);
            state.ResumeTiming();
        }
        JumpByMouse(*form, jumps[random() % jumps.size()]);
        WaitUntilIdle(*form);
    }
    state.counters["searches_per_jump"] = benchmark::Counter(
        form->deadEndWatch()->searchesBegun() - searchesBefore, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_MainWindowJumpOnTheCross)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(300);

void BM_MainWindowDrawCell(benchmark::State& state) {
    QuietSettings settings;
    auto form = startedWindow();
    int cell = 0;
    for (auto _ : state) {
        form->drawCell(cell);
        cell = (cell + 1) % CellCount;
    }
}
BENCHMARK(BM_MainWindowDrawCell);

void BM_MainWindowBoxPaint(benchmark::State& state) {
    QuietSettings settings;
    auto form = startedWindow();
    for (auto _ : state)
        form->paintBoard();
}
BENCHMARK(BM_MainWindowBoxPaint);

void BM_MainWindowStartUp(benchmark::State& state) {
    QuietSettings settings;
    for (auto _ : state) {
        auto form = startedWindow();
        state.PauseTiming();
        form.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MainWindowStartUp)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
