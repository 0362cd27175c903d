// The sample images' pseudo-random numbers: xorshift32, the same numbers
// for the same seed on every system.
#pragma once

#include <cstdint>

class Random {
public:
    explicit Random(uint32_t seed) : state(seed) {}
    uint32_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    uint32_t below(uint32_t bound) { return next() % bound; }
    uint32_t between(uint32_t low, uint32_t high) { return low + below(high - low + 1); }

private:
    uint32_t state;
};
