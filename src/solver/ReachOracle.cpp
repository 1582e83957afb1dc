// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/ReachOracle.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <limits>

#include "rules/Rules.h"
#include "solver/BoardGoal.h"
#include "solver/BoardSymmetry.h"

namespace reach {

namespace {

// Positions remembered across the questions on one board, in buckets of four: some 25 MB on boards of
// 30 holes and more, less on the smaller ones, whose searches are smaller too.
std::size_t MemoBucketsFor(int holes) {
    return std::size_t{1} << std::clamp(holes - 12, 10, 18);
}
// What a question has that finds the board's memory taken (some 1.5 MB).
constexpr std::size_t OwnMemoBuckets = std::size_t{1} << 14;

// Where a cell is drawn, in tenths of a cell pitch (odd hexagonal rows half a cell to the right).
std::pair<int, int> DrawnPlace(const LevelRecord& record, int cell) {
    const int row = cell / GridWidth, col = cell % GridWidth;
    return {10 * row, 10 * col + (record.isHexagon() && row % 2 == 1 ? 5 : 0)};
}

// How far each hole is drawn from the nearest of the target's pegs, or without them from the
// middle of the holes.
std::vector<int> DistancesOf(const LevelRecord& record, const Board& board, Pegs target) {
    std::vector<std::pair<int, int>> towards;
    for (int hole = 0; hole < board.holes(); ++hole)
        if ((target.all >> hole) & 1)
            towards.push_back(DrawnPlace(record, board.cellOf(hole)));
    if (towards.empty()) {
        std::pair<int, int> sum{0, 0};
        for (int hole = 0; hole < board.holes(); ++hole) {
            sum.first += DrawnPlace(record, board.cellOf(hole)).first;
            sum.second += DrawnPlace(record, board.cellOf(hole)).second;
        }
        const int holes = std::max(board.holes(), 1);
        towards.push_back({sum.first / holes, sum.second / holes});
    }
    std::vector<int> distance;
    for (int hole = 0; hole < board.holes(); ++hole) {
        const auto [row, col] = DrawnPlace(record, board.cellOf(hole));
        int nearest = std::numeric_limits<int>::max();
        for (const auto& [r, c] : towards)
            nearest = std::min(nearest, static_cast<int>(std::lround(std::hypot(row - r, col - c))));
        distance.push_back(nearest);
    }
    return distance;
}

// A pagoda function of Fibonacci numbers that fall with the distance from a hole: a peg a step
// nearer weighs as much as the two a step and two steps farther, so no jump raises the sum.
std::vector<int> FibonacciPagoda(const LevelRecord& record, const Board& board, int towards) {
    constexpr int Farthest = 2 * GridWidth;
    std::array<int, Farthest + 3> fibonacci{0, 1};
    for (std::size_t k = 2; k < fibonacci.size(); ++k)
        fibonacci[k] = fibonacci[k - 1] + fibonacci[k - 2];
    std::vector<int> weight;
    for (int hole = 0; hole < board.holes(); ++hole) {
        const int steps = LineDistance(record, board.cellOf(hole), board.cellOf(towards));
        weight.push_back(fibonacci[static_cast<std::size_t>(std::max(0, Farthest + 2 - steps))]);
    }
    return weight;
}

// The position classes, and with a target of pegs, the pagoda functions that tell most between the
// start and the target.
Goal GoalOf(const LevelRecord& record, const Board& board, const BoardGoal& read, Pegs start, Pegs target) {
    Goal goal;
    goal.singlePeg = read.singlePeg;
    goal.target = target;
    const SearchBounds bounds = FindSearchBounds(board.holeBoard(), !read.singlePeg, board.holePegs(start),
                                                 read.singlePeg ? HolePegs{} : board.holePegs(target));
    for (const std::vector<std::uint8_t>& check : bounds.parityChecks) {
        if (goal.parityMasks.size() == 64)
            break;
        HoleSet mask = 0;
        for (std::size_t hole = 0; hole < check.size(); ++hole)
            mask |= static_cast<HoleSet>(check[hole] & 1) << hole;
        goal.parityMasks.push_back(mask);
    }
    for (int hole = 0; hole < board.holes(); ++hole) {
        const std::uint64_t single = goal.classOf(HoleSet{1} << hole);
        if (std::find(goal.lastPegClasses.begin(), goal.lastPegClasses.end(), single) ==
            goal.lastPegClasses.end())
            goal.lastPegClasses.push_back(single);
    }
    // Towards each hole where the last peg may stand in the start's class, or each peg of the target.
    const std::uint64_t startClass = goal.classOf(start.all);
    std::vector<int> towards;
    for (int hole = 0; hole < board.holes(); ++hole)
        if (read.singlePeg ? goal.classOf(HoleSet{1} << hole) == startClass
                           : ((target.all >> hole) & 1) != 0)
            towards.push_back(hole);
    // Where the last peg may stand on more holes than there are functions, those of some of them
    // cost the search more than they rule out: on the 45-hole triangle, with 15 holes, the same
    // answers took three times as long.
    if (read.singlePeg && towards.size() > MaxPagodas)
        towards.clear();
    for (const int hole : towards) {
        if (goal.pagodaTarget.size() == MaxPagodas)
            break;
        goal.pagodaPeg.push_back(FibonacciPagoda(record, board, hole));
        goal.pagodaSecond.push_back(std::vector<int>(static_cast<std::size_t>(board.holes()), 0));
        goal.pagodaTarget.push_back(goal.pagodaPeg.back()[static_cast<std::size_t>(hole)]);
    }
    if (read.singlePeg)
        return goal;
    const HolePegs targetPegs = board.holePegs(target);
    for (std::size_t k = 0; k < goal.pagodaTarget.size(); ++k)
        goal.pagodaTarget[k] = PagodaValue({goal.pagodaPeg[k], goal.pagodaSecond[k]}, targetPegs);
    for (const PagodaFunction& pagoda : bounds.pagodas) {
        if (goal.pagodaTarget.size() == MaxPagodas)
            break;
        goal.pagodaPeg.push_back(pagoda.peg);
        goal.pagodaSecond.push_back(pagoda.second);
        goal.pagodaTarget.push_back(PagodaValue(pagoda, targetPegs));
    }
    return goal;
}

// A target that asks for a hole where the board has none, for a peg where it has no hole, or for
// codes above 3 is never reached: play makes no holes and no codes.
bool TargetFitsHoles(const LevelRecord& record) {
    for (int cell = 0; cell < CellCount; ++cell) {
        const CellCode want = record.TargetCells[cell];
        if (IsOnBoard(record, cell) &&
            (IsBoardHole(record, cell) != (want != NoHole) || want > SecondColourPeg))
            return false;
    }
    return true;
}

} // namespace

Oracle::Oracle(Board board, const LevelRecord& record, std::size_t memoBuckets)
    : m_record(record), m_board(std::move(board)),
      m_memo(memoBuckets > 0 ? memoBuckets : MemoBucketsFor(m_board.holes())) {
    const BoardGoal read = ReadGoal(record);
    m_colours = !read.singlePeg;
    m_neverReached = !read.singlePeg && !TargetFitsHoles(record);
    const Pegs start = m_board.read(record.StartCells, m_colours).value_or(Pegs{});
    const Pegs target =
        m_neverReached || read.singlePeg ? Pegs{} : m_board.read(record.TargetCells, true).value_or(Pegs{});
    m_goal = GoalOf(record, m_board, read, start, target);
    m_goal.distance = DistancesOf(record, m_board, target);
    m_startClass = m_goal.classOf(start.all);
    m_startPegs = Count(start.all);
    m_fingerprint = fingerprintOf(record);
}

bool Oracle::Takes(const LevelRecord& record) {
    int holes = 0;
    for (int cell = 0; cell < CellCount; ++cell)
        holes += IsBoardHole(record, cell) ? 1 : 0;
    return holes <= MaxHoles && ReadGoal(record).reading != GoalReading::Unsupported;
}

std::unique_ptr<Oracle> Oracle::For(const LevelRecord& record, std::size_t memoBuckets) {
    if (!Takes(record))
        return nullptr;
    std::optional<Board> board = Board::Of(record);
    if (!board)
        return nullptr;
    return std::unique_ptr<Oracle>(new Oracle(std::move(*board), record, memoBuckets));
}

Oracle::Fingerprint Oracle::fingerprintOf(const LevelRecord& record) const {
    Fingerprint f;
    for (int cell = 0; cell < CellCount; ++cell) {
        f.holes[cell] = IsBoardHole(record, cell) ? 1 : 0;
        f.target[cell] = IsOnBoard(record, cell) ? record.TargetCells[cell] : NoHole;
    }
    f.hexagon = record.isHexagon();
    f.diagonal = !record.isHexagon() && record.allowsDiagonal();
    const std::optional<Pegs> start = m_board.read(record.StartCells, false);
    f.startClass = start ? m_goal.classOf(start->all) : ~std::uint64_t{0};
    return f;
}

bool Oracle::serves(const LevelRecord& record) const {
    return ReadGoal(record).reading != GoalReading::Unsupported && fingerprintOf(record) == m_fingerprint;
}

std::vector<HoleSet> Oracle::bottomKeys() const {
    std::vector<HoleSet> keys;
    if (!m_goal.singlePeg) {
        const Pegs target{m_goal.target.all, 0};
        keys.push_back(m_board.pegsKey(target.all, m_board.images(target)));
        return keys;
    }
    // Positions in play keep the start's class, and so does their last peg.
    for (int hole = 0; hole < m_board.holes(); ++hole) {
        const Pegs single{HoleSet{1} << hole, 0};
        if (m_goal.classOf(single.all) == m_startClass)
            keys.push_back(m_board.pegsKey(single.all, m_board.images(single)));
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

bool Oracle::addPage(Openings& openings, const OpeningPage& page, const std::atomic<bool>* cancelled) const {
    if (!serves(page.board))
        return false;
    const std::optional<Pegs> start = m_board.read(page.board.StartCells, m_colours);
    return start && openings.add(m_board, *start, page, cancelled);
}

void Oracle::publish(std::shared_ptr<const Openings> openings) {
    const std::lock_guard<std::mutex> lock(m_tableMutex);
    m_openings = std::move(openings);
}

bool Oracle::openPage(const OpeningPage& page, const std::atomic<bool>* cancelled) {
    const std::shared_ptr<const Openings> before = openings();
    auto opened = before ? std::make_shared<Openings>(*before) : std::make_shared<Openings>();
    if (!addPage(*opened, page, cancelled))
        return false;
    publish(std::move(opened));
    return true;
}

std::shared_ptr<const Openings> Oracle::openings() const {
    const std::lock_guard<std::mutex> lock(m_tableMutex);
    return m_openings;
}

void Oracle::openBuiltInPages(const std::atomic<bool>* cancelled) {
    auto opened = std::make_shared<Openings>();
    for (const OpeningPage& page : BuiltInOpenings())
        addPage(*opened, page, cancelled);
    if (opened->positions() > 0)
        publish(std::move(opened));
}

void Oracle::buildTable(const TableBudget& budget) {
    const std::vector<HoleSet> bottom = bottomKeys();
    if (bottom.empty() || m_neverReached)
        return;
    std::shared_ptr<const Table> built = Table::Build(m_board, bottom, m_startPegs, budget);
    if (!built)
        return;
    const std::lock_guard<std::mutex> lock(m_tableMutex);
    m_table = std::move(built);
}

std::shared_ptr<const Table> Oracle::table() const {
    const std::lock_guard<std::mutex> lock(m_tableMutex);
    return m_table;
}

std::shared_ptr<const Table> Oracle::tableFor(Pegs from) const {
    // With a single peg as the target the table's last pegs stand in the start's class.
    std::shared_ptr<const Table> built = table();
    return built && (!m_goal.singlePeg || m_goal.classOf(from.all) == m_startClass) ? built : nullptr;
}

OracleAnswer Oracle::searched(const Pegs& from, const SearchLimits& limits, Memo& memo) {
    const std::shared_ptr<const Table> fits = tableFor(from);
    std::vector<LearnedPagoda> learned;
    {
        const std::lock_guard<std::mutex> lock(m_learnedMutex);
        learned = m_learned;
    }
    SearchResult found = Search(m_board, m_goal, learned, fits.get(), memo, from, limits);
    if (!found.proof.empty()) {
        // The latest proofs stay: a game's positions are alike, and so are the functions that cut them.
        const std::lock_guard<std::mutex> lock(m_learnedMutex);
        m_learned.insert(m_learned.end(), std::make_move_iterator(found.proof.begin()),
                         std::make_move_iterator(found.proof.end()));
        if (m_learned.size() > MaxLearnedPagodas)
            m_learned.erase(m_learned.begin(),
                            m_learned.end() - static_cast<std::ptrdiff_t>(MaxLearnedPagodas));
    }
    OracleAnswer answer;
    answer.verdict = found.verdict;
    answer.examined = found.examined;
    answer.byJumpCounts = found.byJumpCounts;
    for (const int k : found.way) {
        const Line& line = m_board.lines()[static_cast<std::size_t>(k)];
        answer.way.push_back({static_cast<std::uint8_t>(m_board.cellOf(line.from)),
                              static_cast<std::uint8_t>(m_board.cellOf(line.land))});
    }
    return answer;
}

void Oracle::findWayOnFromKnown(const Openings* book, Pegs from, const SearchLimits& limits, Memo& memo,
                                OracleAnswer& answer) {
    // The memory holds only what a search proved, a "reaches" with the child it went through: a
    // search without a way asked for (the dead-end watch's) leaves such a chain behind it. Below the
    // memory's, the table's positions lead on where it knows the whole answer.
    const std::shared_ptr<const Table> built = tableFor(from);
    // The table knows no colours.
    const bool tableExact = built && (m_goal.singlePeg || (from.second == 0 && m_goal.target.second == 0));
    const auto knownToReach = [&](Pegs child, const Images& images) {
        if (m_goal.singlePeg ? Count(child.all) == 1 : child == m_goal.target)
            return true;
        if (tableExact && built->answers(Count(child.all)))
            return built->reaches(m_board.pegsKey(child.all, images));
        const Pegs key = m_board.key(child, images);
        return (book != nullptr && book->answer(key) == Opening::Reaches) ||
               memo.find(key) == Memo::Known::Reaches;
    };
    Pegs p = from;
    const std::vector<Line>& lines = m_board.lines();
    for (bool stepped = true; stepped;) {
        stepped = false;
        const Images images = m_board.images(p);
        for (std::size_t k = 0; k < lines.size() && !stepped; ++k) {
            if (!m_board.canJump(p.all, lines[k]))
                continue;
            const Pegs child = Board::jump(p, lines[k]);
            if (!knownToReach(child, m_board.imagesAfter(images, p, static_cast<int>(k))))
                continue;
            answer.way.push_back({static_cast<std::uint8_t>(m_board.cellOf(lines[k].from)),
                                  static_cast<std::uint8_t>(m_board.cellOf(lines[k].land))});
            p = child;
            stepped = true;
        }
    }
    const OracleAnswer rest = searched(p, limits, memo);
    answer.examined = rest.examined;
    answer.wayToTarget = rest.verdict == Verdict::Reaches;
    if (answer.wayToTarget)
        answer.way.insert(answer.way.end(), rest.way.begin(), rest.way.end());
}

OracleAnswer Oracle::ask(const Position& cells, const SearchLimits& limits) {
    OracleAnswer answer;
    const std::optional<Pegs> from = m_board.read(cells, m_colours);
    if (!from)
        return answer;
    // The rules' own test first: it also knows a position without pegs as solved where the target
    // draws every hole empty.
    if (IsSolved(cells, m_record)) {
        answer.verdict = Verdict::Reaches;
        return answer;
    }
    if (m_neverReached) {
        answer.verdict = Verdict::Dead;
        return answer;
    }
    const std::shared_ptr<const Openings> book = openings();
    const Opening known = book ? book->answer(m_board.key(*from)) : Opening::NotKnown;
    if (known == Opening::Dead || (known == Opening::Reaches && !limits.wantWay)) {
        answer.verdict = known == Opening::Reaches ? Verdict::Reaches : Verdict::Dead;
        return answer;
    }
    // A question that finds the memory taken by another thread's does not wait for it: it searches
    // with a small memory of its own.
    std::unique_lock<std::mutex> lock(m_memoMutex, std::try_to_lock);
    std::optional<Memo> own;
    if (!lock.owns_lock())
        own.emplace(OwnMemoBuckets);
    Memo& memo = own ? *own : m_memo;
    if (known == Opening::NotKnown &&
        (!limits.wantWay || memo.find(m_board.key(*from)) != Memo::Known::Reaches))
        return searched(*from, limits, memo);
    answer.verdict = Verdict::Reaches;
    findWayOnFromKnown(book.get(), *from, limits, memo, answer);
    return answer;
}

} // namespace reach
