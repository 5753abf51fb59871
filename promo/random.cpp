#include "promo/random.h"

#include <algorithm>

int32_t RandomGenerator::Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int32_t>((state_ >> 16) & 0x7FFF);
}

int32_t RandomInt(RandomGenerator& random, int32_t low, std::optional<int32_t> high) {
    int32_t a = std::max(low, 0);
    int32_t b = std::max(high.value_or(2147483647), 0);
    if (a > b) std::swap(a, b);
    if (a == b) return a;
    int64_t span = std::min<int64_t>(int64_t{b} - a + 1, 2147483646);
    return static_cast<int32_t>(a + random.Next() % span);
}
