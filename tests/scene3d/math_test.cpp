#include "scene3d/kf_math.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vilora {
namespace {

void expect_point(const kf_matrix& m, kf_vector p, kf_vector expected) {
    mat_transform_point(&m, &p, &p);
    EXPECT_NEAR(p.x, expected.x, 1e-6);
    EXPECT_NEAR(p.y, expected.y, 1e-6);
    EXPECT_NEAR(p.z, expected.z, 1e-6);
}

TEST(VectorMath, ZeroLengthIsOneButNormalisesToZero) {
    kf_vector zero = {0, 0, 0}, out = {9, 9, 9};
    EXPECT_EQ(vec_length(&zero), 1.0f);
    vec_normalize(&zero, &out);
    EXPECT_EQ(out.x, 0.0f);
    EXPECT_EQ(out.y, 0.0f);
    EXPECT_EQ(out.z, 0.0f);
    kf_vector v = {3, 0, 4};
    EXPECT_EQ(vec_length(&v), 5.0f);
    kf_vector x = {1, 0, 0}, y = {0, 1, 0};
    vec_cross(&x, &y, &out);
    EXPECT_EQ(out.z, 1.0f);
    // The output may be an input.
    vec_cross(&x, &y, &x);
    EXPECT_EQ(x.x, 0.0f);
    EXPECT_EQ(x.z, 1.0f);
}

TEST(MatrixMath, InvertAxesDividesRowsBySquaredLength) {
    kf_matrix m = {{{2, 0, 0, 7}, {0, 4, 0, 8}, {0, 0, 1, 9}}}, out;
    EXPECT_EQ(mat_invert_axes(&m, &out), 0);
    EXPECT_EQ(out.m[0][0], 0.5f);
    EXPECT_EQ(out.m[1][1], 0.25f);
    EXPECT_EQ(out.m[2][2], 1.0f);
    EXPECT_EQ(out.m[0][3], 7.0f);
    EXPECT_EQ(out.m[2][3], 9.0f);

    kf_matrix singular = {{{1, 0, 0, 5}, {0, 0, 0, 0}, {0, 0, 1, 0}}};
    EXPECT_EQ(mat_invert_axes(&singular, &out), 13);
    kf_matrix identity;
    mat_identity(&identity);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(out.m[r][c], identity.m[r][c]);
}

TEST(MatrixMath, MultiplicationAppliesTheRightOperandFirst) {
    kf_matrix translate, scale, ts, st;
    mat_identity(&translate);
    translate.m[0][3] = 10;
    kf_vector s = {2, 3, 4};
    mat_scale(&s, &scale);
    mat_mul(&translate, &scale, &ts);
    mat_mul(&scale, &translate, &st);
    expect_point(ts, {1, 1, 1}, {12, 3, 4});
    expect_point(st, {1, 1, 1}, {22, 3, 4});
    kf_vector v = {1, 0, 0};
    mat_translate_after(&v, &scale, &st);
    expect_point(st, {0, 0, 0}, {2, 0, 0});
}

TEST(MatrixMath, SwapYzExchangesColumnsThenRows) {
    kf_matrix m = {{{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}}};
    mat_swap_yz(&m);
    const float expected[3][4] = {{1, 3, 2, 4}, {9, 11, 10, 12}, {5, 7, 6, 8}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(m.m[r][c], expected[r][c]) << r << "," << c;
}

TEST(QuaternionMath, HamiltonProduct) {
    kf_quat i = {0, 1, 0, 0}, j = {0, 0, 1, 0}, out;
    quat_mul(&i, &j, &out);
    EXPECT_EQ(out.w, 0.0f);
    EXPECT_EQ(out.x, 0.0f);
    EXPECT_EQ(out.y, 0.0f);
    EXPECT_EQ(out.z, 1.0f);
    quat_mul(&j, &i, &out);
    EXPECT_EQ(out.z, -1.0f);
}

TEST(QuaternionMath, ToMatrixTurnsAboutY) {
    float h = static_cast<float>(std::cos(kf_pi / 4));
    kf_quat q = {h, 0, h, 0};
    kf_matrix m;
    quat_to_matrix(&q, &m);
    expect_point(m, {1, 0, 0}, {0, 0, -1});
    EXPECT_EQ(m.m[0][3], 0.0f);
    kf_quat zero = {0, 0, 0, 0};
    quat_to_matrix(&zero, &m);
    expect_point(m, {1, 2, 3}, {1, 2, 3});
}

TEST(QuaternionMath, SlerpOfEqualQuaternionsIsLinear) {
    kf_quat a = {0.6f, 0.8f, 0, 0}, out;
    for (float t : {0.0f, 0.3f, 1.0f}) {
        quat_slerp_spin(&a, &a, 0, t, &out);
        EXPECT_FLOAT_EQ(out.w, 0.6f);
        EXPECT_FLOAT_EQ(out.x, 0.8f);
    }
}

TEST(QuaternionMath, SlerpHalfwayAndTheShortArc) {
    kf_quat a = {1, 0, 0, 0}, b = {0, 0, 1, 0}, out;
    quat_slerp_spin(&a, &b, 0, 0.5f, &out);
    EXPECT_NEAR(out.w, std::sqrt(0.5), 1e-6);
    EXPECT_NEAR(out.y, std::sqrt(0.5), 1e-6);
    // −b is the same turn as b: the short way goes toward it, the spin path does not.
    kf_quat minus_b = {0, 0, -1, 0}, near_a = {0.8f, 0, -0.6f, 0};
    quat_slerp_short(&a, &near_a, 0, 1, &out);
    EXPECT_NEAR(out.y, -0.6, 1e-6);
    kf_quat far = {-0.8f, 0, 0.6f, 0};
    quat_slerp_short(&a, &far, 0, 1, &out);
    EXPECT_NEAR(out.w, 0.8, 1e-6);
    quat_slerp_spin(&a, &far, 0, 1, &out);
    EXPECT_NEAR(out.w, -0.8, 1e-6);
    quat_slerp_spin(&a, &minus_b, 0, 0.5f, &out);
    EXPECT_NEAR(out.y, -std::sqrt(0.5), 1e-6);
}

TEST(QuaternionMath, LogAndExpAreInverse) {
    // A quarter turn about z: the log between identity and it is (0, 0, 0, π/4).
    float h = static_cast<float>(std::sqrt(0.5));
    kf_quat identity = {1, 0, 0, 0}, quarter = {h, 0, 0, h}, log, back;
    quat_log_between(&identity, &quarter, &log);
    EXPECT_NEAR(log.z, kf_pi / 4, 1e-6);
    quat_exp(&log, &back);
    EXPECT_NEAR(back.w, h, 1e-6);
    EXPECT_NEAR(back.z, h, 1e-6);
    kf_quat axis = {0, 0, 1, 0};
    quat_log_axis(&axis, &log);
    EXPECT_FLOAT_EQ(log.y, kf_half_pi);
}

} // namespace
} // namespace vilora
