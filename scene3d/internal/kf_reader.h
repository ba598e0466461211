// The 3DS reader's state, shared by the walker and the two passes' chunk
// handlers. Internal to the 3D library.
#pragma once

#include "library/byte_reader.h"
#include "scene3d/kf.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace vilora {

// The whole file in memory, and little-endian reads of the chunk being
// handled through `in`, which ends where the chunk ends: no handler reads past
// its own chunk. A handler checks in.ok() after each group of reads and ends
// with KF_READ_ERROR when a read ran past the chunk.
struct kf_reader {
    std::span<const uint8_t> file;
    byte_reader in{{}};
    int depth = 0; // nesting of the chunk walk

    int parent_id = 0;            // chunk whose sub-chunks are walked; not restored on return
    int current_id = 0;           // chunk being handled
    int previous_id = 0;          // last chunk completely handled, at any level
    int id_counter = 0;           // record ids (world pass) or node ids (motion pass)
    int current_type = 0;         // world type of `current`, 0 for none
    kf_record* current = nullptr; // what the last record-creating handler made
    char name[64] = {};           // the last string read, at most 63 characters
};

// A 32-bit float, little-endian.
float read_float(byte_reader& in);
// Three floats x, y, z from the file, stored as (x, z, y).
kf_vector read_vector(byte_reader& in);
// A zero-terminated string into r.name; characters past the 63rd are read and
// dropped. When the chunk ends before the zero, r.in fails.
void read_name(kf_reader& r);
// A copy of `text` in its own allocation, null when out of memory.
char* kf_copy_name(const char* text);
// Replaces an owned name with a copy of r.name; false when out of memory.
bool replace_name(char** name, const kf_reader& r);

struct kf_chunk_handler {
    uint16_t id;
    bool sub;                          // the walker descends into its sub-chunks
    kf_status (*handle)(kf_reader& r); // null: the chunk has no data of its own
};

std::span<const kf_chunk_handler> kf_world_handlers();
std::span<const kf_chunk_handler> kf_motion_handlers();

// The current record as an object, light, camera or material, or null.
kf_object* current_object(const kf_reader& r);
kf_light* current_light(const kf_reader& r);
kf_camera* current_camera(const kf_reader& r);
kf_material* current_material(const kf_reader& r);

} // namespace vilora
