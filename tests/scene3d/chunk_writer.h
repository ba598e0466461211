// Helpers over the kit's chunk writer for tests and seed files that need
// exact control over every chunk (including malformed ones).
#pragma once

#include "kit/formats/chunk_writer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vilora::test {

using kit::chunk_writer;

// The usual opening: main chunk, file version, editor chunk with the mesh
// version at offset 28. Leaves the main and editor chunks open.
inline void begin_scene(chunk_writer& w, uint32_t mesh_version = 3) {
    w.begin(0x4D4D);
    w.begin(0x0002);
    w.u32(3);
    w.end();
    w.begin(0x3D3D);
    w.begin(0x3D3E);
    w.u32(mesh_version);
    w.end();
}

// An object block with a triangle mesh of `vertices` (file coordinates) and
// faces (a, b, c, flags).
struct mesh_face {
    uint16_t a, b, c, flags;
};
inline void add_mesh(chunk_writer& w, const std::string& name, const std::vector<float>& vertices,
                     const std::vector<mesh_face>& faces) {
    w.begin(0x4000);
    w.str(name);
    w.begin(0x4100);
    w.begin(0x4110);
    w.u16(static_cast<uint16_t>(vertices.size() / 3));
    for (float v : vertices) w.f32(v);
    w.end();
    w.begin(0x4120);
    w.u16(static_cast<uint16_t>(faces.size()));
    for (const mesh_face& f : faces) {
        w.u16(f.a);
        w.u16(f.b);
        w.u16(f.c);
        w.u16(f.flags);
    }
    w.end();
    w.end();
    w.end();
}

inline void add_camera(chunk_writer& w, const std::string& name, float px, float py, float pz,
                       float tx, float ty, float tz, float roll, float lens) {
    w.begin(0x4000);
    w.str(name);
    w.begin(0x4700);
    w.vec(px, py, pz);
    w.vec(tx, ty, tz);
    w.f32(roll);
    w.f32(lens);
    w.end();
    w.end();
}

// A node tag with an optional node-id chunk, the header and a pivot.
inline void begin_node(chunk_writer& w, uint16_t tag, int node_id, const std::string& name,
                       int16_t parent, uint16_t flags1 = 0) {
    w.begin(tag);
    if (node_id >= 0) {
        w.begin(0xB030);
        w.u16(static_cast<uint16_t>(node_id));
        w.end();
    }
    w.begin(0xB010);
    w.str(name);
    w.u16(flags1);
    w.u16(0);
    w.u16(static_cast<uint16_t>(parent));
    w.end();
}

inline void track_header(chunk_writer& w, uint16_t id, uint16_t flags, uint32_t keys) {
    w.begin(id);
    w.u16(flags);
    w.u32(0);
    w.u32(0);
    w.u32(keys);
}

// A key header without spline parameters.
inline void key(chunk_writer& w, uint32_t frame) {
    w.u32(frame);
    w.u16(0);
}

inline void frame_range(chunk_writer& w, uint32_t start, uint32_t end) {
    w.begin(0xB008);
    w.u32(start);
    w.u32(end);
    w.end();
}

} // namespace vilora::test
