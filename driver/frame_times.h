// Drawing times of the latest frames, for the overlay.
#pragma once

#include <cstddef>
#include <vector>

namespace vilora {

// Drawing times of the latest frames, in milliseconds.
class frame_times {
public:
    void add(double milliseconds);
    double last() const { return last_; }
    // The 99th percentile of the latest `kept` frames (0 before the first).
    double percentile_99() const;

    static constexpr size_t kept = 500; // half a minute of the show

private:
    std::vector<double> recent_; // a ring of the latest `kept`
    size_t next_ = 0;
    double last_ = 0.0;
};

} // namespace vilora
