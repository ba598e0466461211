// The integer synthesis against the maths it stands for, and the samples it
// makes as a tracker plays them.
#include "kit/content/music/instruments.h"
#include "kit/synth/synth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vilora {
namespace {

using namespace vilora::kit::music;
constexpr double two_pi = 6.283185307179586;

TEST(Synth, SineTableAndInterpolationFollowTheSine) {
    for (int i = 0; i < table_size; ++i)
        ASSERT_NEAR(sine_at(i) / 1073741824.0, std::sin(two_pi * i / table_size), 2e-7) << i;
    EXPECT_EQ(sine_at(-1), sine_at(table_size - 1));
    EXPECT_EQ(sine_at(3 * table_size + 5), sine_at(5));
    for (uint32_t k = 0, phase = 12345; k < 270; ++k, phase += 0x00F0F0F1u)
        ASSERT_NEAR(sine(phase) / 32768.0, std::sin(two_pi * phase / 4294967296.0), 1e-4) << phase;
}

TEST(Synth, IntegerSquareRootIsTheFloor) {
    for (uint64_t r : {0ull, 1ull, 2ull, 255ull, 65535ull, 4294967295ull}) {
        EXPECT_EQ(isqrt(r * r), r);
        if (r) {
            EXPECT_EQ(isqrt(r * r - 1), r - 1);
        }
        EXPECT_EQ(isqrt(r * r + 2 * r), r); // one below (r + 1)²
    }
}

TEST(Synth, LowPassGainIsFlatBelowPeaksAtCutoffAndFallsAbove) {
    constexpr int q4 = 4 * 256;
    EXPECT_NEAR(lowpass_gain(1, 64 * 256, q4) / 65536.0, 1.0, 0.01);
    EXPECT_NEAR(lowpass_gain(8, 8 * 256, q4) / 65536.0, 4.0, 0.05);       // |H| = Q at cutoff
    EXPECT_NEAR(lowpass_gain(16, 4 * 256, q4) / 65536.0, 1.0 / 15, 0.01); // 1/(r²-1)
    EXPECT_EQ(lowpass_gain(300, 4 * 256, q4), 0);
}

TEST(Synth, AdditiveLoopsCloseOnThemselves) {
    const signal s = additive(c4_period, {{1, 65536}, {3, 20000}});
    const signal twice = additive(2 * c4_period, {{2, 65536}, {6, 20000}});
    for (int i = 0; i < c4_period; ++i) {
        EXPECT_EQ(twice[static_cast<size_t>(i)], s[static_cast<size_t>(i)]);
        EXPECT_EQ(twice[static_cast<size_t>(i + c4_period)], s[static_cast<size_t>(i)]);
    }
}

// A loop that does not meet itself clicks on every pass: the step from the
// loop's last sample back to its first must be no larger than the steps the
// waveform takes anyway.
TEST(Instruments, LoopedSamplesRepeatWithoutAStepAtTheSeam) {
    const auto instruments = make_instruments();
    int looped = 0;
    for (const auto& in : instruments)
        for (const auto& s : in.samples) {
            if (s.loop == kit::xm_loop::none) continue;
            ++looped;
            const auto first = s.data.begin() + s.loop_start;
            const auto last = first + s.loop_length - 1;
            int largest = 0;
            for (auto it = first; it != last; ++it)
                largest = std::max(largest, std::abs(it[1] - it[0]));
            EXPECT_LE(std::abs(*first - *last), largest) << in.name;
        }
    EXPECT_GE(looped, 8);
}

// Every sample is normalised to use most of its range; soft clipping may put
// the loudest few on the rails, but a run of them means the synthesis
// overflowed. Nor may a sample sit off zero, or its notes would click.
TEST(Instruments, SamplesUseTheirRangeWithoutClippingOrOffset) {
    for (const auto& in : make_instruments())
        for (const auto& s : in.samples) {
            if (in.name == "cue") continue;
            SCOPED_TRACE(in.name);
            const int rail = s.sixteen_bit ? 32767 : 127;
            int peak = 0;
            size_t on_rail = 0;
            long long sum = 0;
            for (int16_t v : s.data) {
                peak = std::max(peak, std::abs(int{v}));
                on_rail += std::abs(int{v}) >= rail;
                sum += v;
            }
            EXPECT_GT(peak, rail / 2);
            EXPECT_LT(on_rail, s.data.size() / 50);
            EXPECT_LT(std::abs(static_cast<double>(sum) / s.data.size()), rail * 0.05);
        }
}

} // namespace
} // namespace vilora
