// Back end: the solver (see Solver.h).
#include "core/Solver.h"

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace torvella {

namespace {

// ------------------------------------------------------------------ cells as bits
// Bit col * 7 + row, column by column like the cell arrays.
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

constexpr uint64_t Bit(int cell) { return uint64_t{1} << cell; }

constexpr uint64_t Neighbours(uint64_t b)
{
    return (((b & kNotBottomRow) << 1) | ((b & kNotTopRow) >> 1) | (b << kRows) | (b >> kRows)) & kAllCells;
}

// The cells joined to `seed` through orthogonally neighbouring cells of `occupied`; traced
// only until it holds every cell of `until`, when that is all that is asked.
uint64_t PartOf(uint64_t seed, uint64_t occupied, uint64_t until = kAllCells)
{
    uint64_t part = seed, grown = 0;
    while (part != grown && (until & ~part)) {
        grown = part;
        part = (part | Neighbours(part)) & occupied;
    }
    return part;
}

// How many parts of `within` hold the cells `cells` (all in `within`), counted up to `cap`.
int PartsHolding(uint64_t cells, uint64_t within, int cap = kCells)
{
    int parts = 0;
    while (cells && ++parts < cap)  // the part that reaches the cap need not be traced
        cells &= ~PartOf(cells & (~cells + 1), within);
    return parts;
}

Cell CellAt(int index) { return {index / kRows, index % kRows}; }

// For each way the eight cells around a cell can be taken (bit i: the i-th cell clockwise
// from the one above): true when the taken cells beside it (the even bits) all lie in one
// unbroken run of taken cells around it, so that they stay joined without it.
constexpr std::array<bool, 256> MakeJoinedAround()
{
    std::array<bool, 256> joined{};
    for (int ring = 0; ring < 256; ++ring) {
        // Runs of taken cells that hold a side cell: count the run starts that have one.
        int runsWithSide = 0;
        for (int i = 0; i < 8; ++i) {
            if (!(ring >> i & 1) || (ring >> ((i + 7) % 8) & 1))
                continue;  // not the start of a run
            bool side = false;
            for (int j = i; ring >> (j % 8) & 1 && j < i + 8; ++j)
                side |= (j % 8) % 2 == 0;
            runsWithSide += side ? 1 : 0;
        }
        joined[ring] = ring == 255 || runsWithSide <= 1;
    }
    return joined;
}

// The eight cells around a cell are read from the bits of the tableau in one shift: bit k
// of (occupied << 8) >> cell is the cell at cell + k - 8, so the three cells of the column
// to the left are bits 0 to 2, the ones above and below bits 7 and 9, the column to the
// right bits 14 to 16. Off the left and right edge they read as empty; across the top and
// bottom row they would read the next column's cells, so those are masked off.
constexpr uint64_t kAbove = Bit(0) | Bit(7) | Bit(14), kBelow = Bit(2) | Bit(9) | Bit(16);
constexpr uint64_t kAround = kAbove | kBelow | Bit(1) | Bit(15);
constexpr int WindowIndex(uint64_t window)
{
    return static_cast<int>((window & 7) | (window >> 7 & 1) << 3 | (window >> 9 & 1) << 4 | (window >> 14 & 7) << 5);
}
constexpr std::array<bool, 256> MakeJoinedWindow()
{
    // Window bit of each cell clockwise from the one above.
    constexpr int at[8] = {7, 14, 15, 16, 9, 2, 1, 0};
    constexpr auto joined = MakeJoinedAround();
    std::array<bool, 256> byWindow{};
    for (int ring = 0; ring < 256; ++ring) {
        uint64_t window = 0;
        for (int i = 0; i < 8; ++i)
            window |= (ring >> i & 1) ? Bit(at[i]) : 0;
        byWindow[WindowIndex(window)] = joined[ring];
    }
    return byWindow;
}
constexpr auto kJoinedWindow = MakeJoinedWindow();
constexpr std::array<uint64_t, kCells> MakeWindowMasks()
{
    std::array<uint64_t, kCells> masks{};
    for (int cell = 0; cell < kCells; ++cell)
        masks[cell] = kAround & ~(cell % kRows == 0 ? kAbove : 0) & ~(cell % kRows == kRows - 1 ? kBelow : 0);
    return masks;
}
constexpr auto kWindowMasks = MakeWindowMasks();

// True when a cake leaving `cell` leaves the cells of `occupied` beside it joined to each
// other without it, known from the cells around it alone.
bool JoinedAround(int cell, uint64_t occupied)
{
    return kJoinedWindow[WindowIndex((occupied << 8) >> cell & kWindowMasks[cell])];
}

// The pieces the part of `cell` falls into without it (each holds a cell beside it),
// counted up to `cap`; 1 for a cell with fewer than two cells of `occupied` beside it.
// The first piece is traced only until it has reached the other cells beside `cell`:
// cells joined at all are mostly joined close by.
int PiecesWithout(int cell, uint64_t occupied, int cap = kCells)
{
    const uint64_t left = occupied & ~Bit(cell);
    const uint64_t around = Neighbours(Bit(cell)) & left;
    if ((around & (around - 1)) == 0 || JoinedAround(cell, left))
        return 1;
    const uint64_t piece = PartOf(around & (~around + 1), left, around);
    return (around & ~piece) == 0 ? 1 : 1 + PartsHolding(around & ~piece, left, cap - 1);
}

// ------------------------------------------------------------------ the position
// A cake in one byte: colour * 12 + slices, so 1..12 the mixed cake, 13..60 the coloured
// ones; 0 an empty cell. Six bits each, ten cells to a word of the key.
constexpr int CakeColour(int code) { return (code - 1) / kMaxSlices; }
constexpr int CakeSlices(int code) { return (code - 1) % kMaxSlices + 1; }

constexpr int kKeyWords = 6;  // five of cells, one of plates and hold places
using Key = std::array<uint64_t, kKeyWords>;
constexpr uint64_t kSideBits = 0xFFFFFFFFull;  // the part of the last word that is key

int KeyWord(int cell) { return cell / 10; }
int KeyShift(int cell) { return (cell % 10) * 6; }

// The table's hash, kept up to date move by move: one random word for each cake in each
// cell and for each plate and hold place of each colour, all XORed together, so that a
// move changes it by a few words.
constexpr uint64_t Mix(uint64_t x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}
constexpr int kCodes = (kColours + 1) * kMaxSlices + 1;
struct HashWords {
    std::array<std::array<uint64_t, kCodes>, kCells> cell{};                                  // 0 for an empty cell
    std::array<std::array<uint64_t, (kMaxSlices + 1) * (kMaxSlices + 1)>, kColours + 1> side{};  // plate * 13 + hold
};
constexpr HashWords MakeHashWords()
{
    HashWords w;
    uint64_t n = 1;
    for (auto& cell : w.cell)
        for (int c = 1; c < kCodes; ++c)
            cell[c] = Mix(n++);
    for (auto& colour : w.side)
        for (size_t i = 1; i < colour.size(); ++i)  // 0: an empty plate and hold place, as a board starts
            colour[i] = Mix(n++);
    return w;
}
constexpr HashWords kHash = MakeHashWords();
constexpr int SideIndex(int plate, int hold) { return plate * (kMaxSlices + 1) + hold; }

struct Undo {
    int from, to;
    uint8_t fromCode, toCode;
    uint8_t plate, hold;  // of the target's colour, before
    bool jump;
};

// The search's own position: cakes as codes and masks, kept beside the full key that the
// table compares, all updated in place by a move and restored by its undo.
struct Board {
    std::array<uint8_t, kCells> code{};
    uint64_t occupied = 0;
    uint64_t mixed = 0;      // cells with a mixed cake
    uint64_t coloured = 0;   // cells with a coloured cake
    std::array<uint64_t, kColours + 1> cellsOf{};  // the cells of each colour's cakes
    std::array<uint64_t, kCodes> cellOf{};          // the cell of each cake, 0 when it is off the tableau
    std::array<int, kColours + 1> plate{}, hold{};
    int jumps = 0;
    Key key{};
    uint64_t hash = 0;

    void SetCell(int cell, int c)
    {
        key[KeyWord(cell)] ^= uint64_t(code[cell] ^ c) << KeyShift(cell);
        hash ^= kHash.cell[cell][code[cell]] ^ kHash.cell[cell][c];
        const uint64_t b = Bit(cell);
        if (code[cell]) {
            cellsOf[CakeColour(code[cell])] &= ~b;
            if (cellOf[code[cell]] == b)  // a mover is set in its new cell before its old one is emptied
                cellOf[code[cell]] = 0;
        }
        if (c) {
            cellsOf[CakeColour(c)] |= b;
            cellOf[c] = b;
        }
        code[cell] = static_cast<uint8_t>(c);
        occupied = c ? occupied | b : occupied & ~b;
        mixed = cellsOf[kMixedCake];
        coloured = occupied & ~mixed;
    }
    void SetSide(int colour, int plateSlices, int holdSlices)
    {
        const int shift = (colour - 1) * 4;
        key[5] ^= uint64_t(plate[colour] ^ plateSlices) << shift;
        key[5] ^= uint64_t(hold[colour] ^ holdSlices) << (16 + shift);
        hash ^= kHash.side[colour][SideIndex(plate[colour], hold[colour])] ^
                kHash.side[colour][SideIndex(plateSlices, holdSlices)];
        plate[colour] = plateSlices;
        hold[colour] = holdSlices;
    }

    // Where the cake in `cell` would go as a target: the rules' choice between plate and hold.
    Destination Goes(int cell) const
    {
        const int c = code[cell];
        const int colour = CakeColour(c);
        if (plate[colour] + 1 == CakeSlices(c))
            return Destination::Plate;
        return hold[colour] == 0 ? Destination::Hold : Destination::None;
    }

    Undo Apply(int from, int to, Destination d)
    {
        const int target = code[to];
        const int colour = CakeColour(target);
        const int slices = CakeSlices(target);
        Undo u{from, to, code[from], code[to], static_cast<uint8_t>(plate[colour]),
               static_cast<uint8_t>(hold[colour]), false};
        u.jump = (mixed & Bit(from)) && !(Neighbours(Bit(from)) & Bit(to));
        if (d == Destination::Plate) {
            int p = slices, h = hold[colour];
            if (h == p + 1) {
                p = h;
                h = 0;
            }
            SetSide(colour, p, h);
        } else {
            SetSide(colour, plate[colour], slices);
        }
        SetCell(to, code[from]);
        SetCell(from, 0);
        jumps -= u.jump ? 1 : 0;
        return u;
    }
    void Revert(const Undo& u)
    {
        SetCell(u.from, u.fromCode);
        SetCell(u.to, u.toCode);
        SetSide(CakeColour(u.toCode), u.plate, u.hold);
        jumps += u.jump ? 1 : 0;
    }

    // The cell of the next cake for that colour's plate (0 when it is held or complete).
    uint64_t NextOf(int colour) const
    {
        return plate[colour] < kMaxSlices ? cellOf[colour * kMaxSlices + plate[colour] + 1] : 0;
    }

    // The cells whose cake of that colour would go to the hold place: all but the next one.
    uint64_t HeldIfTaken(int colour) const { return cellsOf[colour] & ~NextOf(colour); }

    // The cells of the cakes a drop may take: every cake of a colour whose hold place is
    // free, and the next one of the others.
    uint64_t Targets() const
    {
        uint64_t cells = 0;
        for (int colour = 1; colour <= kColours; ++colour)
            cells |= hold[colour] == 0 ? cellsOf[colour] : NextOf(colour);
        return cells;
    }

    bool Solved() const { return plate[1] == 12 && plate[2] == 12 && plate[3] == 12 && plate[4] == 12; }
};

// The hash a board with this key keeps (Board::hash).
uint64_t HashOf(const Key& k)
{
    uint64_t h = 0;
    for (int cell = 0; cell < kCells; ++cell)
        h ^= kHash.cell[cell][k[KeyWord(cell)] >> KeyShift(cell) & 0x3F];
    for (int colour = 1; colour <= kColours; ++colour) {
        const int shift = (colour - 1) * 4;
        h ^= kHash.side[colour][SideIndex(static_cast<int>(k[5] >> shift & 0xF), static_cast<int>(k[5] >> (16 + shift) & 0xF))];
    }
    return h;
}

// ------------------------------------------------------------------ the table
// Zeroed memory for the table. Large blocks ask for huge pages: the table is read at
// random, and with small pages nearly every look-up would miss the address cache.
class Zeroed {
public:
    Zeroed() = default;
    explicit Zeroed(size_t bytes) : bytes_(bytes)
    {
#if defined(__linux__)
        if (bytes >= kHuge) {
            void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (p != MAP_FAILED) {
                madvise(p, bytes, MADV_HUGEPAGE);
                data_ = p;
                mapped_ = true;
                return;
            }
        }
#endif
        data_ = std::calloc(1, bytes);
    }
    Zeroed(Zeroed&& o) noexcept { *this = std::move(o); }
    Zeroed& operator=(Zeroed&& o) noexcept
    {
        std::swap(data_, o.data_);
        std::swap(bytes_, o.bytes_);
        std::swap(mapped_, o.mapped_);
        return *this;
    }
    ~Zeroed()
    {
#if defined(__linux__)
        if (mapped_) {
            munmap(data_, bytes_);
            return;
        }
#endif
        std::free(data_);
    }
    void* data() const { return data_; }

private:
    static constexpr size_t kHuge = size_t{4} << 20;
    void* data_ = nullptr;
    size_t bytes_ = 0;
    bool mapped_ = false;
};

// Positions known to fail, compared by their full key, so no two positions can ever be
// taken for each other. With each, the most jumps it is known to fail with (fewer jumps
// fail as well) and how much search it cost, in powers of two. Buckets of four; a new
// entry replaces the cheapest one of its bucket. The table starts small, so that a quick
// search costs little, and grows while it fills up, never beyond its limit.
//
// Most look-ups find nothing, and each is a read from far memory. So the first cache line
// of a bucket holds, for each entry, a word with its plates, hold places, bookkeeping and
// 16 more bits of the hash (its tag), and the first word of its key: a look-up that finds
// nothing reads that line alone, and only an entry whose tag and plates match has the
// rest of its key compared.
class FailTable {
public:
    explicit FailTable(size_t bytes)
    {
        // Growing holds the old table beside the new one, a quarter of its size.
        while (maxBuckets_ * 2 * sizeof(Bucket) * 5 / 4 <= bytes)
            maxBuckets_ *= 2;
        Resize(std::min<size_t>(maxBuckets_, kFirstBuckets));
    }
    bool Valid() const { return buckets_ != nullptr; }

    // Starts loading the first line of the bucket of `hash`, so that the look-up after
    // the cheaper checks finds it in the cache: the table is read at random and most
    // reads would miss.
    void Prefetch(uint64_t hash) const { __builtin_prefetch(&buckets_[hash & mask_]); }

    // True when the position is known to fail with `jumps` jumps.
    bool Fails(const Key& k, uint64_t hash, int jumps) const
    {
        const Bucket& b = buckets_[hash & mask_];
        for (int e = 0; e < kEntries; ++e)
            if (b.Same(e, k, Tag(hash)))
                return JumpsOf(b.info[e]) >= jumps;
        return false;
    }

    void Store(const Key& k, uint64_t hash, int jumps, uint64_t work)
    {
        if (++stores_ > 2 * kEntries * (mask_ + 1) && mask_ + 1 < maxBuckets_)
            Resize(std::min(maxBuckets_, 4 * (mask_ + 1)));
        const uint64_t info = uint64_t(std::min(jumps, 63)) << 32 | uint64_t(std::bit_width(work)) << 40;
        Put(buckets_[hash & mask_], k, hash, info);
    }

private:
    static constexpr int kEntries = 4;
    // info: the key's plates and hold places (kSideBits), then jumps (6 bits from 32),
    // work (7 bits from 40), the tag (16 bits from 47) and whether the entry is used (63).
    struct alignas(64) Bucket {
        std::array<uint64_t, kEntries> info;
        std::array<uint64_t, kEntries> first;                 // key word 0
        std::array<std::array<uint64_t, 4>, kEntries> rest;  // key words 1 to 4

        bool Same(int e, const Key& k, uint64_t tag) const
        {
            const uint64_t want = kUsed | tag | (k[5] & kSideBits);
            if ((info[e] & (kUsed | kTagBits | kSideBits)) != want || first[e] != k[0])
                return false;
            const auto& r = rest[e];
            return r[0] == k[1] && r[1] == k[2] && r[2] == k[3] && r[3] == k[4];
        }
        Key KeyOf(int e) const { return {first[e], rest[e][0], rest[e][1], rest[e][2], rest[e][3], info[e] & kSideBits}; }
    };
    static_assert(offsetof(Bucket, rest) == 64, "a bucket's first line holds what a look-up that misses reads");
    static constexpr uint64_t kUsed = uint64_t{1} << 63;
    static constexpr uint64_t kTagBits = uint64_t{0xFFFF} << 47;
    static constexpr size_t kFirstBuckets = size_t{1} << 12;

    // Bits of the hash above any the bucket index uses.
    static uint64_t Tag(uint64_t hash) { return (hash >> 48) << 47; }
    static int JumpsOf(uint64_t info) { return static_cast<int>(info >> 32 & 0x3F); }
    static uint64_t WorkOf(uint64_t info) { return info >> 40 & 0x7F; }

    static void Put(Bucket& b, const Key& k, uint64_t hash, uint64_t info)
    {
        int cheapest = 0;
        for (int e = 0; e < kEntries; ++e) {
            if (b.Same(e, k, Tag(hash))) {
                if (JumpsOf(b.info[e]) > JumpsOf(info))
                    return;  // it already knew more
                cheapest = e;
                break;
            }
            if (!(b.info[e] & kUsed) || WorkOf(b.info[e]) < WorkOf(b.info[cheapest]))
                cheapest = e;
        }
        b.info[cheapest] = kUsed | Tag(hash) | (info & ~kSideBits & ~kTagBits & ~kUsed) | (k[5] & kSideBits);
        b.first[cheapest] = k[0];
        b.rest[cheapest] = {k[1], k[2], k[3], k[4]};
    }

    void Resize(size_t buckets)
    {
        Zeroed memory(buckets * sizeof(Bucket));
        Bucket* fresh = static_cast<Bucket*>(memory.data());
        if (!fresh)
            return;  // keeps the smaller table
        const size_t mask = buckets - 1;
        if (buckets_)
            for (size_t i = 0; i <= mask_; ++i)
                for (int e = 0; e < kEntries; ++e)
                    if (buckets_[i].info[e] & kUsed) {
                        const Key k = buckets_[i].KeyOf(e);
                        const uint64_t hash = HashOf(k);
                        Put(fresh[hash & mask], k, hash, buckets_[i].info[e]);
                    }
        memory_ = std::move(memory);
        buckets_ = fresh;
        mask_ = mask;
    }

    Zeroed memory_;
    Bucket* buckets_ = nullptr;
    size_t mask_ = 0;
    size_t maxBuckets_ = 1;
    uint64_t stores_ = 0;
};

// ------------------------------------------------------------------ the search

// Drops the search has put to sleep, as bit masks of their target cells: one mask for each
// direction a step comes from, one for the mixed cake's jumps (it is in one place at a time).
// A drop x sleeps while every drop y made since leaves it legal and commutes with it: legal
// in one position and sharing no cell, y after x is legal and both orders end in the same
// position. Each leaves the other's cells as they were; cakes of different colours meet
// different plates and hold places. Of one colour, at most one of them is served; if x is
// and y is held, y held first follows x onto the plate when it is next, just as y after x is
// then served at once. But holding a cake shuts out every other hold of its colour, so a
// hold wakes the other holds of its colour: once the plate has caught up and the held cake
// has followed, such a drop is legal again, after the cakes went in another order than the
// one it was searched with. (A sleeping serve stays one until its cake is taken, and the
// hold place does not touch it. Only the mixed cake jumps, so two jumps share its cell.)
class Sleeping {
public:
    // The step from target + kFrom[d] onto target; the fifth kind is a jump.
    static constexpr std::array<int, 4> kFrom{1, -1, kRows, -kRows};
    static constexpr int kJump = 4;

    static int KindOf(int from, int to, bool jump)
    {
        if (jump)
            return kJump;
        const int d = from - to;
        return d == 1 ? 0 : d == -1 ? 1 : d == kRows ? 2 : 3;
    }
    bool Holds(int kind, int to) const { return masks_[kind] & Bit(to); }
    void Add(int kind, int to) { masks_[kind] |= Bit(to); }

    // What stays asleep in the state after the drop `from` > `to`, made in `b`: the drops that
    // touch neither of its cells. A drop by the mixed cake wakes every jump; a hold wakes
    // every other hold of its colour.
    Sleeping After(const Board& b, int from, int to) const
    {
        const uint64_t touched = Bit(from) | Bit(to);
        const uint64_t keep = ~touched;
        Sleeping next;
        for (int k = 0; k < 4; ++k) {
            const int d = kFrom[k];
            const uint64_t moverTouched = d > 0 ? touched >> d : touched << -d;
            next.masks_[k] = masks_[k] & keep & ~moverTouched;
        }
        next.masks_[kJump] = (b.mixed & Bit(from)) ? 0 : masks_[kJump] & keep;
        if (b.Goes(to) == Destination::Hold) {
            const uint64_t shut = b.HeldIfTaken(CakeColour(b.code[to]));
            for (uint64_t& m : next.masks_)
                m &= ~shut;
        }
        return next;
    }

private:
    std::array<uint64_t, 5> masks_{};
};

struct Candidate {
    int8_t from, to;
    Destination goes;
    uint8_t rank;  // lower first
    uint8_t kind;  // Sleeping's kind of drop
    int8_t pieces;  // of a step: the pieces its mover leaves its part in
    int8_t sides;   // of a step: the mixed cake's sides after it (see MixedCakeSides)
};

// The parts a position was found to have, handed on to the position after a drop, so
// that they need not be traced again: the mixed cake's part (0: not known), the count of
// loose parts, and after a step the mixed cake's sides (see MixedCakeSides; -1: not
// known). A step whose mover leaves its part in one piece keeps the parts as they were,
// less the cell it left; one that splits its part makes each piece but one a loose part,
// and the mixed cake's part is known only when the step did not split it. A jump leaves
// each piece its part falls into without it loose, and takes one part out of the loose
// ones, the one it lands in.
struct Parts {
    uint64_t own = 0;
    int loose = 0;
    int sides = -1;
};

class Search {
public:
    Search(const SolveLimits& limits, FailTable& table) : limits_(limits), table_(table)
    {
        if (limits.maxSeconds > 0)
            deadline_ = std::chrono::steady_clock::now() +
                        std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                            std::chrono::duration<double>(limits.maxSeconds));
    }

    // `asleep`: drops already searched from an earlier state of this path that no drop since
    // has touched or shut out (see Sleeping), or known there to fail at once. Such a drop
    // commutes with every drop made since, so whatever follows it here was searched there (the
    // same position, reached in the other order), and it is skipped; a position after one that
    // fails fails as well. That also keeps a failed position's entry true: every drop out of it
    // was searched, here or through the earlier branch, or failed at once.
    bool Run(Board& b, const Sleeping& asleep, const Parts* known = nullptr)
    {
        // Every position at first, so that even a very short limit stops a search that
        // would end within its first thousand positions; then every thousandth.
        if ((++positions_ & 1023) == 1 || positions_ < 1024)
            CheckLimits();
        if (positions_ >= restartAt_)
            restarting_ = true;
        if (stop_ != SolveStop::None || restarting_)
            return false;
        if (b.Solved())
            return true;
        const uint64_t hash = b.hash;
        table_.Prefetch(hash);
        const uint64_t own = known && known->own ? known->own : PartOf(b.mixed, b.occupied);  // the mixed cake's part
        const int loose = known ? known->loose : LooseParts(b, own);
        const int sides = known && known->sides >= 0 ? known->sides : MixedCakeSides(b.mixed, b.occupied);
        if (loose + std::max(0, sides - 1) > b.jumps ||
            (loose == b.jumps && loose > 0 && !VisitsCanKeepTheirOrder(b, own)))
            return false;
        const uint64_t before = positions_;

        std::array<Candidate, 5 * kCells> list;
        Sleeping searched = asleep;  // grows by each drop searched below
        const int n = Candidates(b, loose, sides, list, searched, order_);
        if (n == 0)
            return false;  // kept out of the table: listing it again costs no more than a look-up
        // Looked up only now, so that listing the drops hides the wait for the bucket: far
        // more positions go on to their drops than are found in the table.
        if (table_.Fails(b.key, hash, b.jumps))
            return false;
        if (shuffle_)
            Shuffle(list, n);
        for (int i = 0; i < n; ++i) {
            const Candidate& c = list[i];
            Parts after{0, loose + sides - 1};  // after a jump
            if (c.kind != Sleeping::kJump) {
                const bool split = c.pieces > 1 && (own & Bit(c.from));
                after = {split ? 0 : own & ~Bit(c.from), loose + c.pieces - 1, c.sides};
            }
            const Sleeping next = searched.After(b, c.from, c.to);
            const Undo u = b.Apply(c.from, c.to, c.goes);
            const bool solved = Run(b, next, &after);
            b.Revert(u);
            if (solved) {
                path_.push_back({CellAt(c.from), CellAt(c.to)});  // the solution is built on the way back
                return true;
            }
            if (stop_ != SolveStop::None || restarting_)
                return false;
            searched.Add(c.kind, c.to);
        }
        if (positions_ - before >= kWorthStoring)
            table_.Store(b.key, hash, b.jumps, positions_ - before);
        return false;
    }

    // Searches with a budget of positions that grows by 10 % each time: an unlucky early
    // choice costs at most one budget (small budgets find most solutions far sooner than
    // one long search), and what a search proved to fail stays in the table for the next.
    // The restarts take turns with the move orders (see Rank): which one finds a solution
    // soonest differs from position to position, and taking turns costs each at most three
    // times what it would have cost alone.
    bool Solve(Board& b)
    {
        for (uint64_t budget = 200;; budget += budget / 10) {
            restarting_ = false;
            restartAt_ = positions_ + budget;
            if (Run(b, Sleeping{})) {
                std::reverse(path_.begin(), path_.end());
                return true;
            }
            if (stop_ != SolveStop::None || !restarting_)
                return false;
            shuffle_ = true;
            order_ = (order_ + 1) % kOrders;
        }
    }

    std::vector<Move> path_;  // the drops of the solution, once one is found
    uint64_t positions_ = 0;
    SolveStop stop_ = SolveStop::None;

private:
    // A failed position is stored only when the search below it made at least this many
    // positions. Few entries are ever found again (the sleeping drops already skip the other
    // orders of drops that commute), and searching a small one again costs little more
    // than the look-up; without them the table stays smaller, and its reads faster.
    static constexpr uint64_t kWorthStoring = 4;

    // After a restart, moves of equal rank come in another order.
    void Shuffle(std::array<Candidate, 5 * kCells>& list, int n)
    {
        for (int lo = 0; lo < n;) {
            int hi = lo + 1;
            while (hi < n && list[hi].rank == list[lo].rank)
                ++hi;
            for (int i = hi - 1; i > lo; --i)
                std::swap(list[i], list[lo + static_cast<int>(NextRandom() % static_cast<uint64_t>(i - lo + 1))]);
            lo = hi;
        }
    }
    uint64_t NextRandom()
    {
        random_ ^= random_ << 13;
        random_ ^= random_ >> 7;
        random_ ^= random_ << 17;
        return random_;
    }

    void CheckLimits()
    {
        if (limits_.cancel && limits_.cancel->load(std::memory_order_relaxed))
            stop_ = SolveStop::Cancelled;
        else if (limits_.maxPositions && positions_ >= limits_.maxPositions)
            stop_ = SolveStop::Positions;
        else if (limits_.maxSeconds > 0 && std::chrono::steady_clock::now() >= deadline_)
            stop_ = SolveStop::Time;
    }

    // Every legal drop that is not asleep in `asleep`, best first, ranked by the move order
    // `order` (see Rank). A drop whose position the count of parts would refuse at once is
    // left out and put to sleep in `asleep` instead: a step that splits its part into more
    // pieces than the jumps to spare (each piece but one is a loose part more, see
    // LooseParts) or leaves the mixed cake holding too many sides together (see
    // MixedCakeSides), and a jump that strands more than the jumps after it can reach (see
    // JumpKeepsParts; `loose` and `sides` are this position's counts). Those refused before
    // any drop is searched sleep in every branch they commute with.
    static int Candidates(const Board& b, int loose, int sides, std::array<Candidate, 5 * kCells>& list,
                          Sleeping& asleep, int order)
    {
        // The pieces a cake leaving a cell splits its part into, worked out once per cell
        // (a cell is the mover of up to four drops), and counted only up to the first count
        // that strands more parts than there are jumps.
        std::array<int8_t, kCells> piecesFrom;
        piecesFrom.fill(0);
        // Likewise the mixed cake's sides after a step, for the steps of the other cakes.
        std::array<int8_t, kCells> sidesFrom;
        sidesFrom.fill(-1);
        const int tooMany = b.jumps - loose + 2;
        std::array<Candidate, 5 * kCells> found;
        std::array<int, kRanks> perRank;  // counted only for the ranks in `ranks`
        uint64_t ranks = 0;
        int n = 0;
        for (uint64_t targets = b.Targets(); targets; targets &= targets - 1) {
            const int to = std::countr_zero(targets);
            const Destination d = b.Goes(to);
            const uint64_t near = Neighbours(Bit(to)) & b.occupied;
            uint64_t movers = near;
            if (b.jumps > 0)
                movers |= b.mixed & ~near;
            for (; movers; movers &= movers - 1) {
                const int from = std::countr_zero(movers);
                const bool jump = !(near & Bit(from));
                const int kind = Sleeping::KindOf(from, to, jump);
                if (asleep.Holds(kind, to))
                    continue;  // not worth judging: it would be skipped
                const uint64_t left = b.occupied & ~Bit(from);
                const uint64_t around = Neighbours(Bit(from)) & left;
                const int crowd = std::popcount(around);
                if (piecesFrom[from] == 0)
                    piecesFrom[from] = static_cast<int8_t>(PiecesWithout(from, b.occupied, tooMany));
                const int pieces = piecesFrom[from];
                if ((!jump && pieces == tooMany) || (jump && !JumpKeepsParts(b, from, to, loose, sides))) {
                    asleep.Add(kind, to);
                    continue;
                }
                int8_t sidesAfter = -1;
                if (!jump) {
                    const bool mixedMoves = b.mixed & Bit(from);
                    sidesAfter = mixedMoves ? -1 : sidesFrom[from];
                    if (sidesAfter < 0)
                        sidesAfter = static_cast<int8_t>(MixedCakeSides(mixedMoves ? Bit(to) : b.mixed, left));
                    if (!mixedMoves)
                        sidesFrom[from] = sidesAfter;
                    if (loose + pieces - 1 + std::max(0, sidesAfter - 1) > b.jumps) {
                        asleep.Add(kind, to);
                        continue;
                    }
                }
                const bool splits = pieces > 1;
                const uint8_t rank = Rank(order, d, jump, splits, crowd, (b.mixed & Bit(from)) != 0);
                found[n++] = {static_cast<int8_t>(from), static_cast<int8_t>(to), d, rank,
                              static_cast<uint8_t>(kind), static_cast<int8_t>(pieces), sidesAfter};
                if (!(ranks & uint64_t{1} << rank))
                    perRank[rank] = 0;
                ranks |= uint64_t{1} << rank;
                ++perRank[rank];
            }
        }
        // In order of rank, and in the order found within a rank.
        for (int at = 0; ranks; ranks &= ranks - 1) {
            const int r = std::countr_zero(ranks);
            std::swap(perRank[r], at), at += perRank[r];
        }
        for (int i = 0; i < n; ++i)
            list[perRank[found[i].rank]++] = found[i];
        return n;
    }

    // Every order ranks a step before a jump; a serve before a hold, even a serve that
    // splits its part: a held cake closes its colour's hold place until the plate catches
    // up, and in mid-game positions, where most hold places are already taken, that is what
    // strands a position (on the benchmark's twenty slowest positions this decided 11 within
    // 5 s where splits first decided 7); then a move that leaves its part in one piece (a
    // split costs a jump later) before one that splits it. Within that, the first order moves
    // the cake with the fewest neighbours first (it leaves the others most of theirs), the
    // second the mixed cake before the others (it eats whatever it can reach, so moving it
    // strands the least), the third a cake at the edge of its part before one inside. Alone,
    // the first decided more positions within a second than the others; taking turns, the
    // three decided more than any one alone.
    static constexpr int kOrders = 3;
    static constexpr int kRanks = 64;
    static uint8_t Rank(int order, Destination d, bool jump, bool splits, int crowd, bool mixedMover)
    {
        const int kind = (jump ? 4 : 0) + (d == Destination::Hold ? 2 : 0) + (splits ? 1 : 0);
        const int fewest = std::clamp(crowd, 1, 4) - 1;
        switch (order) {
        case 0: return static_cast<uint8_t>(kind * 4 + fewest);
        case 1: return static_cast<uint8_t>(kind * 8 + (mixedMover ? 0 : 4) + fewest);
        default: return static_cast<uint8_t>(kind * 2 + (crowd > 1 ? 1 : 0));
        }
    }

    // The parts of the tableau with coloured cakes but no mixed cake, counted up to one more
    // than the jumps left. Each such part keeps at least its last cake, which only a mixed
    // cake jumping in can take away (cakes never move onto an empty cell, so parts never
    // join), so more of them than jumps left is a dead end. A step that splits a part makes
    // one more for each piece but one; a jump makes one fewer at most.
    static int LooseParts(const Board& b, uint64_t own)
    {
        return PartsHolding(b.coloured & ~own, b.occupied, b.jumps + 1);
    }

    // The pieces the mixed cake's part would fall into without it. Two or more: it holds them
    // together, and it leaves them all but one behind, each as a part of its own, whenever it
    // moves; none empties before, since a piece's last cake has only the mixed cake beside
    // it, which no cake may take. So each piece but one needs a jump, besides the parts
    // already out of its reach, however the pieces change meanwhile (a piece that comes
    // loose from it is such a part).
    // `mixed`: the mixed cake's cell as a bit (0 when there is none), `occupied`: the cells
    // of the tableau it is on.
    static int MixedCakeSides(uint64_t mixed, uint64_t occupied)
    {
        if (!(Neighbours(mixed) & occupied))
            return 0;
        return PiecesWithout(std::countr_zero(mixed), occupied);
    }

    // Whether the position after the jump `from` > `to` passes the count of parts against
    // the jumps left that every position starts with, judged without making the jump, from
    // this position's count of loose parts and of the pieces its mixed cake holds together.
    // Every piece it leaves behind becomes a loose part, and wherever it lands (a loose part
    // or one of those pieces) that part is loose no longer, for one jump less: so the count
    // passes when loose parts, pieces and the pieces it would hold together at its landing
    // cell, less one, are no more than the jumps now.
    static bool JumpKeepsParts(const Board& b, int from, int to, int loose, int sides)
    {
        if (loose + sides > b.jumps)
            return false;
        return loose + sides + PiecesWithout(to, b.occupied & ~Bit(from)) - 1 <= b.jumps;
    }

    // With no jump to spare, the mixed cake takes the parts one by one: it may only jump
    // once its own part has no coloured cake left (what it left behind would be one part
    // more), and every part it has not reached yet keeps at least one cake until it comes
    // (only the mixed cake takes a part's last cake). False when no order of visits lets
    // every part keep such a cake. While the parts taken so far are being emptied, a cake
    // (colour c, slices s) kept elsewhere
    // - must lie above what the plate reaches meanwhile: all but one of the taken parts'
    //   cakes of colour c end on the plate (one may wait in the hold place, once the cake
    //   held now has followed), and
    // - keeps the plate below s, so of the taken parts' cakes above s only one can leave,
    //   through the hold place, and none while it holds a cake above s.
    static bool VisitsCanKeepTheirOrder(const Board& b, uint64_t own)
    {
        using Slices = std::array<uint16_t, kColours + 1>;  // bit s: a cake with s slices, per colour
        auto slicesIn = [&b](uint64_t cells) {
            Slices in{};
            for (; cells; cells &= cells - 1) {
                const int code = b.code[std::countr_zero(cells)];
                in[CakeColour(code)] |= static_cast<uint16_t>(1u << CakeSlices(code));
            }
            return in;
        };
        std::array<Slices, 4> parts;
        int k = 0;
        for (uint64_t rest = b.coloured & ~own; rest; ++k) {
            if (k == static_cast<int>(parts.size()))
                return true;  // more parts than jumps can ever be: not judged here
            const uint64_t part = PartOf(rest & (~rest + 1), b.occupied);
            parts[k] = slicesIn(part);
            rest &= ~part;
        }
        auto canKeep = [&b](const Slices& part, const Slices& taken) {
            for (int c = 1; c <= kColours; ++c) {
                const int first = std::bit_width(unsigned{taken[c]}) - 1;
                const unsigned below = first > 0 ? taken[c] & ~(1u << first) : 0;
                const int second = std::bit_width(below) - 1;
                const int held = b.hold[c];
                const int reached = std::max(0, std::min(first, std::max(second, held)));
                for (unsigned kept = part[c] >> (reached + 1) << (reached + 1); kept; kept &= kept - 1) {
                    const int s = std::countr_zero(kept);
                    const int through = held > s ? 0 : 1;  // the cakes above s that can still leave
                    if (std::popcount(unsigned{taken[c]} >> (s + 1)) <= through)
                        return true;
                }
            }
            return false;
        };
        const Slices home = slicesIn(own & b.coloured);
        std::array<int, 4> order{0, 1, 2, 3};
        do {
            Slices taken = home;
            bool keeps = true;
            // What the plate must reach only grows with each part taken, so a part that can
            // keep a cake until the mixed cake comes kept it all along.
            for (int i = 0; i < k && keeps; ++i) {
                keeps = canKeep(parts[order[i]], taken);
                for (int c = 1; c <= kColours; ++c)
                    taken[c] |= parts[order[i]][c];
            }
            if (keeps)
                return true;
        } while (std::next_permutation(order.begin(), order.begin() + k));
        return false;
    }

    SolveLimits limits_;
    FailTable& table_;
    std::chrono::steady_clock::time_point deadline_{};
    uint64_t restartAt_ = 0;
    bool restarting_ = false;
    bool shuffle_ = false;
    int order_ = 0;
    uint64_t random_ = 0x9E3779B97F4A7C15ull;
};

// The position as the search keeps it; false when it is none the game can reach in form
// (a slice count or colour out of range).
bool Load(const Tableau& t, Board& b)
{
    for (int i = 0; i < kCells; ++i) {
        const int slices = t.CellSlices[i], colour = t.CellColour[i];
        if (slices <= 0)
            continue;
        if (slices > kMaxSlices || colour < kMixedCake || colour > kColours)
            return false;
        b.SetCell(i, colour * kMaxSlices + slices);
    }
    for (int c = 1; c <= kColours; ++c) {
        if (t.PlateSlices[c] < 0 || t.PlateSlices[c] > kMaxSlices || t.HoldSlices[c] < 0 ||
            t.HoldSlices[c] > kMaxSlices)
            return false;
        b.SetSide(c, t.PlateSlices[c], t.HoldSlices[c]);
    }
    b.jumps = std::clamp(t.JumpsLeft, 0, 63);
    return true;
}

} // namespace

