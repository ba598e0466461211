#include "platform/hosts/headless_host.h"

#include <chrono>

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

} // namespace vilora
