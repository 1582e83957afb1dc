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

#include <memory>

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

// One jump by mouse from the press on the peg to the end of the removal effect; the undo that puts the
// board back is not timed. Wall time is the pauses; CPU time is the work.
void BM_MainWindowJump(benchmark::State& state) {
    QuietSettings settings(JumpBoard);
    auto form = startedWindow();
    const Jump jump = firstJump(form->session());
    if (jump.from == NoCell) {
        state.SkipWithError("no jump on the board");
        return;
    }
    const LevelRecord& record = form->session().currentRecord();
    for (auto _ : state) {
        QTest::mousePress(form->box(), Qt::LeftButton, {}, cellCentre(record, jump.from));
        QTest::mouseMove(form->box(), cellCentre(record, jump.to));
        QTest::mouseRelease(form->box(), Qt::LeftButton, {}, cellCentre(record, jump.to));
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
