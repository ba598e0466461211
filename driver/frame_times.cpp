#include "driver/frame_times.h"

#include <algorithm>

namespace vilora {

void frame_times::add(double milliseconds) {
    last_ = milliseconds;
    if (recent_.size() < kept)
        recent_.push_back(milliseconds);
    else
        recent_[next_] = milliseconds;
    next_ = (next_ + 1) % kept;
}

double frame_times::percentile_99() const {
    if (recent_.empty()) return 0.0;
    std::vector<double> sorted = recent_;
    const size_t at = (sorted.size() - 1) * 99 / 100;
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<ptrdiff_t>(at), sorted.end());
    return sorted[at];
}

} // namespace vilora
