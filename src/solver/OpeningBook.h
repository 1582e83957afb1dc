// SPDX-License-Identifier: GPL-3.0-or-later
// The answers for the first positions of a board's play, found once and for all when the book is made
// (`boardc --openings`) and built into the game: every position reachable from the board's start down
// to some number of pegs, each with whether the target can be reached from it. A dead position of many
// pegs has a great many positions below it, all of which a proof must visit; these are the questions
// no budget of a hint can settle, and on the 33-hole boards there are only some tens of thousands of
// such positions. The answers belong to the positions, not to the start they were found from: a page
// serves every start of the board.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "rules/LevelRecord.h"
#include "solver/ReachBoard.h"
#include "solver/ReachTable.h"

namespace reach {

enum class Opening : std::uint8_t { NotKnown = 0, Reaches = 1, Dead = 2 };

// One board's page as the book stores it: the board (with the start its positions are played from),
// how far down its positions go, and their answers in the order of `OpeningPositions`.
struct OpeningPage {
    LevelRecord board;
    int lowestPegs = 0;
    // Of the positions in their order: a page is only opened where they are the same.
    std::uint64_t positionsHash = 0;
    std::vector<Opening> answers;
};

// A book's pages from its bytes; nothing when the bytes are no book, however they end.
std::vector<OpeningPage> ReadOpenings(const std::uint8_t* bytes, std::size_t size);
std::vector<std::uint8_t> WriteOpenings(const std::vector<OpeningPage>& pages);

// The pages built into the game.
const std::vector<OpeningPage>& BuiltInOpenings();

// The keys of the positions reachable from `start` that keep at least `lowestPegs` pegs, the start's
// level first and each level's keys in ascending order. The levels stop before the one that would
// bring them past `most` positions; nothing when called off.
std::vector<Pegs> OpeningPositions(const Board& board, Pegs start, int lowestPegs, std::size_t most,
                                   const std::atomic<bool>* cancelled = nullptr);

std::uint64_t HashOfPositions(const std::vector<Pegs>& keys);

// The deepest level down to which the positions reachable from `start` number at most `most`.
int LowestPegsWithin(const Board& board, Pegs start, std::size_t most);

// The boards the built-in book is made for: up to 33 holes, jumps along rows and columns only, and no
// peg of the second colour where the target tells the colours apart. The proofs of those take far
// longer: on a 32-hole board of two colours not one level of its page was done in seven minutes.
bool OpeningsWanted(const LevelRecord& record);

struct OpeningBudget {
    std::size_t positions = 131072;            // the most positions a page holds
    std::uint64_t perQuestion = 1'000'000'000; // positions examined for each of them at most
    // And for all of them: a guard for boards to come, far above what any built-in board takes.
    std::uint64_t perPage = 20'000'000'000;
    std::size_t memoBuckets = std::size_t{1} << 22; // the memory of proofs, in buckets of four
    TableBudget table{160'000'000, 32'000'000, nullptr};
};

// Answers the positions of a board's page, the lowest level first: what their proofs leave in the
// memory settles most positions of the levels above at once. Nothing for a board the engine does not
// take, or whose page would cost more than its budget. `progress` hears of each level done (its pegs, its
// positions, those still not known).
std::optional<OpeningPage>
MakeOpeningPage(const LevelRecord& record, const OpeningBudget& budget,
                const std::function<void(int, std::size_t, std::size_t)>& progress = {});

// The answers of the pages opened for one board. Pages of the board played from other starts may
// hold answers for the same positions: answers belong to positions, and so they agree.
class Openings {
public:
    // Adds the answers of `page`, whose positions are played from `start`; false, with nothing added,
    // when they are not the positions it has answers for (a book made by another version of the
    // game), or when called off.
    bool add(const Board& board, Pegs start, const OpeningPage& page,
             const std::atomic<bool>* cancelled = nullptr);

    // NotKnown also for a position no page holds.
    Opening answer(Pegs key) const;
    std::size_t positions() const { return m_keys.size(); }

private:
    std::vector<Pegs> m_keys; // sorted
    std::vector<Opening> m_answers;
};

} // namespace reach