SolveLimits HintLimits(const std::atomic<bool>* cancel)
{
    SolveLimits limits;
    limits.cancel = cancel;
    limits.maxSeconds = 1.0;
    limits.maxBytes = size_t{64} << 20;
    return limits;
}

Solution Solve(const Tableau& position, SolveLimits limits)
{
    Solution s;
    Board b;
    FailTable table(limits.maxBytes ? limits.maxBytes : kDefaultSolveBytes);
    if (!Load(position, b) || !table.Valid()) {
        s.cancelled = true;
        s.stop = SolveStop::NotAPosition;
        return s;
    }
    Search search(limits, table);
    s.solvable = search.Solve(b);
    s.positions = search.positions_;
    s.stop = search.stop_;
    s.cancelled = s.stop != SolveStop::None;
    if (s.solvable)
        s.moves = std::move(search.path_);
    return s;
}

const char* StopReason(SolveStop stop)
{
    switch (stop) {
    case SolveStop::None: return "";
    case SolveStop::Cancelled: return "cancelled";
    case SolveStop::Time: return "time limit reached";
    case SolveStop::Positions: return "position limit reached";
    case SolveStop::NotAPosition: return "not a position the game can reach";
    }
    return "";
}

std::string MoveText(Move m)
{
    return std::to_string(m.from.col) + ',' + std::to_string(m.from.row) + '>' + std::to_string(m.to.col) + ',' +
           std::to_string(m.to.row);
}

} // namespace torvella
