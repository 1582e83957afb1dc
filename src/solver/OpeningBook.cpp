// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/OpeningBook.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>

#include "solver/BoardGoal.h"
#include "solver/BoardSymmetry.h"
#include "solver/ReachOracle.h"

namespace reach {

namespace {

// The book file: its mark, then a page after the other, each the board's record, the lowest pegs,
// the hash of the positions (eight bytes), their number (four bytes) and their answers, four to a
// byte, the first in the lowest two bits; numbers lowest byte first.
constexpr std::array<std::uint8_t, 5> Mark{'T', 'P', 'O', 'B', 1};
constexpr std::size_t PageHead = RecordBytes + 1 + 8 + 4;
constexpr int CheckEvery = 4096;

// The levels from the start's down, each sorted; stops before the level that would pass `most`
// positions in all, or below `lowestPegs`. False when called off.
bool Levels(const Board& board, Pegs start, int lowestPegs, std::size_t most,
            const std::atomic<bool>* cancelled, std::vector<std::vector<Pegs>>& levels) {
    levels.assign(1, {board.key(start)});
    std::size_t total = 1;
    const std::vector<Line>& lines = board.lines();
    while (Count(levels.back().front().all) > lowestPegs) {
        std::vector<Pegs> next;
        int seen = 0;
        for (const Pegs p : levels.back()) {
            if (++seen % CheckEvery == 0 && CalledOff(cancelled))
                return false;
            const Images images = board.images(p);
            for (std::size_t k = 0; k < lines.size(); ++k)
                if (board.canJump(p.all, lines[k]))
                    next.push_back(board.key(Board::jump(p, lines[k]),
                                             board.imagesAfter(images, p, static_cast<int>(k))));
        }
        std::sort(next.begin(), next.end());
        next.erase(std::unique(next.begin(), next.end()), next.end());
        if (next.empty() || total + next.size() > most)
            break;
        total += next.size();
        levels.push_back(std::move(next));
    }
    return !CalledOff(cancelled);
}

void PutNumber(std::vector<std::uint8_t>& out, std::uint64_t number, int bytes) {
    for (int k = 0; k < bytes; ++k)
        out.push_back(static_cast<std::uint8_t>(number >> (8 * k)));
}

std::uint64_t NumberAt(const std::uint8_t* p, int bytes) {
    std::uint64_t number = 0;
    for (int k = 0; k < bytes; ++k)
        number |= static_cast<std::uint64_t>(p[k]) << (8 * k);
    return number;
}

} // namespace

std::vector<OpeningPage> ReadOpenings(const std::uint8_t* bytes, std::size_t size) {
    std::vector<OpeningPage> pages;
    if (size < Mark.size() || std::memcmp(bytes, Mark.data(), Mark.size()) != 0)
        return {};
    for (std::size_t at = Mark.size(); at < size;) {
        if (size - at < PageHead)
            return {};
        OpeningPage page;
        page.board = LevelRecord::fromBytes(bytes + at);
        page.lowestPegs = bytes[at + RecordBytes];
        page.positionsHash = NumberAt(bytes + at + RecordBytes + 1, 8);
        const std::size_t count = NumberAt(bytes + at + RecordBytes + 9, 4);
        at += PageHead;
        if ((size - at) * 4 < count)
            return {};
        page.answers.reserve(count);
        for (std::size_t k = 0; k < count; ++k) {
            const int answer = (bytes[at + k / 4] >> (2 * (k % 4))) & 3;
            if (answer > static_cast<int>(Opening::Dead))
                return {};
            page.answers.push_back(static_cast<Opening>(answer));
        }
        at += (count + 3) / 4;
        pages.push_back(std::move(page));
    }
    return pages;
}

std::vector<std::uint8_t> WriteOpenings(const std::vector<OpeningPage>& pages) {
    std::vector<std::uint8_t> out(Mark.begin(), Mark.end());
    for (const OpeningPage& page : pages) {
        const LevelRecord::Bytes record = page.board.toBytes();
        out.insert(out.end(), record.begin(), record.end());
        out.push_back(static_cast<std::uint8_t>(page.lowestPegs));
        PutNumber(out, page.positionsHash, 8);
        PutNumber(out, page.answers.size(), 4);
        const std::size_t first = out.size();
        out.resize(first + (page.answers.size() + 3) / 4, 0);
        for (std::size_t k = 0; k < page.answers.size(); ++k)
            out[first + k / 4] |=
                static_cast<std::uint8_t>(static_cast<int>(page.answers[k]) << (2 * (k % 4)));
    }
    return out;
}

std::vector<Pegs> OpeningPositions(const Board& board, Pegs start, int lowestPegs, std::size_t most,
                                   const std::atomic<bool>* cancelled) {
    std::vector<std::vector<Pegs>> levels;
    if (!Levels(board, start, lowestPegs, most, cancelled, levels))
        return {};
    std::vector<Pegs> keys;
    for (const std::vector<Pegs>& level : levels)
        keys.insert(keys.end(), level.begin(), level.end());
    return keys;
}

std::uint64_t HashOfPositions(const std::vector<Pegs>& keys) {
    std::uint64_t hash = keys.size();
    for (const Pegs key : keys)
        hash = HashKey(hash ^ HashKey(key.all) ^ HashKey(~key.second));
    return hash;
}

int LowestPegsWithin(const Board& board, Pegs start, std::size_t most) {
    std::vector<std::vector<Pegs>> levels;
    Levels(board, start, 0, most, nullptr, levels);
    return Count(levels.back().front().all);
}

bool OpeningsWanted(const LevelRecord& record) {
    const bool colours = !ReadGoal(record).singlePeg;
    int holes = 0;
    bool secondColour = false;
    for (int cell = 0; cell < CellCount; ++cell) {
        holes += IsBoardHole(record, cell) ? 1 : 0;
        secondColour =
            secondColour || (IsBoardHole(record, cell) && record.StartCells[cell] == SecondColourPeg);
    }
    return !record.isHexagon() && !record.allowsDiagonal() && holes <= 33 && !(colours && secondColour);
}

std::optional<OpeningPage>
MakeOpeningPage(const LevelRecord& record, const OpeningBudget& budget,
                const std::function<void(int, std::size_t, std::size_t)>& progress) {
    const std::optional<Board> board = Board::Of(record);
    std::unique_ptr<Oracle> oracle = Oracle::For(record, budget.memoBuckets);
    const bool colours = !ReadGoal(record).singlePeg;
    const std::optional<Pegs> start = board ? board->read(record.StartCells, colours) : std::nullopt;
    if (!oracle || !start)
        return std::nullopt;
    oracle->buildTable(budget.table);
    OpeningPage page;
    page.board = record;
    page.lowestPegs = LowestPegsWithin(*board, *start, budget.positions);
    const std::vector<Pegs> keys = OpeningPositions(*board, *start, page.lowestPegs, budget.positions);
    page.positionsHash = HashOfPositions(keys);
    page.answers.resize(keys.size());
    SearchLimits limits;
    limits.positions = budget.perQuestion;
    limits.wantWay = false;
    std::uint64_t examined = 0;
    for (std::size_t end = keys.size(); end > 0;) {
        const int pegs = Count(keys[end - 1].all);
        std::size_t first = end, unknown = 0;
        while (first > 0 && Count(keys[first - 1].all) == pegs)
            --first;
        for (std::size_t k = first; k < end; ++k) {
            const OracleAnswer answer = oracle->ask(board->write(keys[k], record.StartCells), limits);
            examined += answer.examined;
            if (examined > budget.perPage)
                return std::nullopt;
            const Verdict verdict = answer.verdict;
            page.answers[k] = verdict == Verdict::Reaches ? Opening::Reaches
                              : verdict == Verdict::Dead  ? Opening::Dead
                                                          : Opening::NotKnown;
            unknown += page.answers[k] == Opening::NotKnown ? 1 : 0;
        }
        if (progress)
            progress(pegs, end - first, unknown);
        end = first;
    }
    return page;
}

bool Openings::add(const Board& board, Pegs start, const OpeningPage& page,
                   const std::atomic<bool>* cancelled) {
    const std::vector<Pegs> keys =
        OpeningPositions(board, start, page.lowestPegs, page.answers.size(), cancelled);
    if (keys.empty() || keys.size() != page.answers.size() || HashOfPositions(keys) != page.positionsHash)
        return false;
    using Entry = std::pair<Pegs, Opening>;
    const auto byKey = [](const Entry& a, const Entry& b) {
        return a.first < b.first;
    };
    std::vector<Entry> added;
    added.reserve(keys.size());
    for (std::size_t k = 0; k < keys.size(); ++k)
        added.emplace_back(keys[k], page.answers[k]);
    std::sort(added.begin(), added.end(), byKey);
    std::vector<Entry> had;
    had.reserve(m_keys.size());
    for (std::size_t k = 0; k < m_keys.size(); ++k)
        had.emplace_back(m_keys[k], m_answers[k]);
    std::vector<Entry> all;
    all.reserve(had.size() + added.size());
    std::merge(had.begin(), had.end(), added.begin(), added.end(), std::back_inserter(all), byKey);
    all.erase(std::unique(all.begin(), all.end(),
                          [](const Entry& a, const Entry& b) { return a.first == b.first; }),
              all.end());
    m_keys.clear();
    m_answers.clear();
    for (const auto& [key, answer] : all) {
        m_keys.push_back(key);
        m_answers.push_back(answer);
    }
    return true;
}

Opening Openings::answer(Pegs key) const {
    const auto at = std::lower_bound(m_keys.begin(), m_keys.end(), key);
    if (at == m_keys.end() || !(*at == key))
        return Opening::NotKnown;
    return m_answers[static_cast<std::size_t>(at - m_keys.begin())];
}

} // namespace reach
