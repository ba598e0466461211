#include "scene3d/kf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace vilora {
namespace {

struct track_deleter {
    void operator()(kf_track* t) const { kf_free_track(t); }
};
using track_ptr = std::unique_ptr<kf_track, track_deleter>;

track_ptr float_track(std::initializer_list<std::pair<float, float>> keys, int mode = 0) {
    track_ptr t(new kf_track{});
    t->mode = mode;
    for (auto [frame, value] : keys) kf_append_key(t.get(), frame)->value[0] = value;
    return t;
}

track_ptr int_track(std::initializer_list<std::pair<float, int>> keys, int mode = 0) {
    track_ptr t(new kf_track{});
    t->mode = mode;
    for (auto [frame, value] : keys) kf_key_set_int(kf_append_key(t.get(), frame), value);
    return t;
}

TEST(Ease, ScalesOverlappingEasesToHalves) {
    EXPECT_FLOAT_EQ(kf_ease(0.25f, 0.6f, 0.6f), 0.125f);
    EXPECT_FLOAT_EQ(kf_ease(0.5f, 0.6f, 0.6f), 0.5f);
    EXPECT_FLOAT_EQ(kf_ease(0.75f, 0.6f, 0.6f), 0.875f);
    EXPECT_FLOAT_EQ(kf_ease(0.3f, 0, 0), 0.3f);
    // Ease out only: the last stretch is never reached with b = 0 except at t = 1.
    EXPECT_FLOAT_EQ(kf_ease(1.0f, 0.5f, 0), 1.0f);
}

TEST(FloatTrack, TwoKeysFollowTheHermiteCurve) {
    track_ptr t = float_track({{0, 10}, {10, 20}});
    ASSERT_EQ(kf_spline_setup(t.get()), 0);
    float v = 0;
    ASSERT_EQ(kf_eval_float(t.get(), 5, &v), 0);
    // Tangents are the whole difference (10): h00·10 + h01·20 + h10·10 + h11·10 at t = ½.
    EXPECT_FLOAT_EQ(v, 0.5f * 10 + 0.5f * 20 + 0.125f * 10 - 0.125f * 10);
    EXPECT_EQ(kf_eval_float(t.get(), 10, &v), 0);
    EXPECT_FLOAT_EQ(v, 20);
    EXPECT_EQ(kf_eval_float(t.get(), 0, &v), 0);
    EXPECT_FLOAT_EQ(v, 10);
    // Past the last key: the last value.
    EXPECT_EQ(kf_eval_float(t.get(), 50, &v), 0);
    EXPECT_FLOAT_EQ(v, 20);
}

TEST(FloatTrack, RejectsNegativeFramesAndEmptyTracks) {
    track_ptr one = float_track({{5, 42}});
    EXPECT_EQ(kf_spline_setup(one.get()), KF_TOO_FEW_KEYS);
    float v = -1;
    for (float frame : {0.0f, 5.0f, 1000.0f}) {
        EXPECT_EQ(kf_eval_float(one.get(), frame, &v), 0);
        EXPECT_EQ(v, 42);
    }
    v = -1;
    EXPECT_EQ(kf_eval_float(one.get(), -1, &v), KF_BAD_FRAME);
    EXPECT_EQ(v, -1);
    track_ptr empty = float_track({});
    EXPECT_EQ(kf_spline_setup(empty.get()), KF_NULL_ARGUMENT);
    EXPECT_EQ(kf_eval_float(empty.get(), 1, &v), KF_NULL_ARGUMENT);
    EXPECT_EQ(kf_eval_float(nullptr, 1, &v), KF_NULL_ARGUMENT);
    EXPECT_EQ(v, -1);
}

TEST(FloatTrack, RepeatWrapsByTheLastKeyFrame) {
    track_ptr t = float_track({{0, 0}, {10, 100}, {20, 40}}, 1);
    kf_spline_setup(t.get());
    float at5 = 0, at25 = 0;
    kf_eval_float(t.get(), 5, &at5);
    kf_eval_float(t.get(), 25, &at25);
    EXPECT_FLOAT_EQ(at25, at5);
    // Without repetition frame 25 holds the last value.
    t->mode = 0;
    kf_eval_float(t.get(), 25, &at25);
    EXPECT_FLOAT_EQ(at25, 40);
}

TEST(FloatTrack, SearchRestartsWhenTheFrameGoesBack) {
    track_ptr t = float_track({{0, 0}, {10, 10}, {20, 20}, {30, 30}});
    kf_spline_setup(t.get());
    float late = 0, early = 0;
    kf_eval_float(t.get(), 30, &late);
    kf_eval_float(t.get(), 10, &early);
    EXPECT_FLOAT_EQ(late, 30);
    EXPECT_FLOAT_EQ(early, 10);
}

TEST(VectorTrack, OnceDoesNotRepeatAndStartsAtTheFirstKey) {
    track_ptr t(new kf_track{});
    t->mode = 1;
    kf_key* a = kf_append_key(t.get(), 10);
    kf_key* b = kf_append_key(t.get(), 20);
    a->value[0] = 1;
    b->value[0] = 2;
    kf_spline_setup(t.get());
    kf_vector v{};
    EXPECT_EQ(kf_eval_vector_once(t.get(), 0, &v), 0);
    EXPECT_EQ(v.x, 1);
    EXPECT_EQ(kf_eval_vector_once(t.get(), 40, &v), 0); // no wrap to 0
    EXPECT_EQ(v.x, 2);
    EXPECT_EQ(kf_eval_vector(t.get(), 40, &v), 0); // 40 mod 20 = 0, before the first key
    EXPECT_EQ(v.x, 1);
}

TEST(HideTrack, KeysTakeEffectAfterTheirFrameExceptTheFirst) {
    track_ptr t = int_track({{10, 1}, {20, 0}});
    for (int frame = 0; frame <= 30; ++frame) {
        int hidden = -1;
        ASSERT_EQ(kf_eval_hide(t.get(), static_cast<float>(frame), &hidden), 0);
        EXPECT_EQ(hidden, frame >= 10 && frame <= 20 ? 1 : 0) << "frame " << frame;
    }
    int hidden = -1;
    EXPECT_EQ(kf_eval_hide(nullptr, 3, &hidden), KF_NULL_ARGUMENT);
    EXPECT_EQ(hidden, 0);
}

TEST(MorphTrack, BlendsBetweenTheTargetsOfTwoKeys) {
    track_ptr t = int_track({{0, 3}, {10, 5}});
    int from = 0, to = 0;
    float alpha = 0;
    ASSERT_EQ(kf_eval_morph(t.get(), 5, &from, &to, &alpha), 0);
    EXPECT_EQ(from, 3);
    EXPECT_EQ(to, 5);
    EXPECT_FLOAT_EQ(alpha, 0.5f);
    ASSERT_EQ(kf_eval_morph(t.get(), 12, &from, &to, &alpha), 0);
    EXPECT_EQ(from, 3);
    EXPECT_EQ(to, 5);
    EXPECT_FLOAT_EQ(alpha, 1);
}

TEST(SplineSetup, InnerTangentsWithTensionAndLoop) {
    // Evenly spaced keys: the inner tangent is the mean slope scaled by 1 − tension.
    track_ptr t = float_track({{0, 0}, {10, 10}, {20, 30}});
    t->first->next->tension = 0.5f;
    kf_spline_setup(t.get());
    const kf_key* mid = t->first->next;
    EXPECT_FLOAT_EQ(mid->tangent_in[0], 0.5f * (5 + 10));
    EXPECT_FLOAT_EQ(mid->tangent_out[0], 0.5f * (5 + 10));
    // End tangents: span 30, f = 0.25 − 10/40 = 0, 1.5·(10 − 15) + 15 = 7.5.
    EXPECT_FLOAT_EQ(t->first->tangent_out[0], 7.5f);
    EXPECT_FLOAT_EQ(mid->next->tangent_in[0], 1.5f * (20 - 15) + 15);
    // A loop wraps the ends around the last frame.
    t->mode = 2;
    kf_spline_setup(t.get());
    EXPECT_FLOAT_EQ(t->first->tangent_out[0], 0.5f * ((0 - 10) + (10 - 0)));
}

TEST(RotationTrack, KeysReturnTheirOrientationAndSpinFullTurns) {
    // Two keys about y: a quarter turn, then a turn and a quarter more, so the
    // running angles differ by more than 2π and the segment spins once extra.
    track_ptr t(new kf_track{});
    kf_key* a = kf_append_key(t.get(), 0);
    kf_key* b = kf_append_key(t.get(), 10);
    float quarter = static_cast<float>(kf_pi / 2);
    a->value[0] = quarter;
    b->value[0] = quarter + static_cast<float>(2 * kf_pi + kf_pi / 2);
    a->value[2] = b->value[2] = 1;
    quat_from_angle_axis(quarter, 0, 1, 0, &a->quat);
    quat_from_angle_axis(2 * quarter, 0, 1, 0, &b->quat);
    ASSERT_EQ(kf_rotation_setup(t.get()), 0);
    kf_quat q;
    kf_eval_rotation(t.get(), 0, &q);
    EXPECT_NEAR(q.w, a->quat.w, 1e-6);
    EXPECT_NEAR(q.y, a->quat.y, 1e-6);
    kf_eval_rotation(t.get(), 10, &q);
    EXPECT_NEAR(std::fabs(q.w), std::fabs(b->quat.w), 1e-5);
    EXPECT_NEAR(std::fabs(q.y), std::fabs(b->quat.y), 1e-5);
    // Halfway the path has turned by more than the plain quarter between the keys.
    kf_eval_rotation(t.get(), 5, &q);
    float plain_w = static_cast<float>(std::cos(3 * kf_pi / 8));
    EXPECT_GT(std::fabs(std::fabs(q.w) - plain_w), 0.1);
}

} // namespace
} // namespace vilora
