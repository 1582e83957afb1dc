// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/ReachSearch.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "solver/JumpCountProof.h"
#include "solver/PagodaProof.h"

namespace reach {

namespace {

// The flag and the clock are looked at after this many positions.
constexpr std::uint64_t CheckEvery = 1024;
// Most questions are settled within this many positions by the depth-first search alone; the beam,
// some tens of thousands of positions, only pays where it would not be.
constexpr std::uint64_t FirstSearch = 20000;
constexpr std::size_t BeamWidth = 256;
constexpr std::size_t WideBeamWidth = 2048;
// What a peg with no other beside it costs a position where the search and the wide beam rank them.
// The narrow beam does without: shunning lone pegs, it kept on each level only positions whose every
// peg has another beside it, and on the 45-hole cross all of those ran dead above the table. The two
// beams then look at different positions: without the cost in the narrow one the hint answered one in
// five of the 45-hole cross's positions it had not, and as many as before on the other boards.
constexpr int AlonePeg = 80;
// The simplex steps that whole numbers of jumps may take to prove one position dead, over all its
// ends. On the German Board a step costs some 3 microseconds, and the dead ends of random play that
// the search leaves and whole numbers settle took up to 22,500 steps (on Diamond 41 up to 16,200);
// this many keep a position's answer within some 150 ms more.
constexpr std::size_t JumpCountSteps = 50000;

using Values = std::array<int, MaxPagodas + MaxLearnedPagodas>;

// The least a lone peg on the hole is worth, of either colour.
int AlonePegValue(const std::vector<int>& peg, const std::vector<int>& second, int hole) {
    return peg[static_cast<std::size_t>(hole)] + std::min(second[static_cast<std::size_t>(hole)], 0);
}

// A pagoda function the search weighs its positions by: one of the goal's or one learned.
struct Pagoda {
    const std::vector<int>* peg;
    const std::vector<int>* second;
    int target; // its value at the target, where that is a position of pegs
};

class Searcher {
public:
    Searcher(const Board& board, const Goal& goal, const std::vector<LearnedPagoda>& learned,
             const Table* table, Memo& memo, const SearchLimits& limits, Pegs from)
        : m_board(board), m_goal(goal), m_table(table), m_memo(memo), m_limits(limits),
          m_tableExact(goal.singlePeg || (from.second == 0 && goal.target.second == 0)),
          m_frames(static_cast<std::size_t>(board.holes()) + 1) {
        for (std::size_t k = 0; k < goal.pagodaTarget.size() && k < MaxPagodas; ++k)
            m_pagodas.push_back({&goal.pagodaPeg[k], &goal.pagodaSecond[k], goal.pagodaTarget[k]});
        for (std::size_t k = 0; k < learned.size() && k < MaxLearnedPagodas; ++k)
            m_pagodas.push_back({&learned[k].function.peg, &learned[k].function.second, learned[k].target});
        // No jump leaves a class: the last peg can only stand on a hole of the position's own.
        const std::uint64_t fromClass = goal.classOf(from.all);
        for (int hole = 0; hole < board.holes(); ++hole)
            if (goal.classOf(HoleSet{1} << hole) == fromClass)
                m_lastPegHoles |= HoleSet{1} << hole;
    }

    // The table knows no colours: it tells the whole answer only where no peg of the second colour
    // is left to matter.
    bool tableExact() const { return m_tableExact; }

    bool isGoal(Pegs p) const {
        if (m_goal.singlePeg)
            return Count(p.all) == 1;
        return p == m_goal.target;
    }

    // Jumps only take pegs away, and each colour keeps its own; the pagoda functions can only fall.
    // With a single peg as the target, a function rules out every hole on which a lone peg of either
    // colour is worth more than the position, and every hole the last peg may stand on must be ruled
    // out by one function or another.
    bool hopeless(Pegs p, const Values& values) const {
        if (m_goal.singlePeg)
            return m_lastPegHoles != 0 && holesNotRuledOut(values) == 0;
        const int second = Count(p.second);
        if (Count(p.all) <= Count(m_goal.target.all) || second < Count(m_goal.target.second) ||
            Count(p.all) - second < Count(m_goal.target.all) - Count(m_goal.target.second))
            return true;
        for (std::size_t k = 0; k < m_pagodas.size(); ++k)
            if (values[k] < m_pagodas[k].target)
                return true;
        return false;
    }

