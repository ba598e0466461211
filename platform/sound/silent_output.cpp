#include "platform/sound/audio_output.h"

#include <algorithm>
#include <atomic>
#include <chrono>

namespace vilora {

namespace {
class silent_output : public audio_output {
public:
    explicit silent_output(int frequency) : frequency_(frequency) {}

    void start() override {
        started_ = clock::now();
        running_ = true;
    }
    void stop() override { running_ = false; }
    void queue(const int16_t*, size_t count) override { queued_ += count; }
    uint64_t frames_heard() override {
        if (!running_) return 0;
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::microseconds>(clock::now() - started_);
        const uint64_t by_clock =
            static_cast<uint64_t>(elapsed.count()) * static_cast<uint64_t>(frequency_) / 1000000u;
        return std::min<uint64_t>(by_clock, queued_);
    }
    uint64_t frames_queued() override { return queued_; }

private:
    using clock = std::chrono::steady_clock;
    int frequency_;
    clock::time_point started_{};
    std::atomic<bool> running_{false};
    std::atomic<uint64_t> queued_{0};
};
} // namespace

std::unique_ptr<audio_output> make_silent_output(int frequency) {
    return std::make_unique<silent_output>(frequency);
}

} // namespace vilora
