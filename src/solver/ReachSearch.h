// SPDX-License-Identifier: GPL-3.0-or-later
// The depth-first search that answers whether a position can still reach its board's target. Each
// child is judged before any is searched: by the table where it answers (one look-up, exact), by what
// earlier questions on the board proved, by the peg counts, the position classes and the pagoda
// functions; only children none of these judge are searched, those known to reach the target first.
// Where the search runs out, a pagoda function made for the position alone may still prove it dead,
// and where none is found, whole numbers of jumps; the functions of a proof by pagodas alone are
// kept, and cut the searches of the positions asked after it.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "solver/ReachBoard.h"
#include "solver/ReachTable.h"
#include "solver/SearchBounds.h"

namespace reach {

constexpr int MaxPagodas = 12;
// Kept from the proofs of earlier questions: the latest few cut nearly as much as all of them, and
// every one costs each position searched an addition.
constexpr std::size_t MaxLearnedPagodas = 16;

// What counts as the target, and what no jump can change on the way to it.
struct Goal {
    bool singlePeg = true; // a single peg anywhere, of either colour
    Pegs target;           // otherwise the target position, colours included
    // Each a mask of holes whose pegs' parity no jump changes: a position's class. No jump leaves a
    // class, so only positions of the target's class (or of a single peg's) can reach it.
    std::vector<HoleSet> parityMasks;
    std::vector<std::uint64_t> lastPegClasses; // with a single peg as the target: the classes it may end in
    // Pagoda functions (per hole, and on top for a peg of the second colour) and their values at the
    // target: no jump raises a value, so a position worth less can never reach the target. With a
    // single peg as the target there is one towards each hole the last peg may stand on, and a
    // position worth less than a lone peg on each of those holes, under one function or another,
    // can reach none of them.
    std::vector<std::vector<int>> pagodaPeg, pagodaSecond;
    std::vector<int> pagodaTarget;
    // Where a search looks first: how far each hole lies from the target's pegs (or from the middle
    // of the board), in tenths of a cell.
    std::vector<int> distance;

    std::uint64_t classOf(HoleSet pegs) const;
};

// A pagoda function that proved a position dead, and so holds for every position of the board: one
// worth less than `target` can never reach the target (or, with a single peg as the target, worth
// less than a lone peg on a hole, never a lone peg there).
struct LearnedPagoda {
    PagodaFunction function;
    int target = 0;
};

// Positions whose answer is known, a fixed number of them in buckets of four: a new one takes the
// place of the oldest in its bucket, and a forgotten one is only searched again.
class Memo {
public:
    enum class Known { Nothing, Reaches, Dead };

    explicit Memo(std::size_t buckets);
    Known find(Pegs key) const;
    void put(Pegs key, bool reaches);
    void prefetch(Pegs key) const { __builtin_prefetch(&m_entries[bucketOf(key)]); }
    std::size_t bytes() const { return m_entries.size() * sizeof(Entry); }

private:
    static constexpr std::size_t Ways = 4;
    struct Entry {
        Pegs key;
        std::uint8_t reaches = 0;
        std::uint8_t age = 0;
    };
    std::size_t bucketOf(Pegs key) const;

    std::vector<Entry> m_entries;
    std::size_t m_mask = 0;
};

struct SearchLimits {
    std::uint64_t positions = 0; // positions examined before the search gives up
    const std::atomic<bool>* cancelled = nullptr;
    // A last guard where a person waits (time_point::max(): none); the budget should end it first.
    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max();
    bool wantWay = true; // false: a position known to reach the target needs no way found to it
};

enum class Verdict { Reaches, Dead, OutOfBudget };

struct SearchResult {
    Verdict verdict = Verdict::OutOfBudget;
    std::vector<int> way; // line numbers of the board, first jump first, when it reaches the target
    std::uint64_t examined = 0;
    // The functions of a pagoda proof made for the position itself, for the searches to come.
    std::vector<LearnedPagoda> proof;
    // Dead, with some end ruled out only by whole numbers of jumps: such a proof leaves `proof`
    // empty.
    bool byJumpCounts = false;
};

// `table` may be null; it must have been built for this goal from positions of `from`'s class.
// `learned` holds what earlier proofs on the board found, at most MaxLearnedPagodas of them.
SearchResult Search(const Board& board, const Goal& goal, const std::vector<LearnedPagoda>& learned,
                    const Table* table, Memo& memo, Pegs from, const SearchLimits& limits);

} // namespace reach
