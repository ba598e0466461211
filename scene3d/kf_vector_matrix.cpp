// Vector and matrix operations of the 3D library (32-bit floats throughout).
#include "scene3d/kf_math.h"

#include <cmath>

namespace vilora {
namespace {

constexpr kf_matrix identity_matrix = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}}};

float row_length_squared(const float* row) {
    return row[0] * row[0] + row[1] * row[1] + row[2] * row[2];
}

} // namespace

void vec_set(float x, float y, float z, kf_vector* out) {
    *out = {x, y, z};
}

void vec_zero(kf_vector* out) {
    *out = {0, 0, 0};
}

void vec_copy(const kf_vector* src, kf_vector* out) {
    *out = *src;
}

void vec_add(const kf_vector* a, const kf_vector* b, kf_vector* out) {
    *out = {a->x + b->x, a->y + b->y, a->z + b->z};
}

void vec_sub(const kf_vector* a, const kf_vector* b, kf_vector* out) {
    *out = {a->x - b->x, a->y - b->y, a->z - b->z};
}

void vec_scale(const kf_vector* a, float s, kf_vector* out) {
    *out = {a->x * s, a->y * s, a->z * s};
}

void vec_negate(const kf_vector* a, kf_vector* out) {
    *out = {-a->x, -a->y, -a->z};
}

float vec_length(const kf_vector* a) {
    float len = std::sqrt(a->x * a->x + a->y * a->y + a->z * a->z);
    return len == 0.0f ? 1.0f : len;
}

void vec_cross(const kf_vector* a, const kf_vector* b, kf_vector* out) {
    *out = {a->y * b->z - b->y * a->z, a->z * b->x - b->z * a->x, a->x * b->y - a->y * b->x};
}

void vec_lerp(const kf_vector* a, const kf_vector* b, float t, kf_vector* out) {
    *out = {a->x + (b->x - a->x) * t, a->y + (b->y - a->y) * t, a->z + (b->z - a->z) * t};
}

void vec_normalize(const kf_vector* a, kf_vector* out) {
    if (a->x * a->x + a->y * a->y + a->z * a->z == 0.0f) {
        *out = {0, 0, 0};
        return;
    }
    float len = vec_length(a);
    *out = {a->x / len, a->y / len, a->z / len};
}

void vec_swap_yz(kf_vector* a) {
    float y = a->y;
    a->y = a->z;
    a->z = y;
}

void mat_identity(kf_matrix* out) {
    *out = identity_matrix;
}

void mat_zero(kf_matrix* out) {
    *out = {};
}

void mat_copy(const kf_matrix* src, kf_matrix* out) {
    *out = *src;
}

void mat_mul(const kf_matrix* a, const kf_matrix* b, kf_matrix* out) {
    kf_matrix r;
    for (int row = 0; row < 3; ++row) {
        const float* ar = a->m[row];
        for (int c = 0; c < 3; ++c)
            r.m[row][c] = ar[0] * b->m[0][c] + ar[1] * b->m[1][c] + ar[2] * b->m[2][c];
        r.m[row][3] = ar[0] * b->m[0][3] + ar[1] * b->m[1][3] + ar[2] * b->m[2][3] + ar[3];
    }
    *out = r;
}

void mat_translate_after(const kf_vector* v, const kf_matrix* m, kf_matrix* out) {
    kf_matrix r = *m;
    for (int row = 0; row < 3; ++row) {
        const float* mr = m->m[row];
        r.m[row][3] = mr[0] * v->x + mr[1] * v->y + mr[2] * v->z + mr[3];
    }
    *out = r;
}

void mat_scale(const kf_vector* v, kf_matrix* out) {
    *out = identity_matrix;
    out->m[0][0] = v->x;
    out->m[1][1] = v->y;
    out->m[2][2] = v->z;
}

void mat_transform_point(const kf_matrix* m, const kf_vector* p, kf_vector* out) {
    kf_vector r;
    r.x = m->m[0][0] * p->x + m->m[0][1] * p->y + m->m[0][2] * p->z + m->m[0][3];
    r.y = m->m[1][0] * p->x + m->m[1][1] * p->y + m->m[1][2] * p->z + m->m[1][3];
    r.z = m->m[2][0] * p->x + m->m[2][1] * p->y + m->m[2][2] * p->z + m->m[2][3];
    *out = r;
}

void mat_transform_vector(const kf_matrix* m, const kf_vector* v, kf_vector* out) {
    kf_vector r;
    r.x = m->m[0][0] * v->x + m->m[0][1] * v->y + m->m[0][2] * v->z;
    r.y = m->m[1][0] * v->x + m->m[1][1] * v->y + m->m[1][2] * v->z;
    r.z = m->m[2][0] * v->x + m->m[2][1] * v->y + m->m[2][2] * v->z;
    *out = r;
}

void mat_normalize_rows(const kf_matrix* m, kf_matrix* out) {
    kf_matrix r = *m;
    for (int row = 0; row < 3; ++row) {
        float len = std::sqrt(row_length_squared(m->m[row]));
        if (len == 0.0f) continue;
        for (int c = 0; c < 3; ++c) r.m[row][c] = m->m[row][c] / len;
    }
    *out = r;
}

int mat_invert_axes(const kf_matrix* m, kf_matrix* out) {
    kf_matrix r = *m;
    for (int row = 0; row < 3; ++row) {
        float squared = row_length_squared(m->m[row]);
        if (squared == 0.0f) {
            *out = identity_matrix;
            return 13;
        }
        for (int c = 0; c < 3; ++c) r.m[row][c] = m->m[row][c] / squared;
    }
    *out = r;
    return 0;
}

void mat_swap_yz(kf_matrix* m) {
    for (auto& row : m->m) {
        float t = row[1];
        row[1] = row[2];
        row[2] = t;
    }
    for (int c = 0; c < 4; ++c) {
        float t = m->m[1][c];
        m->m[1][c] = m->m[2][c];
        m->m[2][c] = t;
    }
}

} // namespace vilora
