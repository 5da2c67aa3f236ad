#include "core/Random.h"

#include <chrono>

namespace torvella {

uint32_t Random::SeedFromClock()
{
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<uint32_t>(static_cast<uint64_t>(ns.count()));
}

} // namespace torvella
