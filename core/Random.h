#pragma once
// Back end: the generator the deal draws from.
#include <cstdint>

namespace torvella {

// The game's linear congruential generator. Seeded once per run; every later deal continues
// its sequence, and the same tableau is dealt again by restoring a saved state.
class Random {
public:
    explicit Random(uint32_t state = 0) : state_(state) {}

    // 0 .. n-1: the high 32 bits of the 64-bit product of the new state and n.
    uint32_t Next(uint32_t n)
    {
        state_ = state_ * 134775813u + 1u;
        return static_cast<uint32_t>((static_cast<uint64_t>(state_) * n) >> 32);
    }

    uint32_t State() const { return state_; }
    void SetState(uint32_t state) { state_ = state; }

    // The low 32 bits of the steady clock in nanoseconds.
    static uint32_t SeedFromClock();

private:
    uint32_t state_;
};

} // namespace torvella
