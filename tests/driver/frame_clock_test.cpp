#include "driver/frame_clock.h"

#include "platform/hosts/headless_host.h"

#include <gtest/gtest.h>

#include <memory>

namespace vilora {
namespace {

// A host whose clock the test sets.
class manual_clock_host : public headless_host {
public:
    uint32_t tick_count() override { return now; }
    uint32_t now = 0;
};

TEST(FrameClock, MeasuresAcrossTheTickCounterWrap) {
    auto owned = std::make_unique<manual_clock_host>();
    manual_clock_host* clock_host = owned.get();
    auto previous = set_host(std::move(owned));

    clock_host->now = 0xFFFFFF00u;
    frame_clock clock;
    EXPECT_EQ(clock.start_tick, 0xFFFFFF00u);
    clock_host->now = 0x00000064u; // 356 ms later, after the wrap
    EXPECT_DOUBLE_EQ(clock.seconds_since_start(), 0.356);

    set_host(std::move(previous));
}

} // namespace
} // namespace vilora
