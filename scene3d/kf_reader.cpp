// The 3DS reader: the recursive chunk walker, the reads of the chunk handlers
// and the two loaders (world pass, motion pass) behind kf_load_world and
// kf_load_motion.
#include "scene3d/internal/kf_reader.h"
#include "scene3d/internal/kf_internal.h"

#include "library/data_file.h"
#include "library/file_problems.h"

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace vilora {
namespace {

// Real files nest five or six levels; the cap keeps hostile files off the stack.
constexpr int max_chunk_depth = 64;
constexpr size_t chunk_header_size = 6;
constexpr size_t version_offset = 28;

const kf_chunk_handler* find_handler_in(std::span<const kf_chunk_handler> table, uint16_t id) {
    for (const kf_chunk_handler& h : table)
        if (h.id == id) return &h;
    return nullptr;
}
// Scenes of the show take tens of kilobytes; a 16-bit vertex count bounds a
// mesh at a few megabytes.
constexpr uint64_t max_scene_file_size = uint64_t{1} << 30;

// Where the last pass failed: the chunk whose handling or framing went wrong,
// innermost first, for the cause a failed load notes.
struct pass_failure {
    size_t offset = 0;
    uint16_t id = 0;
    bool known = false;
};
pass_failure last_failure;
kf_skipped_chunks skipped;
// Offsets of the chunks counted, since both passes walk the top level.
std::set<size_t> skipped_offsets;

bool known_to_a_pass(uint16_t id) {
    return find_handler_in(kf_world_handlers(), id) || find_handler_in(kf_motion_handlers(), id);
}

void note_skipped(uint16_t id, size_t offset) {
    if (known_to_a_pass(id) || !skipped_offsets.insert(offset).second) return;
    if (skipped.count < kf_skipped_chunks_kept) skipped.first[skipped.count] = {id, offset};
    ++skipped.count;
}

kf_status failed_at(size_t offset, uint16_t id, kf_status status) {
    if (status != KF_OK && !last_failure.known) last_failure = {offset, id, true};
    return status;
}

kf_status walk(kf_reader& r, size_t begin, size_t end, int parent_id,
               std::span<const kf_chunk_handler> table);

// The chunk whose data runs from `begin` to `end`, its header checked to lie
// inside its parent. Its handler reads the data; the sub-chunks, if walked,
// start where the handler stopped.
kf_status handle_chunk(kf_reader& r, size_t begin, size_t end, uint16_t id,
                       std::span<const kf_chunk_handler> table) {
    r.current_id = id;
    const kf_chunk_handler* h = find_handler_in(table, id);
    if (!h) {
        note_skipped(id, begin - chunk_header_size);
        return KF_OK;
    }
    r.in = byte_reader(r.file.first(end));
    r.in.seek(begin);
    if (h->handle) {
        kf_status status = h->handle(r);
        if (status != KF_OK) return status;
    }
    if (h->sub) {
        kf_status status = walk(r, r.in.position(), end, id, table);
        if (status != KF_OK) return status;
    }
    r.previous_id = id;
    return KF_OK;
}

// Walks the chunks of [begin, end). A chunk whose length is below its header
// or reaches past `end` is malformed: following it could loop for ever or
// read another chunk's data as its own.
kf_status walk(kf_reader& r, size_t begin, size_t end, int parent_id,
               std::span<const kf_chunk_handler> table) {
    if (r.depth >= max_chunk_depth) return KF_READ_ERROR;
    ++r.depth;
    r.parent_id = parent_id;
    kf_status status = KF_OK;
    for (size_t start = begin; status == KF_OK && start < end;) {
        if (end - start < chunk_header_size) {
            status = failed_at(start, 0, KF_READ_ERROR);
            break;
        }
        byte_reader header(r.file.subspan(start, chunk_header_size));
        const uint16_t id = header.u16_le();
        const uint32_t length = header.u32_le();
        if (length < chunk_header_size || length > end - start) {
            status = failed_at(start, id, KF_READ_ERROR);
            break;
        }
        status = failed_at(start, id,
                           handle_chunk(r, start + chunk_header_size, start + length, id, table));
        start += length;
    }
    --r.depth;
    return status;
}

kf_status run_pass(const uint8_t* data, size_t size, int first_id,
                   std::span<const kf_chunk_handler> table) {
    kf_reader r;
    r.file = {data, size};
    r.id_counter = first_id;
    last_failure = {};
    // The low byte of the mesh version in the usual layout.
    if (size <= version_offset) return KF_READ_ERROR;
    if (data[version_offset] < 2) return KF_BAD_VERSION;
    return walk(r, 0, size, 0, table);
}

kf_status world_pass(const uint8_t* data, size_t size) {
    skipped = {};
    skipped_offsets.clear();
    return run_pass(data, size, 0, kf_world_handlers());
}

kf_status motion_pass(const uint8_t* data, size_t size) {
    return run_pass(data, size, -1, kf_motion_handlers());
}

struct loader {
    const char* extension;
    kf_status (*world)(const uint8_t* data, size_t size);
    kf_status (*motion)(const uint8_t* data, size_t size);
};

constexpr loader loaders[] = {
    {"3DS", world_pass, motion_pass},
    {"KXF", world_pass, motion_pass},
};

bool same_ignoring_case(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        char ca = *a >= 'a' && *a <= 'z' ? static_cast<char>(*a - 32) : *a;
        char cb = *b >= 'a' && *b <= 'z' ? static_cast<char>(*b - 32) : *b;
        if (ca != cb) return false;
    }
    return *a == *b;
}

// The loader for the text after the last '.'; the last match wins.
const loader* find_loader(const char* file_name) {
    const char* dot = std::strrchr(file_name, '.');
    if (!dot) return nullptr;
    const loader* found = nullptr;
    for (const loader& l : loaders)
        if (same_ignoring_case(dot + 1, l.extension)) found = &l;
    return found;
}

// The cause a failed load notes beside its status.
std::string failure_cause(kf_status status, size_t size) {
    if (status == KF_BAD_VERSION) return "mesh version byte at offset 28 is below 2";
    if (status == KF_READ_ERROR && size <= version_offset)
        return "truncated at byte " + std::to_string(size);
    if (status == KF_NO_MEMORY) return "out of memory";
    std::string cause = status == KF_UNDEFINED_NAME ? "a name no record has" : "bad chunk";
    if (!last_failure.known) return cause;
    char id[8];
    std::snprintf(id, sizeof id, "0x%04X", last_failure.id);
    const std::string where = std::string(id) + " at offset " + std::to_string(last_failure.offset);
    return status == KF_UNDEFINED_NAME ? cause + " in chunk " + where : cause + " " + where;
}

kf_status read_file(const char* file_name, std::vector<uint8_t>* out) {
    std::optional<std::vector<uint8_t>> bytes = read_data_file(file_name, max_scene_file_size);
    if (!bytes) return KF_OPEN_FAILED;
    *out = std::move(*bytes);
    return KF_OK;
}

kf_status load_world(const loader& l, const uint8_t* data, size_t size, kf_scene* scene,
                     kf_scene* remembered) {
    kf_set_active(scene);
    kf_status status = l.world(data, size);
    if (status != KF_OK) {
        kf_restore_active(remembered);
        kf_free_world(scene);
        return status;
    }
    kf_compute_bbox();
    if (kf_options() & KF_NORMALS) {
        for (kf_world_node* n = scene->world_head; n; n = n->next)
            if (kf_object* o = kf_as_object(n)) kf_compute_normals(o);
    }
    kf_restore_active(remembered);
    return KF_OK;
}

kf_status load_motion(const loader& l, const uint8_t* data, size_t size, kf_scene* scene,
                      kf_scene* remembered) {
    kf_set_active(scene);
    kf_status status = l.motion(data, size);
    if (status != KF_OK) {
        kf_restore_active(remembered);
        kf_free_motion(scene);
        return status;
    }
    kf_set_frame(0);
    kf_update();
    kf_restore_active(remembered);
    return KF_OK;
}

} // namespace

