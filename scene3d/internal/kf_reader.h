// The 3DS reader's state and its bounded byte reader, shared by the walker and
// the two passes' chunk handlers. Internal to the 3D library.
#pragma once

#include "scene3d/kf.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace vilora {

// Little-endian reads over the whole file in memory. `limit` is the end of the
// chunk being handled: no handler reads past its own chunk, and a read that
// would gives false (the load then ends with KF_READ_ERROR).
struct kf_reader {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t pos = 0;
    size_t limit = 0;
    int depth = 0; // nesting of the chunk walk

    int parent_id = 0;            // chunk whose sub-chunks are walked; not restored on return
    int current_id = 0;           // chunk being handled
    int previous_id = 0;          // last chunk completely handled, at any level
    int id_counter = 0;           // record ids (world pass) or node ids (motion pass)
    int current_type = 0;         // world type of `current`, 0 for none
    kf_record* current = nullptr; // what the last record-creating handler made
    char name[64] = {};           // the last string read, at most 63 characters
};

bool read_u8(kf_reader& r, uint8_t* out);
bool read_u16(kf_reader& r, uint16_t* out);
bool read_u32(kf_reader& r, uint32_t* out);
bool read_i16(kf_reader& r, int16_t* out);
bool read_float(kf_reader& r, float* out);
// Three floats x, y, z from the file, stored as (x, z, y).
bool read_vector(kf_reader& r, kf_vector* out);
bool skip_bytes(kf_reader& r, size_t count);
// A zero-terminated string into r.name; characters past the 63rd are read and
// dropped. False when the chunk ends before the zero.
bool read_name(kf_reader& r);
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
