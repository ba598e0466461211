#include "tests/parts/test_scene.h"

namespace vilora::testing {

namespace {

using test::chunk_writer;

// The file's axes are z up: the reader exchanges y and z.
void file_vec(chunk_writer& w, float x, float y, float z) {
    w.vec(x, z, y);
}

void static_track(chunk_writer& w, uint16_t id, float x, float y, float z) {
    test::track_header(w, id, 0, 1);
    test::key(w, 0);
    file_vec(w, x, y, z);
    w.end();
}

} // namespace

std::vector<uint8_t> scene_bytes(const test_scene& scene) {
    chunk_writer w;
    test::begin_scene(w);
    for (const test_mesh& mesh : scene.meshes) {
        std::vector<float> file_order;
        for (size_t i = 0; i + 2 < mesh.vertices.size(); i += 3) {
            file_order.push_back(mesh.vertices[i]);
            file_order.push_back(mesh.vertices[i + 2]);
            file_order.push_back(mesh.vertices[i + 1]);
        }
        test::add_mesh(w, mesh.name, file_order, mesh.faces);
    }
    // At the origin, looking at (0, 0, 10); lens 24 mm.
    test::add_camera(w, scene.camera_name, 0, 0, 0, 0, 10, 0, 0, 24);
    w.end(); // editor
    w.begin(0xB000);
    test::frame_range(w, scene.start_frame, scene.end_frame);
    int node = 0;
    for (const test_mesh& mesh : scene.meshes) {
        test::begin_node(w, 0xB002, node++, mesh.name, -1);
        static_track(w, 0xB020, 0, 0, 0);
        static_track(w, 0xB022, 1, 1, 1);
        w.end();
    }
    test::begin_node(w, 0xB003, node++, scene.camera_name, -1);
    static_track(w, 0xB020, 0, 0, 0);
    w.end();
    test::begin_node(w, 0xB004, node++, scene.camera_name, -1);
    static_track(w, 0xB020, 0, 0, 10);
    w.end();
    if (!scene.unknown_node.empty()) {
        test::begin_node(w, 0xB002, node++, scene.unknown_node, -1);
        w.end();
    }
    w.end(); // keyframer
    w.end(); // main
    return w.bytes();
}

test_mesh triangle_mesh(const std::string& name, int count, float ax, float ay, float az, float bx,
                        float by, float bz, float cx, float cy, float cz) {
    test_mesh mesh{name, {ax, ay, az, bx, by, bz, cx, cy, cz}, {}};
    for (int i = 0; i < count; ++i) mesh.faces.push_back({0, 1, 2, 0});
    return mesh;
}

} // namespace vilora::testing
