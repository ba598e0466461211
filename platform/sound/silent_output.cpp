#include "platform/sound/audio_output.h"

#include <algorithm>
#include <chrono>
#include <mutex>

namespace vilora {

namespace {
class silent_output : public audio_output {
public:
    explicit silent_output(int frequency) : frequency_(frequency) {}

    void start() override {
        std::lock_guard guard(lock_);
        if (running_) return;
        resumed_ = clock::now();
        running_ = true;
    }
    void pause() override {
        std::lock_guard guard(lock_);
        heard_before_ = heard();
        running_ = false;
    }
    void stop() override {
        std::lock_guard guard(lock_);
        running_ = false;
        heard_before_ = 0;
    }
    void discard_queued() override {
        std::lock_guard guard(lock_);
        heard_before_ = queued_;
        resumed_ = clock::now();
    }
    void queue(const int16_t*, size_t count) override {
        std::lock_guard guard(lock_);
        queued_ += count;
    }
    uint64_t frames_heard() override {
        std::lock_guard guard(lock_);
        return heard();
    }
    uint64_t frames_queued() override {
        std::lock_guard guard(lock_);
        return queued_;
    }

private:
    using clock = std::chrono::steady_clock;
    // What was heard before the latest start or discard, plus the wall clock
    // since, as far as there is audio queued.
    uint64_t heard() const {
        if (!running_) return heard_before_;
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::microseconds>(clock::now() - resumed_);
        const uint64_t by_clock =
            static_cast<uint64_t>(elapsed.count()) * static_cast<uint64_t>(frequency_) / 1000000u;
        return std::min<uint64_t>(heard_before_ + by_clock, queued_);
    }

    int frequency_;
    std::mutex lock_;
    clock::time_point resumed_{};
    bool running_ = false;
    uint64_t heard_before_ = 0;
    uint64_t queued_ = 0;
};
} // namespace

std::unique_ptr<audio_output> make_silent_output(int frequency) {
    return std::make_unique<silent_output>(frequency);
}

} // namespace vilora