kf_status kf_load_world(const char* file_name, kf_scene* scene) {
    if (!file_name || !scene) return KF_NULL_ARGUMENT;
    kf_scene* remembered = kf_active_scene();
    const loader* l = find_loader(file_name);
    if (!l) return KF_NO_LOADER;
    // Entries held before are dropped, not freed: callers may still point at them.
    *scene = {};
    std::vector<uint8_t> bytes;
    kf_status status = read_file(file_name, &bytes);
    if (status != KF_OK) return status;
    status = load_world(*l, bytes.data(), bytes.size(), scene, remembered);
    if (status != KF_OK) note_file_problem(file_name, failure_cause(status, bytes.size()));
    return status;
}

kf_status kf_load_motion(const char* file_name, kf_scene* scene) {
    if (!file_name || !scene) return KF_NULL_ARGUMENT;
    kf_scene* remembered = kf_active_scene();
    if (!scene->world_head) return KF_NO_SCENE;
    const loader* l = find_loader(file_name);
    if (!l) return KF_NO_LOADER;
    std::vector<uint8_t> bytes;
    kf_status status = read_file(file_name, &bytes);
    if (status != KF_OK) return status;
    status = load_motion(*l, bytes.data(), bytes.size(), scene, remembered);
    if (status != KF_OK) note_file_problem(file_name, failure_cause(status, bytes.size()));
    return status;
}

