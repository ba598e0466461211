#include "engine/engine.h"

#include <ctime>

namespace vilora {

void seed_random(uint32_t state) {
    random_generator.state = state;
}

void seed_random_from_time() {
    seed_random(static_cast<uint32_t>(std::time(nullptr)));
}

} // namespace vilora
