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
    for (int32_t k = 0; k < count; ++k) {
        const uint32_t state = jumps.multiplier[k + 1] * first + jumps.increment[k + 1];
        const auto value = static_cast<int32_t>(state >> 16 & 0x7FFF);
        out[k] = n > 0 ? value % n : 0;
    }
    random_generator.state = jumps.multiplier[count] * first + jumps.increment[count];
}

void seed_random_from_time() {
    seed_random(static_cast<uint32_t>(std::time(nullptr)));
}

} // namespace vilora