    // With a single peg as the target: the holes of the position's class that no function rules out
    // for the last peg.
    HoleSet holesNotRuledOut(const Values& values) const {
        HoleSet left = m_lastPegHoles;
        for (std::size_t k = 0; k < m_pagodas.size() && left != 0; ++k)
            for (HoleSet rest = left; rest != 0; rest &= rest - 1) {
                const int hole = __builtin_ctzll(rest);
                if (values[k] < AlonePegValue(*m_pagodas[k].peg, *m_pagodas[k].second, hole))
                    left &= ~(HoleSet{1} << hole);
            }
        return left;
    }

    Values valuesOf(Pegs p) const {
        Values values{};
        for (std::size_t k = 0; k < m_pagodas.size(); ++k)
            for (int hole = 0; hole < m_board.holes(); ++hole) {
                const HoleSet bit = HoleSet{1} << hole;
                values[k] += (p.all & bit) != 0 ? (*m_pagodas[k].peg)[hole] : 0;
                values[k] += (p.second & bit) != 0 ? (*m_pagodas[k].second)[hole] : 0;
            }
        return values;
    }

    Values valuesAfter(const Values& values, Pegs p, const Line& line) const {
        Values after = values;
        const bool secondJumps = (p.second & (HoleSet{1} << line.from)) != 0;
        const bool secondJumpedOver = (p.second & (HoleSet{1} << line.over)) != 0;
        for (std::size_t k = 0; k < m_pagodas.size(); ++k) {
            const std::vector<int>& peg = *m_pagodas[k].peg;
            const std::vector<int>& second = *m_pagodas[k].second;
            after[k] += peg[line.land] - peg[line.from] - peg[line.over];
            if (secondJumps)
                after[k] += second[line.land] - second[line.from];
            if (secondJumpedOver)
                after[k] -= second[line.over];
        }
        return after;
    }

    bool reaches(Pegs p, const Images& images, const Values& values, int depth);

    // A beam from the position: on each level the `width` children of the level before that look
    // most promising, repeats folded. It proves nothing when it fails, but often finds a way where
    // the depth-first search would first lose itself under a wrong early jump.
    bool probe(Pegs from, std::size_t width, int alonePeg);

    // Lets the search go on to `allowance` positions examined in all, with a way not yet found.
    void allow(std::uint64_t allowance) {
        m_allowance = std::min(allowance, m_limits.positions);
        m_stopped = false;
        m_way.clear();
    }

    // Down the table's levels from a position it says reaches the target: each level holds a child
    // of every position on the level above.
    void walkTable(Pegs p, Images images);

    bool stopped() const { return m_stopped; }
    // The flag was set or the clock ran out: nothing more is searched.
    bool calledOff() const { return m_calledOff; }
    std::uint64_t examined() const { return m_examined; }
    // The way found, its last jump first.
    const std::vector<int>& wayBackwards() const { return m_way; }

private:
    // Lower for positions that look nearer the target: pegs drawn together towards it, and with
    // `alonePeg`, none alone.
    int promise(HoleSet pegs, int alonePeg) const {
        int score = 0;
        for (HoleSet rest = pegs; rest != 0; rest &= rest - 1) {
            const int hole = __builtin_ctzll(rest);
            score += m_goal.distance[static_cast<std::size_t>(hole)];
            if ((pegs & m_board.neighbours(hole)) == 0)
                score += alonePeg;
        }
        return score;
    }

    struct Child {
        int line = 0;
        bool knownToReach = false;
        int promise = 0;
        Pegs pegs;
        Pegs key;
        Images images;
        Values values;
        bool inTable = false; // the table answers its peg count
    };
    // The children of the position at one depth, kept from one position to the next so that none
    // is made anew, and the order in which the ones left are searched.
    struct Frame {
        std::vector<Child> children;
        std::vector<std::size_t> order;
    };

