// The program's pseudo-random generator: the C library's classic linear
// congruential generator, with the bounds rules of RandomInt.
#pragma once

#include <cstdint>
#include <optional>

class RandomGenerator {
public:
    void Seed(uint32_t seed) { state_ = seed; }
    // The next value, 0 to 32767.
    int32_t Next();

private:
    uint32_t state_ = 1;
};

int32_t RandomInt(RandomGenerator& random, int32_t low, std::optional<int32_t> high = std::nullopt);