kf_status kf_load_world_data(const uint8_t* data, size_t size, kf_scene* scene) {
    if (!scene || (!data && size)) return KF_NULL_ARGUMENT;
    kf_scene* remembered = kf_active_scene();
    *scene = {};
    return load_world(loaders[0], data, size, scene, remembered);
}

kf_status kf_load_motion_data(const uint8_t* data, size_t size, kf_scene* scene) {
    if (!scene || (!data && size)) return KF_NULL_ARGUMENT;
    kf_scene* remembered = kf_active_scene();
    if (!scene->world_head) return KF_NO_SCENE;
    return load_motion(loaders[0], data, size, scene, remembered);
}

const kf_skipped_chunks& kf_last_skipped_chunks() {
    return skipped;
}

float read_float(byte_reader& in) {
    const uint32_t bits = in.u32_le();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

kf_vector read_vector(byte_reader& in) {
    kf_vector v;
    v.x = read_float(in);
    v.y = read_float(in);
    v.z = read_float(in);
    vec_swap_yz(&v);
    return v;
}

// A failed read gives 0, which ends the name like its terminator.
void read_name(kf_reader& r) {
    size_t length = 0;
    for (uint8_t c = r.in.u8(); c != 0; c = r.in.u8())
        if (length < sizeof r.name - 1) r.name[length++] = static_cast<char>(c);
    r.name[length] = 0;
}

char* kf_copy_name(const char* text) {
    size_t length = std::strlen(text);
    char* copy = new (std::nothrow) char[length + 1];
    if (copy) std::memcpy(copy, text, length + 1);
    return copy;
}

bool replace_name(char** name, const kf_reader& r) {
    char* copy = kf_copy_name(r.name);
    if (!copy) return false;
    delete[] * name;
    *name = copy;
    return true;
}

kf_object* current_object(const kf_reader& r) {
    return r.current_type == KF_OBJECT ? static_cast<kf_object*>(r.current) : nullptr;
}

kf_light* current_light(const kf_reader& r) {
    return r.current_type == KF_LIGHT ? static_cast<kf_light*>(r.current) : nullptr;
}

kf_camera* current_camera(const kf_reader& r) {
    return r.current_type == KF_CAMERA ? static_cast<kf_camera*>(r.current) : nullptr;
}

kf_material* current_material(const kf_reader& r) {
    return r.current_type == KF_MATERIAL ? static_cast<kf_material*>(r.current) : nullptr;
}

} // namespace vilora
