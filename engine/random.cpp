#include "engine/engine.h"

#include <ctime>

namespace vilora {

namespace {
uint32_t generator_state = 1;
} // namespace

void seed_random(uint32_t state) {
    generator_state = state;
}

void seed_random_from_time() {
    seed_random(static_cast<uint32_t>(std::time(nullptr)));
}

int32_t random_value() {
    generator_state = generator_state * 214013u + 2531011u;
    return static_cast<int32_t>(generator_state >> 16 & 0x7FFF);
}

int32_t random_int(int32_t n) {
    const int32_t value = random_value();
    return n > 0 ? value % n : 0;
}

} // namespace vilora
