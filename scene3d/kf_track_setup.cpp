// Track set-up after reading: Kochanek-Bartels tangents for float and vector
// tracks, control quaternions for rotation tracks. Run once per track.
#include "scene3d/kf.h"

#include <cmath>

namespace vilora {
namespace {

int count_keys(const kf_track* track) {
    int n = 0;
    for (const kf_key* k = track->first; k; k = k->next) ++n;
    return n;
}

kf_key* last_key(const kf_track* track) {
    kf_key* k = track->first;
    while (k->next) k = k->next;
    return k;
}

// Tangents of k from its neighbours p and n, dp and dn frames away, all four
// components (tension τ, continuity γ, bias β of k).
void inner_tangents(kf_key* k, const kf_key* p, const kf_key* n, float dp, float dn) {
    float tension = k->tension, cont = k->continuity, bias = k->bias;
    float abs_cont = std::fabs(cont);
    float half = (dp + dn) / 2;
    float adj_in = abs_cont + (1 - abs_cont) * dp / half;
    float adj_out = abs_cont + (1 - abs_cont) * dn / half;
    for (int i = 0; i < 4; ++i) {
        float g1 = k->value[i] - p->value[i];
        float g2 = n->value[i] - k->value[i];
        k->tangent_in[i] = adj_in * ((1 - tension) * (1 - cont) * (1 + bias) / 2 * g1 +
                                     (1 - tension) * (1 + cont) * (1 - bias) / 2 * g2);
        k->tangent_out[i] = adj_out * ((1 - tension) * (1 + cont) * (1 + bias) / 2 * g1 +
                                       (1 - tension) * (1 - cont) * (1 - bias) / 2 * g2);
    }
}

// Outgoing tangent of the first key k0 from k1 and k2.
void first_tangent(kf_key* k0, const kf_key* k1, const kf_key* k2) {
    float f = static_cast<float>(0.25 - (k1->frame - k0->frame) / (2 * (k2->frame - k0->frame)));
    for (int i = 0; i < 4; ++i) {
        float span = k2->value[i] - k0->value[i];
        k0->tangent_out[i] = static_cast<float>(
            (1 - k0->tension) *
            (span * f + 1.5 * (k1->value[i] - k0->value[i] - span / 2) + span / 2));
    }
}

// Incoming tangent of the last key from its predecessors m and e.
void last_tangent(kf_key* last, const kf_key* m, const kf_key* e) {
    float f = static_cast<float>(0.25 - (last->frame - m->frame) / (2 * (last->frame - e->frame)));
    for (int i = 0; i < 4; ++i) {
        float span = last->value[i] - e->value[i];
        last->tangent_in[i] = static_cast<float>(
            (1 - last->tension) *
            (span * f + 1.5 * (last->value[i] - m->value[i] - span / 2) + span / 2));
    }
}

// Logarithm toward a neighbour `q` from key k (`toward_next` picks the order),
// or half a turn about `axis_key`'s axis when more than a turn lies between.
kf_quat log_toward(const kf_key* k, const kf_key* q, bool toward_next) {
    const kf_key* later = toward_next ? q : k;
    const kf_key* earlier = toward_next ? k : q;
    kf_quat out;
    if (std::fabs(later->value[0] - earlier->value[0]) > kf_two_pi) {
        kf_quat axis = {0, later->value[1], later->value[2], later->value[3]};
        quat_log_axis(&axis, &out);
        return out;
    }
    kf_quat other = q->quat;
    if (quat_dot(&other, &k->quat) < 0) quat_unit_inverse(&other, &other);
    if (toward_next)
        quat_log_between(&k->quat, &other, &out);
    else
        quat_log_between(&other, &k->quat, &out);
    return out;
}

void control_quats(kf_key* k, const kf_key* p, const kf_key* n) {
    kf_quat lp{}, ln{};
    if (p) lp = log_toward(k, p, false);
    if (n) ln = log_toward(k, n, true);
    if (!p) lp = ln;
    if (!n) ln = lp;
    float cont = k->continuity, tension = k->tension, bias = k->bias;
    float adj_in = 1, adj_out = 1;
    if (p && n) {
        float abs_cont = std::fabs(cont);
        float half = (n->frame - p->frame) / 2;
        adj_in = abs_cont + (1 - abs_cont) * (k->frame - p->frame) / half;
        adj_out = abs_cont + (1 - abs_cont) * (n->frame - k->frame) / half;
    }
    float ca1 = adj_out * (1 + cont) * (1 - tension) * (1 + bias) / 2;
    float ca2 = adj_out * (1 - cont) * (1 - tension) * (1 - bias) / 2 - 1;
    float cb1 = 1 - adj_in * (1 - cont) * (1 - tension) * (1 + bias) / 2;
    float cb2 = -adj_in * (1 + cont) * (1 - tension) * (1 - bias) / 2;
    kf_quat ga = {(ca1 * lp.w + ca2 * ln.w) / 2, (ca1 * lp.x + ca2 * ln.x) / 2,
                  (ca1 * lp.y + ca2 * ln.y) / 2, (ca1 * lp.z + ca2 * ln.z) / 2};
    kf_quat gb = {(cb2 * ln.w + cb1 * lp.w) / 2, (cb2 * ln.x + cb1 * lp.x) / 2,
                  (cb2 * ln.y + cb1 * lp.y) / 2, (cb2 * ln.z + cb1 * lp.z) / 2};
    kf_quat ea, eb;
    quat_exp(&ga, &ea);
    quat_exp(&gb, &eb);
    quat_mul(&k->quat, &ea, &k->quat_a);
    quat_mul(&k->quat, &eb, &k->quat_b);
}

} // namespace

kf_status kf_spline_setup(kf_track* track) {
    if (!track) return KF_NULL_ARGUMENT;
    int n = count_keys(track);
    if (n == 0) return KF_NULL_ARGUMENT;
    if (n == 1) return KF_TOO_FEW_KEYS;
    kf_key* k0 = track->first;
    kf_key* k1 = k0->next;
    if (n == 2) {
        for (int i = 0; i < 4; ++i) {
            float d = k1->value[i] - k0->value[i];
            k0->tangent_in[i] = 0;
            k0->tangent_out[i] = (1 - k0->tension) * d;
            k1->tangent_out[i] = 0;
            k1->tangent_in[i] = (1 - k1->tension) * d;
        }
        return KF_OK;
    }
    for (kf_key* k = k1; k->next; k = k->next)
        inner_tangents(k, k->prev, k->next, k->frame - k->prev->frame, k->next->frame - k->frame);
    kf_key* last = last_key(track);
    kf_key* before_last = last->prev;
    if (track->mode == 2) {
        // A loop closes over the last key: k(n−2) and k1 are the neighbours of both ends.
        inner_tangents(k0, before_last, k1, k0->frame - (before_last->frame - track->last_frame),
                       k1->frame - k0->frame);
        inner_tangents(last, before_last, k1, last->frame - before_last->frame,
                       k1->frame + track->last_frame - last->frame);
    } else {
        first_tangent(k0, k1, k1->next);
        last_tangent(last, before_last, before_last->prev);
    }
    return KF_OK;
}

kf_status kf_rotation_setup(kf_track* track) {
    if (!track) return KF_NULL_ARGUMENT;
    int n = count_keys(track);
    if (n == 0) return KF_NULL_ARGUMENT;
    if (n == 1) return KF_TOO_FEW_KEYS;
    for (kf_key* k = track->first->next; k->next; k = k->next) control_quats(k, k->prev, k->next);
    control_quats(track->first, nullptr, track->first->next);
    kf_key* last = last_key(track);
    control_quats(last, last->prev, nullptr);
    return KF_OK;
}

} // namespace vilora
