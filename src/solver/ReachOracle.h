// SPDX-License-Identifier: GPL-3.0-or-later
// One board's answers to "can the target still be reached from here?": the board over its holes, what
// its target asks, the table found once backward from the target, and what earlier questions proved
// (the positions, and the pagoda functions of the latest proofs), kept for the questions to come.
// Questions may come from several threads; they take turns.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

#include "rules/LevelRecord.h"
#include "solver/OpeningBook.h"
#include "solver/ReachSearch.h"
#include "solver/Solutions.h"

namespace reach {

struct OracleAnswer {
    Verdict verdict = Verdict::OutOfBudget;
    JumpList way; // cells, first jump first
    // False where the opening book or the memory of proofs knew the target within reach and the
    // search below what they knew ran out before it found the rest of the way: `way` then goes only
    // that far, each of its jumps keeping the target within reach.
    bool wayToTarget = true;
    std::uint64_t examined = 0;
    // Dead, proved in part by whole numbers of jumps: the proof keeps no functions, and a position a
    // jump away is not settled by it.
    bool byJumpCounts = false;
};

class Oracle {
public:
    // False for a board of more than 64 holes or one whose target depends on codes above 3.
    static bool Takes(const LevelRecord& record);
    // Nothing for a board the oracle does not take. `memoBuckets` sizes the memory of proofs (0: as
    // fits the board in play).
    static std::unique_ptr<Oracle> For(const LevelRecord& record, std::size_t memoBuckets = 0);

    int holes() const { return m_board.holes(); }

    // Whether the record is the board this oracle was made for, as far as the answers go: the same
    // holes, lines and target, and a start of the same class.
    bool serves(const LevelRecord& record) const;

    // Builds the table within the budget (its `cancelled` ends it early, without a table).
    void buildTable(const TableBudget& budget);
    std::shared_ptr<const Table> table() const;
    // Opens `page` for the questions to come, beside the pages open already; false when it is not
    // this board's or does not fit.
    bool openPage(const OpeningPage& page, const std::atomic<bool>* cancelled = nullptr);
    // Opens every page of the built-in opening book that is this board's, whatever its start: the
    // game keeps one engine while the player goes from board to board of the same holes and target.
    void openBuiltInPages(const std::atomic<bool>* cancelled = nullptr);
    std::shared_ptr<const Openings> openings() const;

    OracleAnswer ask(const Position& cells, const SearchLimits& limits);

private:
    struct Fingerprint {
        Position holes{};  // 1 on each hole
        Position target{}; // the target's codes on the board's cells
        bool hexagon = false;
        bool diagonal = false;
        std::uint64_t startClass = 0;
        friend bool operator==(const Fingerprint& a, const Fingerprint& b) {
            return a.holes == b.holes && a.target == b.target && a.hexagon == b.hexagon &&
                   a.diagonal == b.diagonal && a.startClass == b.startClass;
        }
    };
    Oracle(Board board, const LevelRecord& record, std::size_t memoBuckets);
    bool addPage(Openings& openings, const OpeningPage& page, const std::atomic<bool>* cancelled) const;
    void publish(std::shared_ptr<const Openings> openings);
    // The way from a position known to reach the target, by the book (`book` may be null) or by the
    // memory of proofs: down the children either knows to reach it as far as they go, then searched.
    void findWayOnFromKnown(const Openings* book, Pegs from, const SearchLimits& limits, Memo& memo,
                            OracleAnswer& answer);
    // The table where it answers for positions of `from`'s class; null where it does not.
    std::shared_ptr<const Table> tableFor(Pegs from) const;
    // Searches, with what the proofs before it learned, and keeps what its own proof learns.
    OracleAnswer searched(const Pegs& from, const SearchLimits& limits, Memo& memo);
    Fingerprint fingerprintOf(const LevelRecord& record) const;
    std::vector<HoleSet> bottomKeys() const;

    LevelRecord m_record;
    Board m_board;
    Goal m_goal;
    bool m_colours = false;
    bool m_neverReached = false;
    std::uint64_t m_startClass = 0;
    int m_startPegs = 0;
    Fingerprint m_fingerprint;

    mutable std::mutex m_tableMutex;
    std::shared_ptr<const Table> m_table;
    std::shared_ptr<const Openings> m_openings;
    std::mutex m_memoMutex;
    Memo m_memo;
    std::mutex m_learnedMutex;
    std::vector<LearnedPagoda> m_learned; // the oldest first
};

} // namespace reach
