// World pass of the 3DS reader: meshes, lights, cameras and materials.
// Vertex, face and mapping data apply to the current record only when it is an
// object, colours and maps only to a light or material as the parent selects;
// anything else is read and dropped.
#include "scene3d/internal/kf_internal.h"
#include "scene3d/internal/kf_reader.h"

#include <new>

namespace vilora {
namespace {

// 1/255
constexpr double byte_to_unit = 0.00392156862745098;

kf_status next_record(kf_reader& r, int type, kf_record* record) {
    record->id = r.id_counter++;
    kf_status status = kf_add_world(type, record);
    if (status != KF_OK) return status;
    r.current_type = type;
    r.current = record;
    return KF_OK;
}

void store_colour(kf_reader& r, const kf_vector& colour) {
    kf_light* light = current_light(r);
    kf_material* m = current_material(r);
    switch (r.parent_id) {
    case 0x4600:
        if (light) light->color = colour;
        break;
    case 0xA010:
        if (m) m->ambient = colour;
        break;
    case 0xA020:
        if (m) m->diffuse = colour;
        break;
    case 0xA030:
        if (m) m->specular = colour;
        break;
    default:
        break;
    }
}

kf_status colour_floats(kf_reader& r) {
    kf_vector c;
    c.x = read_float(r.in);
    c.y = read_float(r.in);
    c.z = read_float(r.in);
    if (!r.in.ok()) return KF_READ_ERROR;
    store_colour(r, c);
    return KF_OK;
}

kf_status colour_bytes(kf_reader& r) {
    uint8_t rgb[3];
    for (uint8_t& b : rgb) b = r.in.u8();
    if (!r.in.ok()) return KF_READ_ERROR;
    store_colour(r, {static_cast<float>(rgb[0] * byte_to_unit),
                     static_cast<float>(rgb[1] * byte_to_unit),
                     static_cast<float>(rgb[2] * byte_to_unit)});
    return KF_OK;
}

kf_status percentage(kf_reader& r) {
    const uint16_t value = r.in.u16_le();
    if (!r.in.ok()) return KF_READ_ERROR;
    float fraction = static_cast<float>(value * 0.01);
    kf_material* m = current_material(r);
    if (!m) return KF_OK;
    switch (r.parent_id) {
    case 0xA040:
        m->shininess = fraction;
        break;
    case 0xA041:
        m->shin_strength = fraction;
        break;
    case 0xA050:
        m->transparency = fraction;
        break;
    case 0xA052:
        m->trans_falloff = fraction;
        break;
    case 0xA053:
        m->reflect_blur = fraction;
        break;
    case 0xA084:
        m->self_illum = fraction;
        break;
    default:
        break;
    }
    return KF_OK;
}

kf_status object_block(kf_reader& r) {
    read_name(r);
    return r.in.ok() ? KF_OK : KF_READ_ERROR;
}

kf_status triangle_mesh(kf_reader& r) {
    auto* o = new (std::nothrow) kf_object{};
    if (!o) return KF_NO_MEMORY;
    o->name = kf_copy_name(r.name);
    if (!o->name) {
        delete o;
        return KF_NO_MEMORY;
    }
    o->parent_id = -1;
    kf_status status = next_record(r, KF_OBJECT, o);
    if (status != KF_OK) {
        delete[] o->name;
        delete o;
    }
    return status;
}

// A second vertex or face list in one mesh would leave faces pointing into a
// replaced array: it is refused as malformed.
kf_status vertex_list(kf_reader& r) {
    kf_object* o = current_object(r);
    if (!o) return KF_OK;
    if (o->vertices) return KF_READ_ERROR;
    const uint16_t count = r.in.u16_le();
    if (!r.in.ok()) return KF_READ_ERROR;
    if (count == 0) return KF_OK;
    o->vertices = new (std::nothrow) kf_vertex[count]{};
    if (!o->vertices) return KF_NO_MEMORY;
    o->vertex_count = count;
    for (int i = 0; i < count; ++i) o->vertices[i].position = read_vector(r.in);
    return r.in.ok() ? KF_OK : KF_READ_ERROR;
}

// Every face must name vertices that exist: callers index the vertex array
// with a, b and c directly.
kf_status face_list(kf_reader& r) {
    const uint16_t count = r.in.u16_le();
    if (!r.in.ok()) return KF_READ_ERROR;
    kf_object* o = current_object(r);
    if (!o) {
        r.in.skip(count * uint64_t{8});
        return r.in.ok() ? KF_OK : KF_READ_ERROR;
    }
    if (o->faces) return KF_READ_ERROR;
    if (count == 0) return KF_OK;
    o->faces = new (std::nothrow) kf_face[count]{};
    if (!o->faces) return KF_NO_MEMORY;
    o->face_count = count;
    for (int i = 0; i < count; ++i) {
        const uint16_t a = r.in.u16_le(), b = r.in.u16_le(), c = r.in.u16_le();
        const uint16_t flags = r.in.u16_le();
        if (!r.in.ok()) return KF_READ_ERROR;
        if (a >= o->vertex_count || b >= o->vertex_count || c >= o->vertex_count)
            return KF_READ_ERROR;
        kf_face& f = o->faces[i];
        f.a = a;
        f.b = b;
        f.c = c;
        f.va = &o->vertices[a];
        f.vb = &o->vertices[b];
        f.vc = &o->vertices[c];
        f.flags = (flags & 0x08 ? KF_FACE_WRAP_U : 0) | (flags & 0x10 ? KF_FACE_WRAP_V : 0);
    }
    return KF_OK;
}

// Face indices beyond the face list are skipped.
kf_status face_material_group(kf_reader& r) {
    read_name(r);
    const uint16_t count = r.in.u16_le();
    if (!r.in.ok()) return KF_READ_ERROR;
    kf_material* m = kf_as_material(kf_find(KF_MATERIAL, r.name));
    if (!m) return KF_UNDEFINED_NAME;
    kf_object* o = current_object(r);
    for (int i = 0; i < count; ++i) {
        const uint16_t index = r.in.u16_le();
        if (!r.in.ok()) return KF_READ_ERROR;
        if (!o || index >= o->face_count) continue;
        o->faces[index].material_id = m->id;
        o->faces[index].material = m;
    }
    return KF_OK;
}

// Pairs beyond the vertex list are read and dropped.
kf_status mapping_coordinates(kf_reader& r) {
    kf_object* o = current_object(r);
    const uint16_t count = r.in.u16_le();
    if (!r.in.ok()) return KF_READ_ERROR;
    for (int i = 0; i < count; ++i) {
        const float u = read_float(r.in), v = read_float(r.in);
        if (!r.in.ok()) return KF_READ_ERROR;
        if (!o || i >= o->vertex_count) continue;
        o->vertices[i].u = u;
        o->vertices[i].v = v;
    }
    return KF_OK;
}

// The file stores the mesh's axes and origin in file coordinates; the vertices
// are brought into the object's own axes: M · (position − origin).
kf_status local_mesh_matrix(kf_reader& r) {
    kf_object* o = current_object(r);
    if (!o) return KF_OK;
    kf_matrix m;
    mat_identity(&m);
    for (auto& row : m.m)
        for (int c = 0; c < 3; ++c) row[c] = read_float(r.in);
    const kf_vector origin = read_vector(r.in);
    if (!r.in.ok()) return KF_READ_ERROR;
    mat_swap_yz(&m);
    mat_invert_axes(&m, &m);
    for (int i = 0; i < o->vertex_count; ++i) {
        kf_vector& p = o->vertices[i].position;
        vec_sub(&p, &origin, &p);
        mat_transform_vector(&m, &p, &p);
    }
    return KF_OK;
}

kf_status light(kf_reader& r) {
    const kf_vector position = read_vector(r.in);
    if (!r.in.ok()) return KF_READ_ERROR;
    auto* l = new (std::nothrow) kf_light{};
    if (!l) return KF_NO_MEMORY;
    l->name = kf_copy_name(r.name);
    if (!l->name) {
        delete l;
        return KF_NO_MEMORY;
    }
    l->parent_id = l->target_parent_id = -1;
    l->kind = KF_OMNI_LIGHT;
    l->position = position;
    kf_status status = next_record(r, KF_LIGHT, l);
    if (status != KF_OK) {
        delete[] l->name;
        delete l;
    }
    return status;
}

kf_status spot_light(kf_reader& r) {
    const kf_vector target = read_vector(r.in);
    const float hotspot = read_float(r.in);
    const float falloff = read_float(r.in);
    if (!r.in.ok()) return KF_READ_ERROR;
    if (kf_light* l = current_light(r)) {
        l->target = target;
        l->hotspot = hotspot;
        l->falloff = falloff;
        l->kind = KF_SPOT_LIGHT;
        l->roll = 0;
    }
    return KF_OK;
}

// Field of view (degrees, horizontal) of a 35 mm lens (mm).
float lens_to_fov(float lens) {
    static constexpr struct {
        float lens, fov;
    } table[] = {{15, 115}, {20, 94.28571f}, {24, 84},  {28, 76.36364f}, {35, 63},
                 {50, 46},  {85, 28},        {135, 18}, {200, 12}};
    for (const auto& e : table)
        if (lens == e.lens) return e.fov;
    return 15 / lens * 160;
}

kf_status camera(kf_reader& r) {
    const kf_vector position = read_vector(r.in);
    const kf_vector target = read_vector(r.in);
    const float roll = read_float(r.in);
    const float lens = read_float(r.in);
    if (!r.in.ok()) return KF_READ_ERROR;
    auto* c = new (std::nothrow) kf_camera{};
    if (!c) return KF_NO_MEMORY;
    c->name = kf_copy_name(r.name);
    if (!c->name) {
        delete c;
        return KF_NO_MEMORY;
    }
    c->parent_id = c->target_parent_id = -1;
    c->position = position;
    c->target = target;
    c->roll = roll;
    c->fov = lens_to_fov(lens);
    kf_status status = next_record(r, KF_CAMERA, c);
    if (status != KF_OK) {
        delete[] c->name;
        delete c;
    }
    return status;
}

kf_status material(kf_reader& r) {
    auto* m = new (std::nothrow) kf_material{};
    if (!m) return KF_NO_MEMORY;
    kf_status status = next_record(r, KF_MATERIAL, m);
    if (status != KF_OK) delete m;
    return status;
}

kf_status material_name(kf_reader& r) {
    read_name(r);
    if (!r.in.ok()) return KF_READ_ERROR;
    kf_material* m = current_material(r);
    if (m && !replace_name(&m->name, r)) return KF_NO_MEMORY;
    return KF_OK;
}

kf_map* selected_map(const kf_reader& r) {
    kf_material* m = current_material(r);
    if (!m) return nullptr;
    switch (r.parent_id) {
    case 0xA200:
        return &m->texture;
    case 0xA230:
        return &m->bump;
    case 0xA220:
        return &m->reflection;
    default:
        return nullptr;
    }
}

kf_status map_file(kf_reader& r) {
    read_name(r);
    if (!r.in.ok()) return KF_READ_ERROR;
    kf_map* map = selected_map(r);
    if (map && !replace_name(&map->file, r)) return KF_NO_MEMORY;
    return KF_OK;
}

kf_status map_flags(kf_reader& r) {
    const uint16_t flags = r.in.u16_le();
    if (!r.in.ok()) return KF_READ_ERROR;
    if (kf_map* map = selected_map(r)) map->flags = flags;
    return KF_OK;
}

// One float of the selected map; `field` picks it.
template <float kf_map::*field>
kf_status map_float(kf_reader& r) {
    const float value = read_float(r.in);
    if (!r.in.ok()) return KF_READ_ERROR;
    if (kf_map* map = selected_map(r)) map->*field = value;
    return KF_OK;
}

template <int flag>
kf_status material_flag(kf_reader& r) {
    if (kf_material* m = current_material(r)) m->flags |= flag;
    return KF_OK;
}

kf_status shading(kf_reader& r) {
    const uint16_t value = r.in.u16_le();
    if (!r.in.ok()) return KF_READ_ERROR;
    if (kf_material* m = current_material(r)) m->shading = value;
    return KF_OK;
}

constexpr kf_chunk_handler world_table[] = {
    {0x0010, false, colour_floats},
    {0x0011, false, colour_bytes},
    {0x0030, false, percentage},
    {0xC23D, true, nullptr},
    {0x3DAA, true, nullptr},
    {0x4D4D, true, nullptr},
    {0x3D3D, true, nullptr},
    {0x1200, true, nullptr},
    {0x2100, true, nullptr},
    {0x4000, true, object_block},
    {0x4100, true, triangle_mesh},
    {0x4110, false, vertex_list},
    {0x4111, false, nullptr},
    {0x4120, true, face_list},
    {0x4165, false, nullptr},
    {0x4130, false, face_material_group},
    {0x4140, false, mapping_coordinates},
    {0x4170, false, nullptr},
    {0x4150, false, nullptr},
    {0x4160, false, local_mesh_matrix},
    {0x4600, true, light},
    {0x4610, false, spot_light},
    {0x4700, false, camera},
    {0x4F00, true, nullptr},
    {0x7001, false, nullptr},
    {0xAFFF, true, material},
    {0xA000, false, material_name},
    {0xA010, true, nullptr},
    {0xA020, true, nullptr},
    {0xA030, true, nullptr},
    {0xA200, true, nullptr},
    {0xA230, true, nullptr},
    {0xA220, true, nullptr},
    {0xA300, false, map_file},
    {0xA351, false, map_flags},
    {0xA354, false, map_float<&kf_map::u_scale>},
    {0xA356, false, map_float<&kf_map::v_scale>},
    {0xA358, false, map_float<&kf_map::u_offset>},
    {0xA35A, false, map_float<&kf_map::v_offset>},
    {0xA35C, false, map_float<&kf_map::rotation>},
    {0xA040, true, nullptr},
    {0xA041, true, nullptr},
    {0xA050, true, nullptr},
    {0xA052, true, nullptr},
    {0xA053, true, nullptr},
    {0xA084, true, nullptr},
    {0xA081, false, material_flag<KF_MATERIAL_TWO_SIDED>},
    {0xA083, false, material_flag<KF_MATERIAL_ADDITIVE>},
    {0xA085, false, material_flag<KF_MATERIAL_WIRE>},
    {0xA08C, false, material_flag<KF_MATERIAL_SOFTEN>},
    {0xA100, false, shading},
};

} // namespace

std::span<const kf_chunk_handler> kf_world_handlers() {
    return world_table;
}

} // namespace vilora
