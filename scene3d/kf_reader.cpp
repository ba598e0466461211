// The 3DS reader: the bounded byte reader, the recursive chunk walker and the
// two loaders (world pass, motion pass) behind kf_load_world and kf_load_motion.
#include "scene3d/internal/kf_reader.h"
#include "scene3d/internal/kf_internal.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace vilora {
namespace {

// Real files nest five or six levels; the cap keeps hostile files off the stack.
constexpr int max_chunk_depth = 64;
constexpr size_t chunk_header_size = 6;
constexpr size_t version_offset = 28;

bool take(kf_reader& r, size_t count, const uint8_t** bytes) {
    size_t end = r.limit < r.size ? r.limit : r.size;
    if (r.pos > end || end - r.pos < count) return false;
    *bytes = r.data + r.pos;
    r.pos += count;
    return true;
}

uint16_t u16_at(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t u32_at(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

const kf_chunk_handler* find_handler(std::span<const kf_chunk_handler> table, uint16_t id) {
    for (const kf_chunk_handler& h : table)
        if (h.id == id) return &h;
    return nullptr;
}

kf_status walk(kf_reader& r, size_t end, int parent_id, std::span<const kf_chunk_handler> table);

// One chunk at r.pos, whose header has been checked to lie inside [.., end).
kf_status handle_chunk(kf_reader& r, size_t chunk_end, uint16_t id,
                       std::span<const kf_chunk_handler> table) {
    r.current_id = id;
    const kf_chunk_handler* h = find_handler(table, id);
    if (!h) return KF_OK;
    r.limit = chunk_end;
    if (h->handle) {
        kf_status status = h->handle(r);
        if (status != KF_OK) return status;
    }
    if (h->sub) {
        kf_status status = walk(r, chunk_end, id, table);
        if (status != KF_OK) return status;
    }
    r.previous_id = id;
    return KF_OK;
}

// Walks the chunks of [r.pos, end). A chunk whose length is below its header
// or reaches past `end` is malformed: following it could loop for ever or
// read another chunk's data as its own.
kf_status walk(kf_reader& r, size_t end, int parent_id, std::span<const kf_chunk_handler> table) {
    if (r.depth >= max_chunk_depth) return KF_READ_ERROR;
    ++r.depth;
    r.parent_id = parent_id;
    kf_status status = KF_OK;
    while (status == KF_OK && r.pos < end) {
        size_t start = r.pos;
        if (end - start < chunk_header_size) {
            status = KF_READ_ERROR;
            break;
        }
        uint16_t id = u16_at(r.data + start);
        uint32_t length = u32_at(r.data + start + 2);
        if (length < chunk_header_size || length > end - start) {
            status = KF_READ_ERROR;
            break;
        }
        r.pos = start + chunk_header_size;
        status = handle_chunk(r, start + length, id, table);
        r.pos = start + length;
    }
    --r.depth;
    return status;
}

kf_status run_pass(const uint8_t* data, size_t size, int first_id,
                   std::span<const kf_chunk_handler> table) {
    kf_reader r;
    r.data = data;
    r.size = size;
    r.limit = size;
    r.id_counter = first_id;
    // The low byte of the mesh version in the usual layout.
    if (size <= version_offset) return KF_READ_ERROR;
    if (data[version_offset] < 2) return KF_BAD_VERSION;
    return walk(r, size, 0, table);
}

kf_status world_pass(const uint8_t* data, size_t size) {
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

struct file_bytes {
    std::unique_ptr<uint8_t[]> data;
    size_t size = 0;
};

kf_status read_file(const char* file_name, file_bytes* out) {
    std::FILE* f = std::fopen(file_name, "rb");
    if (!f) return KF_OPEN_FAILED;
    kf_status status = KF_READ_ERROR;
    long length = -1;
    if (std::fseek(f, 0, SEEK_END) == 0) length = std::ftell(f);
    if (length >= 0 && std::fseek(f, 0, SEEK_SET) == 0) {
        out->size = static_cast<size_t>(length);
        out->data.reset(new (std::nothrow) uint8_t[out->size + 1]);
        if (!out->data)
            status = KF_NO_MEMORY;
        else if (std::fread(out->data.get(), 1, out->size, f) == out->size)
            status = KF_OK;
    }
    std::fclose(f);
    return status;
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
    file_bytes bytes;
    kf_status status = read_file(file_name, &bytes);
    if (status != KF_OK) return status;
    return load_world(*l, bytes.data.get(), bytes.size, scene, remembered);
}

kf_status kf_load_motion(const char* file_name, kf_scene* scene) {
    if (!file_name || !scene) return KF_NULL_ARGUMENT;
    kf_scene* remembered = kf_active_scene();
    if (!scene->world_head) return KF_NO_SCENE;
    const loader* l = find_loader(file_name);
    if (!l) return KF_NO_LOADER;
    file_bytes bytes;
    kf_status status = read_file(file_name, &bytes);
    if (status != KF_OK) return status;
    return load_motion(*l, bytes.data.get(), bytes.size, scene, remembered);
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

bool read_u8(kf_reader& r, uint8_t* out) {
    const uint8_t* p;
    if (!take(r, 1, &p)) return false;
    *out = p[0];
    return true;
}

bool read_u16(kf_reader& r, uint16_t* out) {
    const uint8_t* p;
    if (!take(r, 2, &p)) return false;
    *out = u16_at(p);
    return true;
}

bool read_u32(kf_reader& r, uint32_t* out) {
    const uint8_t* p;
    if (!take(r, 4, &p)) return false;
    *out = u32_at(p);
    return true;
}

bool read_i16(kf_reader& r, int16_t* out) {
    uint16_t u;
    if (!read_u16(r, &u)) return false;
    *out = static_cast<int16_t>(u);
    return true;
}

bool read_float(kf_reader& r, float* out) {
    uint32_t u;
    if (!read_u32(r, &u)) return false;
    std::memcpy(out, &u, sizeof *out);
    return true;
}

bool read_vector(kf_reader& r, kf_vector* out) {
    if (!read_float(r, &out->x) || !read_float(r, &out->y) || !read_float(r, &out->z)) return false;
    vec_swap_yz(out);
    return true;
}

bool skip_bytes(kf_reader& r, size_t count) {
    const uint8_t* p;
    return take(r, count, &p);
}

bool read_name(kf_reader& r) {
    size_t length = 0;
    for (;;) {
        uint8_t c;
        if (!read_u8(r, &c)) return false;
        if (c == 0) break;
        if (length < sizeof r.name - 1) r.name[length++] = static_cast<char>(c);
    }
    r.name[length] = 0;
    return true;
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
