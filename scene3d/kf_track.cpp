// Key lists and the six track evaluators. A track is searched from its cursor,
// so frames evaluated in increasing order cost one step or none per call.
#include "scene3d/kf.h"

#include <cmath>
#include <cstring>
#include <new>

namespace vilora {
namespace {

float repeated(const kf_track* track, float frame) {
    if (track->mode == 1 || track->mode == 2) return std::fmod(frame, track->last_frame);
    return frame;
}

// The key that starts the segment holding `frame`; a frame equal to the next
// key's frame stays in the earlier segment.
kf_key* search(kf_track* track, float frame) {
    kf_key* k = track->cursor && frame >= track->cursor->frame ? track->cursor : track->first;
    while (k->next && frame > k->next->frame) k = k->next;
    track->cursor = k;
    return k;
}

// Eased position of `frame` between k and its successor n, 0..1. Two keys on
// one frame give 0 rather than 0/0.
float segment_t(const kf_key* k, const kf_key* n, float frame) {
    float span = n->frame - k->frame;
    float t = span != 0.0f ? (frame - k->frame) / span : 0.0f;
    return kf_ease(t, k->ease_from, n->ease_to);
}

// Hermite curve between k and n at eased t, component i.
float hermite(const kf_key* k, const kf_key* n, float t, int i) {
    float t2 = t * t;
    float t3 = t2 * t;
    float h01 = -2 * t3 + 3 * t2;
    float h00 = 1 - h01;
    float h10 = t3 - 2 * t2 + t;
    float h11 = t3 - t2;
    return h00 * k->value[i] + h01 * n->value[i] + h10 * k->tangent_out[i] + h11 * n->tangent_in[i];
}

void curve_point(kf_track* track, float frame, int components, float* out) {
    kf_key* k = search(track, frame);
    if (k->next && frame >= k->frame) {
        float t = segment_t(k, k->next, frame);
        for (int i = 0; i < components; ++i) out[i] = hermite(k, k->next, t, i);
    } else {
        for (int i = 0; i < components; ++i) out[i] = k->value[i];
    }
}

// The float and vector evaluators with repetition and the before-the-start rule.
kf_status eval_curve(kf_track* track, float frame, int components, float* out) {
    if (frame < 0) return KF_BAD_FRAME;
    if (!track || !track->first) return KF_NULL_ARGUMENT;
    frame = repeated(track, frame);
    const kf_key* first = track->first;
    if (!first->next || frame < first->frame) {
        for (int i = 0; i < components; ++i) out[i] = first->value[i];
        return KF_OK;
    }
    curve_point(track, frame, components, out);
    return KF_OK;
}

void spline_rotation(kf_track* track, float frame, kf_quat* out) {
    const kf_key* first = track->first;
    if (!first->next || frame < first->frame) {
        *out = first->quat;
        return;
    }
    const kf_key* k = search(track, frame);
    if (!k->next || frame < k->frame) {
        *out = k->quat;
        return;
    }
    const kf_key* n = k->next;
    float t = segment_t(k, n, frame);
    // Whole turns between the running angles, rounded toward zero.
    float spins = static_cast<float>(std::trunc((n->value[0] - k->value[0]) * kf_inv_two_pi));
    kf_quat a, b;
    quat_slerp_spin(&k->quat, &n->quat, spins, t, &a);
    quat_slerp_spin(&k->quat_b, &n->quat_a, spins, t, &b);
    quat_slerp_spin(&a, &b, 0, 2 * t * (1 - t), out);
}

} // namespace

kf_key* kf_append_key(kf_track* track, float frame) {
    auto* key = new (std::nothrow) kf_key{};
    if (!key) return nullptr;
    key->frame = frame;
    key->prev = track->cursor;
    if (track->cursor)
        track->cursor->next = key;
    else
        track->first = key;
    track->cursor = key;
    track->last_frame = frame;
    ++track->key_count;
    return key;
}

void kf_free_track(kf_track* track) {
    if (!track) return;
    for (kf_key* k = track->first; k;) {
        kf_key* next = k->next;
        delete k;
        k = next;
    }
    delete track;
}

// The int rides in the float's bits. memcpy rather than std::bit_cast: the C++
// library of the WebAssembly build does not have it.
int kf_key_int(const kf_key* key) {
    int value = 0;
    std::memcpy(&value, &key->value[0], sizeof value);
    return value;
}

void kf_key_set_int(kf_key* key, int value) {
    std::memcpy(&key->value[0], &value, sizeof value);
}

float kf_ease(float t, float a, float b) {
    float s = a + b;
    if (s == 0) return t;
    if (s > 1) {
        a = a / s;
        b = b / s;
    }
    float k = 1 / (2 - a - b);
    if (t < a) return k * t * t / a;
    if (t < 1 - b) return k * (2 * t - a);
    if (b == 0) return 1;
    return 1 - k * (1 - t) * (1 - t) / b;
}

kf_status kf_eval_float(kf_track* track, float frame, float* out) {
    return eval_curve(track, frame, 1, out);
}

kf_status kf_eval_vector(kf_track* track, float frame, kf_vector* out) {
    float v[3];
    kf_status status = eval_curve(track, frame, 3, v);
    if (status == KF_OK) *out = {v[0], v[1], v[2]};
    return status;
}

kf_status kf_eval_vector_once(kf_track* track, float frame, kf_vector* out) {
    if (frame < 0) return KF_BAD_FRAME;
    if (!track || !track->first) return KF_NULL_ARGUMENT;
    float v[3];
    curve_point(track, frame, 3, v);
    *out = {v[0], v[1], v[2]};
    return KF_OK;
}

kf_status kf_eval_rotation(kf_track* track, float frame, kf_quat* out) {
    if (frame < 0) return KF_BAD_FRAME;
    if (!track || !track->first) return KF_NULL_ARGUMENT;
    frame = repeated(track, frame);
    if (!(kf_options() & KF_SLERP)) {
        spline_rotation(track, frame, out);
        return KF_OK;
    }
    const kf_key* k = search(track, frame);
    if (k->next && frame >= k->frame)
        quat_slerp_short(&k->quat, &k->next->quat, 0, segment_t(k, k->next, frame), out);
    else
        *out = k->quat;
    return KF_OK;
}

kf_status kf_eval_morph(kf_track* track, float frame, int* from, int* to, float* alpha) {
    if (frame < 0) return KF_BAD_FRAME;
    if (!track || !track->first) return KF_NULL_ARGUMENT;
    const kf_key* k = search(track, frame);
    if (k->next && frame >= k->frame) {
        *from = kf_key_int(k);
        *to = kf_key_int(k->next);
        *alpha = segment_t(k, k->next, frame);
    } else {
        *from = kf_key_int(k->prev ? k->prev : k);
        *to = kf_key_int(k);
        *alpha = 1;
    }
    return KF_OK;
}

kf_status kf_eval_hide(kf_track* track, float frame, int* out) {
    if (frame < 0) return KF_BAD_FRAME;
    if (!track || !track->first) {
        *out = 0;
        return KF_NULL_ARGUMENT;
    }
    frame = repeated(track, frame);
    *out = frame < track->first->frame ? 0 : kf_key_int(search(track, frame));
    return KF_OK;
}

} // namespace vilora
