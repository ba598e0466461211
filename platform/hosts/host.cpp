#include "platform/hosts/headless_host.h"

#include <chrono>
#include <thread>

namespace vilora {

namespace {
std::unique_ptr<host_system>& current_host() {
    static std::unique_ptr<host_system> instance = std::make_unique<headless_host>();
    return instance;
}
} // namespace

host_system& host() {
    return *current_host();
}

std::unique_ptr<host_system> set_host(std::unique_ptr<host_system> replacement) {
    auto previous = std::move(current_host());
    current_host() = std::move(replacement);
    return previous;
}

uint32_t monotonic_milliseconds() {
    using namespace std::chrono;
    auto now = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(now);
}

// The real hosts count the steady clock's milliseconds, so a tick `left` ahead
// is reached at the whole millisecond `left` after the current one: one sleep to
// that boundary, not a poll.
void host_system::sleep_until_tick(uint32_t tick) {
    using namespace std::chrono;
    for (;;) {
        const auto left = static_cast<int32_t>(tick - tick_count());
        if (left <= 0) return;
        const auto whole = floor<milliseconds>(steady_clock::now());
        std::this_thread::sleep_until(whole + milliseconds(left));
    }
}

} // namespace vilora
