// Back end: the solver (see Solver.h).
#include "core/Solver.h"

#include <algorithm>
#include <array>
#include <bit>

namespace torvella {

namespace {

// Cells as bits, column by column like the cell arrays: bit col * 7 + row.
constexpr uint64_t kAllCells = (uint64_t{1} << kCells) - 1;

constexpr uint64_t CellsOfRow(int row)
{
    uint64_t b = 0;
    for (int col = 0; col < kCols; ++col)
        b |= uint64_t{1} << CellIndex(col, row);
    return b;
}
constexpr uint64_t kNotTopRow = kAllCells & ~CellsOfRow(0);
constexpr uint64_t kNotBottomRow = kAllCells & ~CellsOfRow(kRows - 1);

constexpr uint64_t Neighbours(uint64_t b)
{
    return (((b & kNotBottomRow) << 1) | ((b & kNotTopRow) >> 1) | (b << kRows) | (b >> kRows)) & kAllCells;
}

// The cells joined to `seed` through orthogonally neighbouring occupied cells.
uint64_t PartOf(uint64_t seed, uint64_t occupied)
{
    uint64_t part = seed, grown = 0;
    while (part != grown) {
        grown = part;
        part = (part | Neighbours(part)) & occupied;
    }
    return part;
}

constexpr int kCodes = (kColours + 1) * 16;
int Code(const Tableau& t, int cell) { return t.CellColour[cell] * 16 + t.CellSlices[cell]; }

uint64_t SplitMix(uint64_t& x)
{
    uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

struct Keys {
    std::array<std::array<uint64_t, kCodes>, kCells> cell{};
    std::array<uint64_t, 64> jumps{};  // by jumps left, 63 and more sharing the last
    Keys()
    {
        uint64_t x = 0x70727661ull;
        for (auto& row : cell)
            for (auto& k : row)
                k = SplitMix(x);
        for (auto& k : jumps)
            k = SplitMix(x);
    }
};

const Keys& TheKeys()
{
    static const Keys keys;
    return keys;
}

// An open-addressing set of 64-bit position keys, for the positions known to fail.
class KeySet {
public:
    KeySet() : slots_(1 << 16, 0) {}
    bool Contains(uint64_t key) const
    {
        key = key ? key : 1;
        for (size_t i = key & (slots_.size() - 1);; i = (i + 1) & (slots_.size() - 1)) {
            if (slots_[i] == key)
                return true;
            if (slots_[i] == 0)
                return false;
        }
    }
    void Insert(uint64_t key)
    {
        if (2 * (count_ + 1) > slots_.size())
            Grow();
        Put(key ? key : 1);
    }

private:
    void Put(uint64_t key)
    {
        size_t i = key & (slots_.size() - 1);
        while (slots_[i] != 0 && slots_[i] != key)
            i = (i + 1) & (slots_.size() - 1);
        if (slots_[i] == 0) {
            slots_[i] = key;
            ++count_;
        }
    }
    void Grow()
    {
        std::vector<uint64_t> old(slots_.size() * 2, 0);
        old.swap(slots_);
        count_ = 0;
        for (uint64_t k : old)
            if (k)
                Put(k);
    }

    std::vector<uint64_t> slots_;
    size_t count_ = 0;
};

constexpr int kRanks = 16;

struct Candidate {
    Move move;
    Verdict verdict;
    int rank;  // lower first: a serve before a hold, a step before a jump
};

class Search {
public:
    explicit Search(SolveLimits limits) : limits_(limits), keys_(TheKeys()) {}

    bool Run(const Tableau& t, uint64_t occupied, int mixed, uint64_t key)
    {
        if (++positions_ % 4096 == 0 &&
            ((limits_.cancel && limits_.cancel->load(std::memory_order_relaxed)) ||
             (limits_.maxPositions && positions_ >= limits_.maxPositions)))
            stopped_ = true;
        if (positions_ >= restartAt_)
            restarting_ = true;
        if (stopped_ || restarting_)
            return false;
        if (t.AllPlatesFull())
            return true;
        if (failed_.Contains(key) || CutOff(occupied, mixed, t.JumpsLeft))
            return false;

        std::array<Candidate, 5 * kCells> candidates;  // four neighbours and a jump per target
        int n = 0;
        const uint64_t mixedBit = mixed >= 0 ? uint64_t{1} << mixed : 0;
        for (uint64_t targets = occupied & ~mixedBit; targets; targets &= targets - 1) {
            const int to = std::countr_zero(targets);
            const Cell toCell{to / kRows, to % kRows};
            const uint64_t near = Neighbours(uint64_t{1} << to) & occupied;
            uint64_t movers = near;
            if (mixed >= 0 && t.JumpsLeft > 0 && !(near & mixedBit))
                movers |= mixedBit;
            for (; movers; movers &= movers - 1) {
                const int from = std::countr_zero(movers);
                const Move m{{from / kRows, from % kRows}, toCell};
                const Verdict v = JudgeDrop(t, m);
                if (!v.legal)
                    break;  // the target can go nowhere: no mover helps
                candidates[n++] = {m, v, Rank(v, from, occupied)};
            }
        }
        // In order of rank, keeping the order of generation within a rank.
        std::array<uint8_t, kRanks + 1> start{};
        for (int i = 0; i < n; ++i)
            ++start[candidates[i].rank + 1];
        for (int r = 0; r < kRanks; ++r)
            start[r + 1] += start[r];
        std::array<uint8_t, 5 * kCells> order;
        for (int i = 0; i < n; ++i)
            order[start[candidates[i].rank]++] = static_cast<uint8_t>(i);
        if (shuffle_) {
            // After a restart, moves of equal rank come in another order.
            for (int lo = 0; lo < n;) {
                int hi = lo + 1;
                while (hi < n && candidates[order[hi]].rank == candidates[order[lo]].rank)
                    ++hi;
                for (int i = hi - 1; i > lo; --i)
                    std::swap(order[i], order[lo + static_cast<int>(NextRandom() % static_cast<uint64_t>(i - lo + 1))]);
                lo = hi;
            }
        }

        for (int i = 0; i < n; ++i) {
            const Candidate& c = candidates[order[i]];
            const int from = CellIndex(c.move.from.col, c.move.from.row);
            const int to = CellIndex(c.move.to.col, c.move.to.row);
            Tableau next = t;
            ApplyMove(next, c.move, c.verdict);
            uint64_t nextKey = key ^ keys_.cell[from][Code(t, from)] ^ keys_.cell[to][Code(t, to)] ^
                               keys_.cell[to][Code(next, to)];
            if (c.verdict.jump)
                nextKey ^= JumpKey(t.JumpsLeft) ^ JumpKey(next.JumpsLeft);
            path_.push_back(c.move);
            if (Run(next, occupied & ~(uint64_t{1} << from), from == mixed ? to : mixed, nextKey))
                return true;
            path_.pop_back();
            if (stopped_ || restarting_)
                return false;
        }
        failed_.Insert(key);
        return false;
    }

    uint64_t StartKey(const Tableau& t) const
    {
        uint64_t key = JumpKey(t.JumpsLeft);
        for (int i = 0; i < kCells; ++i)
            if (t.CellSlices[i] > 0)
                key ^= keys_.cell[i][Code(t, i)];
        return key;
    }

    // Searches with a budget of positions that grows by 10 % each time: an unlucky early
    // choice costs at most one budget (small budgets find most solutions far sooner than
    // one long search), and what a search proved to fail stays known to the next one.
    bool Solve(const Tableau& t, uint64_t occupied, int mixed)
    {
        const uint64_t key = StartKey(t);
        for (uint64_t budget = 200;; budget += budget / 10) {
            restarting_ = false;
            restartAt_ = positions_ + budget;
            path_.clear();
            if (Run(t, occupied, mixed, key))
                return true;
            if (stopped_ || !restarting_)
                return false;
            shuffle_ = true;
        }
    }

    std::vector<Move> path_;
    uint64_t positions_ = 0;
    bool stopped_ = false;

private:
    // Lower first: a step before a jump; a move that leaves its part in one piece (a split
    // costs a jump later) before one that splits it; a serve before a hold; a cake at the
    // edge of its part before one inside it.
    static int Rank(const Verdict& v, int from, uint64_t occupied)
    {
        const uint64_t left = occupied & ~(uint64_t{1} << from);
        const uint64_t around = Neighbours(uint64_t{1} << from) & left;
        bool splits = false;
        if (std::popcount(around) > 1)
            splits = (around & ~PartOf(around & (~around + 1), left)) != 0;
        return (v.jump ? 8 : 0) + (splits ? 4 : 0) + (v.target == Destination::Hold ? 2 : 0) +
               (std::popcount(around) > 1 ? 1 : 0);
    }

    uint64_t JumpKey(int jumpsLeft) const { return keys_.jumps[std::clamp(jumpsLeft, 0, 63)]; }

    // More parts of the tableau without the mixed cake than jumps left: each such part
    // keeps at least its last cake, which only the mixed cake jumping in can take away.
    static bool CutOff(uint64_t occupied, int mixed, int jumpsLeft)
    {
        uint64_t rest = occupied;
        if (mixed >= 0)
            rest &= ~PartOf(uint64_t{1} << mixed, occupied);
        for (int parts = 0; rest; ++parts) {
            if (parts >= jumpsLeft)
                return true;
            rest &= ~PartOf(rest & (~rest + 1), occupied);
        }
        return false;
    }

    uint64_t NextRandom()
    {
        random_ ^= random_ << 13;
        random_ ^= random_ >> 7;
        random_ ^= random_ << 17;
        return random_;
    }

    SolveLimits limits_;
    uint64_t restartAt_ = 0;
    bool restarting_ = false;
    bool shuffle_ = false;
    uint64_t random_ = 0x9E3779B97F4A7C15ull;
    const Keys& keys_;
    KeySet failed_;
};

} // namespace

Solution Solve(const Tableau& position, SolveLimits limits)
{
    uint64_t occupied = 0;
    int mixed = -1;
    for (int i = 0; i < kCells; ++i) {
        if (position.CellSlices[i] <= 0)
            continue;
        occupied |= uint64_t{1} << i;
        if (position.CellColour[i] == kMixedCake)
            mixed = i;
    }
    Search search(limits);
    Solution s;
    s.solvable = search.Solve(position, occupied, mixed);
    s.positions = search.positions_;
    s.cancelled = search.stopped_;
    if (s.solvable)
        s.moves = std::move(search.path_);
    return s;
}

std::string MoveText(Move m)
{
    return std::to_string(m.from.col) + ',' + std::to_string(m.from.row) + '>' + std::to_string(m.to.col) + ',' +
           std::to_string(m.to.row);
}

} // namespace torvella