    bool tick() {
        ++m_examined;
        if (m_examined % CheckEvery == 0 && !m_calledOff)
            m_calledOff =
                CalledOff(m_limits.cancelled) || std::chrono::steady_clock::now() > m_limits.deadline;
        m_stopped = m_stopped || m_calledOff || m_examined > m_allowance;
        return !m_stopped;
    }

    const Board& m_board;
    const Goal& m_goal;
    const Table* m_table;
    Memo& m_memo;
    const SearchLimits& m_limits;
    bool m_tableExact;
    std::vector<Pagoda> m_pagodas; // the goal's, then the learned ones
    HoleSet m_lastPegHoles = 0;    // with a single peg as the target: the holes of the position's class
    std::vector<Frame> m_frames;   // per depth, so that a deeper search keeps them
    std::vector<int> m_way;
    std::uint64_t m_examined = 0;
    std::uint64_t m_allowance = 0;
    bool m_calledOff = false;
    bool m_stopped = false;
};

void Searcher::walkTable(Pegs p, Images images) {
    std::vector<int> steps;
    const std::vector<Line>& lines = m_board.lines();
    while (!isGoal(p)) {
        bool stepped = false;
        for (std::size_t k = 0; k < lines.size() && !stepped; ++k) {
            if (!m_board.canJump(p.all, lines[k]))
                continue;
            const Pegs child = Board::jump(p, lines[k]);
            const Images childImages = m_board.imagesAfter(images, p, static_cast<int>(k));
            if (isGoal(child) || m_table->reaches(m_board.pegsKey(child.all, childImages))) {
                steps.push_back(static_cast<int>(k));
                p = child;
                images = childImages;
                stepped = true;
            }
        }
        // A table of another goal: the way stays short and its replay fails.
        if (!stepped)
            break;
    }
    m_way.insert(m_way.end(), steps.rbegin(), steps.rend());
}

bool Searcher::probe(Pegs from, std::size_t width, int alonePeg) {
    struct Node {
        Pegs pegs;
        int parent;
        int line;
    };
    struct Candidate {
        int promise;
        Pegs key;
        Node node;
    };
    std::vector<Node> nodes{{from, -1, -1}};
    std::vector<int> level{0};
    const std::vector<Line>& lines = m_board.lines();
    // The way ends with the jump found and goes back through the beam's levels to the start.
    const auto wayBack = [&](int at, int line) {
        m_way.push_back(line);
        for (; nodes[static_cast<std::size_t>(at)].parent >= 0;
             at = nodes[static_cast<std::size_t>(at)].parent)
            m_way.push_back(nodes[static_cast<std::size_t>(at)].line);
        return true;
    };
    while (!level.empty()) {
        std::vector<Candidate> candidates;
        for (const int at : level) {
            const Pegs p = nodes[static_cast<std::size_t>(at)].pegs;
            const Images images = m_board.images(p);
            // Once for the position, then by each jump's change: the beam weighs many children.
            const Values values = valuesOf(p);
            for (std::size_t k = 0; k < lines.size(); ++k) {
                if (!m_board.canJump(p.all, lines[k]))
                    continue;
                if (!tick())
                    return false;
                const int line = static_cast<int>(k);
                const Pegs child = Board::jump(p, lines[k]);
                const Images childImages = m_board.imagesAfter(images, p, line);
                if (isGoal(child))
                    return wayBack(at, line);
                if (m_table != nullptr && m_table->answers(Count(child.all))) {
                    if (!m_table->reaches(m_board.pegsKey(child.all, childImages)))
                        continue;
                    if (m_tableExact) {
                        walkTable(child, childImages);
                        return wayBack(at, line);
                    }
                }
                if (hopeless(child, valuesAfter(values, p, lines[k])))
                    continue;
                const Pegs key = m_board.key(child, childImages);
                const Memo::Known known = m_memo.find(key);
                if (known == Memo::Known::Dead)
                    continue;
                if (known == Memo::Known::Reaches && !m_limits.wantWay)
                    return wayBack(at, line);
                candidates.push_back({promise(child.all, alonePeg), key, {child, at, line}});
            }
        }
        std::sort(candidates.begin(), candidates.end(),
                  [](const Candidate& a, const Candidate& b) { return a.key < b.key; });
        candidates.erase(std::unique(candidates.begin(), candidates.end(),
                                     [](const Candidate& a, const Candidate& b) { return a.key == b.key; }),
                         candidates.end());
        if (candidates.size() > width) {
            std::nth_element(candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(width),
                             candidates.end(),
                             [](const Candidate& a, const Candidate& b) { return a.promise < b.promise; });
            candidates.resize(width);
        }
        level.clear();
        for (const Candidate& candidate : candidates) {
            level.push_back(static_cast<int>(nodes.size()));
            nodes.push_back(candidate.node);
        }
    }
    return false;
}

bool Searcher::reaches(Pegs p, const Images& images, const Values& values, int depth) {
    Frame& frame = m_frames[static_cast<std::size_t>(depth)];
    std::vector<Child>& children = frame.children;
    std::size_t count = 0;
    const std::vector<Line>& lines = m_board.lines();
    // Every child first, its look-up asked of the memory, then each judged: the look-ups of all the
    // children then wait for the memory together rather than one after another.
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (!m_board.canJump(p.all, lines[k]))
            continue;
        if (count == children.size())
            children.emplace_back();
        Child& child = children[count++];
        child.line = static_cast<int>(k);
        child.knownToReach = false;
        child.promise = 0;
        child.pegs = Board::jump(p, lines[k]);
        m_board.imagesAfter(images, p, child.line, child.images);
        child.inTable = m_table != nullptr && m_table->answers(Count(child.pegs.all));
        if (child.inTable) {
            child.key = {m_board.pegsKey(child.pegs.all, child.images), 0};
            m_table->prefetch(child.key.all);
        } else {
            child.key = m_board.key(child.pegs, child.images);
            m_memo.prefetch(child.key);
        }
    }
    std::vector<std::size_t>& order = frame.order;
    order.clear();
    for (std::size_t i = 0; i < count; ++i) {
        Child& child = children[i];
        if (!tick())
            return false;
        if (isGoal(child.pegs)) {
            m_way.push_back(child.line);
            return true;
        }
        if (child.inTable) {
            if (!m_table->reaches(child.key.all))
                continue;
            if (m_tableExact) {
                walkTable(child.pegs, child.images);
                m_way.push_back(child.line);
                return true;
            }
            child.key = m_board.key(child.pegs, child.images);
        }
        child.values = valuesAfter(values, p, lines[static_cast<std::size_t>(child.line)]);
        if (hopeless(child.pegs, child.values))
            continue;
        const Memo::Known known = m_memo.find(child.key);
        if (known == Memo::Known::Dead)
            continue;
        if (known == Memo::Known::Reaches && !m_limits.wantWay) {
            m_way.push_back(child.line);
            return true;
        }
        child.knownToReach = known == Memo::Known::Reaches;
        child.promise = child.knownToReach ? 0 : promise(child.pegs.all, AlonePeg);
        order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [&children](std::size_t a, std::size_t b) {
        const Child& x = children[a];
        const Child& y = children[b];
        return x.knownToReach != y.knownToReach ? x.knownToReach : x.promise < y.promise;
    });
    // A deeper search works on the frames below this one: these children stay where they are.
    for (const std::size_t i : order) {
        const Child& child = children[i];
        if (reaches(child.pegs, child.images, child.values, depth + 1)) {
            m_memo.put(child.key, true);
            m_way.push_back(child.line);
            return true;
        }
        if (m_stopped)
            return false;
        m_memo.put(child.key, false);
    }
    return false;
}

// A proof, made for the position alone, that the target is out of its reach.
struct OutOfReach {
    std::vector<LearnedPagoda> functions;
    bool byJumpCounts = false; // some end is ruled out by whole numbers of jumps, which teach no function
};

// Pagoda functions that prove the target out of the position's reach: with a single peg as the
// target, enough to rule out each of `holesLeft` for the last peg (those the search's own functions
// do not). Where no function is found for a hole (or the target), whole numbers of jumps may still
// prove it out of reach. Nothing where neither does. Some tens of milliseconds each on the largest
// boards, and JumpCountSteps for the whole numbers of all of them, so the flag is looked at before
// each.
std::optional<OutOfReach> ProvedOutOfReach(const Board& board, const Goal& goal, Pegs from, HoleSet holesLeft,
                                           const std::atomic<bool>* cancelled) {
    const HoleBoard holes = board.holeBoard();
    const HolePegs start = board.holePegs(from);
    OutOfReach proof;
    const auto against = [&](Pegs to) {
        const HolePegs target = board.holePegs(to);
        std::optional<PagodaFunction> function =
            CalledOff(cancelled) ? std::nullopt : PagodaAgainst(holes, start, target);
        if (function)
            proof.functions.push_back({*function, PagodaValue(*function, target)});
        return function.has_value();
    };
    std::size_t stepsLeft = JumpCountSteps;
    const auto noJumpsLeadTo = [&](Pegs to) {
        if (CalledOff(cancelled) || stepsLeft == 0)
            return false;
        const JumpCountAnswer answer =
            JumpCountsBetween(holes, start, board.holePegs(to), stepsLeft, cancelled);
        stepsLeft -= std::min(stepsLeft, answer.steps);
        proof.byJumpCounts = proof.byJumpCounts || answer.counts == JumpCounts::None;
        return answer.counts == JumpCounts::None;
    };
    if (!goal.singlePeg)
        return against(goal.target) || noJumpsLeadTo(goal.target) ? std::optional(proof) : std::nullopt;
    // A function found for one hole often rules out others too.
    const auto ruledOut = [&](int hole) {
        return std::any_of(proof.functions.begin(), proof.functions.end(), [&](const LearnedPagoda& found) {
            return PagodaValue(found.function, start) <
                   AlonePegValue(found.function.peg, found.function.second, hole);
        });
    };
    for (HoleSet rest = holesLeft; rest != 0; rest &= rest - 1) {
        const int hole = __builtin_ctzll(rest);
        const Pegs lone{HoleSet{1} << hole, 0};
        if (!ruledOut(hole) && !against(lone) && !noJumpsLeadTo(lone))
            return std::nullopt;
    }
    return proof;
}

} // namespace

