// Scenes that lie about counts, lengths and names, or nest far deeper than
// any real file, made from the data set's title scene. Chunks are a 2-byte
// id and a 4-byte length that counts the header and everything inside.
#include "tests/damage/crafted.h"

#include <cstring>
#include <optional>

namespace vilora::damage {

namespace {

constexpr const char* scene_file = "hedge.3ds";
constexpr size_t header = 6;

// Where the sub-chunks of a container begin, after its own data; none for a
// chunk that holds no sub-chunks.
std::optional<size_t> children_at(const bytes& s, size_t at, uint16_t id) {
    if (id == 0x4D4D || id == 0x3D3D || id == 0x4100 || (id >= 0xB000 && id <= 0xB007))
        return at + header;
    if (id == 0x4000) { // object block: its name first
        const void* end = std::memchr(s.data() + at + header, 0, s.size() - at - header);
        if (!end) return std::nullopt;
        return static_cast<size_t>(static_cast<const uint8_t*>(end) - s.data()) + 1;
    }
    return std::nullopt;
}

struct found_chunk {
    size_t at = 0;
    std::vector<size_t> containers; // outermost first
};

// The `nth` chunk with this id (0 = the first), in file order, that lies in
// a container with the id `within` (0: anywhere).
void find_in(const bytes& s, size_t from, size_t end, uint16_t id, uint16_t within, uint16_t parent,
             std::vector<size_t>& containers, std::vector<found_chunk>& out) {
    for (size_t at = from; at + header <= end;) {
        const uint16_t chunk = u16_at(s, at);
        const uint32_t length = u32_at(s, at + 2);
        if (length < header || at + length > end) return;
        if (chunk == id && (within == 0 || parent == within)) out.push_back({at, containers});
        if (const auto inner = children_at(s, at, chunk)) {
            containers.push_back(at);
            find_in(s, *inner, at + length, id, within, chunk, containers, out);
            containers.pop_back();
        }
        at += length;
    }
}

found_chunk find_chunk(const bytes& s, uint16_t id, uint16_t within = 0, size_t nth = 0) {
    std::vector<size_t> containers;
    std::vector<found_chunk> found;
    find_in(s, 0, s.size(), id, within, 0, containers, found);
    if (found.size() <= nth) throw std::runtime_error("the scene has no such chunk");
    return found[nth];
}

// Puts `inserted` at `at`, inside the chunk at `inside` and its containers,
// whose lengths grow by as much.
void insert_into(bytes& s, const found_chunk& inside, size_t at, const bytes& inserted) {
    s.insert(s.begin() + static_cast<ptrdiff_t>(at), inserted.begin(), inserted.end());
    std::vector<size_t> grown = inside.containers;
    grown.push_back(inside.at);
    for (size_t c : grown)
        put_u32(s, c + 2, u32_at(s, c + 2) + static_cast<uint32_t>(inserted.size()));
}

// `depth` chunks of `id`, each holding the next and nothing else.
bytes nested(uint16_t id, uint32_t depth) {
    bytes chain(size_t{depth} * header);
    for (uint32_t level = 0; level < depth; ++level) {
        put_u16(chain, level * header, id);
        put_u32(chain, level * header + 2, (depth - level) * static_cast<uint32_t>(header));
    }
    return chain;
}

void change_scene(const std::filesystem::path& data, void (*change)(bytes&)) {
    const std::filesystem::path file = data / scene_file;
    bytes s = read_file(file);
    change(s);
    write_file(file, s);
}

} // namespace

void scene_track_keys_65535(const std::filesystem::path& data) {
    // Track header: flags (2), 8 bytes, key count (4).
    change_scene(data, [](bytes& s) { put_u32(s, find_chunk(s, 0xB020).at + header + 10, 65535); });
}

void scene_motion_nested_100000(const std::filesystem::path& data) {
    change_scene(data, [](bytes& s) {
        const found_chunk keyframer = find_chunk(s, 0xB000);
        insert_into(s, keyframer, keyframer.at + header, nested(0xB002, 100000));
    });
}

void scene_unknown_node(const std::filesystem::path& data) {
    change_scene(data, [](bytes& s) {
        // The name of the first object node that names an object (a dummy
        // names none), made into one the world does not have.
        for (size_t nth = 0;; ++nth) {
            const size_t at = find_chunk(s, 0xB010, 0xB002, nth).at + header;
            const char* name = reinterpret_cast<const char*>(s.data() + at);
            if (std::strncmp(name, "$$$DUMMY", 8) == 0) continue;
            for (size_t i = at; s[i] != 0; ++i) s[i] = 'Q';
            return;
        }
    });
}

void scene_morph_to_missing_object(const std::filesystem::path& data) {
    change_scene(data, [](bytes& s) {
        // One key at frame 0 naming an object the world does not have.
        bytes track = {0x26, 0xB0, 0, 0, 0, 0};
        const bytes fields = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        track.insert(track.end(), fields.begin(), fields.end());
        for (char c : std::string("Nobody")) track.push_back(static_cast<uint8_t>(c));
        track.push_back(0);
        put_u32(track, 2, static_cast<uint32_t>(track.size()));
        const found_chunk node = find_chunk(s, 0xB002);
        insert_into(s, node, node.at + u32_at(s, node.at + 2), track);
    });
}

void scene_vertex_count_65535(const std::filesystem::path& data) {
    change_scene(data, [](bytes& s) { put_u16(s, find_chunk(s, 0x4110).at + header, 65535); });
}

void scene_face_count_65535(const std::filesystem::path& data) {
    change_scene(data, [](bytes& s) { put_u16(s, find_chunk(s, 0x4120).at + header, 65535); });
}

void scene_chunk_past_end(const std::filesystem::path& data) {
    change_scene(data, [](bytes& s) {
        put_u32(s, find_chunk(s, 0x4100).at + 2, static_cast<uint32_t>(s.size() * 2));
    });
}

void scene_main_chunk_of_4_gib(const std::filesystem::path& data) {
    change_scene(data, [](bytes& s) { put_u32(s, 2, 0xFFFFFFFFu); });
}

void scene_world_nested_100000(const std::filesystem::path& data) {
    change_scene(data, [](bytes& s) {
        const found_chunk editor = find_chunk(s, 0x3D3D);
        insert_into(s, editor, editor.at + header, nested(0x3D3D, 100000));
    });
}

} // namespace vilora::damage
