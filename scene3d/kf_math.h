// Vector, matrix and quaternion values of the 3D library and their operations.
// Every value is a 32-bit float. Operations take their operands by pointer and
// write through an output pointer that may alias an input: each computes into a
// temporary first. Trigonometry runs in double and is stored back as float.
#pragma once

namespace vilora {

struct kf_vector {
    float x, y, z;
};

// w first.
struct kf_quat {
    float w, x, y, z;
};

// An affine transform: three rows of four floats, row-major; m[r][3] is the
// translation of row r. p'[r] = m[r][0]·x + m[r][1]·y + m[r][2]·z + m[r][3].
struct kf_matrix {
    float m[3][4];
};

// The constants the library is built on, exactly as they were chosen.
inline constexpr double kf_pi = 3.14159265359;
inline constexpr double kf_two_pi = 6.28318430718;
inline constexpr double kf_inv_two_pi = 0.159154943091884854;
inline constexpr float kf_half_pi = 1.5707964f;
inline constexpr double kf_deg_to_rad = 0.017453292519944444;

void vec_set(float x, float y, float z, kf_vector* out);
void vec_zero(kf_vector* out);
void vec_copy(const kf_vector* src, kf_vector* out);
void vec_add(const kf_vector* a, const kf_vector* b, kf_vector* out);
void vec_sub(const kf_vector* a, const kf_vector* b, kf_vector* out);
void vec_scale(const kf_vector* a, float s, kf_vector* out);
void vec_negate(const kf_vector* a, kf_vector* out);
// The length, but 1 for the zero vector so that callers may divide by it.
float vec_length(const kf_vector* a);
void vec_cross(const kf_vector* a, const kf_vector* b, kf_vector* out);
// a + (b − a)·t
void vec_lerp(const kf_vector* a, const kf_vector* b, float t, kf_vector* out);
// The zero vector stays zero.
void vec_normalize(const kf_vector* a, kf_vector* out);
// File coordinates (z up) to library coordinates (y up), in place.
void vec_swap_yz(kf_vector* a);

void mat_identity(kf_matrix* out);
void mat_zero(kf_matrix* out);
void mat_copy(const kf_matrix* src, kf_matrix* out);
// a × b as affine transforms: b is applied first.
void mat_mul(const kf_matrix* a, const kf_matrix* b, kf_matrix* out);
// m × translation(v).
void mat_translate_after(const kf_vector* v, const kf_matrix* m, kf_matrix* out);
void mat_scale(const kf_vector* v, kf_matrix* out);
void mat_transform_point(const kf_matrix* m, const kf_vector* p, kf_vector* out);
// Without the translation column.
void mat_transform_vector(const kf_matrix* m, const kf_vector* v, kf_vector* out);
// Rows of unit length; a zero row stays as it is; translations copied.
void mat_normalize_rows(const kf_matrix* m, kf_matrix* out);
// Each row divided by its squared length, translations copied: the inverse of
// the 3×3 part when the rows are mutually orthogonal. A row of squared length 0
// gives the identity and 13 (KF_SINGULAR_MATRIX); otherwise 0.
int mat_invert_axes(const kf_matrix* m, kf_matrix* out);
// In place: columns 1 and 2 of every row exchanged, then rows 1 and 2.
void mat_swap_yz(kf_matrix* m);

void quat_set(float w, float x, float y, float z, kf_quat* out);
void quat_identity(kf_quat* out);
void quat_zero(kf_quat* out);
void quat_copy(const kf_quat* src, kf_quat* out);
// The axis is taken as it is, not normalised.
void quat_from_angle_axis(float angle, float x, float y, float z, kf_quat* out);
void quat_swap_yz(kf_quat* q);
// Hamilton product a·b.
void quat_mul(const kf_quat* a, const kf_quat* b, kf_quat* out);
float quat_norm(const kf_quat* q);
float quat_dot(const kf_quat* a, const kf_quat* b);
float quat_cos(const kf_quat* a, const kf_quat* b);
void quat_scale(const kf_quat* q, float s, kf_quat* out);
void quat_normalize(const kf_quat* q, kf_quat* out);
void quat_inverse(const kf_quat* q, kf_quat* out);
// Conjugate of the normalised quaternion.
void quat_unit_inverse(const kf_quat* q, kf_quat* out);
// exp of the vector part; w is ignored.
void quat_exp(const kf_quat* q, kf_quat* out);
void quat_log_axis(const kf_quat* q, kf_quat* out);
// The logarithm of the rotation from p to q, as the spline set-up wants it.
void quat_log_between(const kf_quat* p, const kf_quat* q, kf_quat* out);
// Spherical interpolation with `spin` extra half turns, no sign correction.
void quat_slerp_spin(const kf_quat* a, const kf_quat* b, float spin, float t, kf_quat* out);
// The same along the shorter arc.
void quat_slerp_short(const kf_quat* a, const kf_quat* b, float spin, float t, kf_quat* out);
// Not normalised first; the zero quaternion gives the identity.
void quat_to_matrix(const kf_quat* q, kf_matrix* out);

} // namespace vilora