std::uint64_t Goal::classOf(HoleSet pegs) const {
    std::uint64_t parities = 0;
    for (std::size_t k = 0; k < parityMasks.size(); ++k)
        parities |= static_cast<std::uint64_t>(Count(pegs & parityMasks[k]) & 1) << k;
    return parities;
}

Memo::Memo(std::size_t buckets) {
    std::size_t size = 1;
    while (size < buckets)
        size *= 2;
    m_entries.resize(size * Ways);
    m_mask = size - 1;
}

std::size_t Memo::bucketOf(Pegs key) const {
    std::uint64_t h =
        key.all * 0x9E3779B97F4A7C15ULL ^ (key.second + 0x632BE59BD9B4E019ULL) * 0xC2B2AE3D27D4EB4FULL;
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ULL;
    h ^= h >> 32;
    return static_cast<std::size_t>(h & m_mask) * Ways;
}

Memo::Known Memo::find(Pegs key) const {
    const std::size_t bucket = bucketOf(key);
    for (std::size_t w = 0; w < Ways; ++w) {
        const Entry& entry = m_entries[bucket + w];
        if (entry.key == key && key.all != 0)
            return entry.reaches != 0 ? Known::Reaches : Known::Dead;
    }
    return Known::Nothing;
}

void Memo::put(Pegs key, bool reaches) {
    const std::size_t bucket = bucketOf(key);
    std::size_t slot = Ways;
    for (std::size_t w = 0; w < Ways && slot == Ways; ++w)
        if (m_entries[bucket + w].key == key || m_entries[bucket + w].key.all == 0)
            slot = w;
    // A full bucket gives up its entries in turn; the first entry's age counts the turns.
    if (slot == Ways)
        slot = m_entries[bucket].age++ % Ways;
    Entry& entry = m_entries[bucket + slot];
    entry.key = key;
    entry.reaches = reaches ? 1 : 0;
}

