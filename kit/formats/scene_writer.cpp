#include "kit/formats/scene_writer.h"

#include "kit/formats/chunk_writer.h"

namespace vilora::kit::tds {
namespace {

void put(chunk_writer& w, const vec3& v) {
    w.vec(v.x, v.y, v.z);
}

void colour_chunk(chunk_writer& w, uint16_t id, const colour& c) {
    w.begin(id);
    w.begin(0x0010);
    w.vec(c.red, c.green, c.blue);
    w.end();
    w.end();
}

void percentage_chunk(chunk_writer& w, uint16_t id, uint16_t percent) {
    w.begin(id);
    w.begin(0x0030);
    w.u16(percent);
    w.end();
    w.end();
}

void write_material(chunk_writer& w, const material& m) {
    w.begin(0xAFFF);
    w.begin(0xA000);
    w.str(m.name);
    w.end();
    colour_chunk(w, 0xA010, m.ambient);
    colour_chunk(w, 0xA020, m.diffuse);
    colour_chunk(w, 0xA030, m.specular);
    percentage_chunk(w, 0xA040, m.shininess);
    if (m.two_sided) {
        w.begin(0xA081);
        w.end();
    }
    if (m.wire) {
        w.begin(0xA085);
        w.end();
    }
    w.begin(0xA100);
    w.u16(m.shading);
    w.end();
    w.end();
}

void write_faces(chunk_writer& w, const mesh& m) {
    w.begin(0x4120);
    w.u16(static_cast<uint16_t>(m.faces.size()));
    for (const face& f : m.faces) {
        w.u16(f.a);
        w.u16(f.b);
        w.u16(f.c);
        w.u16(f.flags);
    }
    for (const material_group& g : m.groups) {
        w.begin(0x4130);
        w.str(g.material);
        w.u16(static_cast<uint16_t>(g.faces.size()));
        for (uint16_t f : g.faces) w.u16(f);
        w.end();
    }
    w.end();
}

void write_mesh(chunk_writer& w, const mesh& m) {
    w.begin(0x4000);
    w.str(m.name);
    w.begin(0x4100);
    w.begin(0x4110);
    w.u16(static_cast<uint16_t>(m.vertices.size()));
    for (const vec3& v : m.vertices) put(w, v);
    w.end();
    if (!m.mapping.empty()) {
        w.begin(0x4140);
        w.u16(static_cast<uint16_t>(m.mapping.size()));
        for (const auto& uv : m.mapping) {
            w.f32(uv[0]);
            w.f32(uv[1]);
        }
        w.end();
    }
    w.begin(0x4160);
    for (const vec3& axis : m.matrix.axes) put(w, axis);
    put(w, m.matrix.origin);
    w.end();
    write_faces(w, m);
    w.end();
    w.end();
}

void write_camera(chunk_writer& w, const camera& c) {
    w.begin(0x4000);
    w.str(c.name);
    w.begin(0x4700);
    put(w, c.position);
    put(w, c.target);
    w.f32(c.roll);
    w.f32(c.lens);
    w.end();
    w.end();
}

void write_light(chunk_writer& w, const light& l) {
    w.begin(0x4000);
    w.str(l.name);
    w.begin(0x4600);
    put(w, l.position);
    w.begin(0x0010);
    w.vec(l.light_colour.red, l.light_colour.green, l.light_colour.blue);
    w.end();
    if (l.spot) {
        w.begin(0x4610);
        put(w, l.target);
        w.f32(l.hotspot);
        w.f32(l.falloff);
        w.end();
    }
    w.end();
    w.end();
}

void key_header(chunk_writer& w, uint32_t frame, const spline& s) {
    const float parameters[] = {s.tension, s.continuity, s.bias, s.ease_to, s.ease_from};
    uint16_t flags = 0;
    for (int i = 0; i < 5; ++i)
        if (parameters[i] != 0) flags = static_cast<uint16_t>(flags | 1 << i);
    w.u32(frame);
    w.u16(flags);
    for (float p : parameters)
        if (p != 0) w.f32(p);
}

void value(chunk_writer& w, const vec3& v) {
    put(w, v);
}
void value(chunk_writer& w, float v) {
    w.f32(v);
}
void value(chunk_writer& w, const turn& t) {
    w.f32(t.angle);
    put(w, t.axis);
}
void value(chunk_writer& w, const std::string& name) {
    w.str(name);
}

void track_header(chunk_writer& w, uint16_t id, uint16_t flags, size_t keys) {
    w.begin(id);
    w.u16(flags);
    w.u32(0);
    w.u32(0);
    w.u32(static_cast<uint32_t>(keys));
}

template <typename Value>
void write_track(chunk_writer& w, uint16_t id, const track<Value>& t) {
    if (t.empty()) return;
    track_header(w, id, t.flags, t.keys.size());
    for (const key<Value>& k : t.keys) {
        key_header(w, k.frame, k.shape);
        value(w, k.value);
    }
    w.end();
}

void write_node(chunk_writer& w, const node& n) {
    w.begin(static_cast<uint16_t>(n.kind));
    w.begin(0xB030);
    w.u16(n.id);
    w.end();
    w.begin(0xB010);
    w.str(n.name);
    w.u16(n.flags);
    w.u16(0);
    w.u16(static_cast<uint16_t>(n.parent));
    w.end();
    if (!n.instance.empty()) {
        w.begin(0xB011);
        w.str(n.instance);
        w.end();
    }
    if (n.pivot) {
        w.begin(0xB013);
        put(w, *n.pivot);
        w.end();
    }
    write_track(w, 0xB020, n.position);
    write_track(w, 0xB021, n.rotation);
    write_track(w, 0xB022, n.scale);
    write_track(w, 0xB023, n.fov);
    write_track(w, 0xB024, n.roll);
    write_track(w, 0xB025, n.colour);
    write_track(w, 0xB026, n.morph);
    if (!n.hide_keys.empty()) {
        track_header(w, 0xB029, track_once, n.hide_keys.size());
        for (uint32_t frame : n.hide_keys) {
            w.u32(frame);
            w.u16(0);
        }
        w.end();
    }
    w.end();
}

void write_editor(chunk_writer& w, const scene& s) {
    w.begin(0x3D3D);
    w.begin(0x3D3E);
    w.u32(3);
    w.end();
    w.begin(0x0100); // master scale: one unit per unit
    w.f32(1);
    w.end();
    colour_chunk(w, 0x2100, s.ambient_light);
    for (const material& m : s.materials) write_material(w, m);
    for (const mesh& m : s.meshes) write_mesh(w, m);
    for (const light& l : s.lights) write_light(w, l);
    for (const camera& c : s.cameras) write_camera(w, c);
    w.end();
}

void write_keyframer(chunk_writer& w, const scene& s) {
    w.begin(0xB000);
    w.begin(0xB00A);
    w.u16(5);
    w.str("vilora");
    w.u32(s.end_frame - s.start_frame);
    w.end();
    w.begin(0xB008);
    w.u32(s.start_frame);
    w.u32(s.end_frame);
    w.end();
    w.begin(0xB009);
    w.u32(s.start_frame);
    w.end();
    for (const node& n : s.nodes) write_node(w, n);
    w.end();
}

} // namespace

std::vector<uint8_t> write_3ds(const scene& description) {
    chunk_writer w;
    w.begin(0x4D4D);
    w.begin(0x0002);
    w.u32(3);
    w.end();
    write_editor(w, description);
    write_keyframer(w, description);
    w.end();
    return w.bytes();
}

} // namespace vilora::kit::tds
