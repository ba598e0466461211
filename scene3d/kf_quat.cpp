// Quaternion operations of the 3D library, (w, x, y, z), 32-bit floats.
#include "scene3d/kf_math.h"

#include <cmath>

namespace vilora {

void quat_set(float w, float x, float y, float z, kf_quat* out) {
    *out = {w, x, y, z};
}

void quat_identity(kf_quat* out) {
    *out = {1, 0, 0, 0};
}

void quat_zero(kf_quat* out) {
    *out = {0, 0, 0, 0};
}

void quat_copy(const kf_quat* src, kf_quat* out) {
    *out = *src;
}

void quat_from_angle_axis(float angle, float x, float y, float z, kf_quat* out) {
    float half = angle / 2;
    float s = static_cast<float>(std::sin(static_cast<double>(half)));
    float c = static_cast<float>(std::cos(static_cast<double>(half)));
    *out = {c, s * x, s * y, s * z};
}

void quat_swap_yz(kf_quat* q) {
    float y = q->y;
    q->y = q->z;
    q->z = y;
}

void quat_mul(const kf_quat* a, const kf_quat* b, kf_quat* out) {
    kf_quat r;
    r.w = a->w * b->w - a->x * b->x - a->y * b->y - a->z * b->z;
    r.x = a->w * b->x + a->x * b->w + a->y * b->z - a->z * b->y;
    r.y = a->w * b->y - a->x * b->z + a->y * b->w + a->z * b->x;
    r.z = a->w * b->z + a->x * b->y - a->y * b->x + a->z * b->w;
    *out = r;
}

float quat_norm(const kf_quat* q) {
    return std::sqrt(q->w * q->w + q->x * q->x + q->y * q->y + q->z * q->z);
}

float quat_dot(const kf_quat* a, const kf_quat* b) {
    return a->w * b->w + a->x * b->x + a->y * b->y + a->z * b->z;
}

float quat_cos(const kf_quat* a, const kf_quat* b) {
    return quat_dot(a, b) / (quat_norm(a) * quat_norm(b));
}

void quat_scale(const kf_quat* q, float s, kf_quat* out) {
    *out = {q->w * s, q->x * s, q->y * s, q->z * s};
}

void quat_normalize(const kf_quat* q, kf_quat* out) {
    quat_scale(q, 1 / quat_norm(q), out);
}

void quat_inverse(const kf_quat* q, kf_quat* out) {
    float n = q->w * q->w + q->x * q->x + q->y * q->y + q->z * q->z;
    *out = {q->w / n, -q->x / n, -q->y / n, -q->z / n};
}

void quat_unit_inverse(const kf_quat* q, kf_quat* out) {
    kf_quat n;
    quat_normalize(q, &n);
    *out = {n.w, -n.x, -n.y, -n.z};
}

void quat_exp(const kf_quat* q, kf_quat* out) {
    double theta = std::sqrt(q->x * q->x + q->y * q->y + q->z * q->z);
    float c = static_cast<float>(std::cos(theta));
    if (theta == 0.0) {
        *out = {c, q->x, q->y, q->z};
        return;
    }
    double s = std::sin(theta);
    *out = {c, static_cast<float>(q->x * s / theta), static_cast<float>(q->y * s / theta),
            static_cast<float>(q->z * s / theta)};
}

void quat_log_axis(const kf_quat* q, kf_quat* out) {
    float len = std::sqrt(q->x * q->x + q->y * q->y + q->z * q->z);
    float e =
        q->w != 0.0f ? static_cast<float>(std::atan(static_cast<double>(len / q->w))) : kf_half_pi;
    *out = {0, e * q->x, e * q->y, e * q->z};
}

void quat_log_between(const kf_quat* p, const kf_quat* q, kf_quat* out) {
    kf_quat inverse, r;
    quat_inverse(p, &inverse);
    quat_mul(&inverse, q, &r);
    float c = quat_cos(p, q);
    float s = std::sqrt(r.x * r.x + r.y * r.y + r.z * r.z);
    float e = c != 0.0f ? static_cast<float>(std::atan(static_cast<double>(s / c))) : kf_half_pi;
    if (s != 0.0f) e = e / s;
    *out = {0, e * r.x, e * r.y, e * r.z};
}

namespace {

// k0·a + k1·b over an arc of acos(d) plus `spin` half turns; `sign` is −1 to
// take the short way toward −b.
void slerp(const kf_quat* a, const kf_quat* b, float d, float sign, float spin, float t,
           kf_quat* out) {
    float k0, k1;
    if (1 - std::fabs(d) >= 1e-6) {
        float theta = static_cast<float>(std::acos(static_cast<double>(d)));
        float phi = static_cast<float>(theta + spin * kf_pi);
        double sin_theta = std::sin(static_cast<double>(theta));
        k0 = static_cast<float>(std::sin(static_cast<double>(theta - phi * t)) / sin_theta);
        k1 = static_cast<float>(std::sin(static_cast<double>(phi * t)) / sin_theta);
    } else {
        k0 = 1 - t;
        k1 = t;
    }
    k1 *= sign;
    *out = {k0 * a->w + k1 * b->w, k0 * a->x + k1 * b->x, k0 * a->y + k1 * b->y,
            k0 * a->z + k1 * b->z};
}

} // namespace

void quat_slerp_spin(const kf_quat* a, const kf_quat* b, float spin, float t, kf_quat* out) {
    slerp(a, b, quat_dot(a, b), 1.0f, spin, t, out);
}

void quat_slerp_short(const kf_quat* a, const kf_quat* b, float spin, float t, kf_quat* out) {
    float d = quat_dot(a, b);
    if (d < 0)
        slerp(a, b, -d, -1.0f, spin, t, out);
    else
        slerp(a, b, d, 1.0f, spin, t, out);
}

void quat_to_matrix(const kf_quat* q, kf_matrix* out) {
    float w = q->w, x = q->x, y = q->y, z = q->z;
    *out = {{{1 - 2 * y * y - 2 * z * z, 2 * x * y - 2 * w * z, 2 * x * z + 2 * w * y, 0},
             {2 * x * y + 2 * w * z, 1 - 2 * x * x - 2 * z * z, 2 * y * z - 2 * w * x, 0},
             {2 * x * z - 2 * w * y, 2 * y * z + 2 * w * x, 1 - 2 * x * x - 2 * y * y, 0}}};
}

} // namespace vilora
