#include "engine/numbers.h"

#include <cmath>

namespace vilora {

double deg_to_rad(int32_t degrees) {
    return degrees * 0.017444444444444446;
}

int64_t step_sum(int32_t n) {
    double sum = 0.0;
    for (int32_t i = 1; i <= n; ++i) sum += i * 1.1;
    return static_cast<int64_t>(std::trunc(sum));
}

} // namespace vilora
