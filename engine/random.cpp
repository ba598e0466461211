#include "engine/engine.h"

#include <ctime>

namespace vilora {

void seed_random(uint32_t state) {
    random_generator.state = state;
}

namespace {
struct jump_table {
    uint32_t multiplier[random_batch_limit + 1];
    uint32_t increment[random_batch_limit + 1];
};

constexpr jump_table make_jump_table() {
    jump_table t{};
    t.multiplier[0] = 1;
    t.increment[0] = 0;
    for (int k = 1; k <= random_batch_limit; ++k) {
        t.multiplier[k] = t.multiplier[k - 1] * 214013u;
        t.increment[k] = t.increment[k - 1] * 214013u + 2531011u;
    }
    return t;
}
constexpr jump_table jumps = make_jump_table();
} // namespace

void random_ints(int32_t n, int32_t* out, int32_t count) {
    count = count < 0 ? 0 : (count > random_batch_limit ? random_batch_limit : count);
    const uint32_t first = random_generator.state;
    // value % n without a division: q = value * ceil(2^32 / n) >> 32 is the
    // quotient for every 15-bit value and every n > 0 (checked exhaustively up
    // to n = 2^15; past that the product stays under 2^32 and q is 0, as
    // value / n is).
    const uint32_t divisor = n > 0 ? static_cast<uint32_t>(n) : 0;
    const uint64_t reciprocal = divisor ? uint64_t{0xFFFFFFFFu} / divisor + 1 : 0;
    for (int32_t k = 0; k < count; ++k) {
        const uint32_t state = jumps.multiplier[k + 1] * first + jumps.increment[k + 1];
        const uint32_t value = state >> 16 & 0x7FFF;
        const auto quotient = static_cast<uint32_t>(value * reciprocal >> 32);
        out[k] = divisor ? static_cast<int32_t>(value - quotient * divisor) : 0;
    }
    random_generator.state = jumps.multiplier[count] * first + jumps.increment[count];
}

void skip_random(uint64_t draws) {
    // (multiplier, increment) of 2^i steps, squared each round: applying
    // s -> a s + c twice gives a (a s + c) + c = a^2 s + (a + 1) c.
    uint32_t a = 214013u, c = 2531011u;
    uint32_t state = random_generator.state;
    for (; draws; draws >>= 1) {
        if (draws & 1) state = a * state + c;
        c = (a + 1) * c;
        a = a * a;
    }
    random_generator.state = state;
}

void seed_random_from_time() {
    seed_random(static_cast<uint32_t>(std::time(nullptr)));
}

} // namespace vilora