SearchResult Search(const Board& board, const Goal& goal, const std::vector<LearnedPagoda>& learned,
                    const Table* table, Memo& memo, Pegs from, const SearchLimits& limits) {
    SearchResult result;
    Searcher searcher(board, goal, learned, table, memo, limits, from);
    const Values values = searcher.valuesOf(from);
    if (searcher.isGoal(from)) {
        result.verdict = Verdict::Reaches;
        return result;
    }
    const std::uint64_t fromClass = goal.classOf(from.all);
    const bool classFits = goal.singlePeg ? std::find(goal.lastPegClasses.begin(), goal.lastPegClasses.end(),
                                                      fromClass) != goal.lastPegClasses.end()
                                          : fromClass == goal.classOf(goal.target.all);
    result.verdict = Verdict::Dead;
    if (!classFits || searcher.hopeless(from, values))
        return result;
    const Images images = board.images(from);
    const Pegs key = board.key(from, images);
    if (table != nullptr && table->answers(Count(from.all))) {
        if (!table->reaches(board.pegsKey(from.all, images)))
            return result;
        if (searcher.tableExact()) {
            searcher.walkTable(from, images);
            result.verdict = Verdict::Reaches;
            result.way.assign(searcher.wayBackwards().rbegin(), searcher.wayBackwards().rend());
            return result;
        }
    }
    const Memo::Known known = memo.find(key);
    if (known == Memo::Known::Dead)
        return result;
    if (known == Memo::Known::Reaches && !limits.wantWay) {
        result.verdict = Verdict::Reaches;
        return result;
    }
    // A short search first, which settles most questions; then the beam; then the search again, which
    // finds what the first one proved still remembered, for half the budget; then a wide beam, which
    // finds the ways of positions of many pegs whose early jumps the narrow one got wrong (on the
    // 37-hole board, a sixth of what the search could not settle); then the search to the end. A
    // search that ends by itself has proved the position dead; a beam that ends by itself proves
    // nothing.
    struct Phase {
        std::size_t beamWidth; // 0: the depth-first search
        int alonePeg;          // in the beam's ranking; the search's own is AlonePeg
        std::uint64_t until;
    };
    const std::array<Phase, 5> phases{{{0, AlonePeg, FirstSearch},
                                       {BeamWidth, 0, limits.positions},
                                       {0, AlonePeg, limits.positions / 2},
                                       {WideBeamWidth, AlonePeg, limits.positions},
                                       {0, AlonePeg, limits.positions}}};
    bool found = false;
    for (const Phase& phase : phases) {
        searcher.allow(phase.until);
        found = phase.beamWidth > 0 ? searcher.probe(from, phase.beamWidth, phase.alonePeg)
                                    : searcher.reaches(from, images, values, 0);
        const bool goOn = phase.beamWidth > 0 ? !searcher.stopped() : searcher.stopped();
        if (found || !goOn || searcher.calledOff() || searcher.examined() > limits.positions)
            break;
    }
    result.examined = searcher.examined();
    if (found) {
        memo.put(key, true);
        result.verdict = Verdict::Reaches;
        result.way.assign(searcher.wayBackwards().rbegin(), searcher.wayBackwards().rend());
        return result;
    }
    if (searcher.stopped()) {
        std::optional<OutOfReach> proof;
        if (!searcher.calledOff())
            proof = ProvedOutOfReach(board, goal, from, searcher.holesNotRuledOut(values), limits.cancelled);
        if (!proof) {
            result.verdict = Verdict::OutOfBudget;
            return result;
        }
        // The functions of a proof that needed whole numbers settle none of the positions a jump
        // away, and every function kept costs each position searched an addition. Kept, they cost
        // a German Board position whose search ran out up to 300 ms of one core more than before
        // whole numbers were tried, and 160 ms without them, with the same positions proved.
        if (!proof->byJumpCounts)
            result.proof = std::move(proof->functions);
        result.byJumpCounts = proof->byJumpCounts;
    }
    memo.put(key, false);
    return result;
}

} // namespace reach
