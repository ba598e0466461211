// Motion pass of the 3DS reader: frame range, node hierarchy and tracks. Tracks
// attach to the node whose header was read last (the id counter does not change
// between a node header and its tracks).
#include "scene3d/internal/kf_internal.h"
#include "scene3d/internal/kf_reader.h"

#include <cmath>
#include <cstring>
#include <new>

namespace vilora {
namespace {

// Dummy objects and the ambient record take their node id plus this.
constexpr int node_record_id_base = 1024;

kf_status frame_range(kf_reader& r) {
    const uint32_t start = r.in.u32_le();
    const uint32_t end = r.in.u32_le();
    if (!r.in.ok()) return KF_READ_ERROR;
    kf_scene* scene = kf_active_scene();
    scene->start_frame = static_cast<float>(start);
    scene->end_frame = static_cast<float>(end);
    return KF_OK;
}

kf_status node_id(kf_reader& r) {
    const uint16_t id = r.in.u16_le();
    if (!r.in.ok()) return KF_READ_ERROR;
    r.id_counter = id;
    return KF_OK;
}

// The world type a node tag animates, 0 for a tag that makes no node.
int record_type_of(int tag) {
    switch (tag) {
    case 0xB001:
        return KF_AMBIENT;
    case 0xB002:
        return KF_OBJECT;
    case 0xB003:
    case 0xB004:
        return KF_CAMERA;
    case 0xB005:
    case 0xB006:
    case 0xB007:
        return KF_LIGHT;
    default:
        return 0;
    }
}

// The record a node header names: a new ambient or dummy record, or the world
// entry of that name and of the type the node tag animates.
kf_status node_record(kf_reader& r, kf_world_node** out) {
    kf_record* record = nullptr;
    int type = 0;
    if (std::strcmp(r.name, "$AMBIENT$") == 0) {
        auto* a = new (std::nothrow) kf_ambient{};
        if (a && !(a->name = kf_copy_name(r.name))) {
            delete a;
            a = nullptr;
        }
        record = a;
        type = KF_AMBIENT;
    } else if (std::strcmp(r.name, "$$$DUMMY") == 0) {
        auto* o = new (std::nothrow) kf_object{};
        if (o) {
            o->parent_id = -1;
            o->flags = KF_OBJECT_DUMMY;
        }
        record = o;
        type = KF_OBJECT;
    } else {
        int wanted = record_type_of(r.parent_id);
        kf_world_node* found = nullptr;
        if (wanted)
            found = kf_find(wanted, r.name);
        else
            kf_by_name(r.name, &found);
        *out = found;
        return found ? KF_OK : KF_UNDEFINED_NAME;
    }
    if (!record) return KF_NO_MEMORY;
    record->id = r.id_counter + node_record_id_base;
    kf_status status = kf_add_world(type, record);
    if (status != KF_OK) {
        delete[] record->name;
        if (type == KF_AMBIENT)
            delete static_cast<kf_ambient*>(record);
        else
            delete static_cast<kf_object*>(record);
        return status;
    }
    *out = kf_active_scene()->world_tail;
    return KF_OK;
}

// The record id of the parent node's record, -1 for none.
int parent_record_id(int parent_node_id) {
    int id = -1;
    if (parent_node_id == -1) return id;
    for (const kf_node* n = kf_active_scene()->node_head; n; n = n->next)
        if (n->node_id == parent_node_id) id = n->record->id;
    return id;
}

struct node_kind {
    int tag, node_type;
};

constexpr node_kind node_kinds[] = {
    {0xB002, KF_NODE_OBJECT},  {0xB003, KF_NODE_CAMERA},     {0xB004, KF_NODE_CAMERA_TARGET},
    {0xB005, KF_NODE_LIGHT},   {0xB007, KF_NODE_SPOT_LIGHT}, {0xB006, KF_NODE_LIGHT_TARGET},
    {0xB001, KF_NODE_AMBIENT},
};

void set_parent(int node_type, kf_record* record, int parent_id) {
    switch (node_type) {
    case KF_NODE_OBJECT:
        static_cast<kf_object*>(record)->parent_id = parent_id;
        break;
    case KF_NODE_CAMERA:
        static_cast<kf_camera*>(record)->parent_id = parent_id;
        break;
    case KF_NODE_CAMERA_TARGET:
        static_cast<kf_camera*>(record)->target_parent_id = parent_id;
        break;
    case KF_NODE_LIGHT:
    case KF_NODE_SPOT_LIGHT:
        static_cast<kf_light*>(record)->parent_id = parent_id;
        break;
    case KF_NODE_LIGHT_TARGET:
        static_cast<kf_light*>(record)->target_parent_id = parent_id;
        break;
    default:
        break;
    }
}

kf_status node_header(kf_reader& r) {
    if (r.previous_id != 0xB030) ++r.id_counter;
    read_name(r);
    if (!r.in.ok()) return KF_READ_ERROR;
    kf_world_node* entry = nullptr;
    kf_status status = node_record(r, &entry);
    if (status != KF_OK) return status;
    const uint32_t flags = r.in.u32_le();
    const auto parent_node = static_cast<int16_t>(r.in.u16_le());
    if (!r.in.ok()) return KF_READ_ERROR;
    int node_type = 0;
    for (const node_kind& k : node_kinds)
        if (k.tag == r.parent_id) node_type = k.node_type;
    if (!node_type) return KF_OK;
    // A record of another type than the tag animates would be written through
    // the wrong layout.
    if (entry->type != record_type_of(r.parent_id)) return KF_UNDEFINED_NAME;
    set_parent(node_type, entry->record, parent_record_id(parent_node));
    if (node_type == KF_NODE_OBJECT && (flags & 0x800))
        static_cast<kf_object*>(entry->record)->flags |= KF_OBJECT_NODE_HIDDEN;
    auto** tracks = new (std::nothrow) kf_track* [kf_track_slots(node_type)] {};
    if (!tracks) return KF_NO_MEMORY;
    status = kf_add_node(node_type, r.id_counter, parent_node, tracks, entry->record);
    if (status != KF_OK) {
        delete[] tracks;
        return status;
    }
    if (node_type == KF_NODE_OBJECT) {
        r.current_type = KF_OBJECT;
        r.current = entry->record;
    }
    return KF_OK;
}

kf_status instance_name(kf_reader& r) {
    read_name(r);
    if (!r.in.ok()) return KF_READ_ERROR;
    kf_object* o = current_object(r);
    if (o && !replace_name(&o->name, r)) return KF_NO_MEMORY;
    return KF_OK;
}

kf_status pivot(kf_reader& r) {
    const kf_vector p = read_vector(r.in);
    if (!r.in.ok()) return KF_READ_ERROR;
    kf_object* o = current_object(r);
    if (!o) return KF_OK;
    o->pivot = p;
    for (int i = 0; i < o->vertex_count; ++i)
        vec_sub(&o->vertices[i].position, &p, &o->vertices[i].position);
    return KF_OK;
}

// The 14-byte track header: flag word, 8 bytes not interpreted, key count (low
// 16 bits of 32). Flags 3 loop, 2 alone repeat.
kf_status track_header(kf_reader& r, kf_track** out, int* key_count) {
    const uint16_t flags = r.in.u16_le();
    r.in.skip(8);
    const uint32_t count = r.in.u32_le();
    if (!r.in.ok()) return KF_READ_ERROR;
    *key_count = static_cast<int>(count & 0xFFFF);
    *out = new (std::nothrow) kf_track{};
    if (!*out) return KF_NO_MEMORY;
    (*out)->mode = (flags & 3) == 3 ? 2 : (flags & 3) == 2 ? 1 : 0;
    return KF_OK;
}

// Frame (low 16 bits of 32, unsigned) and the spline flag word; with
// `parameters`, one float per set flag bit in bit order.
kf_status key_header(kf_reader& r, kf_track* track, bool parameters, kf_key** out) {
    const uint32_t frame = r.in.u32_le();
    const uint16_t flags = r.in.u16_le();
    if (!r.in.ok()) return KF_READ_ERROR;
    kf_key* key = kf_append_key(track, static_cast<float>(frame & 0xFFFF));
    if (!key) return KF_NO_MEMORY;
    *out = key;
    if (!parameters) return KF_OK;
    float* fields[5] = {&key->tension, &key->continuity, &key->bias, &key->ease_to,
                        &key->ease_from};
    for (int bit = 0; bit < 16; ++bit) {
        if (!(flags & (1 << bit))) continue;
        const float value = read_float(r.in);
        if (!r.in.ok()) return KF_READ_ERROR;
        if (bit < 5) *fields[bit] = value;
    }
    return KF_OK;
}

// Hands the track to the node last read; a track the node has no slot for is
// freed here rather than lost.
kf_status attach(kf_reader& r, int kind, kf_track* track) {
    kf_status status = kf_set_track(kind, r.id_counter, track);
    const kf_node* n = kf_active_scene()->node_head;
    while (n && n->node_id != r.id_counter) n = n->next;
    int slot = n ? kf_track_slot(n->type, kind) : -1;
    if (status != KF_OK || slot < 0 || kf_node_track(n, slot) != track) kf_free_track(track);
    return status;
}

// Reads the keys of a track whose values `read_value` takes, then set-up.
template <typename Reader>
kf_status read_track(kf_reader& r, int kind, bool parameters, Reader read_value,
                     kf_status (*setup)(kf_track*)) {
    kf_track* track;
    int count;
    kf_status status = track_header(r, &track, &count);
    if (status != KF_OK) return status;
    for (int i = 0; i < count && status == KF_OK; ++i) {
        kf_key* key;
        status = key_header(r, track, parameters, &key);
        if (status == KF_OK) status = read_value(r, key, i);
    }
    if (status != KF_OK) {
        kf_free_track(track);
        return status;
    }
    if (setup) setup(track);
    return attach(r, kind, track);
}

kf_status read_vector_value(kf_reader& r, kf_key* key, bool swap) {
    kf_vector v;
    v.x = read_float(r.in);
    v.y = read_float(r.in);
    v.z = read_float(r.in);
    if (!r.in.ok()) return KF_READ_ERROR;
    if (swap) vec_swap_yz(&v);
    key->value[0] = v.x;
    key->value[1] = v.y;
    key->value[2] = v.z;
    return KF_OK;
}

kf_status position_track(kf_reader& r) {
    auto value = [](kf_reader& rr, kf_key* k, int) { return read_vector_value(rr, k, true); };
    return read_track(r, KF_TRACK_POSITION, true, value, kf_spline_setup);
}

kf_status scale_track(kf_reader& r) {
    auto value = [](kf_reader& rr, kf_key* k, int) { return read_vector_value(rr, k, true); };
    return read_track(r, KF_TRACK_SCALE, true, value, kf_spline_setup);
}

kf_status colour_track(kf_reader& r) {
    auto value = [](kf_reader& rr, kf_key* k, int) { return read_vector_value(rr, k, false); };
    return read_track(r, KF_TRACK_COLOR, true, value, kf_spline_setup);
}

kf_status float_value(kf_reader& r, kf_key* key, int) {
    const float value = read_float(r.in);
    if (!r.in.ok()) return KF_READ_ERROR;
    key->value[0] = value;
    return KF_OK;
}

kf_status fov_track(kf_reader& r) {
    return read_track(r, KF_TRACK_FOV, true, float_value, kf_spline_setup);
}

kf_status roll_track(kf_reader& r) {
    return read_track(r, KF_TRACK_ROLL, true, float_value, kf_spline_setup);
}

// Keys hold relative turns; each key's quat is the product of all turns up to
// it (key turn × accumulated), its value the running angle and the axis.
kf_status rotation_track(kf_reader& r) {
    kf_quat accumulated = {1, 0, 0, 0};
    float running = 0;
    auto value = [&](kf_reader& rr, kf_key* k, int index) {
        const float angle = read_float(rr.in), x = read_float(rr.in);
        const float y = read_float(rr.in), z = read_float(rr.in);
        if (!rr.in.ok()) return KF_READ_ERROR;
        kf_quat turn;
        quat_from_angle_axis(angle, x, y, z, &turn);
        quat_swap_yz(&turn);
        running = index == 0 ? angle : running + angle;
        k->value[0] = running;
        k->value[1] = x;
        k->value[2] = z;
        k->value[3] = y;
        quat_mul(&turn, &accumulated, &accumulated);
        k->quat = accumulated;
        return KF_OK;
    };
    return read_track(r, KF_TRACK_ROTATION, true, value, kf_rotation_setup);
}

kf_status morph_track(kf_reader& r) {
    auto value = [](kf_reader& rr, kf_key* k, int) {
        read_name(rr);
        if (!rr.in.ok()) return KF_READ_ERROR;
        const kf_object* target = kf_as_object(kf_find(KF_OBJECT, rr.name));
        if (!target) return KF_UNDEFINED_NAME;
        kf_key_set_int(k, target->id);
        return KF_OK;
    };
    return read_track(r, KF_TRACK_MORPH, true, value, nullptr);
}

// Six bytes per key, no parameters; the keys toggle: hidden, shown, hidden, …
kf_status hide_track(kf_reader& r) {
    auto value = [](kf_reader&, kf_key* k, int index) {
        kf_key_set_int(k, index % 2 == 0 ? 1 : 0);
        return KF_OK;
    };
    return read_track(r, KF_TRACK_HIDE, false, value, nullptr);
}

constexpr kf_chunk_handler motion_table[] = {
    {0x4D4D, true, nullptr},         {0xB000, true, nullptr},
    {0xB001, true, nullptr},         {0xB002, true, nullptr},
    {0xB008, false, frame_range},    {0xB010, false, node_header},
    {0xB011, false, instance_name},  {0xB013, false, pivot},
    {0xB020, false, position_track}, {0xB025, false, colour_track},
    {0xB021, false, rotation_track}, {0xB022, false, scale_track},
    {0xB026, false, morph_track},    {0xB029, false, hide_track},
    {0xB030, false, node_id},        {0xB003, true, nullptr},
    {0xB004, true, nullptr},         {0xB005, true, nullptr},
    {0xB006, true, nullptr},         {0xB007, true, nullptr},
    {0xB023, false, fov_track},      {0xB024, false, roll_track},
};

} // namespace

std::span<const kf_chunk_handler> kf_motion_handlers() {
    return motion_table;
}

} // namespace vilora
